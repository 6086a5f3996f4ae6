#pragma once
// The limits of the field-book check: each comparison has a level at which its
// difference is suspicious ("podezřelé") and one at which it is wrong ("chybné").
// Metres, except the two-face pair's collimation and index error (gon). The
// defaults suit detail surveying with a 2″/2 mm instrument. The profile values
// proposed for them follow each field: the suspicious level, then the wrong one.

#include <cstddef>
#include <iterator>
#include <string_view>

struct ToleranceLevels {
    double suspicious = 0.0;
    double wrong = 0.0;
};

struct CheckTolerances {
    ToleranceLevels position{0.02, 0.05};      // "CHK_Position", "CHK_PositionWrong": along or across the line of sight
    ToleranceLevels height{0.03, 0.08};        // "CHK_Height", "CHK_HeightWrong": repeated trigonometric height
    ToleranceLevels lineDistance{0.02, 0.05};  // "CHK_Line", "CHK_LineWrong": horizontal distance both ways or
                                               // against the coordinates
    ToleranceLevels lineHeight{0.03, 0.08};    // "CHK_LineHeight", "CHK_LineHeightWrong": height differences both ways
    ToleranceLevels faces{0.005, 0.015};       // "CHK_Faces", "CHK_FacesWrong": a pair's collimation or index error
                                               // against the job's mean
    double range = 5000.0;                     // "CHK_Range": the longest slope distance an instrument gives
};

// The profile's names of the limits, in the order of the fields above; the store
// and tarvo-cli's --set know them by these.
inline constexpr const char* kToleranceNames[] = {
    "CHK_Position",   "CHK_PositionWrong",   "CHK_Height", "CHK_HeightWrong", "CHK_Line", "CHK_LineWrong",
    "CHK_LineHeight", "CHK_LineHeightWrong", "CHK_Faces",  "CHK_FacesWrong",  "CHK_Range"};

// The limit a profile name stands for; nullptr for any other name.
inline double* ToleranceNamed(CheckTolerances& tolerances, std::string_view name) {
    double* const fields[] = {&tolerances.position.suspicious,
                              &tolerances.position.wrong,
                              &tolerances.height.suspicious,
                              &tolerances.height.wrong,
                              &tolerances.lineDistance.suspicious,
                              &tolerances.lineDistance.wrong,
                              &tolerances.lineHeight.suspicious,
                              &tolerances.lineHeight.wrong,
                              &tolerances.faces.suspicious,
                              &tolerances.faces.wrong,
                              &tolerances.range};
    static_assert(std::size(fields) == std::size(kToleranceNames));
    for (std::size_t i = 0; i < std::size(kToleranceNames); ++i) {
        if (name == kToleranceNames[i]) return fields[i];
    }
    return nullptr;
}

// Whether a value can stand as a limit: a number, not negative, not absurdly
// large. A NaN limit would let every difference pass unreported, a negative one
// report every sighting.
inline bool ToleranceUsable(double value) { return value >= 0.0 && value <= 1.0e9; }
