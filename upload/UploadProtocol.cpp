#include "upload/UploadProtocol.h"

#include <cstdio>

namespace {
constexpr char STX = 0x02, ETX = 0x03, EOT = 0x04;
}

QByteArray Preamble1() {
    return QByteArray(
        "\x02"
        "F00F000"
        "\x03\r\n",
        11);
}

QByteArray Preamble2() {
    return QByteArray(
        "\x02"
        "GC"
        "\x03\r\n",
        6);
}

QByteArray EndRecord() {
    const char bytes[] = {STX, EOT, '\r', '\n'};
    return QByteArray(bytes, 4);
}

char BlockDigit(unsigned counter) {
    // The counter wraps at 256 before its last digit is taken: 256 gives '0', not '6'.
    return static_cast<char>('0' + (counter % 256) % 10);
}

QByteArray BuildBlock(QByteArrayView payload, unsigned counter) {
    // offset 0 STX | 1..128 stream, space-padded | 129 block digit |
    // 130..132 checksum "%03u" | 133 ETX | 134 CR | 135 LF
    QByteArray block(kBlockSize, ' ');
    block[0] = STX;
    const qsizetype used = payload.size() < kBlockPayload ? payload.size() : kBlockPayload;
    for (qsizetype i = 0; i < used; ++i) block[1 + i] = payload[i];
    block[129] = BlockDigit(counter);
    unsigned checksum = 0;
    for (int i = 1; i <= 129; ++i) checksum ^= static_cast<unsigned char>(block[i]);
    char digits[4];
    std::snprintf(digits, sizeof digits, "%03u", checksum);  // integers only: no locale involved
    block[130] = digits[0];
    block[131] = digits[1];
    block[132] = digits[2];
    block[133] = ETX;
    block[134] = '\r';
    block[135] = '\n';
    return block;
}
