#include "gui/parameters/ConversionPage.h"

#include "base/Cp1250.h"
#include "base/Texts.h"
#include "dxf/DxfScale.h"
#include "gui/common/DialogUnits.h"
#include "gui/common/UiText.h"
#include "gui/common/WindowTexts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace {

QCheckBox* AddCheck(QLayout* layout, const char* name, const UserText& text) {
    auto* box = new QCheckBox(UiText(text));
    box->setObjectName(QLatin1String(name));
    layout->addWidget(box);
    return box;
}

QComboBox* MakeList(const DialogUnits& units, const char* name, const QStringList& items) {
    auto* list = new QComboBox;
    list->setObjectName(QLatin1String(name));
    list->setEditable(false);
    list->addItems(items);
    list->setMaxVisibleItems(static_cast<int>(items.size()));
    list->setMinimumWidth(units.X(68));
    return list;
}

}  // namespace

ConversionPage::ConversionPage(ConversionSettings& settings, QWidget* parent)
    : SheetPage(parent), m_settings(settings), m_marker(settings.orMarker), m_flag(settings.flag) {
    setObjectName(QStringLiteral("conversionPage"));
    const DialogUnits units(font());
    setMinimumSize(units.Size(311, 111));

    // Laid out by the layouts, so that no text is cut whatever the desktop's font;
    // the check boxes keep their top-to-bottom order.
    auto* conversion = new QGroupBox(UiText(WindowTexts::kConversionGroup));
    auto* conversionColumn = new QVBoxLayout(conversion);
    m_boxes[0] = {AddCheck(conversionColumn, "swapAnglesCheck", WindowTexts::kSwapAnglesCheck), FLAG_SWAP_ANGLES};
    m_boxes[1] = {AddCheck(conversionColumn, "warnUnitsCheck", WindowTexts::kWarnUnitsCheck), FLAG_WARN_UNITS};
    m_boxes[2] = {AddCheck(conversionColumn, "warnHeightsCheck", WindowTexts::kWarnHeightsCheck), FLAG_WARN_HEIGHTS};
    m_markerEdit = new QLineEdit;
    m_markerEdit->setObjectName(QStringLiteral("markerEdit"));
    m_markerEdit->setFixedWidth(units.X(40));
    auto* markerRow = new QHBoxLayout;
    markerRow->addWidget(new QLabel(UiText(WindowTexts::kMarkerLabel)));
    markerRow->addWidget(m_markerEdit);
    markerRow->addStretch();
    conversionColumn->addLayout(markerRow);

    auto* further = new QGroupBox(UiText(WindowTexts::kFurtherGroup));
    auto* furtherColumn = new QVBoxLayout(further);
    m_boxes[3] = {AddCheck(furtherColumn, "showOutputCheck", WindowTexts::kShowOutputCheck), FLAG_SHOW_OUTPUT};
    m_boxes[4] = {AddCheck(furtherColumn, "askOverwriteCheck", WindowTexts::kAskOverwriteCheck), FLAG_ASK_OVERWRITE};
    m_boxes[5] = {AddCheck(furtherColumn, "keep200Check", WindowTexts::kKeep200Check), FLAG_KEEP_200};
    m_boxes[6] = {AddCheck(furtherColumn, "swapXyCheck", WindowTexts::kSwapXyCheck), FLAG_SWAP_XY};

    auto* rightColumn = new QVBoxLayout;
    rightColumn->addWidget(further);
    auto* belowGroup = new QVBoxLayout;
    belowGroup->setContentsMargins(furtherColumn->contentsMargins().left(), 0, 0, 0);
    m_boxes[7] = {AddCheck(belowGroup, "sixteenColourCheck", WindowTexts::kSixteenColourCheck), FLAG_16_COLOUR_TOOLBAR};
    m_boxes[7].box->setToolTip(UiText(WindowTexts::kSixteenColourTip));
    m_deviceTypeCombo = MakeList(units, "deviceTypeCombo", {UiText(Texts::kNts350), UiText(Texts::kNts660)});
    auto* deviceRow = new QHBoxLayout;
    deviceRow->addWidget(new QLabel(UiText(WindowTexts::kDeviceTypeLabel)));
    deviceRow->addWidget(m_deviceTypeCombo);
    deviceRow->addStretch();
    belowGroup->addLayout(deviceRow);
    rightColumn->addLayout(belowGroup);
    rightColumn->addStretch();

    // The drawing: its scale, its axes, its layers and its heights.
    auto* drawing = new QGroupBox(UiText(WindowTexts::kDrawingGroup));
    QStringList scales;
    for (const DxfScale& scale : kDxfScales) scales << QString::fromLatin1(scale.name);
    m_dxfRatioCombo = MakeList(units, "dxfRatioCombo", scales);
    m_dxfAxesCombo =
        MakeList(units, "dxfAxesCombo", {UiText(WindowTexts::kDxfAxesPositive), UiText(WindowTexts::kDxfAxesEpsg)});
    m_dxfAxesCombo->setToolTip(UiText(WindowTexts::kDxfAxesTip));
    auto* drawingLists = new QGridLayout;
    drawingLists->addWidget(new QLabel(UiText(WindowTexts::kDxfRatioLabel)), 0, 0);
    drawingLists->addWidget(m_dxfRatioCombo, 0, 1);
    drawingLists->addWidget(new QLabel(UiText(WindowTexts::kDxfAxesLabel)), 1, 0);
    drawingLists->addWidget(m_dxfAxesCombo, 1, 1);
    drawingLists->setColumnStretch(2, 1);
    auto* drawingColumn = new QVBoxLayout(drawing);
    drawingColumn->addLayout(drawingLists);
    m_dxfLayersCheck = AddCheck(drawingColumn, "dxfLayersCheck", WindowTexts::kDxfLayersCheck);
    m_dxfLayersCheck->setToolTip(UiText(WindowTexts::kDxfLayersTip));
    m_dxf3dCheck = AddCheck(drawingColumn, "dxf3dCheck", WindowTexts::kDxf3dCheck);

    auto* leftColumn = new QVBoxLayout;
    leftColumn->addWidget(conversion);
    leftColumn->addWidget(drawing);
    leftColumn->addStretch();

    auto* page = new QHBoxLayout(this);
    page->setContentsMargins(units.X(7), units.Y(7), units.X(7), units.Y(7));
    page->addLayout(leftColumn);
    page->addLayout(rightColumn);
}

void ConversionPage::OnOpen() {
    for (const FlagBox& flagBox : m_boxes) flagBox.box->setChecked((m_flag & flagBox.bit) != 0);
    m_markerEdit->setText(Cp1250::ToUnicode(m_marker));
    // An index outside a list leaves it without a selection.
    const auto select = [](QComboBox* list, int index) { list->setCurrentIndex(index < list->count() ? index : -1); };
    select(m_deviceTypeCombo, StoredValue(m_settings.deviceType));
    select(m_dxfRatioCombo, m_settings.dxfRatio);
    m_dxfAxesCombo->setCurrentIndex(m_settings.dxfEpsgAxes ? 1 : 0);
    m_dxfLayersCheck->setChecked(m_settings.dxfLayers);
    m_dxf3dCheck->setChecked(m_settings.dxf3d);
}

void ConversionPage::OnLeave() {
    m_flag = static_cast<quint16>(m_flag & ~kOwnedBits);
    for (const FlagBox& flagBox : m_boxes) {
        if (flagBox.box->isChecked()) m_flag |= flagBox.bit;
    }
    m_marker = Cp1250::FromUnicode(m_markerEdit->text());
    if (m_deviceTypeCombo->currentIndex() >= 0)
        m_settings.deviceType = static_cast<DeviceType>(m_deviceTypeCombo->currentIndex());
    if (m_dxfRatioCombo->currentIndex() >= 0)
        m_settings.dxfRatio = static_cast<quint8>(m_dxfRatioCombo->currentIndex());
    m_settings.dxfEpsgAxes = m_dxfAxesCombo->currentIndex() == 1;
    m_settings.dxfLayers = m_dxfLayersCheck->isChecked();
    m_settings.dxf3d = m_dxf3dCheck->isChecked();
}
