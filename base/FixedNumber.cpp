#include "base/FixedNumber.h"

#include "base/Numbers.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace {

constexpr double kPowers[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9};
constexpr std::uint64_t kIntegerPowers[] = {1, 10, 100, 1000, 10000, 100000, 1000000, 10000000, 100000000, 1000000000};

// Below this the scaled value is off the exact product by less than 2^-13, so its
// rounding is certain unless its fraction lies within kTieMargin of one half.
constexpr double kFastLimit = 0x1p40;
constexpr double kTieMargin = 1e-3;

constexpr char kDigitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

// Writes value's decimal digits backwards ending at end, at least count of them
// (zero-padded); returns the first digit.
char* WriteDigitsBackwards(char* end, std::uint64_t value, int count) {
    char* at = end;
    while (value >= 100 || count > 2) {
        const std::size_t pair = static_cast<std::size_t>(value % 100) * 2;
        value /= 100;
        *--at = kDigitPairs[pair + 1];
        *--at = kDigitPairs[pair];
        count -= 2;
    }
    if (value >= 10 || count > 1) {
        const std::size_t pair = static_cast<std::size_t>(value) * 2;
        *--at = kDigitPairs[pair + 1];
        *--at = kDigitPairs[pair];
    } else if (value > 0 || count > 0) {
        *--at = static_cast<char>('0' + value);
    }
    return at;
}

}  // namespace

namespace FixedNumber {

char* Write(char* at, double value, int decimals) {
    if (decimals < 0 || decimals > 9 || !std::isfinite(value)) {
        const QByteArray text = Numbers::Format("%.*f", decimals, value);
        std::memcpy(at, text.constData(), static_cast<std::size_t>(text.size()));
        return at + text.size();
    }
    const double magnitude = std::fabs(value) * kPowers[decimals];
    if (magnitude < kFastLimit) {
        const double whole = std::floor(magnitude);
        const double fraction = magnitude - whole;
        if (std::fabs(fraction - 0.5) > kTieMargin) {
            const std::uint64_t scaled = static_cast<std::uint64_t>(whole) + (fraction > 0.5 ? 1 : 0);
            char digits[32];
            char* const end = digits + sizeof digits;
            char* start = WriteDigitsBackwards(end, scaled % kIntegerPowers[decimals], decimals);
            if (decimals > 0) *--start = '.';
            start = WriteDigitsBackwards(start, scaled / kIntegerPowers[decimals], 1);
            if (std::signbit(value)) *--start = '-';
            const std::size_t length = static_cast<std::size_t>(end - start);
            std::memcpy(at, start, length);
            return at + length;
        }
    }
    // Near a tie or far from the origin: the exact conversion.
    return std::to_chars(at, at + kRoom, value, std::chars_format::fixed, decimals).ptr;
}

void Append(QByteArray& out, double value, int decimals) {
    char text[kRoom];
    out.append(text, Write(text, value, decimals) - text);
}

}  // namespace FixedNumber
