#pragma once
// Paints a drawing's picture as the preview shows it, on any thread: black
// ground, the layers the user left visible, lines one pixel wide. Texts smaller
// than kSmallestTextPixels (capitals' height) are left out: nobody reads them,
// and at the whole drawing of a large job they are most of the work. Where texts
// of one kind pile up (their places within a quarter of their height), the pile
// is drawn as its first text. Only the points whose marks reach into the view
// are looked at.

#include "gui/preview/DrawingPicture.h"

#include <QImage>
#include <QPointF>
#include <QSize>
#include <QString>

#include <atomic>
#include <vector>

// Where the view looks: its scale and the picture point in its middle.
struct ViewPlace {
    double pixelsPerMetre = 1.0;
    QPointF centre;
    bool operator==(const ViewPlace& other) const = default;
};

struct RenderRequest {
    ViewPlace place;
    QSize size;  // logical pixels of the view
    qreal devicePixelRatio = 1.0;
    std::vector<bool> visibleLayers;
    QString fontFamily;  // of the texts
    bool operator==(const RenderRequest& other) const = default;
};

inline constexpr double kSmallestTextPixels = 3.0;

// The image of the request (device pixels, with the request's pixel ratio). A
// cancelled paint stops soon and gives a null image.
QImage RenderPicture(const DrawingPicture& picture, const RenderRequest& request, const std::atomic<bool>& cancelled);

// Where a picture point lands in the view (logical pixels).
QPointF ViewPoint(const ViewPlace& place, QSize size, QPointF picturePoint);
