#pragma once
// The control bytes of the NTS-350's line: STX opens every block and record, ETX
// closes a block's payload and checksum (and a preamble's text), EOT is the text of
// the end record.

inline constexpr char kStx = 0x02;
inline constexpr char kEtx = 0x03;
inline constexpr char kEot = 0x04;
