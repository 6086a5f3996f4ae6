#pragma once
// The view of a drawing's picture: fitted to the window until the user zooms (the
// wheel, around the mouse) or pans (dragging); FitDrawing fits it again.

#include <QGraphicsView>

class DrawingScene;

class DrawingView : public QGraphicsView {
    Q_OBJECT
public:
    explicit DrawingView(DrawingScene* scene, QWidget* parent = nullptr);

    void FitDrawing();

protected:
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    DrawingScene* m_scene;
    bool m_fitted = true;  // the drawing fills the view; the user has not moved it
};
