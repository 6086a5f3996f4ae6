#include "app/CLinkLabel.h"

#include <QDesktopServices>
#include <QMouseEvent>
#include <QUrl>

namespace {

const QColor kNormalColour(0, 0, 255);
const QColor kHoverColour(255, 0, 0);

}  // namespace

CLinkLabel::CLinkLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {
    QFont linkFont = font();
    linkFont.setUnderline(true);
    setFont(linkFont);
    setCursor(Qt::PointingHandCursor);
    // No background of its own: the banner shows through.
    setAutoFillBackground(false);
    setAttribute(Qt::WA_Hover);
    SetHovering(false);
}

QColor CLinkLabel::TextColour() const { return m_hovering ? kHoverColour : kNormalColour; }

void CLinkLabel::SetHovering(bool hovering) {
    m_hovering = hovering;
    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, TextColour());
    setPalette(colours);
    repaint();
}

void CLinkLabel::enterEvent(QEnterEvent* event) {
    QLabel::enterEvent(event);
    if (!m_hovering) SetHovering(true);
}

void CLinkLabel::leaveEvent(QEvent* event) {
    QLabel::leaveEvent(event);
    if (m_hovering) SetHovering(false);
}

void CLinkLabel::mouseReleaseEvent(QMouseEvent* event) {
    QLabel::mouseReleaseEvent(event);
    if (event->button() != Qt::LeftButton || !rect().contains(event->position().toPoint())) return;
    if (!m_target.isEmpty()) QDesktopServices::openUrl(QUrl(m_target));
    SetHovering(false);
}

void CLinkLabel::changeEvent(QEvent* event) {
    QLabel::changeEvent(event);
    // Keep the underline when the parent hands down another font.
    if (event->type() == QEvent::FontChange && !font().underline()) {
        QFont linkFont = font();
        linkFont.setUnderline(true);
        setFont(linkFont);
    }
}
