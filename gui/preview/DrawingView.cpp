#include "gui/preview/DrawingView.h"

#include "gui/preview/DrawingScene.h"

#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace {

// One notch of the wheel (120 eighths of a degree) zooms by a quarter.
constexpr double kZoomPerNotch = 1.25;

}  // namespace

DrawingView::DrawingView(DrawingScene* scene, QWidget* parent) : QGraphicsView(scene, parent), m_scene(scene) {
    setObjectName(QStringLiteral("drawingView"));
    setRenderHint(QPainter::Antialiasing);
    setDragMode(QGraphicsView::ScrollHandDrag);
    setTransformationAnchor(QGraphicsView::AnchorUnderMouse);
    setResizeAnchor(QGraphicsView::AnchorViewCenter);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Room to pan the drawing well away from the middle.
    const QRectF drawing = scene->DrawingRect();
    const double room = 10 * std::max({drawing.width(), drawing.height(), 1.0});
    setSceneRect(drawing.adjusted(-room, -room, room, room));
}

void DrawingView::FitDrawing() {
    const QRectF drawing = m_scene->DrawingRect();
    const double margin = 0.05 * std::max({drawing.width(), drawing.height(), 1e-3});
    fitInView(drawing.adjusted(-margin, -margin, margin, margin), Qt::KeepAspectRatio);
    m_fitted = true;
}

void DrawingView::wheelEvent(QWheelEvent* event) {
    const double notches = event->angleDelta().y() / 120.0;
    if (notches == 0.0) return;
    const double factor = std::pow(kZoomPerNotch, notches);
    scale(factor, factor);
    m_fitted = false;
    event->accept();
}

void DrawingView::mousePressEvent(QMouseEvent* event) {
    m_fitted = false;
    QGraphicsView::mousePressEvent(event);
}

void DrawingView::resizeEvent(QResizeEvent* event) {
    QGraphicsView::resizeEvent(event);
    if (m_fitted) FitDrawing();
}

void DrawingView::showEvent(QShowEvent* event) {
    QGraphicsView::showEvent(event);
    if (m_fitted) FitDrawing();
}
