#include "gui/preview/DrawingPreviewWindow.h"

#include "base/Cp1250.h"
#include "base/Texts.h"
#include "gui/common/DialogUnits.h"
#include "gui/common/UiText.h"
#include "gui/common/WindowTexts.h"
#include "gui/preview/DrawingPicture.h"
#include "gui/preview/DrawingView.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

#include <memory>

namespace {

// A square of the layer's colour beside its name.
QIcon Swatch(int colour) {
    QPixmap swatch(12, 12);
    swatch.fill(QColor::fromRgb(DxfColourRgb(colour)));
    QPainter painter(&swatch);
    painter.setPen(Qt::black);
    painter.drawRect(0, 0, 11, 11);
    return QIcon(swatch);
}

// A place counts as on a screen when most of it is.
bool MostlyOn(const QRect& place, const QList<QRect>& screens) {
    const qint64 area = qint64(place.width()) * place.height();
    for (const QRect& screen : screens) {
        const QRect common = place.intersected(screen);
        if (area > 0 && 2 * qint64(common.width()) * common.height() > area) return true;
    }
    return false;
}

}  // namespace

DrawingPreviewWindow::DrawingPreviewWindow(const SurveyRecordList& records, const ConversionSettings& settings,
                                           const QString& fileName, QWidget* parent)
    : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("drawingPreview"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(UiText(WindowTexts::kPreviewCaption) + QStringLiteral(" – ") + fileName);
    const DxfDrawing drawing(records, settings);
    auto picture = std::make_shared<const DrawingPicture>(drawing);
    m_view = new DrawingView(picture);

    m_layerList = new QListWidget;
    m_layerList->setObjectName(QStringLiteral("layerList"));
    for (const DxfLayer& layer : picture->Layers()) {
        auto* item = new QListWidgetItem(Swatch(layer.colour), QString::fromLatin1(layer.name), m_layerList);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Checked);
    }
    connect(m_layerList, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
        m_view->SetLayerVisible(m_layerList->row(item), item->checkState() == Qt::Checked);
    });
    auto* fit = new QPushButton(UiText(WindowTexts::kPreviewFit));
    fit->setObjectName(QStringLiteral("fitButton"));
    connect(fit, &QPushButton::clicked, m_view, &DrawingView::FitDrawing);

    auto* summary = new QLabel(Cp1250::ToUnicode(
        TextFilled(WindowTexts::kPreviewPoints, {Counted(drawing.PointCount(), Texts::kPointsNoun)})));
    summary->setObjectName(QStringLiteral("pointSummary"));
    summary->setWordWrap(true);

    const DialogUnits units(font());
    auto* side = new QVBoxLayout;
    side->addWidget(new QLabel(UiText(WindowTexts::kPreviewLayers)));
    side->addWidget(m_layerList, 1);
    side->addWidget(summary);
    side->addWidget(fit);
    m_layerList->setFixedWidth(units.X(100));

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(m_view, 1);
    layout->addLayout(side);
    resize(units.Size(420, 260));
}

void DrawingPreviewWindow::closeEvent(QCloseEvent* event) {
    Q_EMIT Closing();
    QWidget::closeEvent(event);
}

QRect DrawingPreviewWindow::Place(QSize size, const QRect& owner, const QList<QRect>& screens, const QRect& stored) {
    if (stored.isValid() && MostlyOn(stored, screens)) return stored;
    if (!owner.isValid()) return QRect(QPoint(0, 0), size);
    QRect screen;
    for (const QRect& candidate : screens)
        if (candidate.contains(owner.center())) screen = candidate;
    const int top = screen.isValid() ? std::clamp(owner.top(), screen.top(),
                                                  std::max(screen.top(), screen.bottom() - size.height() + 1))
                                     : owner.top();
    const QRect right(QPoint(owner.right() + 1, top), size);
    const QRect left(QPoint(owner.left() - size.width(), top), size);
    if (!screen.isValid() || screen.contains(right)) return right;
    if (screen.contains(left)) return left;
    QRect centred(QPoint(0, 0), size);
    centred.moveCenter(owner.center());
    return centred;
}
