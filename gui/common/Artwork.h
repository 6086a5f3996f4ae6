#pragma once
// The program's own pictures, rendered from its SVG resources: the 500 × 200 pixel
// banner of the main view and the images of the two toolbars, in the true-colour
// set or the 16-colour set (the same drawings reduced to the 16 standard colours,
// with hard edges).

#include <QImage>
#include <QList>
#include <QPixmap>
#include <QSize>

namespace Artwork {

enum class Toolbar {
    // Seven 45 × 48 images, left to right: reception (F1), coordinates export (F2),
    // file conversion (F3), tools, conversion parameters, communication
    // parameters, help.
    Main,
    // Five 32 × 32 images: open file, send points, send codes, help, close window.
    Upload,
};

QPixmap Banner();

QSize ToolbarImageSize(Toolbar toolbar);
// A toolbar's images side by side, in toolbar order.
QImage ToolbarStrip(Toolbar toolbar, bool sixteenColours);
QList<QPixmap> ToolbarImages(Toolbar toolbar, bool sixteenColours);

// Each pixel to the nearest of the 16 standard colours; pixels less than half
// opaque become transparent, the others opaque.
QImage ToSixteenColours(const QImage& image);

}  // namespace Artwork
