#pragma once
// The control bytes of the NTS-350's line: STX opens every block and record, ETX
// closes a block's payload and checksum (and a preamble's text), EOT is the text of
// the end record. Each block carries the last digit of its counter.

#include <cstddef>
#include <string_view>

inline constexpr char kStx = 0x02;
inline constexpr char kEtx = 0x03;
inline constexpr char kEot = 0x04;

// The texts of the two preambles that open a transfer, each framed as STX text
// ETX CR LF; the end record is STX EOT CR LF.
inline constexpr char kPreamble1Text[] = "F00F000";
inline constexpr char kPreamble2Text[] = "GC";

// How a transfer opens with its preambles: STX, the first preamble's text, ETX.
inline constexpr std::string_view kPreambleStart{
    "\x02"
    "F00F000"
    "\x03"};
static_assert(kPreambleStart.substr(1, kPreambleStart.size() - 2) == kPreamble1Text);
// The end record lies among a transfer's last bytes: what may follow it is its
// line end.
inline constexpr std::size_t kEndRecordReach = 16;

// Whether a transfer whose last bytes are tail (up to kEndRecordReach of them) ends
// with the end record, STX EOT.
constexpr bool EndsWithEndRecord(std::string_view tail) {
    if (tail.size() > kEndRecordReach) tail.remove_prefix(tail.size() - kEndRecordReach);
    return tail.find(std::string_view{"\x02\x04", 2}) != std::string_view::npos;
}

// The block digit of a block counter: its last decimal digit after the counter has
// wrapped at 256 (256 gives '0', not '6').
constexpr char BlockDigit(unsigned counter) { return static_cast<char>('0' + (counter % 256) % 10); }
