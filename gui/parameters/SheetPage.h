#pragma once
// A page of a tabbed property sheet. Its controls are filled from the page's own
// copies the first time its tab is shown (OnOpen); its copies take the controls'
// values back when the user leaves it for another tab or confirms the sheet while
// it is shown (OnLeave). A page never shown keeps the copies it was made with.

#include <QWidget>

class SheetPage : public QWidget {
    Q_OBJECT
public:
    using QWidget::QWidget;

    void Open() {
        if (m_opened) return;
        m_opened = true;
        OnOpen();
    }
    void Leave() {
        if (m_opened) OnLeave();
    }

    // At least the page's size in dialog units, more where its texts need it.
    QSize sizeHint() const override { return QWidget::sizeHint().expandedTo(minimumSize()); }

protected:
    virtual void OnOpen() = 0;
    virtual void OnLeave() {}

private:
    bool m_opened = false;
};
