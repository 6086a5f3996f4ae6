#pragma once
// printf's "%.<decimals>f" in the "C" locale ("." as the decimal point, correct
// rounding of the exact binary value, "-" kept on a negative value that rounds to
// zero), at a fraction of printf's cost: a drawing of a million points holds some
// 26 million numbers. decimals is 0..9; infinities and NaN come out as printf
// writes them.

#include <QByteArray>

#include <cstddef>

namespace FixedNumber {

// Room a number may need: the largest double written with nine decimals.
inline constexpr std::size_t kRoom = 400;

// Writes the number at at (which has kRoom bytes of room) and returns
// the end of what was written; no NUL is added.
char* Write(char* at, double value, int decimals);

void Append(QByteArray& out, double value, int decimals);

}  // namespace FixedNumber
