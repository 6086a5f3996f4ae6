#pragma once
// The check before an upload: where what the NTS-350 will hold differs from the
// list as the user wrote it. A line that is not blank but no point or code line
// is left out; a decimal comma the list's own rule does not read as one gives
// another number; names keep their last 10 characters and code texts their first
// 10; a coordinate field keeps the value modulo 1,000,000 m, which takes the usual
// million off an S-JTSK X and nothing off any other usual value; a code line whose
// number is not 1..50 is left out of the list; a NUL byte ends what is read of its
// line; a character Windows-1250 lacks arrives as "?". Findings are values; their
// Czech text (Windows-1250) is built here once for every caller.

#include "upload/UploadListParser.h"

#include "base/Cp1250.h"
#include "base/SurveyRecord.h"

#include <QByteArray>
#include <QList>

// In the order the user reads them: what mixes up or loses data first, cuts last.
enum class UploadFindingKind {
    NulByte,            // a NUL byte in a line: what follows it on the line is not read
    PointLineNotSent,   // a line without a name and two numbers: the list leaves it out
    CodeLineNotSent,    // a code line without a comma: the list leaves it out
    CodeNumberMissing,  // a code line without a number before its comma: the list leaves it out
    SameName,           // different names that the cut makes one name on the instrument
    CommaNotRead,       // a height whose decimal comma the list does not read
    ForeignInName,      // a name with characters Windows-1250 lacks: they arrive as "?"
    CoordinateFolded,   // folding takes more than the usual million off Y or X, or anything off Z
    CodeNotSent,        // a code line with a number outside 1..50: the list leaves it out
    CodeRenumbered,     // a number outside 1..50 whose low 16 bits make another code 1..50
    CodeRepeated,       // one code number on several entries
    ForeignInCodeText,  // a code text with characters Windows-1250 lacks: they arrive as "?"
    NameCut,            // a name longer than 10 characters
    CodeTextCut,        // a code text longer than 10 characters
};

struct UploadFinding {
    UploadFindingKind kind = UploadFindingKind::NameCut;
    qint64 line = 0;           // the list's line, from 1 (lines not sent, CodeRenumbered, NulByte, ForeignIn...)
    char axis = 0;             // 'Y', 'X' or 'Z' (CoordinateFolded)
    QByteArray subject;        // as the list has it: point name, code text, or the line up to a NUL
    QByteArray written;        // a number as written: the coordinate (metres; the height's text) or the code number
    QByteArray received;       // what the instrument gets: cut name or text, folded value, code number
    QList<QByteArray> others;  // SameName: the different names; CodeRepeated: the code texts;
                               // ForeignIn...: the characters («U+00F1»)
};

// How many findings a question shows before it says how many there are in all.
inline constexpr int kFindingsShown = 12;
// How many findings of one kind are kept: a list of a million bad lines is told by
// its first ones and its count, in memory that does not grow with it.
inline constexpr int kFindingsKept = 1000;

struct UploadFindings {
    QList<UploadFinding> kept;  // in the order the user reads them, at most kFindingsKept of each kind
    qint64 total = 0;           // every finding, the ones not kept included
    bool isEmpty() const { return total == 0; }
};

// The findings for entries, parsed from list for kind. The list is needed for the
// lines the entries do not hold, for the numbers as written and for the characters
// Windows-1250 lacks. Nothing found: an empty result. Throws std::bad_alloc when
// they do not fit into memory.
UploadFindings CheckUploadList(const Cp1250::ListText& list, const SurveyRecordList& entries, UploadKind kind);

// One finding as a sentence for the user, without a line end.
QByteArray FindingText(const UploadFinding& finding);

// The heading and one line per finding, "\n" between lines; with shown > 0 at most
// that many findings, then a line with the count of all (also when findings were
// not kept). No line end at the end.
QByteArray FindingsText(const UploadFindings& findings, int shown);
