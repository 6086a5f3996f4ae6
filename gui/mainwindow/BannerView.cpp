#include "gui/mainwindow/BannerView.h"

#include "gui/common/DialogUnits.h"
#include "gui/mainwindow/Artwork.h"
#include "gui/mainwindow/LinkLabel.h"
#include "gui/mainwindow/ProjectContact.h"

#include <QLabel>
#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

namespace {

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

QLabel* AddText(QWidget* parent, const DialogUnits& units, const char* text, int y, int width, int height) {
    auto* label = new QLabel(QString::fromUtf8(text), parent);
    label->setGeometry(units.Rect(231, y, width, height));
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

}  // namespace

BannerView::BannerView(QWidget* parent) : QWidget(parent), m_banner(Artwork::Banner()) {
    setObjectName(QStringLiteral("view"));
    setFont(ViewFont(font()));
    const DialogUnits units(font());

    AddText(this, units, ProjectContact::kPostalLines, 33, 81, 26)->setObjectName(QStringLiteral("postalText"));
    m_webLink = new LinkLabel(QString::fromUtf8(ProjectContact::kWebText), this);
    m_webLink->setObjectName(QStringLiteral("webLink"));
    m_webLink->setGeometry(units.Rect(231, 58, 67, 10));
    AddText(this, units, ProjectContact::kContactLines, 71, 92, 41)->setObjectName(QStringLiteral("contactText"));
    m_mailLink = new LinkLabel(QString::fromUtf8(ProjectContact::kMailText), this);
    m_mailLink->setObjectName(QStringLiteral("mailLink"));
    m_mailLink->setGeometry(units.Rect(231, 111, 74, 10));

    // At the foot of the picture, left of the contact block: up to four lines of a
    // smaller font on a pale strip, so that the banner still shows above it.
    m_receiptLine = new QLabel(this);
    m_receiptLine->setObjectName(QStringLiteral("receiptLine"));
    m_receiptLine->setWordWrap(true);
    m_receiptLine->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    QFont small = font();
    small.setPixelSize(std::max(8, font().pixelSize() - 2));
    m_receiptLine->setFont(small);
    m_receiptLine->setStyleSheet(QStringLiteral("background: rgba(255, 255, 255, 215); padding: 1px 3px;"));
    m_receiptLine->hide();

    setMinimumSize(m_banner.size());
}

void BannerView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const int lineHeight = QFontMetrics(m_receiptLine->font()).lineSpacing();
    const int height = 4 * lineHeight + 4;
    m_receiptLine->setGeometry(4, this->height() - height - 4, m_webLink->x() - 12, height);
}

void BannerView::ShowReceipt(const QString& text) {
    m_receiptLine->setText(text);
    m_receiptLine->setToolTip(text);
    m_receiptLine->show();
}

void BannerView::AttachLinks() {
    m_webLink->SetTarget(QString::fromUtf8(ProjectContact::kWebAddress));
    m_mailLink->SetTarget(QString::fromUtf8(ProjectContact::kMailAddress));
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
