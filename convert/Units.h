#pragma once
// The units an instrument may be set to, and their conversion to metres and gon.
// Angles in degrees are decoded from their digits, never through a binary
// fraction: the NTS-350 record stream writes them as whole DDDMMSS («1035120» is
// 103°51′20″), keyword text as DDD.MMSSs («87.46350» is 87°46′35.0″). The exact
// count of seconds is then divided once, so that a whole second comes out as the
// double nearest to its value in gon. Text that is no such number, or whose
// minutes or seconds are 60 or more, gives nothing.

#include <optional>
#include <string_view>

inline constexpr double kMetresPerInternationalFoot = 0.3048;
inline constexpr double kMetresPerUsSurveyFoot = 1200.0 / 3937.0;

// The metres of a foot: the US survey foot when asked for ("UsSurveyFoot"), else
// the international one.
constexpr double MetresPerFoot(bool usSurveyFoot) {
    return usSurveyFoot ? kMetresPerUsSurveyFoot : kMetresPerInternationalFoot;
}

// A whole count of seconds of arc in gon (1″ = 1/3240 gon); no negative zero.
inline double GonFromSeconds(long long seconds) { return seconds == 0 ? 0.0 : static_cast<double>(seconds) / 3240.0; }

// Whole DDDMMSS with an optional sign (blanks around it allowed); blanks alone are 0.
std::optional<double> GonFromPackedDegrees(std::string_view text);

// DDD.MMSSs with an optional sign (blanks around it allowed): the first two
// digits after the point are the minutes, the next two the seconds, any further
// ones their decimals (up to six of them are taken); missing digits are zeros.
// Blanks alone are 0.
std::optional<double> GonFromDottedDegrees(std::string_view text);
