#include "gui/mainwindow/LinkLabel.h"

#include <QDesktopServices>
#include <QMouseEvent>
#include <QUrl>

namespace {

const QColor kNormalColour(0, 0, 255);
const QColor kHoverColour(255, 0, 0);

}  // namespace

LinkLabel::LinkLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {
    QFont linkFont = font();
    linkFont.setUnderline(true);
    setFont(linkFont);
    setCursor(Qt::PointingHandCursor);
    // No background of its own: the banner shows through.
    setAutoFillBackground(false);
    setAttribute(Qt::WA_Hover);
    SetHovering(false);
}

QColor LinkLabel::TextColour() const { return m_hovering ? kHoverColour : kNormalColour; }

void LinkLabel::SetHovering(bool hovering) {
    m_hovering = hovering;
    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, TextColour());
    setPalette(colours);
    repaint();
}

void LinkLabel::enterEvent(QEnterEvent* event) {
    QLabel::enterEvent(event);
    if (!m_hovering) SetHovering(true);
}

void LinkLabel::leaveEvent(QEvent* event) {
    QLabel::leaveEvent(event);
    if (m_hovering) SetHovering(false);
}

void LinkLabel::mouseReleaseEvent(QMouseEvent* event) {
    QLabel::mouseReleaseEvent(event);
    if (event->button() != Qt::LeftButton || !rect().contains(event->position().toPoint())) return;
    if (!m_target.isEmpty()) QDesktopServices::openUrl(QUrl(m_target));
    SetHovering(false);
}

void LinkLabel::changeEvent(QEvent* event) {
    QLabel::changeEvent(event);
    // Keep the underline when the parent hands down another font.
    if (event->type() == QEvent::FontChange && !font().underline()) {
        QFont linkFont = font();
        linkFont.setUnderline(true);
        setFont(linkFont);
    }
}
