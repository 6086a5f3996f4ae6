#include "base/Numbers.h"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <clocale>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <locale.h>
#include <string>

namespace {

bool IsSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Where a number's digits may start: after leading white space and a sign, as
// strtod and strtol take them.
std::size_t SkipSpaceAndSign(std::string_view text, bool& negative) {
    std::size_t i = 0;
    while (i < text.size() && IsSpace(text[i])) ++i;
    negative = i < text.size() && text[i] == '-';
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    return i;
}

// The "C" locale for this thread while an object lives, so printf writes ".".
#ifdef _WIN32
// Windows has no uselocale. Its C library keeps the "C" locale unless the program
// sets another; only then does this thread switch to its own "C" locale for the
// call and back.
class CLocaleScope {
public:
    CLocaleScope() {
        const char* point = std::localeconv()->decimal_point;
        if (point[0] == '.' && point[1] == '\0') return;
        m_mode = _configthreadlocale(_ENABLE_PER_THREAD_LOCALE);
        const char* current = std::setlocale(LC_ALL, nullptr);
        m_previous = current ? current : "C";
        std::setlocale(LC_ALL, "C");
        m_switched = true;
    }
    ~CLocaleScope() {
        if (!m_switched) return;
        std::setlocale(LC_ALL, m_previous.c_str());
        _configthreadlocale(m_mode);
    }
    CLocaleScope(const CLocaleScope&) = delete;
    CLocaleScope& operator=(const CLocaleScope&) = delete;

private:
    bool m_switched = false;
    int m_mode = 0;
    std::string m_previous;
};
#else
class CLocaleScope {
public:
    CLocaleScope() {
        static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
        m_previous = uselocale(cLocale);
    }
    ~CLocaleScope() { uselocale(m_previous); }
    CLocaleScope(const CLocaleScope&) = delete;
    CLocaleScope& operator=(const CLocaleScope&) = delete;

private:
    locale_t m_previous;
};
#endif

void AppendFormatV(QByteArray& out, const char* format, va_list args) {
    CLocaleScope scope;
    char small[256];
    va_list copy;
    va_copy(copy, args);
    const int needed = std::vsnprintf(small, sizeof small, format, copy);
    va_end(copy);
    if (needed < 0) return;
    if (static_cast<std::size_t>(needed) < sizeof small) {
        out.append(small, needed);
        return;
    }
    const qsizetype start = out.size();
    out.resize(start + needed + 1);
    std::vsnprintf(out.data() + start, static_cast<std::size_t>(needed) + 1, format, args);
    out.resize(start + needed);
}

}  // namespace

namespace Numbers {

ParsedDouble ParseDouble(std::string_view text) {
    const std::size_t n = text.size();
    bool negative = false;
    std::size_t i = SkipSpaceAndSign(text, negative);
    const std::size_t mantissaStart = i;
    std::size_t digits = 0;
    while (i < n && IsDigit(text[i])) ++i, ++digits;
    if (i < n && text[i] == '.') {
        ++i;
        while (i < n && IsDigit(text[i])) ++i, ++digits;
    }
    if (digits == 0) return {};
    // An exponent counts only when at least one digit follows its letter and sign.
    if (i < n && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < n && (text[j] == '+' || text[j] == '-')) ++j;
        if (j < n && IsDigit(text[j])) {
            while (j < n && IsDigit(text[j])) ++j;
            i = j;
        }
    }
    // from_chars takes neither a leading "+" nor a lone "." before the digits in
    // every library; hand it a clean copy.
    std::string clean(text.substr(mantissaStart, i - mantissaStart));
    if (clean.front() == '.') clean.insert(clean.begin(), '0');
    double value = 0.0;
    const auto result = std::from_chars(clean.data(), clean.data() + clean.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        // strtod gives ±HUGE_VAL on overflow and 0 (or a denormal) on underflow.
        CLocaleScope scope;
        value = std::strtod(clean.c_str(), nullptr);
    }
    return {negative ? -value : value, i};
}

double ToDouble(std::string_view text) { return ParseDouble(text).value; }

std::optional<double> ParseDecimal(QByteArray text) {
    const qsizetype comma = text.indexOf(',');
    if (comma >= 0) text[comma] = '.';
    const ParsedDouble parsed = ParseDouble(std::string_view(text.constData(), static_cast<std::size_t>(text.size())));
    if (parsed.length == 0 || parsed.length != static_cast<std::size_t>(text.size()) || !std::isfinite(parsed.value))
        return std::nullopt;
    return parsed.value;
}

ParsedInteger ParseInteger(std::string_view text, std::int64_t minimum, std::int64_t maximum) {
    const std::size_t n = text.size();
    bool negative = false;
    std::size_t i = SkipSpaceAndSign(text, negative);
    if (i >= n || !IsDigit(text[i])) return {};
    // Accumulate as a negative number so that the minimum of the range fits.
    std::int64_t value = 0;
    bool overflow = false;
    for (; i < n && IsDigit(text[i]); ++i) {
        const int digit = text[i] - '0';
        if (!overflow) {
            if (value < (INT64_MIN + digit) / 10)
                overflow = true;
            else
                value = value * 10 - digit;
        }
    }
    std::int64_t result;
    if (overflow)
        result = negative ? INT64_MIN : INT64_MAX;
    else if (negative)
        result = value;
    else
        result = value == INT64_MIN ? INT64_MAX : -value;
    if (result < minimum) result = minimum;
    if (result > maximum) result = maximum;
    return {result, i};
}

QByteArray FormatFixed(double value, int decimals) { return Format("%.*f", decimals, value); }

QByteArray Format(const char* format, ...) {
    QByteArray out;
    va_list args;
    va_start(args, format);
    AppendFormatV(out, format, args);
    va_end(args);
    return out;
}

void AppendFormat(QByteArray& out, const char* format, ...) {
    va_list args;
    va_start(args, format);
    AppendFormatV(out, format, args);
    va_end(args);
}

}  // namespace Numbers
