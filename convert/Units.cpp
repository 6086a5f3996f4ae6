#include "convert/Units.h"

#include <cstdint>

namespace {

constexpr int kMostDegreeDigits = 9;
constexpr int kMostSecondDecimals = 6;

struct Digits {
    std::string_view text;
    bool negative = false;
};

// The text without the blanks around it and without its sign.
Digits Unsigned(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    Digits digits;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        digits.negative = text.front() == '-';
        text.remove_prefix(1);
    }
    digits.text = text;
    return digits;
}

bool AllDigits(std::string_view text) {
    for (const char c : text) {
        if (c < '0' || c > '9') return false;
    }
    return true;
}

// The number the digits form; the caller keeps them few enough for 64 bits.
std::int64_t Value(std::string_view digits) {
    std::int64_t value = 0;
    for (const char c : digits) value = value * 10 + (c - '0');
    return value;
}

}  // namespace

std::optional<double> GonFromPackedDegrees(std::string_view text) {
    const Digits digits = Unsigned(text);
    if (!AllDigits(digits.text) || digits.text.size() > 4 + kMostDegreeDigits) return std::nullopt;
    const std::int64_t packed = Value(digits.text);
    const std::int64_t minutes = packed / 100 % 100;
    const std::int64_t seconds = packed % 100;
    if (minutes >= 60 || seconds >= 60) return std::nullopt;
    const std::int64_t total = (packed / 10000 * 60 + minutes) * 60 + seconds;
    return GonFromSeconds(digits.negative ? -total : total);
}

std::optional<double> GonFromDottedDegrees(std::string_view text) {
    const Digits digits = Unsigned(text);
    const std::size_t point = digits.text.find('.');
    const std::string_view whole = digits.text.substr(0, point);
    std::string_view fraction = point == std::string_view::npos ? std::string_view() : digits.text.substr(point + 1);
    if (!AllDigits(whole) || !AllDigits(fraction) || whole.size() > kMostDegreeDigits) return std::nullopt;
    if (fraction.size() > 4 + kMostSecondDecimals) fraction = fraction.substr(0, 4 + kMostSecondDecimals);
    // MMSS and the decimals, padded with zeros: a count of millionths of a second.
    char padded[4 + kMostSecondDecimals];
    for (std::size_t i = 0; i < sizeof padded; ++i) padded[i] = i < fraction.size() ? fraction[i] : '0';
    const std::int64_t minutes = Value(std::string_view(padded, 2));
    const std::int64_t seconds = Value(std::string_view(padded + 2, 2));
    const std::int64_t decimals = Value(std::string_view(padded + 4, kMostSecondDecimals));
    if (minutes >= 60 || seconds >= 60) return std::nullopt;
    const std::int64_t wholeSeconds = (Value(whole) * 60 + minutes) * 60 + seconds;
    // Whole seconds alone are divided as they are, the common case exactly.
    const double gon = decimals == 0 ? GonFromSeconds(wholeSeconds)
                                     : static_cast<double>(wholeSeconds * 1000000 + decimals) / (3240.0 * 1000000.0);
    return digits.negative && gon != 0.0 ? -gon : gon;
}
