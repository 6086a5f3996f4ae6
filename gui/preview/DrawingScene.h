#pragma once
// The entities of a DXF drawing as a picture: every line and text the writer writes,
// in its colour (or its layer's), texts at their height and justification as a CAD
// program sets them. North is up whatever the drawing's axes: each point goes where
// it lies on the map, and its mark around it as the CAD program shows the mark.
// Scene units are metres from the middle of the points; y grows downwards.

#include "dxf/DxfDrawing.h"

#include <QFont>
#include <QFontMetricsF>
#include <QGraphicsScene>
#include <QList>

class QGraphicsItem;

class DrawingScene : public QGraphicsScene {
    Q_OBJECT
public:
    // A picture of more points would make the window crawl; the rest are left out.
    static constexpr qsizetype kMostPoints = 50000;

    explicit DrawingScene(const DxfDrawing& drawing, QObject* parent = nullptr);

    // The points in the picture: all of the drawing's, or the first kMostPoints.
    qsizetype ShownPoints() const { return m_shownPoints; }

    const std::vector<DxfLayer>& Layers() const { return m_layers; }
    // The items of one layer: shown or hidden together.
    QGraphicsItem* LayerItem(int layer) const { return m_layerItems.value(layer); }
    void SetLayerVisible(int layer, bool visible);
    // Where the drawn points and their marks lie.
    QRectF DrawingRect() const { return m_drawingRect; }

private:
    void AddEntity(const DxfDrawing& drawing, const DxfEntity& entity);

    std::vector<DxfLayer> m_layers;
    QFont m_font;  // texts are laid out in it and scaled to their height
    QFontMetricsF m_metrics;
    QList<QGraphicsItem*> m_layerItems;
    qsizetype m_shownPoints = 0;
    double m_originEast = 0.0;
    double m_originNorth = 0.0;
    QRectF m_drawingRect;
};
