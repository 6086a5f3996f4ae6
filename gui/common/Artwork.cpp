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

}  // namespace

namespace Artwork {

QPixmap Banner() { return QPixmap::fromImage(Render(QStringLiteral(":/images/banner.svg"), QSize(500, 200))); }

QImage ToolbarStrip(bool sixteenColours) {
    static const char* const kNames[kToolbarImageCount] = {
        "receive", "export", "convert", "tools", "conversionParameters", "communicationParameters", "help"};
    QImage strip(kToolbarImageWidth * kToolbarImageCount, kToolbarImageHeight, QImage::Format_ARGB32_Premultiplied);
    strip.fill(Qt::transparent);
    QPainter painter(&strip);
    for (int i = 0; i < kToolbarImageCount; ++i) {
        const QString resource = QStringLiteral(":/images/tool-%1.svg").arg(QLatin1String(kNames[i]));
        painter.drawImage(i * kToolbarImageWidth, 0, Render(resource, QSize(kToolbarImageWidth, kToolbarImageHeight)));
    }
    painter.end();
    return sixteenColours ? ToSixteenColours(strip) : strip;
}

QList<QPixmap> ToolbarImages(bool sixteenColours) {
    const QImage strip = ToolbarStrip(sixteenColours);
    QList<QPixmap> images;
    for (int i = 0; i < kToolbarImageCount; ++i) {
        images.append(
            QPixmap::fromImage(strip.copy(i * kToolbarImageWidth, 0, kToolbarImageWidth, kToolbarImageHeight)));
    }
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
