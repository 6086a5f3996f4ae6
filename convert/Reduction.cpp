#include "convert/Reduction.h"

#include <cmath>

namespace {

// The S-JTSK conformal conic projection on the Bessel ellipsoid: its reference
// parallel lies at kReferenceRadius from the projection's centre in the plane,
// and the scale on it is kReferenceScale. At a distance r from that circle the
// scale is the projection's series in r,
//   m = 0.9999 + 1.22822e-14 r² − 3.154e-21 r³ + 1.848e-27 r⁴ − 1.15e-32 r⁵,
// written below in Horner's form.
constexpr double kReferenceRadius = 1298039.0;
constexpr double kReferenceScale = 0.9999;

// The height reduction's k = 2 / a, a the Bessel ellipsoid's semi-major axis.
constexpr double kBesselSemiMajorAxis = 6377397.155;
constexpr double kTwoOverBesselA = 2.0 / kBesselSemiMajorAxis;
static_assert(kTwoOverBesselA == 3.136075661262467e-7);

}  // namespace

double ProjectionReduction(double x, double y) {
    // Negated comparisons so that a NaN counts as outside.
    if (!(x >= 890000.0 && x <= 1380000.0) || !(y >= 137000.0 && y <= 890000.0)) return 0.0;
    // Distance from the projection's reference parallel, in the plane.
    const double r = std::sqrt(x * x + y * y) - kReferenceRadius;
    // R² is one factor: (10⁻¹⁴ · R) · R differs in the last bit often enough to
    // move a reduced distance by 1 mm in the field book.
    const double m =
        kReferenceScale + 1e-14 * (r * r) * (1.22822 - 1e-7 * r * (3.154 - 1e-6 * r * (1.848 - 1.15e-5 * r)));
    return (m - 1.0) * 1e6;
}

double HeightReduction(double h) {
    if (h == 0.0 || std::isnan(h)) return 0.0;
    return (std::sqrt(1.0 / (1.0 + kTwoOverBesselA * h)) - 1.0) * 1e6;
}
