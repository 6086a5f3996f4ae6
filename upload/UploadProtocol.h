#pragma once
// The NTS-350 block protocol for uploads: the two preamble records, the end record
// and the 136-byte data block. Bytes as they go on the line.

#include "base/ControlBytes.h"

#include <QByteArray>
#include <QByteArrayView>

inline constexpr int kBlockPayload = 128;  // stream characters in one block
inline constexpr int kBlockSize = 136;
inline constexpr int kBlockDigitAt = 129;  // offsets in a block
inline constexpr int kChecksumAt = 130;
inline constexpr int kBlockEndAt = 133;  // ETX CR LF

// STX "F00F000" ETX CR LF (11 bytes).
QByteArray Preamble1();
// STX "GC" ETX CR LF (6 bytes).
QByteArray Preamble2();
// STX EOT CR LF (4 bytes).
QByteArray EndRecord();

// One upload block: STX, up to 128 stream bytes padded with spaces, the block digit,
// a three-digit XOR checksum, ETX CR LF; 136 bytes in all. A payload longer than 128
// bytes is cut to its first 128.
QByteArray BuildBlock(QByteArrayView payload, unsigned counter);
