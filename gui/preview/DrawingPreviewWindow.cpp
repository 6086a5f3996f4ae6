#include "gui/preview/DrawingPreviewWindow.h"

#include "base/Cp1250.h"
#include "base/Numbers.h"
#include "base/Texts.h"
#include "gui/common/DialogUnits.h"
#include "gui/common/UiText.h"
#include "gui/common/WindowTexts.h"
#include "gui/preview/DrawingScene.h"
#include "gui/preview/DrawingView.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

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

}  // namespace

DrawingPreviewWindow::DrawingPreviewWindow(const SurveyRecordList& records, const ConversionSettings& settings,
                                           const QString& fileName, QWidget* parent)
    : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("drawingPreview"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(UiText(WindowTexts::kPreviewCaption) + QStringLiteral(" – ") + fileName);
    const DxfDrawing drawing(records, settings);
    m_scene = new DrawingScene(drawing, this);
    m_scene->setObjectName(QStringLiteral("drawingScene"));
    m_view = new DrawingView(m_scene);
    m_view->setObjectName(QStringLiteral("drawingView"));

    m_layerList = new QListWidget;
    m_layerList->setObjectName(QStringLiteral("layerList"));
    for (const DxfLayer& layer : m_scene->Layers()) {
        auto* item = new QListWidgetItem(Swatch(layer.colour), QString::fromLatin1(layer.name), m_layerList);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Checked);
    }
    connect(m_layerList, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
        m_scene->SetLayerVisible(m_layerList->row(item), item->checkState() == Qt::Checked);
    });
    auto* fit = new QPushButton(UiText(WindowTexts::kPreviewFit));
    fit->setObjectName(QStringLiteral("fitButton"));
    connect(fit, &QPushButton::clicked, m_view, &DrawingView::FitDrawing);

    QByteArray points = TextFilled(WindowTexts::kPreviewPoints, {Counted(drawing.PointCount(), Texts::kPointsNoun)});
    if (m_scene->ShownPoints() < drawing.PointCount())
        points = TextFilled(WindowTexts::kPreviewFirstPoints, {Numbers::FormatInteger(m_scene->ShownPoints()),
                                                               Counted(drawing.PointCount(), Texts::kPointsNoun)});
    auto* summary = new QLabel(Cp1250::ToUnicode(points));
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
