#pragma once
// A static text that works as a hyperlink: underlined, blue, red while the mouse is
// over it, with the pointing-hand cursor; a click hands its target (a web address
// or "mailto:" and a mail address) to the desktop. Failures of the desktop are not
// reported.

#include <QLabel>
#include <QString>

class LinkLabel : public QLabel {
    Q_OBJECT
public:
    explicit LinkLabel(const QString& text, QWidget* parent = nullptr);

    void SetTarget(const QString& target) { m_target = target; }
    QColor TextColour() const;

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void SetHovering(bool hovering);

    bool m_hovering = false;
    QString m_target;
};
