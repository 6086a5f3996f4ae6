#pragma once
// The horizontal colour run of the flat menus as a list of vertical strips,
// each to be filled over the full height. Pixel columns, left inclusive, right
// exclusive. A width of 0 or less gives no strips.

#include "gui/menus/MenuColor.h"

#include <vector>

struct GradientStrip {
    int left = 0;
    int right = 0;
    Rgb color;
    friend bool operator==(const GradientStrip&, const GradientStrip&) = default;
};

// Equal colours give one plain strip. Otherwise n = the largest component
// difference; strip i covers [left + trunc(i*w), left + trunc((i+1)*w)) with
// w = width / n in colour from + i*(to - from)/n; empty strips are left out and
// whatever the strips leave at the right edge is filled with `to`.
std::vector<GradientStrip> GradientStrips(int left, int width, Rgb from, Rgb to);
