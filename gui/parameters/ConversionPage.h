#pragma once
// The page "Parametry konverze dat": the conversion and display options of "Flag",
// the orientation-point marker, the instrument type and, in the group "Výkres DXF",
// the DXF scale with the drawing's axes, layers and heights. The instrument type
// and the drawing's values are written to the settings as soon as the page is
// left, so a later Cancel of the sheet keeps them; a list left without a selection
// (a stored index outside it) keeps the previous value.

#include "base/ConversionSettings.h"
#include "gui/parameters/SheetPage.h"

#include <QByteArray>

class QCheckBox;
class QComboBox;
class QLineEdit;

class ConversionPage : public SheetPage {
    Q_OBJECT
public:
    // settings receives "DeviceType", "DXF_Ratio", "DXF_Axes", "DXF_Layers" and
    // "DXF_3D" when the page is left.
    explicit ConversionPage(ConversionSettings& settings, QWidget* parent = nullptr);

    const QByteArray& Marker() const { return m_marker; }
    quint16 Flag() const { return m_flag; }

    // The bits of "Flag" the page's check boxes own.
    static constexpr quint16 kOwnedBits = FLAG_SWAP_ANGLES | FLAG_WARN_UNITS | FLAG_WARN_HEIGHTS | FLAG_SHOW_OUTPUT |
                                          FLAG_ASK_OVERWRITE | FLAG_KEEP_200 | FLAG_16_COLOUR_TOOLBAR | FLAG_SWAP_XY;

protected:
    void OnOpen() override;
    void OnLeave() override;

private:
    struct FlagBox {
        QCheckBox* box;
        quint16 bit;
    };

    ConversionSettings& m_settings;
    QByteArray m_marker;
    quint16 m_flag;
    FlagBox m_boxes[8];
    QLineEdit* m_markerEdit;
    QComboBox* m_deviceTypeCombo;
    QComboBox* m_dxfRatioCombo;
    QComboBox* m_dxfAxesCombo;
    QCheckBox* m_dxfLayersCheck;
    QCheckBox* m_dxf3dCheck;
};
