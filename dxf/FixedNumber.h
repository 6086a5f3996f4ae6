#pragma once
// printf's "%.<decimals>f" in the "C" locale ("." as the decimal point, correct
// rounding of the exact binary value, "-" kept on a negative value that rounds to
// zero), at a fraction of printf's cost: a drawing of a million points holds some
// 26 million numbers. decimals is 0..9; infinities and NaN come out as printf
// writes them.

#include <QByteArray>

void AppendFixed(QByteArray& out, double value, int decimals);
