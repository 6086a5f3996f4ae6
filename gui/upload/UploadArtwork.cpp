#include "gui/upload/UploadArtwork.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

namespace {

// The colours of one set. The 16-colour set takes every colour from the 16
// standard ones and paints without smoothing, so its images keep hard edges.
struct Palette {
    bool smooth;
    QColor outline;
    QColor paper;
    QColor paperShade;
    QColor rule;
    QColor folder;
    QColor folderShade;
    QColor point;
    QColor tag;
    QColor tagShade;
    QColor arrow;
    QColor arrowShade;
    QColor help;
    QColor helpShade;
    QColor close;
    QColor closeShade;
    QColor mark;  // the "?" and the cross
};

Palette TrueColours() {
    return Palette{true,
                   QColor(0x2b, 0x3a, 0x4a),
                   QColor(0xff, 0xff, 0xff),
                   QColor(0xd8, 0xe2, 0xee),
                   QColor(0x8a, 0x9b, 0xb0),
                   QColor(0xf7, 0xcf, 0x5a),
                   QColor(0xd2, 0x96, 0x1c),
                   QColor(0xd6, 0x2d, 0x20),
                   QColor(0xff, 0xe8, 0x9a),
                   QColor(0xe0, 0xb0, 0x40),
                   QColor(0x6c, 0xc2, 0x4a),
                   QColor(0x23, 0x7a, 0x2c),
                   QColor(0x5b, 0x9b, 0xd5),
                   QColor(0x1f, 0x4e, 0x79),
                   QColor(0xf0, 0x6a, 0x5a),
                   QColor(0xa8, 0x1e, 0x14),
                   QColor(0xff, 0xff, 0xff)};
}

Palette SixteenColours() {
    const QColor black(0, 0, 0), white(255, 255, 255), silver(192, 192, 192), grey(128, 128, 128);
    const QColor yellow(255, 255, 0), olive(128, 128, 0), red(255, 0, 0), maroon(128, 0, 0);
    const QColor lime(0, 255, 0), green(0, 128, 0), blue(0, 0, 255), navy(0, 0, 128);
    return Palette{false, black, white, silver, grey, yellow, olive,  red,  yellow,
                   olive, lime,  green, blue,   navy, red,    maroon, white};
}

QBrush Fill(const Palette& palette, const QColor& light, const QColor& dark, QPointF from, QPointF to) {
    if (!palette.smooth) return QBrush(light);
    QLinearGradient gradient(from, to);
    gradient.setColorAt(0, light);
    gradient.setColorAt(1, dark);
    return QBrush(gradient);
}

// A sheet of a list with its top right corner folded, at x..x+w, y..y+h.
void DrawSheet(QPainter& painter, const Palette& palette, qreal x, qreal y, qreal w, qreal h) {
    const qreal fold = 6;
    QPolygonF sheet;
    sheet << QPointF(x, y) << QPointF(x + w - fold, y) << QPointF(x + w, y + fold) << QPointF(x + w, y + h)
          << QPointF(x, y + h);
    painter.setPen(QPen(palette.outline, 1));
    painter.setBrush(Fill(palette, palette.paper, palette.paperShade, QPointF(x, y), QPointF(x + w, y + h)));
    painter.drawPolygon(sheet);
    QPolygonF corner;
    corner << QPointF(x + w - fold, y) << QPointF(x + w - fold, y + fold) << QPointF(x + w, y + fold);
    painter.setBrush(palette.paperShade);
    painter.drawPolygon(corner);
}

// The arrow that carries a list to the instrument, pointing right.
void DrawSendArrow(QPainter& painter, const Palette& palette) {
    QPolygonF arrow;
    arrow << QPointF(15, 19) << QPointF(22, 19) << QPointF(22, 14) << QPointF(31, 23) << QPointF(22, 31)
          << QPointF(22, 27) << QPointF(15, 27);
    painter.setPen(QPen(palette.arrowShade, 1));
    painter.setBrush(Fill(palette, palette.arrow, palette.arrowShade, QPointF(0, 14), QPointF(0, 31)));
    painter.drawPolygon(arrow);
}

void DrawOpenFile(QPainter& painter, const Palette& palette) {
    // Folder back, a sheet sticking out, the open front flap.
    QPolygonF back;
    back << QPointF(2, 8) << QPointF(11, 8) << QPointF(14, 11) << QPointF(27, 11) << QPointF(27, 27) << QPointF(2, 27);
    painter.setPen(QPen(palette.outline, 1));
    painter.setBrush(palette.folderShade);
    painter.drawPolygon(back);
    DrawSheet(painter, palette, 7, 4, 17, 18);
    painter.setPen(QPen(palette.rule, 1));
    for (int row = 0; row < 3; ++row) painter.drawLine(QPointF(10, 10.5 + row * 3), QPointF(20, 10.5 + row * 3));
    QPolygonF front;
    front << QPointF(2, 27) << QPointF(7, 15) << QPointF(31, 15) << QPointF(27, 27);
    painter.setPen(QPen(palette.outline, 1));
    painter.setBrush(Fill(palette, palette.folder, palette.folderShade, QPointF(0, 15), QPointF(0, 27)));
    painter.drawPolygon(front);
}

void DrawSendPoints(QPainter& painter, const Palette& palette) {
    DrawSheet(painter, palette, 2, 2, 18, 27);
    // Three rows of the list: a surveyed point and its coordinates.
    for (int row = 0; row < 3; ++row) {
        const qreal y = 9 + row * 7;
        painter.setPen(QPen(palette.outline, 1));
        painter.setBrush(palette.point);
        QPolygonF mark;
        mark << QPointF(7, y - 3) << QPointF(10, y + 2) << QPointF(4, y + 2);
        painter.drawPolygon(mark);
        painter.setPen(QPen(palette.rule, 1));
        painter.drawLine(QPointF(12, y - 1), QPointF(17, y - 1));
        painter.drawLine(QPointF(12, y + 1.5), QPointF(16, y + 1.5));
    }
    DrawSendArrow(painter, palette);
}

void DrawSendCodes(QPainter& painter, const Palette& palette) {
    // A tag with a hole and its text lines: a code and its description.
    QPolygonF tag;
    tag << QPointF(2, 9) << QPointF(7, 3) << QPointF(20, 3) << QPointF(20, 15) << QPointF(7, 15);
    painter.setPen(QPen(palette.outline, 1));
    painter.setBrush(Fill(palette, palette.tag, palette.tagShade, QPointF(2, 3), QPointF(20, 15)));
    painter.drawPolygon(tag);
    painter.setBrush(palette.paper);
    painter.drawEllipse(QPointF(6.5, 9), 1.6, 1.6);
    painter.setPen(QPen(palette.outline, 1));
    painter.drawLine(QPointF(10, 7), QPointF(18, 7));
    painter.drawLine(QPointF(10, 11), QPointF(16, 11));
    DrawSheet(painter, palette, 2, 17, 13, 13);
    painter.setPen(QPen(palette.rule, 1));
    for (int row = 0; row < 3; ++row) painter.drawLine(QPointF(4, 21.5 + row * 3), QPointF(10, 21.5 + row * 3));
    DrawSendArrow(painter, palette);
}

void DrawRoundBadge(QPainter& painter, const Palette& palette, const QColor& light, const QColor& dark) {
    painter.setPen(QPen(palette.smooth ? dark.darker(130) : palette.outline, 1));
    painter.setBrush(Fill(palette, light, dark, QPointF(0, 2), QPointF(0, 30)));
    painter.drawEllipse(QRectF(2.5, 2.5, 27, 27));
}

void DrawHelp(QPainter& painter, const Palette& palette) {
    DrawRoundBadge(painter, palette, palette.help, palette.helpShade);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(21);
    font.setBold(true);
    font.setStyleStrategy(palette.smooth ? QFont::PreferAntialias : QFont::NoAntialias);
    painter.setFont(font);
    painter.setPen(palette.mark);
    painter.drawText(QRectF(2, 2, 28, 28), Qt::AlignCenter, QStringLiteral("?"));
}

void DrawClose(QPainter& painter, const Palette& palette) {
    DrawRoundBadge(painter, palette, palette.close, palette.closeShade);
    painter.setPen(QPen(palette.mark, 4, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(11, 11), QPointF(21, 21));
    painter.drawLine(QPointF(21, 11), QPointF(11, 21));
}

}  // namespace

namespace UploadArtwork {

QImage Strip(bool sixteenColours) {
    const Palette palette = sixteenColours ? SixteenColours() : TrueColours();
    using Draw = void (*)(QPainter&, const Palette&);
    static constexpr Draw kDraw[kImageCount] = {DrawOpenFile, DrawSendPoints, DrawSendCodes, DrawHelp, DrawClose};

    QImage strip(kImageSize * kImageCount, kImageSize, QImage::Format_ARGB32_Premultiplied);
    strip.fill(Qt::transparent);
    QPainter painter(&strip);
    painter.setRenderHint(QPainter::Antialiasing, palette.smooth);
    painter.setRenderHint(QPainter::TextAntialiasing, palette.smooth);
    for (int i = 0; i < kImageCount; ++i) {
        painter.save();
        painter.translate(i * kImageSize, 0);
        painter.setClipRect(0, 0, kImageSize, kImageSize);
        kDraw[i](painter, palette);
        painter.restore();
    }
    painter.end();
    return strip;
}

QList<QPixmap> Images(bool sixteenColours) {
    const QImage strip = Strip(sixteenColours);
    QList<QPixmap> images;
    for (int i = 0; i < kImageCount; ++i) {
        images.append(QPixmap::fromImage(strip.copy(i * kImageSize, 0, kImageSize, kImageSize)));
    }
    return images;
}

}  // namespace UploadArtwork
