#pragma once
// Distance reductions to the S-JTSK grid, in mm/km (parts per million). Both are
// pure functions of the job's average position; a measured distance times
// ScaleFactor(total) is the reduced distance.

// Scale of the S-JTSK projection at average X, Y (metres). Exactly 0 outside
// 890 000 <= X <= 1 380 000, 137 000 <= Y <= 890 000, or for a value that is not
// a number.
double ProjectionReduction(double x, double y);

// Reduction from average height H (metres) to the zero horizon. Exactly 0 for
// H = 0 or not a number; not finite at or below about -3 188 698.58 m.
double HeightReduction(double h);

// 1 + total × 10⁻⁶.
inline double ScaleFactor(double totalCorrectionMmPerKm) { return totalCorrectionMmPerKm * 0.000001 + 1.0; }
