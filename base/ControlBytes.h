#pragma once
// The control bytes of the NTS-350's line: STX opens every block and record, ETX
// closes a block's payload and checksum (and a preamble's text), EOT is the text of
// the end record. Each block carries the last digit of its counter.

inline constexpr char kStx = 0x02;
inline constexpr char kEtx = 0x03;
inline constexpr char kEot = 0x04;

// The texts of the two preambles that open a transfer, each framed as STX text
// ETX CR LF; the end record is STX EOT CR LF.
inline constexpr char kPreamble1Text[] = "F00F000";
inline constexpr char kPreamble2Text[] = "GC";

// The block digit of a block counter: its last decimal digit after the counter has
// wrapped at 256 (256 gives '0', not '6').
constexpr char BlockDigit(unsigned counter) { return static_cast<char>('0' + (counter % 256) % 10); }
