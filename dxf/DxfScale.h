#pragma once
// The scales of a DXF drawing as the conversion parameters offer them: the name the
// user picks and the ratio the point marks are sized by ("20:1" draws them at 0.05
// of their size at 1:1, "1:20" at 20 times). "DXF_Ratio" is an index into the list.

#include "base/ConversionSettings.h"

#include <iterator>

struct DxfScale {
    const char* name;
    double ratio;
};

inline constexpr DxfScale kDxfScales[] = {{"20:1", 0.05}, {"10:1", 0.1}, {"5:1", 0.2},   {"2:1", 0.5},  {"1:1", 1.0},
                                          {"1:2", 2.0},   {"1:5", 5.0},  {"1:10", 10.0}, {"1:20", 20.0}};
static_assert(kDxfScales[kDxfScaleOneToOne].ratio == 1.0);
static_assert(std::size(kDxfScales) == kDxfScaleCount);

// The size ratio of a scale index; an index outside the list is taken as 1:1.
inline double DxfScaleRatio(unsigned index) {
    return kDxfScales[index < std::size(kDxfScales) ? index : kDxfScaleOneToOne].ratio;
}
