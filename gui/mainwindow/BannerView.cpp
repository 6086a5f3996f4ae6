#include "gui/mainwindow/BannerView.h"

#include "gui/common/Artwork.h"
#include "gui/common/DialogUnits.h"
#include "gui/common/UiText.h"
#include "gui/common/WindowTexts.h"
#include "gui/mainwindow/LinkLabel.h"
#include "gui/mainwindow/ProjectContact.h"

#include <QApplication>
#include <QEvent>
#include <QFontMetrics>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace {

constexpr int kReceiptLines = 5;
constexpr QChar kWordJoiner(0x2060);
constexpr QChar kEllipsis(0x2026);

const QColor kReceiptBackground(255, 255, 255, 215);
// Findings of the block check: the colours of a warning, not of a plain report.
const QColor kMarkedReceiptBackground(255, 228, 160, 235);
const QColor kMarkedReceiptText(0x8a, 0x2a, 0x00);
// A wrong finding of the field-book check: red.
const QColor kWrongReceiptBackground(255, 205, 205, 235);
const QColor kWrongReceiptText(0x9a, 0x00, 0x00);

// The desktop's font at the largest size whose character cell is no larger than
// the 6 × 13 pixels the banner's layout was made for.
QFont ViewFont(QFont font) {
    for (int pixels = 13; pixels > 8; --pixels) {
        font.setPixelSize(pixels);
        const DialogUnits units(font);
        if (units.AverageCharWidth() <= 6 && units.CharHeight() <= 13) break;
    }
    return font;
}

QLabel* AddText(QWidget* parent, const DialogUnits& units, const UserText& text, int y, int width, int height) {
    auto* label = new QLabel(UiText(text), parent);
    label->setGeometry(units.Rect(231, y, width, height));
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

LinkLabel* AddLink(QWidget* parent, const DialogUnits& units, const QString& text, int y, int width) {
    auto* link = new LinkLabel(text, parent);
    link->setGeometry(units.Rect(231, y, width, 10));
    // A long address keeps its whole text.
    if (link->sizeHint().width() > link->width()) link->resize(link->sizeHint().width(), link->height());
    return link;
}

// The address as the block shows it: without its scheme and closing slash.
QString WebText(QString address) {
    address.remove(QStringLiteral("https://")).remove(QStringLiteral("http://"));
    if (address.endsWith(QLatin1Char('/'))) address.chop(1);
    return address;
}

// Word joiners after the hyphens inside words: "nts350-job.zap" stays on one line.
QString WithoutHyphenBreaks(const QString& text) {
    QString joined;
    joined.reserve(text.size() + 8);
    for (qsizetype i = 0; i < text.size(); ++i) {
        joined += text[i];
        if (text[i] == QLatin1Char('-') && i > 0 && i + 1 < text.size() && !text[i - 1].isSpace() &&
            !text[i + 1].isSpace())
            joined += kWordJoiner;
    }
    return joined;
}

bool Fits(const QString& text, const QFontMetrics& metrics, QSize box) {
    return metrics.boundingRect(QRect(0, 0, box.width(), 1 << 20), Qt::TextWordWrap, text).height() <= box.height();
}

}  // namespace

BannerView::BannerView(QWidget* parent) : QWidget(parent), m_banner(Artwork::Banner()) {
    setObjectName(QStringLiteral("view"));
    setFont(ViewFont(font()));
    const DialogUnits units(font());

    const QString web = QString::fromUtf8(ProjectContact::kWebAddress);
    const QString mail = QString::fromUtf8(ProjectContact::kMailAddress);
    AddText(this, units, WindowTexts::kContactPostal, 33, 81, 26)->setObjectName(QStringLiteral("postalText"));
    if (!web.isEmpty()) {
        m_webLink = AddLink(this, units, WebText(web), 58, 67);
        m_webLink->setObjectName(QStringLiteral("webLink"));
    } else {
        AddText(this, units, WindowTexts::kContactVersion, 58, 81, 10)->setObjectName(QStringLiteral("versionText"));
    }
    const UserText& contact = !web.isEmpty() && !mail.isEmpty() ? WindowTexts::kContactWebAndMail
                              : !web.isEmpty()                  ? WindowTexts::kContactWeb
                              : !mail.isEmpty()                 ? WindowTexts::kContactMail
                                                                : WindowTexts::kContactLicence;
    AddText(this, units, contact, 71, 92, 41)->setObjectName(QStringLiteral("contactText"));
    if (!mail.isEmpty()) {
        m_mailLink = AddLink(this, units, mail, 111, 74);
        m_mailLink->setObjectName(QStringLiteral("mailLink"));
    }

    // At the foot of the picture, left of the contact block: up to five lines of
    // the window's own text size (the banner's font is fitted to the contact
    // block, and may be smaller) on a pale strip, so that the banner still shows
    // above it.
    m_receiptLine = new QLabel(this);
    m_receiptLine->setObjectName(QStringLiteral("receiptLine"));
    m_receiptLine->setFont(QApplication::font());
    m_receiptLine->setWordWrap(true);
    m_receiptLine->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_receiptLine->setContentsMargins(3, 1, 3, 1);
    m_receiptLine->setAutoFillBackground(true);
    m_receiptLine->installEventFilter(this);
    m_receiptLine->hide();

    setMinimumSize(m_banner.size());
}

void BannerView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const int lineHeight = QFontMetrics(m_receiptLine->font()).lineSpacing();
    const int height = kReceiptLines * lineHeight + 4;
    m_receiptLine->setGeometry(4, this->height() - height - 4, DialogUnits(font()).X(231) - 12, height);
    FitReceipt();
}

void BannerView::ShowReceipt(const QString& text, const QString& findings) {
    m_receipt = text;
    m_findings = findings;
    m_checked = false;
    SetMark(findings.isEmpty() ? ReceiptMark::Plain : ReceiptMark::Suspicious);
    m_receiptLine->setToolTip(text);
    FitReceipt();
    m_receiptLine->show();
}

void BannerView::MarkCheck(ReceiptMark worst) {
    m_checked = true;
    if (worst > m_mark) SetMark(worst);
    FitReceipt();
}

void BannerView::SetMark(ReceiptMark mark) {
    m_mark = mark;
    QPalette colours = palette();
    switch (mark) {
        case ReceiptMark::Plain:
            colours.setColor(QPalette::Window, kReceiptBackground);
            break;
        case ReceiptMark::Suspicious:
            colours.setColor(QPalette::Window, kMarkedReceiptBackground);
            colours.setColor(QPalette::WindowText, kMarkedReceiptText);
            break;
        case ReceiptMark::Wrong:
            colours.setColor(QPalette::Window, kWrongReceiptBackground);
            colours.setColor(QPalette::WindowText, kWrongReceiptText);
            break;
    }
    m_receiptLine->setPalette(colours);
}

void BannerView::FitReceipt() {
    if (m_receipt.isEmpty()) return;
    const QString shown =
        FittedText(m_receipt, QFontMetrics(m_receiptLine->font()), m_receiptLine->contentsRect().size());
    m_receiptLine->setText(shown);
    // A click says more only where the line does not say it all.
    const bool more = m_checked || !m_findings.isEmpty() || shown.contains(kEllipsis);
    m_receiptLine->setCursor(more ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

QString BannerView::FittedText(const QString& text, const QFontMetrics& metrics, QSize box) {
    const QString whole = WithoutHyphenBreaks(text);
    if (Fits(whole, metrics, box)) return whole;
    // The beginning says what was read, the end which files were written: the
    // middle goes, as many words as must.
    const auto cut = [&text](qsizetype kept) {
        QString head = text.left(kept - kept / 2);
        QString tail = text.right(kept / 2);
        if (head.size() < text.size() && !text[head.size()].isSpace())
            head.truncate(head.lastIndexOf(QLatin1Char(' ')) + 1);
        const qsizetype tailStart = text.size() - tail.size();
        if (tailStart > 0 && !text[tailStart - 1].isSpace()) tail.remove(0, tail.indexOf(QLatin1Char(' ')) + 1);
        return WithoutHyphenBreaks(head.trimmed() + QLatin1Char(' ') + kEllipsis + QLatin1Char(' ') + tail.trimmed());
    };
    qsizetype fitting = 0;
    qsizetype tooLong = text.size();
    while (tooLong - fitting > 1) {
        const qsizetype middle = (fitting + tooLong) / 2;
        (Fits(cut(middle), metrics, box) ? fitting : tooLong) = middle;
    }
    return cut(fitting);
}

bool BannerView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_receiptLine && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        Q_EMIT ReceiptClicked();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void BannerView::AttachLinks() {
    if (m_webLink) m_webLink->SetTarget(QString::fromUtf8(ProjectContact::kWebAddress));
    if (m_mailLink) m_mailLink->SetTarget(QStringLiteral("mailto:") + QString::fromUtf8(ProjectContact::kMailAddress));
}

void BannerView::paintEvent(QPaintEvent* event) {
    (void)event;
    QPainter painter(this);
    painter.drawPixmap(QRect(0, 0, 500, 200), m_banner);
    // Where the view is larger than the banner, its last row and column go on.
    if (height() > 200) painter.drawPixmap(QRect(0, 200, 500, height() - 200), m_banner, QRect(0, 199, 500, 1));
    if (width() > 500) {
        painter.drawPixmap(QRect(500, 0, width() - 500, 200), m_banner, QRect(499, 0, 1, 200));
        if (height() > 200) {
            painter.drawPixmap(QRect(500, 200, width() - 500, height() - 200), m_banner, QRect(499, 199, 1, 1));
        }
    }
}
