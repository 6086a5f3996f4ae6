#include "app/CConversionPage.h"

#include "app/Cp1250.h"
#include "app/DialogUnits.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

namespace {

QCheckBox* AddCheck(QWidget* parent, const DialogUnits& units, const char* name, const char* text, int x, int y,
                    int width) {
    auto* box = new QCheckBox(QString::fromUtf8(text), parent);
    box->setObjectName(QLatin1String(name));
    box->setGeometry(units.Rect(x, y, width, 10));
    return box;
}

QComboBox* AddList(QWidget* parent, const DialogUnits& units, const char* name, const QStringList& items, int x, int y,
                   int width) {
    auto* list = new QComboBox(parent);
    list->setObjectName(QLatin1String(name));
    list->setEditable(false);
    list->addItems(items);
    list->setMaxVisibleItems(static_cast<int>(items.size()));
    const QRect place = units.Rect(x, y, width, 12);
    list->setGeometry(place.x(), place.y(), place.width(), std::max(place.height(), list->sizeHint().height()));
    return list;
}

}  // namespace

CConversionPage::CConversionPage(ConversionSettings& settings, QWidget* parent)
    : SheetPage(parent), m_settings(settings), m_marker(settings.orMarker), m_flag(settings.flag) {
    setObjectName(QStringLiteral("conversionPage"));
    const DialogUnits units(font());
    setMinimumSize(units.Size(311, 111));

    auto* conversion = new QGroupBox(QStringLiteral("Parametry konverze dat"), this);
    conversion->setGeometry(units.Rect(7, 7, 160, 75));
    m_boxes[0] = {AddCheck(this, units, "swapAnglesCheck", "Prohození úhlů vert./horizont.", 14, 19, 150), FLAG_SWAP_ANGLES};
    m_boxes[1] = {AddCheck(this, units, "warnUnitsCheck", "Informovat o nestand. nastavení jednotek", 14, 31, 150),
                  FLAG_WARN_UNITS};
    m_boxes[2] = {AddCheck(this, units, "warnHeightsCheck", "Informovat o nestand. výškách", 14, 43, 150),
                  FLAG_WARN_HEIGHTS};
    auto* markerLabel = new QLabel(QStringLiteral("Označení orientačních bodů:"), this);
    markerLabel->setGeometry(units.Rect(14, 57, 104, 10));
    m_markerEdit = new QLineEdit(this);
    m_markerEdit->setObjectName(QStringLiteral("markerEdit"));
    m_markerEdit->setGeometry(units.Rect(120, 55, 40, 12));

    auto* further = new QGroupBox(QStringLiteral("Nastavení dalších funkcí konverze"), this);
    further->setGeometry(units.Rect(172, 7, 132, 50));
    m_boxes[3] = {AddCheck(this, units, "showOutputCheck", "Zobrazit cílový soubor (zap,asc)", 179, 17, 122),
                  FLAG_SHOW_OUTPUT};
    m_boxes[4] = {AddCheck(this, units, "askOverwriteCheck", "Dotaz na přepsání souborů", 179, 26, 122),
                  FLAG_ASK_OVERWRITE};
    m_boxes[5] = {AddCheck(this, units, "keep200Check", "Ukládat data do souboru (*.200)", 179, 35, 122), FLAG_KEEP_200};
    m_boxes[6] = {AddCheck(this, units, "swapXyCheck", "Prohození výstupu souřadnic X/Y", 179, 44, 122), FLAG_SWAP_XY};
    m_boxes[7] = {AddCheck(this, units, "sixteenColourCheck", "16. barevná lišta tlačítek (Win95)", 179, 60, 125),
                  FLAG_16_COLOUR_TOOLBAR};

    auto* deviceLabel = new QLabel(QStringLiteral("Typ přístroje:"), this);
    deviceLabel->setGeometry(units.Rect(179, 77, 55, 10));
    m_deviceTypeCombo = AddList(this, units, "deviceTypeCombo", {QStringLiteral("NTS-350"), QStringLiteral("NTS-660")},
                                236, 75, 68);
    auto* ratioLabel = new QLabel(QStringLiteral("Měřítko DXF:"), this);
    ratioLabel->setGeometry(units.Rect(179, 94, 55, 10));
    m_dxfRatioCombo = AddList(this, units, "dxfRatioCombo",
                              {QStringLiteral("20:1"), QStringLiteral("10:1"), QStringLiteral("5:1"),
                               QStringLiteral("2:1"), QStringLiteral("1:1"), QStringLiteral("1:2"),
                               QStringLiteral("1:5"), QStringLiteral("1:10"), QStringLiteral("1:20")},
                              236, 92, 68);
}

void CConversionPage::OnOpen() {
    for (const FlagBox& flagBox : m_boxes) flagBox.box->setChecked((m_flag & flagBox.bit) != 0);
    m_markerEdit->setText(Cp1250::ToUnicode(m_marker));
    // An index outside a list leaves it without a selection.
    const auto select = [](QComboBox* list, int index) { list->setCurrentIndex(index < list->count() ? index : -1); };
    select(m_deviceTypeCombo, m_settings.deviceType);
    select(m_dxfRatioCombo, m_settings.dxfRatio);
}

void CConversionPage::OnLeave() {
    m_flag = static_cast<quint16>(m_flag & ~kOwnedBits);
    for (const FlagBox& flagBox : m_boxes) {
        if (flagBox.box->isChecked()) m_flag |= flagBox.bit;
    }
    m_marker = Cp1250::FromUnicode(m_markerEdit->text());
    if (m_deviceTypeCombo->currentIndex() >= 0) m_settings.deviceType = static_cast<quint16>(m_deviceTypeCombo->currentIndex());
    if (m_dxfRatioCombo->currentIndex() >= 0) m_settings.dxfRatio = static_cast<quint8>(m_dxfRatioCombo->currentIndex());
}
