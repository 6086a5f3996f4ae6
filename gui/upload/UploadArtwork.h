#pragma once
// The five 32 × 32 pixel images of the upload window's toolbar, painted by the
// program itself: open file, send points, send codes, help, close window. The
// true-colour set is smooth and shaded; the 16-colour set draws the same shapes
// in the 16 standard colours only, with hard edges and no partial transparency.

#include <QImage>
#include <QList>
#include <QPixmap>

namespace UploadArtwork {

inline constexpr int kImageSize = 32;
inline constexpr int kImageCount = 5;

// The five images side by side (160 × 32), in toolbar order.
QImage Strip(bool sixteenColours);
QList<QPixmap> Images(bool sixteenColours);

}  // namespace UploadArtwork
