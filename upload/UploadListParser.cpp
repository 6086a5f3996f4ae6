#include "upload/UploadListParser.h"

#include "base/ConversionSettings.h"
#include "base/Numbers.h"
#include "base/PointLine.h"
#include "base/TextLines.h"

#include <cstdint>
#include <optional>
#include <string_view>

namespace {

// scratch holds the line while the reader writes its decimal points into it.
std::optional<SurveyRecord> ParsePointLine(QByteArrayView line, quint16 flag, QByteArray& scratch) {
    CopyLine(line, scratch);
    const std::optional<PointLine> read =
        ReadPointLine(scratch.data(), scratch.data() + scratch.size(), PointListKind::Upload);
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

CodeLineNumber ReadCodeNumber(QByteArrayView field) {
    const Numbers::ParsedInteger number = Numbers::ParseInteger(
        std::string_view(field.data(), static_cast<std::size_t>(field.size())), INT32_MIN, INT32_MAX);
    CodeLineNumber result;
    result.hasDigits = number.length > 0;
    result.written = number.value;
    // The instrument's code number is the low 16 bits: 65537 is code 1.
    result.code = static_cast<quint16>(static_cast<std::uint32_t>(number.value) & 0xFFFFu);
    return result;
}

std::optional<SurveyRecord> ParseCodeLine(QByteArrayView line) {
    const std::optional<CodeLine> code = ReadCodeLine(line);
    if (!code || !code->number.InRange()) return std::nullopt;
    SurveyRecord entry;
    entry.codeNumber = code->number.code;
    entry.codeText = line.sliced(code->textBegin);
    return entry;
}

}  // namespace

QByteArrayView ReadPart(QByteArrayView line) {
    const qsizetype nul = line.indexOf('\0');
    return nul >= 0 ? line.first(nul) : line;
}

SurveyRecordList ParseUploadList(QByteArrayView text, UploadKind kind, quint16 flag) {
    SurveyRecordList list;
    QByteArray scratch;
    ForEachLine(text, [&](QByteArrayView line) {
        line = ReadPart(line);
        std::optional<SurveyRecord> entry =
            kind == UploadKind::Points ? ParsePointLine(line, flag, scratch) : ParseCodeLine(line);
        if (entry) list.push_back(std::move(*entry));
    });
    return list;
}

std::optional<CodeLine> ReadCodeLine(QByteArrayView line) {
    // Leading spaces go; a leading tab is passed over by the number's reading.
    qsizetype start = 0;
    while (start < line.size() && line[start] == ' ') ++start;
    const qsizetype comma = line.indexOf(',', start);
    if (comma < 0) return std::nullopt;
    return CodeLine{ReadCodeNumber(line.sliced(start, comma - start)), comma + 1};
}
