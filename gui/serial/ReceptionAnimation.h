#pragma once
// The looping picture of the reception window: the total station on its tripod
// at the left, the computer at the right, and data packets travelling along the
// cable between them. Painted by the program on a transparent background, scaled
// to the widget's size; one loop lasts kFrameCount frames of kFrameMs each.

#include <QTimer>
#include <QWidget>

class ReceptionAnimation : public QWidget {
    Q_OBJECT
public:
    static constexpr int kFrameCount = 24;
    static constexpr int kFrameMs = 70;

    explicit ReceptionAnimation(QWidget* parent = nullptr);

    // The picture's size for a text whose lines are that many pixels high: 270 × 60
    // at the 13 pixels of a 96-dpi screen, as much larger as the text is.
    static QSize SizeFor(int textPixels);

    // Plays from the first frame, repeating without end.
    void Play();
    void Stop();
    bool IsPlaying() const { return m_timer.isActive(); }
    int Frame() const { return m_frame; }
    // Moves to the next frame, back to the first after the last.
    void Advance();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QTimer m_timer;
    int m_frame = 0;
};
