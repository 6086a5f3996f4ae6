#include "upload/UploadProtocol.h"

#include "base/ControlBytes.h"

#include <cstdio>

namespace {

// A record of the line: STX, its text, ETX CR LF.
QByteArray FramedRecord(const char* text) {
    QByteArray record(1, kStx);
    record += text;
    record += kEtx;
    record += "\r\n";
    return record;
}

}  // namespace

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
