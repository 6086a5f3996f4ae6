#pragma once
// The view of a drawing's picture: fitted to the window until the user zooms (the
// wheel, around the mouse) or pans (dragging); FitDrawing fits it again.
//
// The picture is painted on a thread of its own, so that the window stays quick
// whatever the size of the drawing: a wheel step or a pan repaints at once from
// the last painted image, moved and scaled as the view now is, and the sharp
// image follows as soon as it is painted (Rendered).

#include "gui/preview/PictureRenderer.h"

#include <QImage>
#include <QPoint>
#include <QThreadPool>
#include <QWidget>

#include <atomic>
#include <memory>
#include <vector>

class DrawingView : public QWidget {
    Q_OBJECT
public:
    explicit DrawingView(std::shared_ptr<const DrawingPicture> picture, QWidget* parent = nullptr);
    // Waits for a paint in progress (it stops soon).
    ~DrawingView() override;

    void FitDrawing();
    void SetLayerVisible(int layer, bool visible);
    bool LayerVisible(int layer) const { return m_visibleLayers[static_cast<std::size_t>(layer)]; }

    const DrawingPicture& Picture() const { return *m_picture; }
    const ViewPlace& Place() const { return m_place; }
    // Where a rectangle of the picture lies in the view (logical pixels).
    QRectF ViewRect(const QRectF& pictureRect) const;
    // Whether the view shows the sharp image of what it looks at now.
    bool Sharp() const { return !m_image.isNull() && m_imageRequest == Request(); }
    // The texts of the visible layers, in the picture's order (tests).
    QStringList VisibleTexts() const;

Q_SIGNALS:
    // The sharp image of the view as it now is has been painted.
    void Rendered();

protected:
    void paintEvent(QPaintEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    RenderRequest Request() const;
    // Paints the view as it now is on the painting thread, unless a paint runs: its
    // end starts the next one.
    void RequestRender();
    void OnRendered(const QImage& image, const RenderRequest& request);

    std::shared_ptr<const DrawingPicture> m_picture;
    ViewPlace m_place;
    std::vector<bool> m_visibleLayers;
    bool m_fitted = true;  // the drawing fills the view; the user has not moved it
    QPoint m_dragFrom;
    bool m_dragging = false;

    QImage m_image;  // the last painted image and what it shows
    RenderRequest m_imageRequest;
    QThreadPool m_painting;  // one thread
    bool m_renderRunning = false;
    std::shared_ptr<std::atomic<bool>> m_cancel;
};
