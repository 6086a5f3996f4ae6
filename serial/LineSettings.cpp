#include "serial/LineSettings.h"

namespace {
constexpr qint32 kSpeeds[kSpeedCount] = {110,   300,   600,   1200,  2400,   4800,   9600,  14400,
                                         19200, 38400, 56000, 57600, 115200, 128000, 256000};
}

qint32 SpeedOfIndex(int index) { return index >= 0 && index < kSpeedCount ? kSpeeds[index] : 0; }

std::optional<LineSettings> LineSettingsFor(const SerialSettings& serial) {
    if (serial.baudRate >= kSpeedCount || serial.parity >= kParityCount || serial.stopBits >= kStopBitsCount) return {};
    if (serial.byteSize < 5 || serial.byteSize > 8) return {};
    LineSettings line;
    line.bitsPerSecond = kSpeeds[serial.baudRate];
    line.dataBits = serial.byteSize;
    line.parity = static_cast<LineParity>(serial.parity);
    line.stopBits = static_cast<LineStopBits>(serial.stopBits);
    return line;
}

bool StopBitsFit(const LineSettings& line) {
    switch (line.stopBits) {
        case LineStopBits::One:
            return true;
        case LineStopBits::OneAndHalf:
            return line.dataBits == 5;
        case LineStopBits::Two:
            return line.dataBits != 5;
    }
    return false;
}

int WriteTimeoutMsPerByte(qint32 bitsPerSecond) { return bitsPerSecond > 0 ? 19200 / bitsPerSecond : 0; }
