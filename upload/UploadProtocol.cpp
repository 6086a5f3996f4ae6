#include "upload/UploadProtocol.h"

#include "base/ControlBytes.h"
#include "base/Numbers.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string_view>

namespace {

constexpr qsizetype kNameWidth = 10;

// A record of the line: STX, its text, ETX CR LF.
QByteArray FramedRecord(const char* text) {
    QByteArray record(1, kStx);
    record += text;
    record += kEtx;
    record += "\r\n";
    return record;
}

}  // namespace

QByteArray RecordTextField(QByteArrayView text) {
    // printf's "%-10.10s".
    const qsizetype nul = text.indexOf('\0');
    if (nul >= 0) text.truncate(nul);
    QByteArray field = text.first(std::min(kNameWidth, text.size())).toByteArray();
    if (field.size() < kNameWidth) field.append(kNameWidth - field.size(), ' ');
    return field;
}

QByteArray FoldedMillimetres(double metres) {
    // The fraction of the value in units of 1,000,000 m keeps its sign; 1e9 of
    // those fractions are millimetres.
    double wholeMillions = 0.0;
    const double fraction = std::modf(metres * 1e-6, &wholeMillions);
    QByteArray field = Numbers::Format("%+010.0f", fraction * 1e9);
    // Within half a millimetre below a whole 1,000,000 m the rounding reaches
    // ±1000000000, one digit too many for the instrument's field: that value is
    // the next whole 1,000,000 m, folded to 0.
    if (field.size() > 10) field = "+000000000";
    return field;
}

double FoldedMetres(double metres) {
    const QByteArray field = FoldedMillimetres(metres);
    const Numbers::ParsedInteger millimetres = Numbers::ParseInteger(
        std::string_view(field.constData(), static_cast<std::size_t>(field.size())), INT64_MIN, INT64_MAX);
    return static_cast<double>(millimetres.value) / 1000.0;
}

QByteArray PointRecord(const SurveyRecord& point) {
    // 0 "_+" | 2 name (10) | 12 "_ x" | 15 X | 25 "_ y" | 28 Y | 38 "_ z" | 41 Z | 51
    QByteArray record;
    record.reserve(kPointRecordSize);
    record += "_+";
    record += RecordTextField(point.name);
    record += "_ x";
    record += FoldedMillimetres(point.x);
    record += "_ y";
    record += FoldedMillimetres(point.y);
    record += "_ z";
    record += FoldedMillimetres(point.z);
    return record;
}

QByteArray CodeRecord(const SurveyRecord& code) {
    return Numbers::Format("_:%03u", static_cast<unsigned>(code.codeNumber)) + RecordTextField(code.codeText);
}

QByteArray CutPointName(QByteArrayView name) {
    return (name.size() > kNameWidth ? name.last(kNameWidth) : name).toByteArray();
}

QByteArray CutCodeText(QByteArrayView text) { return text.first(qMin(text.size(), kNameWidth)).toByteArray(); }

void CutPointNames(SurveyRecordList& points) {
    for (SurveyRecord& point : points) point.name = CutPointName(point.name);
}

QByteArray RecordStream(const SurveyRecordList& list, UploadKind kind) {
    QByteArray stream;
    stream.reserve(static_cast<qsizetype>(list.size()) * kPointRecordSize + 1);
    for (const SurveyRecord& entry : list)
        stream += kind == UploadKind::Points ? PointRecord(entry) : CodeRecord(entry);
    // Only a code stream is closed; the instrument takes a point stream as it ends.
    if (kind == UploadKind::Codes) stream += '_';
    return stream;
}

int BlockCount(qsizetype streamLength) { return static_cast<int>((streamLength + kBlockPayload - 1) / kBlockPayload); }

QByteArray Preamble1() { return FramedRecord(kPreamble1Text); }

QByteArray Preamble2() { return FramedRecord(kPreamble2Text); }

QByteArray EndRecord() {
    const char bytes[] = {kStx, kEot, '\r', '\n'};
    return QByteArray(bytes, 4);
}

QByteArray BuildBlock(QByteArrayView payload, unsigned counter) {
    // offset 0 STX | 1..128 stream, space-padded | 129 block digit |
    // 130..132 checksum "%03u" | 133 ETX | 134 CR | 135 LF
    QByteArray block(kBlockSize, ' ');
    block[0] = kStx;
    const qsizetype used = payload.size() < kBlockPayload ? payload.size() : kBlockPayload;
    for (qsizetype i = 0; i < used; ++i) block[1 + i] = payload[i];
    block[kBlockDigitAt] = BlockDigit(counter);
    unsigned checksum = 0;
    for (int i = 1; i <= kBlockDigitAt; ++i) checksum ^= static_cast<unsigned char>(block[i]);
    char digits[4];
    std::snprintf(digits, sizeof digits, "%03u", checksum);  // integers only: no locale involved
    block[kChecksumAt] = digits[0];
    block[kChecksumAt + 1] = digits[1];
    block[kChecksumAt + 2] = digits[2];
    block[kBlockEndAt] = kEtx;
    block[kBlockEndAt + 1] = '\r';
    block[kBlockEndAt + 2] = '\n';
    return block;
}
