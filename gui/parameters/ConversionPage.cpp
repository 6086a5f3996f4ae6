#include "gui/parameters/ConversionPage.h"

#include "base/Cp1250.h"
#include "dxf/DxfScale.h"
#include "gui/common/DialogUnits.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace {

QCheckBox* AddCheck(QLayout* layout, const char* name, const char* text) {
    auto* box = new QCheckBox(QString::fromUtf8(text));
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
    auto* conversion = new QGroupBox(QStringLiteral("Parametry konverze dat"));
    auto* conversionColumn = new QVBoxLayout(conversion);
    m_boxes[0] = {AddCheck(conversionColumn, "swapAnglesCheck", "Prohození úhlů vert./horizont."), FLAG_SWAP_ANGLES};
    m_boxes[1] = {AddCheck(conversionColumn, "warnUnitsCheck", "Informovat o nestand. nastavení jednotek"),
                  FLAG_WARN_UNITS};
    m_boxes[2] = {AddCheck(conversionColumn, "warnHeightsCheck", "Informovat o nestand. výškách"), FLAG_WARN_HEIGHTS};
    m_markerEdit = new QLineEdit;
    m_markerEdit->setObjectName(QStringLiteral("markerEdit"));
    m_markerEdit->setFixedWidth(units.X(40));
    auto* markerRow = new QHBoxLayout;
    markerRow->addWidget(new QLabel(QStringLiteral("Označení orientačních bodů:")));
    markerRow->addWidget(m_markerEdit);
    markerRow->addStretch();
    conversionColumn->addLayout(markerRow);

    auto* further = new QGroupBox(QStringLiteral("Nastavení dalších funkcí konverze"));
    auto* furtherColumn = new QVBoxLayout(further);
    m_boxes[3] = {AddCheck(furtherColumn, "showOutputCheck", "Zobrazit cílový soubor (zap,asc)"), FLAG_SHOW_OUTPUT};
    m_boxes[4] = {AddCheck(furtherColumn, "askOverwriteCheck", "Dotaz na přepsání souborů"), FLAG_ASK_OVERWRITE};
    m_boxes[5] = {AddCheck(furtherColumn, "keep200Check", "Ukládat data do souboru (*.200)"), FLAG_KEEP_200};
    m_boxes[6] = {AddCheck(furtherColumn, "swapXyCheck", "Prohození výstupu souřadnic X/Y"), FLAG_SWAP_XY};

    auto* rightColumn = new QVBoxLayout;
    rightColumn->addWidget(further);
    auto* belowGroup = new QVBoxLayout;
    belowGroup->setContentsMargins(furtherColumn->contentsMargins().left(), 0, 0, 0);
    m_boxes[7] = {AddCheck(belowGroup, "sixteenColourCheck", "16. barevná lišta tlačítek (Win95)"),
                  FLAG_16_COLOUR_TOOLBAR};
    m_deviceTypeCombo = MakeList(units, "deviceTypeCombo", {QStringLiteral("NTS-350"), QStringLiteral("NTS-660")});
    auto* deviceRow = new QHBoxLayout;
    deviceRow->addWidget(new QLabel(QStringLiteral("Typ přístroje:")));
    deviceRow->addWidget(m_deviceTypeCombo);
    deviceRow->addStretch();
    belowGroup->addLayout(deviceRow);
    rightColumn->addLayout(belowGroup);
    rightColumn->addStretch();

    // The drawing: its scale, its axes, its layers and its heights.
    auto* drawing = new QGroupBox(QStringLiteral("Výkres DXF"));
    QStringList scales;
    for (const DxfScale& scale : kDxfScales) scales << QString::fromLatin1(scale.name);
    m_dxfRatioCombo = MakeList(units, "dxfRatioCombo", scales);
    m_dxfAxesCombo = MakeList(units, "dxfAxesCombo",
                              {QStringLiteral("x = Y, y = X (kladné)"), QStringLiteral("EPSG:5514, x = −Y, y = −X")});
    m_dxfAxesCombo->setToolTip(QStringLiteral(
        "EPSG:5514 (S-JTSK / Krovak East North): výkres leží na katastrální mapě i v GIS, například v QGIS.\n"
        "Kladné osy: X a Y jako v seznamu souřadnic (s prohozením X/Y naopak)."));
    auto* drawingLists = new QGridLayout;
    drawingLists->addWidget(new QLabel(QStringLiteral("Měřítko DXF:")), 0, 0);
    drawingLists->addWidget(m_dxfRatioCombo, 0, 1);
    drawingLists->addWidget(new QLabel(QStringLiteral("Osy:")), 1, 0);
    drawingLists->addWidget(m_dxfAxesCombo, 1, 1);
    drawingLists->setColumnStretch(2, 1);
    auto* drawingColumn = new QVBoxLayout(drawing);
    drawingColumn->addLayout(drawingLists);
    m_dxfLayersCheck = AddCheck(drawingColumn, "dxfLayersCheck", "Hladiny podle kódů bodů");
    m_dxfLayersCheck->setToolTip(
        QStringLiteral("Bod i jeho popisy v hladině pojmenované podle kódu bodu, body bez kódu v hladině BEZ_KODU."));
    m_dxf3dCheck = AddCheck(drawingColumn, "dxf3dCheck", "Výška bodu jako souřadnice z (3D)");

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
    select(m_deviceTypeCombo, m_settings.deviceType);
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
        m_settings.deviceType = static_cast<quint16>(m_deviceTypeCombo->currentIndex());
    if (m_dxfRatioCombo->currentIndex() >= 0)
        m_settings.dxfRatio = static_cast<quint8>(m_dxfRatioCombo->currentIndex());
    m_settings.dxfEpsgAxes = m_dxfAxesCombo->currentIndex() == 1;
    m_settings.dxfLayers = m_dxfLayersCheck->isChecked();
    m_settings.dxf3d = m_dxf3dCheck->isChecked();
}
