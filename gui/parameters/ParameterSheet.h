#pragma once
// The conversion parameter sheet "Parametry výstupu ve formátu MAPA2": four tabs
// (S-JTSK reduction, file header, conversion options, the field-book check's
// limits) with OK, Storno and Použít. Made for one showing over the settings of
// the controller; the caller applies the result with ApplySheetResult after OK.
// Použít, offered once something has been changed, applies it at once and leaves
// the sheet open; a later Storno keeps what was applied.

#include "base/ConversionSettings.h"

#include <QDialog>

class CheckPage;
class ConversionPage;
class HeaderPage;
class ReductionPage;
class QDialogButtonBox;
class QTabWidget;
class SheetPage;

class ParameterSheet : public QDialog {
    Q_OBJECT
public:
    explicit ParameterSheet(ConversionSettings& settings, QWidget* parent = nullptr);

    ReductionPage& Reduction() const { return *m_reductionPage; }
    HeaderPage& Header() const { return *m_headerPage; }
    ConversionPage& Conversion() const { return *m_conversionPage; }
    CheckPage& Check() const { return *m_checkPage; }
    QTabWidget* Tabs() const { return m_tabs; }

    // The shown page is left, then the sheet closes with OK.
    void accept() override;
    // "Použít": the shown page is left and the sheet's result applied to the settings.
    void Apply();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void OnTabChanged(int index);
    SheetPage* PageAt(int index) const;
    // Whether the reduction page's boxes hold usable values; shows that page when not.
    bool ReductionAccepted();

    ConversionSettings& m_settings;
    ReductionPage* m_reductionPage;
    HeaderPage* m_headerPage;
    ConversionPage* m_conversionPage;
    CheckPage* m_checkPage;
    QTabWidget* m_tabs;
    QDialogButtonBox* m_buttons;
    int m_shownIndex = -1;
};

// After OK: the averages, the header, the marker and the check's limits go to the
// settings, and "Flag"
// becomes the header page's FLAG_USE_HEADER with the conversion page's lower bits;
// the bits outside FLAG_MEANINGFUL_BITS are cleared. Nothing is saved here.
void ApplySheetResult(const ParameterSheet& sheet, ConversionSettings& settings);
