#pragma once
// Reads an upload list into a point list (name, Y, X, Z in metres) or a code list
// (number 1..50, text). The list is Windows-1250 text (Cp1250::FromListFile or
// FromTypedText made it so) whose lines end at CR LF, LF or a lone CR; it is read
// whole, without copying it line by line, so that memory follows the data and not
// the number of lines. A line that does not fit is skipped without a word; names
// and code texts keep their full length here and are cut only when they are sent.

#include "base/SurveyRecord.h"

#include <QByteArray>
#include <QByteArrayView>

#include <QtGlobal>

#include <optional>

enum class UploadKind { Points, Codes };

// What of a list's line the upload reads: the line up to its first NUL, as the
// drawing's point list reads its lines; the rest of that line is not read.
QByteArrayView ReadPart(QByteArrayView line);

// flag is the "Flag" setting; its FLAG_SWAP_XY bit makes the first number of a
// point line X instead of Y. The result may be empty. Throws std::bad_alloc when
// the entries do not fit into memory.
SurveyRecordList ParseUploadList(QByteArrayView text, UploadKind kind, quint16 flag);

// The number before the first comma of a code line, as the parser reads it. The
// instrument's number is the low 16 bits of the written value, so 65537 is code 1;
// a line whose code is 0 or above 50 is not in the list.
struct CodeLineNumber {
    bool hasDigits = false;  // the field holds a number; without one it reads as 0
    qint64 written = 0;      // the value, clamped to the signed 32-bit range
    quint16 code = 0;        // what the instrument would take
    bool InRange() const { return code >= 1 && code <= kHighestCodeNumber; }
};

// A code line as the parser splits it: its number, and where its text begins (after
// the first comma; leading spaces and further commas stay). Nothing when the line
// has no comma.
struct CodeLine {
    CodeLineNumber number;
    qsizetype textBegin = 0;  // offset in the line
};
std::optional<CodeLine> ReadCodeLine(QByteArrayView line);
