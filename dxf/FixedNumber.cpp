#include "dxf/FixedNumber.h"

#include "app/Numbers.h"

#include <charconv>
#include <cmath>
#include <cstdint>

namespace {

constexpr double kPowers[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9};
constexpr std::uint64_t kIntegerPowers[] = {1,      10,      100,      1000,      10000,
                                            100000, 1000000, 10000000, 100000000, 1000000000};

// Below this the scaled value is off the exact product by less than 2^-13, so its
// rounding is certain unless its fraction lies within kTieMargin of one half.
constexpr double kFastLimit = 0x1p40;
constexpr double kTieMargin = 1e-3;

char* WriteDigits(char* end, std::uint64_t value, int count) {
    for (int i = 0; i < count || (count < 0 && (value != 0 || i == 0)); ++i) {
        *--end = static_cast<char>('0' + value % 10);
        value /= 10;
    }
    return end;
}

}  // namespace

void AppendFixed(QByteArray& out, double value, int decimals) {
    if (decimals < 0 || decimals > 9 || !std::isfinite(value)) {
        Numbers::AppendFormat(out, "%.*f", decimals, value);
        return;
    }
    const double magnitude = std::fabs(value) * kPowers[decimals];
    if (magnitude < kFastLimit) {
        const double whole = std::floor(magnitude);
        const double fraction = magnitude - whole;
        if (std::fabs(fraction - 0.5) > kTieMargin) {
            const std::uint64_t scaled = static_cast<std::uint64_t>(whole) + (fraction > 0.5 ? 1 : 0);
            char text[48];
            char* const end = text + sizeof text;
            char* start = WriteDigits(end, scaled % kIntegerPowers[decimals], decimals);
            if (decimals > 0) *--start = '.';
            start = WriteDigits(start, scaled / kIntegerPowers[decimals], -1);
            if (std::signbit(value)) *--start = '-';
            out.append(start, end - start);
            return;
        }
    }
    // Near a tie or far from the origin: the exact conversion.
    char text[400];
    const std::to_chars_result result =
        std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
    out.append(text, result.ptr - text);
}
