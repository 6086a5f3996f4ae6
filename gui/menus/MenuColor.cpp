#include "gui/menus/MenuColor.h"

#include <algorithm>
#include <cmath>

namespace {

int Clamp255(int value) { return std::clamp(value, 0, 255); }

int Adjust(int value, int percent) {
    if (percent > 0) return value + (255 - value) * percent / 100;
    if (percent < 0) return value * (100 + percent) / 100;
    return value;
}

// One RGB component from the two HLS helper values; hue in turns.
double Component(double p, double q, double hue) {
    if (hue < 0) hue += 1;
    if (hue >= 1) hue -= 1;
    if (hue < 1.0 / 6) return p + (q - p) * 6 * hue;
    if (hue < 1.0 / 2) return q;
    if (hue < 2.0 / 3) return p + (q - p) * (2.0 / 3 - hue) * 6;
    return p;
}

int ToByte(double fraction) { return Clamp255(static_cast<int>(std::lround(fraction * 255))); }

}  // namespace

Hls RgbToHls(Rgb color) {
    const int r = Clamp255(color.red);
    const int g = Clamp255(color.green);
    const int b = Clamp255(color.blue);
    const int high = std::max({r, g, b});
    const int low = std::min({r, g, b});
    const int sum = high + low;
    const int delta = high - low;

    // On the 0..255 scale lightness is the mean of the extremes, so whole-number
    // arithmetic truncates exactly where the fractional model would.
    Hls hls;
    hls.lightness = sum / 2;
    if (delta == 0) return hls;
    hls.saturation = sum <= 255 ? delta * 255 / sum : delta * 255 / (510 - sum);

    // Hue in sixths of the circle, scaled by delta to stay whole.
    int sixths;
    if (r == high) {
        sixths = g - b;
    } else if (g == high) {
        sixths = 2 * delta + b - r;
    } else {
        sixths = 4 * delta + r - g;
    }
    if (sixths < 0) sixths += 6 * delta;
    hls.hue = sixths * 255 / (6 * delta);
    return hls;
}

Rgb HlsToRgb(Hls color) {
    const int lightness = Clamp255(color.lightness);
    if (color.saturation <= 0) return {lightness, lightness, lightness};
    const double l = lightness / 255.0;
    const double s = Clamp255(color.saturation) / 255.0;
    const double h = Clamp255(color.hue) / 255.0;
    const double q = l < 0.5 ? l * (1 + s) : l + s - l * s;
    const double p = 2 * l - q;
    return {ToByte(Component(p, q, h + 1.0 / 3)), ToByte(Component(p, q, h)), ToByte(Component(p, q, h - 1.0 / 3))};
}

Rgb AdjustColor(Rgb color, int lightnessPercent, int saturationPercent) {
    Hls hls = RgbToHls(color);
    hls.lightness = Clamp255(Adjust(hls.lightness, lightnessPercent));
    hls.saturation = Clamp255(Adjust(hls.saturation, saturationPercent));
    return HlsToRgb(hls);
}
