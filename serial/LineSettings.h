#pragma once
// The serial line as the port is configured: speed in bit/s, data bits, parity and
// stop bits, taken from the stored indexes of SerialSettings through the speed,
// parity and stop-bit tables. An index outside its table gives no line settings,
// so the port is never opened with a guessed configuration.

#include "base/ConversionSettings.h"

#include <QtGlobal>

#include <optional>

enum class LineParity { None, Odd, Even, Mark, Space };
enum class LineStopBits { One, OneAndHalf, Two };

struct LineSettings {
    qint32 bitsPerSecond = 4800;
    int dataBits = 8;  // 5..8
    LineParity parity = LineParity::None;
    LineStopBits stopBits = LineStopBits::One;

    bool operator==(const LineSettings&) const = default;
};

inline constexpr int kSpeedCount = 15;    // indexes 0..14; the dialog offers 0..13
inline constexpr int kParityCount = 5;    // none, odd, even, mark, space
inline constexpr int kStopBitsCount = 3;  // one, one and a half, two

// The speed of a table index in bit/s; 0 outside the table.
qint32 SpeedOfIndex(int index);

// The line of the stored settings; nothing when an index lies outside its table or
// the data bits are not 5..8.
std::optional<LineSettings> LineSettingsFor(const SerialSettings& serial);

// Whether the line's stop bits go with its data bits. A UART has one longer stop,
// which is one and a half stop bits at 5 data bits and two at more: one and a half
// go only with 5 data bits, two only with more. Both backends refuse any other line.
bool StopBitsFit(const LineSettings& line);

// How long a write may take per byte, in ms: 19200 / speed (integer division), so
// 4 ms at 4800 bit/s; 0 from 38400 bit/s up, meaning no limit at all.
int WriteTimeoutMsPerByte(qint32 bitsPerSecond);
