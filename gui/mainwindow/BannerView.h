#pragma once
// The main window's form view: the 500 × 200 pixel banner and, on its right, the
// project's contact block with the web and mail links. Laid out in dialog units of
// a font as large as the one the banner was drawn for, so the block fits the
// banner whatever the desktop's font.

#include <QPixmap>
#include <QWidget>

class LinkLabel;
class QLabel;

class BannerView : public QWidget {
    Q_OBJECT
public:
    explicit BannerView(QWidget* parent = nullptr);

    // Attaches the link targets (after the controller has loaded its settings).
    void AttachLinks();

    // The status line at the banner's foot: the last conversion's receipt. Hidden
    // until the first conversion, so the window looks as it always has.
    void ShowReceipt(const QString& text);
    QLabel* ReceiptLine() const { return m_receiptLine; }

    LinkLabel* WebLink() const { return m_webLink; }
    LinkLabel* MailLink() const { return m_mailLink; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QPixmap m_banner;
    LinkLabel* m_webLink;
    LinkLabel* m_mailLink;
    QLabel* m_receiptLine;
};
