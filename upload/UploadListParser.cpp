#include "upload/UploadListParser.h"

#include "base/ConversionSettings.h"
#include "base/Numbers.h"
#include "base/PointLine.h"
#include "base/TextLines.h"

#include <cstdint>
#include <optional>
#include <string_view>

namespace {

std::optional<SurveyRecord> ParsePointLine(QByteArray line, quint16 flag) {
    const std::optional<PointLine> read = ReadPointLine(line.data(), line.data() + line.size(), PointListKind::Upload);
    if (!read) return std::nullopt;
    SurveyRecord point;
    point.name = read->name;
    point.z = read->height;
    if (flag & FLAG_SWAP_XY) {
        point.x = read->first;
        point.y = read->second;
    } else {
        point.y = read->first;
        point.x = read->second;
    }
    return point;
}

CodeLineNumber ReadCodeNumber(const QByteArray& line, qsizetype separator) {
    const Numbers::ParsedInteger number = Numbers::ParseInteger(
        std::string_view(line.constData(), static_cast<std::size_t>(separator)), INT32_MIN, INT32_MAX);
    CodeLineNumber result;
    result.hasDigits = number.length > 0;
    result.written = number.value;
    // The instrument's code number is the low 16 bits: 65537 is code 1.
    result.code = static_cast<quint16>(static_cast<std::uint32_t>(number.value) & 0xFFFFu);
    return result;
}

std::optional<SurveyRecord> ParseCodeLine(const QByteArray& line, qsizetype separator) {
    const CodeLineNumber number = ReadCodeNumber(line, separator);
    if (!number.InRange()) return std::nullopt;
    SurveyRecord entry;
    entry.codeNumber = number.code;
    entry.codeText = line.mid(separator + 1);  // leading spaces and further commas stay
    return entry;
}

// Leading spaces go; leading tabs stay and make an empty name.
QByteArray WithoutLeadingSpaces(const QByteArray& line) {
    qsizetype skip = 0;
    while (skip < line.size() && line[skip] == ' ') ++skip;
    return line.mid(skip);
}

}  // namespace

QList<QByteArray> SplitListLines(const QByteArray& text) {
    const qsizetype nul = text.indexOf('\0');
    const char* const end = text.constData() + (nul >= 0 ? nul : text.size());
    QList<QByteArray> lines;
    const char* line = text.constData();
    for (;;) {
        const char* const lineEnd = LineEnd(line, end);
        lines.append(QByteArray(line, lineEnd - line));
        if (lineEnd == end) return lines;
        line = NextLine(lineEnd, end);
    }
}

SurveyRecordList ParseUploadList(const QList<QByteArray>& lines, UploadKind kind, quint16 flag) {
    SurveyRecordList list;
    for (const QByteArray& line : lines) {
        std::optional<SurveyRecord> entry;
        if (kind == UploadKind::Points) {
            entry = ParsePointLine(line, flag);
        } else {
            const QByteArray trimmed = WithoutLeadingSpaces(line);
            const qsizetype separator = trimmed.indexOf(',');
            if (separator >= 0) entry = ParseCodeLine(trimmed, separator);
        }
        if (entry) list.push_back(std::move(*entry));
    }
    return list;
}

std::optional<CodeLineNumber> ReadCodeLineNumber(const QByteArray& line) {
    const QByteArray trimmed = WithoutLeadingSpaces(line);
    const qsizetype separator = trimmed.indexOf(',');
    if (separator < 0) return std::nullopt;
    return ReadCodeNumber(trimmed, separator);
}
