#pragma once
// Colours of the flat pop-up menus: plain RGB triples (0..255 each), the
// hue/lightness/saturation model on a 0..255 scale and `AdjustColor`, which
// lightens or darkens and saturates or greys a colour by percentages.
// Components outside 0..255 are clamped; percentages are used as given
// (-100..100 is the useful range).

struct Rgb {
    int red = 0;
    int green = 0;
    int blue = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

struct Hls {
    int hue = 0;         // 0..255 for the full circle, 0 for greys
    int lightness = 0;   // 0..255
    int saturation = 0;  // 0..255
    friend bool operator==(const Hls&, const Hls&) = default;
};

// Shaded left column of the menus starts in this colour and runs to white.
inline constexpr Rgb kColumnColor{180, 196, 228};
inline constexpr Rgb kBackgroundColor{255, 255, 255};

// Each value truncated to a whole number.
Hls RgbToHls(Rgb color);
// Each component rounded to the nearest whole number.
Rgb HlsToRgb(Hls color);

// p > 0 moves lightness (saturation) towards 255 by p percent of the distance,
// p < 0 scales it down by -p percent, 0 leaves it; integer arithmetic throughout.
Rgb AdjustColor(Rgb color, int lightnessPercent, int saturationPercent);
