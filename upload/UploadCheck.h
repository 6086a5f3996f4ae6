#pragma once
// The check before an upload: where what the NTS-350 will hold differs from the
// list as the user wrote it. A line that is not blank but no point or code line
// is left out; a decimal comma the list's own rule does not read as one gives
// another number; names keep their last 10 characters and code texts their first
// 10; a coordinate field keeps the value modulo 1,000,000 m, which takes the usual
// million off an S-JTSK X and nothing off any other usual value; a code line whose
// number is not 1..50 is left out of the list. Findings are values; their Czech
// text (Windows-1250) is built here once for every caller.

#include "upload/UploadListParser.h"

#include "base/SurveyRecord.h"

#include <QByteArray>
#include <QList>

// In the order the user reads them: what mixes up or loses data first, cuts last.
enum class UploadFindingKind {
    PointLineNotSent,   // a line without a name and two numbers: the list leaves it out
    CodeLineNotSent,    // a code line without a comma: the list leaves it out
    CodeNumberMissing,  // a code line without a number before its comma: the list leaves it out
    SameName,           // different names that the cut makes one name on the instrument
    CommaNotRead,       // a height whose decimal comma the list does not read
    CoordinateFolded,   // folding takes more than the usual million off Y or X, or anything off Z
    CodeNotSent,        // a code line with a number outside 1..50: the list leaves it out
    CodeRenumbered,     // a number outside 1..50 whose low 16 bits make another code 1..50
    CodeRepeated,       // one code number on several entries
    NameCut,            // a name longer than 10 characters
    CodeTextCut,        // a code text longer than 10 characters
};

struct UploadFinding {
    UploadFindingKind kind = UploadFindingKind::NameCut;
    int line = 0;              // the list's line, from 1 (lines not sent, CodeRenumbered)
    char axis = 0;             // 'Y', 'X' or 'Z' (CoordinateFolded)
    QByteArray subject;        // as the list has it: point name, code text, or the whole line
    QByteArray written;        // a number as written: the coordinate (metres; the height's text) or the code number
    QByteArray received;       // what the instrument gets: cut name or text, folded value, code number
    QList<QByteArray> others;  // SameName: the different names; CodeRepeated: the code texts
};

// How many findings a question shows before it says how many there are in all.
inline constexpr int kFindingsShown = 12;

// The findings for list, parsed from lines for kind. The lines are needed for the
// lines the list does not hold and for the numbers as written. Nothing found: an
// empty result.
QList<UploadFinding> CheckUploadList(const QList<QByteArray>& lines, const SurveyRecordList& list, UploadKind kind);

// One finding as a sentence for the user, without a line end.
QByteArray FindingText(const UploadFinding& finding);

// The heading and one line per finding, "\n" between lines; with shown > 0 at most
// that many findings, then a line with the count of all. No line end at the end.
QByteArray FindingsText(const QList<UploadFinding>& findings, int shown);
