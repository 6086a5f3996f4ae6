#include "gui/preview/DrawingView.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace {

// One notch of the wheel (120 eighths of a degree) zooms by a quarter.
constexpr double kZoomPerNotch = 1.25;
// The whole drawing leaves this share of its size free around it.
constexpr double kFitMargin = 0.05;

}  // namespace

DrawingView::DrawingView(std::shared_ptr<const DrawingPicture> picture, QWidget* parent)
    : QWidget(parent),
      m_picture(std::move(picture)),
      m_visibleLayers(m_picture->Layers().size(), true),
      m_cancel(std::make_shared<std::atomic<bool>>(false)) {
    setObjectName(QStringLiteral("drawingView"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(false);
    setCursor(Qt::OpenHandCursor);
    m_painting.setMaxThreadCount(1);
    FitDrawing();
}

DrawingView::~DrawingView() {
    m_cancel->store(true);
    m_painting.waitForDone();
}

RenderRequest DrawingView::Request() const {
    RenderRequest request;
    request.place = m_place;
    request.size = size();
    request.devicePixelRatio = devicePixelRatioF();
    request.visibleLayers = m_visibleLayers;
    request.fontFamily = font().family();
    return request;
}

void DrawingView::FitDrawing() {
    const QRectF drawing = m_picture->Bounds();
    const double margin = kFitMargin * std::max({drawing.width(), drawing.height(), 1e-3});
    const QRectF fitted = drawing.adjusted(-margin, -margin, margin, margin);
    const double widthScale = fitted.width() > 0 ? width() / fitted.width() : 1.0;
    const double heightScale = fitted.height() > 0 ? height() / fitted.height() : 1.0;
    const double scale = std::min(widthScale, heightScale);
    m_place.pixelsPerMetre = scale > 0 && std::isfinite(scale) ? scale : 1.0;
    m_place.centre = fitted.center();
    m_fitted = true;
    update();
}

void DrawingView::SetLayerVisible(int layer, bool visible) {
    if (layer < 0 || static_cast<std::size_t>(layer) >= m_visibleLayers.size()) return;
    m_visibleLayers[static_cast<std::size_t>(layer)] = visible;
    update();
}

QRectF DrawingView::ViewRect(const QRectF& pictureRect) const {
    return QRectF(ViewPoint(m_place, size(), pictureRect.topLeft()),
                  ViewPoint(m_place, size(), pictureRect.bottomRight()));
}

QStringList DrawingView::VisibleTexts() const {
    QStringList texts;
    for (const DrawingPicture::Label& label : m_picture->Labels())
        if (LayerVisible(label.layer)) texts << m_picture->TextOf(label).toString();
    return texts;
}

void DrawingView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    const RenderRequest now = Request();
    if (!m_image.isNull()) {
        if (m_imageRequest == now) {
            painter.drawImage(QPointF(0, 0), m_image);
        } else {
            // The last image where its picture now lies, until the sharp one comes.
            const ViewPlace& was = m_imageRequest.place;
            const double factor = m_place.pixelsPerMetre / was.pixelsPerMetre;
            const QPointF topLeft = ViewPoint(m_place, size(), was.centre) -
                                    QPointF(m_imageRequest.size.width(), m_imageRequest.size.height()) * factor / 2;
            painter.setRenderHint(QPainter::SmoothPixmapTransform, factor < 1);
            painter.drawImage(QRectF(topLeft, QSizeF(m_imageRequest.size) * factor), m_image);
        }
    }
    if (m_imageRequest != now) RequestRender();
}

void DrawingView::RequestRender() {
    if (m_renderRunning) return;
    const RenderRequest request = Request();
    if (request.size.isEmpty()) return;
    m_renderRunning = true;
    std::shared_ptr<const DrawingPicture> picture = m_picture;
    std::shared_ptr<std::atomic<bool>> cancel = m_cancel;
    m_painting.start([this, picture, cancel, request] {
        const QImage image = RenderPicture(*picture, request, *cancel);
        if (cancel->load()) return;
        QMetaObject::invokeMethod(
            this, [this, image, request] { OnRendered(image, request); }, Qt::QueuedConnection);
    });
}

void DrawingView::OnRendered(const QImage& image, const RenderRequest& request) {
    m_renderRunning = false;
    if (!image.isNull()) {
        m_image = image;
        m_imageRequest = request;
    }
    update();
    if (m_imageRequest == Request()) Q_EMIT Rendered();
}

void DrawingView::wheelEvent(QWheelEvent* event) {
    const double notches = event->angleDelta().y() / 120.0;
    if (notches == 0.0) return;
    // The picture point under the mouse stays under it.
    const QPointF mouse = event->position();
    const QPointF middle(width() / 2.0, height() / 2.0);
    const QPointF under = m_place.centre + (mouse - middle) / m_place.pixelsPerMetre;
    m_place.pixelsPerMetre *= std::pow(kZoomPerNotch, notches);
    m_place.centre = under - (mouse - middle) / m_place.pixelsPerMetre;
    m_fitted = false;
    update();
    event->accept();
}

void DrawingView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    m_dragging = true;
    m_dragFrom = event->position().toPoint();
    m_fitted = false;
    setCursor(Qt::ClosedHandCursor);
}

void DrawingView::mouseMoveEvent(QMouseEvent* event) {
    if (!m_dragging) return;
    const QPoint at = event->position().toPoint();
    m_place.centre -= QPointF(at - m_dragFrom) / m_place.pixelsPerMetre;
    m_dragFrom = at;
    update();
}

void DrawingView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    m_dragging = false;
    setCursor(Qt::OpenHandCursor);
}

void DrawingView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (m_fitted) FitDrawing();
}
