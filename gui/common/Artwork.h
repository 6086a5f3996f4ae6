#pragma once
// The program's own pictures, rendered from its SVG resources: the 500 × 200 pixel
// banner of the main view and the seven 45 × 48 pixel toolbar images, in the
// true-colour set or the 16-colour set (the same drawings reduced to the 16
// standard colours, with hard edges).

#include <QImage>
#include <QList>
#include <QPixmap>

namespace Artwork {

inline constexpr int kToolbarImageWidth = 45;
inline constexpr int kToolbarImageHeight = 48;
inline constexpr int kToolbarImageCount = 7;

QPixmap Banner();

// The seven images side by side (315 × 48), left to right: reception (F1),
// coordinates export (F2), file conversion (F3), tools, conversion parameters,
// communication parameters, help.
QImage ToolbarStrip(bool sixteenColours);
QList<QPixmap> ToolbarImages(bool sixteenColours);

// Each pixel to the nearest of the 16 standard colours; pixels less than half
// opaque become transparent, the others opaque.
QImage ToSixteenColours(const QImage& image);

}  // namespace Artwork
