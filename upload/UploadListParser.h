#pragma once
// Reads the lines of the upload editor into a point list (name, Y, X, Z in metres)
// or a code list (number 1..50, text). Lines are Windows-1250 bytes without their
// line ends. A line that does not fit is skipped without a word; names and code
// texts keep their full length here and are cut only when they are sent.

#include "base/SurveyRecord.h"

#include <QByteArray>
#include <QList>

#include <QtGlobal>

#include <optional>

enum class UploadKind { Points, Codes };

// The lines of a loaded list file, as the upload editor holds them: the bytes up to
// the first NUL, broken at CR LF, LF and a lone CR. A line end at the very end
// leaves an empty last line, as in the editor.
QList<QByteArray> SplitListLines(const QByteArray& text);

// flag is the "Flag" setting; its FLAG_SWAP_XY bit makes the first number of a
// point line X instead of Y. The result may be empty.
SurveyRecordList ParseUploadList(const QList<QByteArray>& lines, UploadKind kind, quint16 flag);

// The number before the first comma of a code line, as the parser reads it. The
// instrument's number is the low 16 bits of the written value, so 65537 is code 1;
// a line whose code is 0 or above 50 is not in the list.
struct CodeLineNumber {
    bool hasDigits = false;  // the field holds a number; without one it reads as 0
    qint64 written = 0;      // the value, clamped to the signed 32-bit range
    quint16 code = 0;        // what the instrument would take
    bool InRange() const { return code >= 1 && code <= kHighestCodeNumber; }
};

// The code number of one editor line, or nothing when the line has no comma.
std::optional<CodeLineNumber> ReadCodeLineNumber(const QByteArray& line);
