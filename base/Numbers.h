#pragma once
// Locale-free numbers. Parsing follows strtod's rules with "." as the decimal point
// (leading white space, a sign, digits with an optional point, an optional exponent;
// no hexadecimal, "inf" or "nan"); formatting is printf's with "." whatever locale
// the program has taken. A Czech locale would otherwise turn 1.500 into «1,500».

#include <QByteArray>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace Numbers {

struct ParsedDouble {
    double value = 0.0;
    std::size_t length = 0;  // characters taken, white space included; 0 = no number
};

// The longest prefix of text that forms a number, as strtod takes it.
ParsedDouble ParseDouble(std::string_view text);

// strtod's value of text: 0 where text does not start with a number.
double ToDouble(std::string_view text);
inline double ToDouble(const char* text) { return ToDouble(std::string_view(text)); }
inline double ToDouble(const QByteArray& text) {
    return ToDouble(std::string_view(text.constData(), static_cast<std::size_t>(text.size())));
}

// A number the user typed: the whole text one number (white space before it
// allowed), its first "," read as the decimal point. Nothing for any other text,
// or for a value too large to be finite.
std::optional<double> ParseDecimal(QByteArray text);

struct ParsedInteger {
    std::int64_t value = 0;
    std::size_t length = 0;
};

// strtol's rules, base 10, clamped to [minimum, maximum].
ParsedInteger ParseInteger(std::string_view text, std::int64_t minimum, std::int64_t maximum);

// "%.<decimals>f".
QByteArray FormatFixed(double value, int decimals);
// A whole number as the user reads it in a message: decimal digits, "-" when negative.
inline QByteArray FormatInteger(qint64 value) { return QByteArray::number(value); }

// printf with "." as the decimal point; the result may be of any length.
QByteArray Format(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Appends printf's output to out (no intermediate buffer limit).
void AppendFormat(QByteArray& out, const char* format, ...) __attribute__((format(printf, 2, 3)));

}  // namespace Numbers
