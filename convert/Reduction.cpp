#include "convert/Reduction.h"

#include <cmath>

double ProjectionReduction(double x, double y) {
    // Negated comparisons so that a NaN counts as outside.
    if (!(x >= 890000.0 && x <= 1380000.0) || !(y >= 137000.0 && y <= 890000.0)) return 0.0;
    // Distance from the projection's reference parallel, in the plane.
    const double r = std::sqrt(x * x + y * y) - 1298039.0;
    // R² is one factor: (10⁻¹⁴ · R) · R differs in the last bit often enough to
    // move a reduced distance by 1 mm in the field book.
    const double m = 0.9999 + 1e-14 * (r * r) * (1.22822 - 1e-7 * r * (3.154 - 1e-6 * r * (1.848 - 1.15e-5 * r)));
    return (m - 1.0) * 1e6;
}

double HeightReduction(double h) {
    if (h == 0.0 || std::isnan(h)) return 0.0;
    // Twice the reciprocal of the Bessel ellipsoid's semi-major axis, per metre.
    constexpr double k = 3.136075661262467e-7;
    return (std::sqrt(1.0 / (1.0 + k * h)) - 1.0) * 1e6;
}
