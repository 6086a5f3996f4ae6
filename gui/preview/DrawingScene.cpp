#include "gui/preview/DrawingScene.h"

#include "base/Cp1250.h"

#include <QBrush>
#include <QGraphicsItemGroup>
#include <QGraphicsLineItem>
#include <QGraphicsSimpleTextItem>
#include <QPen>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// Texts are laid out in a font of this pixel size and scaled to their height.
constexpr double kFontPixels = 100.0;

QColor ScreenColour(int colour) { return QColor::fromRgb(DxfColourRgb(colour)); }

QFont TextFont() {
    QFont font;
    font.setPixelSize(static_cast<int>(kFontPixels));
    return font;
}

}  // namespace

DrawingScene::DrawingScene(const DxfDrawing& drawing, QObject* parent)
    : QGraphicsScene(parent), m_layers(drawing.Layers()), m_font(TextFont()), m_metrics(m_font) {
    setBackgroundBrush(Qt::black);

    // The middle of the points is the scene's origin: S-JTSK coordinates are large,
    // the marks small.
    double minEast = std::numeric_limits<double>::max(), maxEast = -minEast;
    double minNorth = minEast, maxNorth = -minEast;
    drawing.Draw([&](const DxfEntity& entity) {
        double east = 0.0, north = 0.0;
        drawing.EastNorth(entity.pointX, entity.pointY, east, north);
        if (std::isfinite(east) && std::isfinite(north)) {
            minEast = std::min(minEast, east);
            maxEast = std::max(maxEast, east);
            minNorth = std::min(minNorth, north);
            maxNorth = std::max(maxNorth, north);
        }
        return true;
    });
    if (minEast <= maxEast) {
        m_originEast = (minEast + maxEast) / 2;
        m_originNorth = (minNorth + maxNorth) / 2;
    }

    for (std::size_t i = 0; i < m_layers.size(); ++i) {
        auto* layer = new QGraphicsItemGroup;
        addItem(layer);
        m_layerItems.append(layer);
    }
    // Each point's entities end with the two arms of its cross.
    qsizetype arms = 0;
    drawing.Draw([&](const DxfEntity& entity) {
        AddEntity(drawing, entity);
        if (entity.kind == DxfEntity::Kind::Line) ++arms;
        m_shownPoints = arms / 2;
        return m_shownPoints < kMostPoints;
    });
    m_drawingRect = itemsBoundingRect();
}

void DrawingScene::SetLayerVisible(int layer, bool visible) {
    if (QGraphicsItem* item = LayerItem(layer)) item->setVisible(visible);
}

void DrawingScene::AddEntity(const DxfDrawing& drawing, const DxfEntity& entity) {
    // The point where it lies with north up; the entity around it as drawn.
    double east = 0.0, north = 0.0;
    drawing.EastNorth(entity.pointX, entity.pointY, east, north);
    const auto place = [&](double x, double y) {
        return QPointF(east - m_originEast + (x - entity.pointX), m_originNorth - north - (y - entity.pointY));
    };
    const QColor colour = ScreenColour(
        entity.colour == kDxfColourByLayer ? m_layers[static_cast<std::size_t>(entity.layer)].colour : entity.colour);
    auto* layer = static_cast<QGraphicsItemGroup*>(LayerItem(entity.layer));

    if (entity.kind == DxfEntity::Kind::Line) {
        auto* line = new QGraphicsLineItem(QLineF(place(entity.x, entity.y), place(entity.x2, entity.y2)));
        line->setPen(QPen(colour, 0));  // one pixel at any zoom
        layer->addToGroup(line);
        return;
    }

    if (!(entity.height > 0.0) || !std::isfinite(entity.height)) return;
    const QString text = Cp1250::ToUnicode(entity.text.toByteArray());
    const QFontMetricsF& metrics = m_metrics;
    // A DXF text's height is that of its capitals.
    const double scale = entity.height / metrics.capHeight();
    const double width = metrics.horizontalAdvance(text) * scale;
    // The alignment point: centred or left; on the bottom of the descenders or in
    // the middle of the capitals.
    const QPointF align = place(entity.x2, entity.y2);
    const double left = entity.horizontal == 1 ? align.x() - width / 2 : align.x();
    const double baseline =
        entity.vertical == 1 ? align.y() - metrics.descent() * scale : align.y() + entity.height / 2;
    auto* item = new QGraphicsSimpleTextItem(text);
    item->setFont(m_font);
    item->setBrush(colour);
    item->setScale(scale);
    item->setPos(left, baseline - metrics.ascent() * scale);
    layer->addToGroup(item);
}
