#pragma once
// The main window's form view: the 500 × 200 pixel banner and, on its right, the
// project's contact block with the web and mail links (or, when the build names
// neither, the version and the licence). Laid out in dialog units of a font as
// large as the one the banner was drawn for, so the block fits the banner
// whatever the desktop's font.

#include <QPixmap>
#include <QString>
#include <QWidget>

class LinkLabel;
class QFontMetrics;
class QLabel;

class BannerView : public QWidget {
    Q_OBJECT
public:
    explicit BannerView(QWidget* parent = nullptr);

    // Attaches the link targets (after the controller has loaded its settings).
    void AttachLinks();

    // The status line at the banner's foot: the last run's receipt, in the view's
    // own font. Hidden until the first run, so the window looks as it always has.
    // With findings (the warning of a damaged transfer) the line shows in the
    // warning colour. A receipt too long for its lines loses its middle; a click
    // on the line asks for the whole text and the findings (ReceiptClicked).
    void ShowReceipt(const QString& text, const QString& findings = {});
    QString Receipt() const { return m_receipt; }
    QString Findings() const { return m_findings; }
    bool ReceiptMarked() const { return !m_findings.isEmpty(); }

    // The colour of the receipt line: plain, amber (the block check's warning, a
    // suspicious finding of the field-book check) or red (a wrong one).
    enum class ReceiptMark { Plain, Suspicious, Wrong };
    // After a checked run's ShowReceipt: its worst finding colours the line (a
    // clean check keeps the receipt's own colour), and a click opens the protocol.
    void MarkCheck(ReceiptMark worst);
    ReceiptMark Mark() const { return m_mark; }

    // The text as a label of that size shows it, word-wrapped: whole when it fits,
    // else its beginning and end around "…". A file name is never broken at its
    // hyphens.
    static QString FittedText(const QString& text, const QFontMetrics& metrics, QSize box);

Q_SIGNALS:
    void ReceiptClicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FitReceipt();
    void SetMark(ReceiptMark mark);

    QPixmap m_banner;
    LinkLabel* m_webLink = nullptr;
    LinkLabel* m_mailLink = nullptr;
    QLabel* m_receiptLine;
    QString m_receipt;
    QString m_findings;
    ReceiptMark m_mark = ReceiptMark::Plain;
    bool m_checked = false;  // a click opens the check's protocol
};
