#include "upload/UploadListParser.h"

#include "base/ConversionSettings.h"
#include "base/Numbers.h"

#include <cstdint>
#include <optional>
#include <string_view>

namespace {

bool IsPointSeparator(char c) { return c == ' ' || c == ';' || c == '\t'; }

bool CanStartNumber(char c) { return c == '+' || c == '-' || (c >= '0' && c <= '9'); }

// The first point separator at or after from, or -1.
qsizetype FindSeparator(const QByteArray& line, qsizetype from) {
    for (qsizetype i = from; i < line.size(); ++i) {
        if (IsPointSeparator(line[i])) return i;
    }
    return -1;
}

// The first "+", "-" or digit at or after from, or -1. Letters, separators and a
// leading "." are passed over alike, so «.5» is read as 5.
qsizetype FindNumberStart(const QByteArray& line, qsizetype from) {
    for (qsizetype i = from; i < line.size(); ++i) {
        if (CanStartNumber(line[i])) return i;
    }
    return -1;
}

// The decimal comma: the first comma from `from` to the end of the line becomes a
// point. The search is not held to the number's own field, so a number without a
// comma uses up the comma of a later one.
void ReplaceFirstComma(QByteArray& line, qsizetype from) {
    const qsizetype comma = line.indexOf(',', from);
    if (comma >= 0) line[comma] = '.';
}

double ReadNumber(const QByteArray& line, qsizetype begin, qsizetype end) {
    return Numbers::ToDouble(std::string_view(line.constData() + begin, static_cast<std::size_t>(end - begin)));
}

std::optional<SurveyRecord> ParsePointLine(QByteArray line, qsizetype separator, quint16 flag) {
    SurveyRecord point;
    point.name = line.left(separator);

    // A point needs two numbers, the first of them followed by a separator.
    const qsizetype firstStart = FindNumberStart(line, separator + 1);
    if (firstStart < 0) return std::nullopt;
    const qsizetype firstEnd = FindSeparator(line, firstStart);
    if (firstEnd < 0) return std::nullopt;
    ReplaceFirstComma(line, firstStart);
    const double first = ReadNumber(line, firstStart, firstEnd);

    const qsizetype secondStart = FindNumberStart(line, firstEnd + 1);
    if (secondStart < 0) return std::nullopt;
    const qsizetype secondEnd = FindSeparator(line, secondStart);
    ReplaceFirstComma(line, secondStart);
    const double second = ReadNumber(line, secondStart, secondEnd < 0 ? line.size() : secondEnd);

    // The height is optional and gets no comma replacement of its own.
    if (secondEnd >= 0) {
        const qsizetype heightStart = FindNumberStart(line, secondEnd + 1);
        if (heightStart >= 0) {
            const qsizetype heightEnd = FindSeparator(line, heightStart);
            point.z = ReadNumber(line, heightStart, heightEnd < 0 ? line.size() : heightEnd);
        }
    }

    if (flag & FLAG_SWAP_XY) {
        point.x = first;
        point.y = second;
    } else {
        point.y = first;
        point.x = second;
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
    const qsizetype end = nul >= 0 ? nul : text.size();
    QList<QByteArray> lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < end; ++i) {
        if (text[i] != '\r' && text[i] != '\n') continue;
        lines.append(text.mid(start, i - start));
        if (text[i] == '\r' && i + 1 < end && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    lines.append(text.mid(start, end - start));
    return lines;
}

SurveyRecordList ParseUploadList(const QList<QByteArray>& lines, UploadKind kind, quint16 flag) {
    SurveyRecordList list;
    for (const QByteArray& original : lines) {
        if (original.isEmpty()) continue;
        const QByteArray line = WithoutLeadingSpaces(original);

        const qsizetype separator = kind == UploadKind::Codes ? line.indexOf(',') : FindSeparator(line, 0);
        if (separator < 0) continue;

        std::optional<SurveyRecord> entry =
            kind == UploadKind::Codes ? ParseCodeLine(line, separator) : ParsePointLine(line, separator, flag);
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
