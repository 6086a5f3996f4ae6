#include "gui/common/Artwork.h"

#include <QPainter>
#include <QSvgRenderer>

namespace {

QImage Render(const QString& resource, QSize size) {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QSvgRenderer renderer(resource);
    QPainter painter(&image);
    renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
    return image;
}

constexpr QRgb kSixteenColours[16] = {
    qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0),
    qRgb(0, 0, 128),     qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(192, 192, 192),
    qRgb(128, 128, 128), qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(255, 255, 0),
    qRgb(0, 0, 255),     qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255),
};

QRgb Nearest(QRgb colour) {
    QRgb best = kSixteenColours[0];
    int bestDistance = INT_MAX;
    for (QRgb candidate : kSixteenColours) {
        const int dr = qRed(colour) - qRed(candidate);
        const int dg = qGreen(colour) - qGreen(candidate);
        const int db = qBlue(colour) - qBlue(candidate);
        // Weighted as the eye sees brightness.
        const int distance = 3 * dr * dr + 4 * dg * dg + 2 * db * db;
        if (distance < bestDistance) {
            bestDistance = distance;
            best = candidate;
        }
    }
    return best;
}

// The SVG resources of a toolbar's images, in toolbar order, and their size.
struct ToolbarSet {
    QList<const char*> names;
    QSize imageSize;
};

const ToolbarSet& SetOf(Artwork::Toolbar toolbar) {
    static const ToolbarSet kMain{{"tool-receive", "tool-export", "tool-convert", "tool-tools",
                                   "tool-conversionParameters", "tool-communicationParameters", "tool-help"},
                                  QSize(45, 48)};
    static const ToolbarSet kUpload{
        {"upload-open", "upload-sendPoints", "upload-sendCodes", "upload-help", "upload-close"}, QSize(32, 32)};
    return toolbar == Artwork::Toolbar::Upload ? kUpload : kMain;
}

}  // namespace

namespace Artwork {

QPixmap Banner() { return QPixmap::fromImage(Render(QStringLiteral(":/images/banner.svg"), QSize(500, 200))); }

QSize ToolbarImageSize(Toolbar toolbar) { return SetOf(toolbar).imageSize; }

QImage ToolbarStrip(Toolbar toolbar, bool sixteenColours) {
    const ToolbarSet& set = SetOf(toolbar);
    const int width = set.imageSize.width();
    QImage strip(width * static_cast<int>(set.names.size()), set.imageSize.height(),
                 QImage::Format_ARGB32_Premultiplied);
    strip.fill(Qt::transparent);
    QPainter painter(&strip);
    for (qsizetype i = 0; i < set.names.size(); ++i) {
        const QString resource = QStringLiteral(":/images/%1.svg").arg(QLatin1String(set.names[i]));
        painter.drawImage(static_cast<int>(i) * width, 0, Render(resource, set.imageSize));
    }
    painter.end();
    return sixteenColours ? ToSixteenColours(strip) : strip;
}

QList<QPixmap> ToolbarImages(Toolbar toolbar, bool sixteenColours) {
    const QImage strip = ToolbarStrip(toolbar, sixteenColours);
    const QSize size = ToolbarImageSize(toolbar);
    QList<QPixmap> images;
    for (int x = 0; x + size.width() <= strip.width(); x += size.width())
        images.append(QPixmap::fromImage(strip.copy(x, 0, size.width(), size.height())));
    return images;
}

QImage ToSixteenColours(const QImage& image) {
    QImage source = image.convertToFormat(QImage::Format_ARGB32);
    QImage result(source.size(), QImage::Format_ARGB32);
    for (int y = 0; y < source.height(); ++y) {
        const QRgb* in = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        QRgb* out = reinterpret_cast<QRgb*>(result.scanLine(y));
        for (int x = 0; x < source.width(); ++x) {
            out[x] = qAlpha(in[x]) < 128 ? qRgba(0, 0, 0, 0) : Nearest(in[x]);
        }
    }
    return result;
}

}  // namespace Artwork
