#include "gui/serial/ReceptionAnimation.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kPackets = 4;  // on the cable at once
// The picture is drawn in a frame of this size and scaled to the widget.
constexpr QSize kDrawnSize(270, 60);
constexpr int kDrawnTextPixels = 13;

void DrawInstrument(QPainter& painter, QPointF foot) {
    // Tripod legs, the head plate, the instrument's body and its telescope.
    painter.setPen(QPen(QColor(0x6b, 0x4f, 0x2a), 2));
    const QPointF head(foot.x(), foot.y() - 30);
    painter.drawLine(head, QPointF(foot.x() - 11, foot.y()));
    painter.drawLine(head, QPointF(foot.x() + 11, foot.y()));
    painter.drawLine(head, QPointF(foot.x(), foot.y()));
    painter.setPen(QPen(QColor(0x33, 0x33, 0x33), 1));
    painter.setBrush(QColor(0x55, 0x55, 0x55));
    painter.drawRect(QRectF(head.x() - 9, head.y() - 3, 18, 3));
    painter.setBrush(QColor(0xf2, 0xc2, 0x1d));
    painter.drawRoundedRect(QRectF(head.x() - 7, head.y() - 19, 14, 16), 2, 2);
    painter.setBrush(QColor(0x2e, 0x4a, 0x6b));
    painter.drawRect(QRectF(head.x() - 4, head.y() - 15, 8, 6));
    painter.setBrush(QColor(0x44, 0x44, 0x44));
    painter.drawRoundedRect(QRectF(head.x() - 3, head.y() - 26, 6, 9), 1.5, 1.5);
}

void DrawComputer(QPainter& painter, QPointF foot) {
    painter.setPen(QPen(QColor(0x33, 0x33, 0x33), 1));
    painter.setBrush(QColor(0xd9, 0xdd, 0xe3));
    painter.drawRoundedRect(QRectF(foot.x() - 18, foot.y() - 40, 36, 27), 2, 2);
    painter.setBrush(QColor(0x1f, 0x4e, 0x79));
    painter.drawRect(QRectF(foot.x() - 15, foot.y() - 37, 30, 21));
    painter.setPen(QPen(QColor(0x9d, 0xc3, 0xe6), 1));
    for (int row = 0; row < 4; ++row) {
        painter.drawLine(QPointF(foot.x() - 12, foot.y() - 33 + row * 4),
                         QPointF(foot.x() + 4 + (row % 2) * 6, foot.y() - 33 + row * 4));
    }
    painter.setPen(QPen(QColor(0x33, 0x33, 0x33), 1));
    painter.setBrush(QColor(0xb8, 0xbe, 0xc6));
    painter.drawRect(QRectF(foot.x() - 4, foot.y() - 13, 8, 6));
    painter.drawRoundedRect(QRectF(foot.x() - 14, foot.y() - 7, 28, 5), 1.5, 1.5);
}

}  // namespace

ReceptionAnimation::ReceptionAnimation(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TranslucentBackground);
    setAutoFillBackground(false);
    m_timer.setInterval(kFrameMs);
    connect(&m_timer, &QTimer::timeout, this, &ReceptionAnimation::Advance);
}

QSize ReceptionAnimation::SizeFor(int textPixels) {
    const int pixels = std::max(textPixels, kDrawnTextPixels);
    return QSize(kDrawnSize.width() * pixels / kDrawnTextPixels, kDrawnSize.height() * pixels / kDrawnTextPixels);
}

void ReceptionAnimation::Play() {
    m_frame = 0;
    m_timer.start();
    update();
}

void ReceptionAnimation::Stop() { m_timer.stop(); }

void ReceptionAnimation::Advance() {
    m_frame = (m_frame + 1) % kFrameCount;
    update();
}

void ReceptionAnimation::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal scale = std::min(width() / qreal(kDrawnSize.width()), height() / qreal(kDrawnSize.height()));
    painter.scale(scale, scale);
    const qreal w = kDrawnSize.width();
    const qreal h = kDrawnSize.height();
    const QPointF instrumentFoot(24, h - 2);
    const QPointF computerFoot(w - 26, h - 4);
    DrawInstrument(painter, instrumentFoot);
    DrawComputer(painter, computerFoot);

    // The cable sags between the instrument's head and the computer.
    const QPointF from(instrumentFoot.x() + 8, h - 40);
    const QPointF to(computerFoot.x() - 19, h - 26);
    QPainterPath cable(from);
    cable.cubicTo(QPointF(from.x() + (to.x() - from.x()) * 0.3, h - 6),
                  QPointF(from.x() + (to.x() - from.x()) * 0.7, h - 6), to);
    painter.setPen(QPen(QColor(0x44, 0x44, 0x44), 1.5));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(cable);

    // Packets move one step a frame; after a whole loop each is where the next one was.
    painter.setPen(QPen(QColor(0x1a, 0x5e, 0x20), 1));
    for (int packet = 0; packet < kPackets; ++packet) {
        const qreal along = std::fmod((packet + static_cast<qreal>(m_frame) / kFrameCount) / kPackets, 1.0);
        const QPointF at = cable.pointAtPercent(along);
        const qreal size = 5 + 2 * std::sin(along * 3.14159);
        painter.setBrush(packet % 2 ? QColor(0x6c, 0xc2, 0x4a) : QColor(0xf7, 0xcf, 0x5a));
        painter.drawRect(QRectF(at.x() - size / 2, at.y() - size / 2 - 4, size, size));
    }
}
