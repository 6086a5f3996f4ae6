#include "gui/menus/MenuGradient.h"

#include <algorithm>
#include <cstdlib>

std::vector<GradientStrip> GradientStrips(int left, int width, Rgb from, Rgb to) {
    std::vector<GradientStrip> strips;
    if (width <= 0) return strips;
    const int right = left + width;
    if (from == to) {
        strips.push_back({left, right, to});
        return strips;
    }
    const int dr = to.red - from.red;
    const int dg = to.green - from.green;
    const int db = to.blue - from.blue;
    const int n = std::max({std::abs(dr), std::abs(dg), std::abs(db)});
    const double stripWidth = static_cast<double>(width) / n;
    int reached = left;
    for (int i = 0; i < n; ++i) {
        const int start = left + static_cast<int>(i * stripWidth);
        const int end = left + static_cast<int>((i + 1) * stripWidth);
        if (end <= start) continue;
        strips.push_back({start, end, {from.red + i * dr / n, from.green + i * dg / n, from.blue + i * db / n}});
        reached = end;
    }
    // The floating strip width can fall short of the edge by a pixel.
    if (reached < right) strips.push_back({reached, right, to});
    return strips;
}
