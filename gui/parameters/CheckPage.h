#pragma once
// The page "Kontrola": the limits of the field-book check, each comparison's
// suspicious and wrong level in metres (the two-face pair's errors in gon), and
// the longest slope distance an instrument gives. Boxes take a decimal point or
// comma; an entry that is no number, or a negative one, keeps the page's previous
// value. "Výchozí meze" puts the defaults back into the boxes.

#include "base/CheckTolerances.h"
#include "base/ConversionSettings.h"
#include "gui/parameters/SheetPage.h"

#include <array>

class QLineEdit;

class CheckPage : public SheetPage {
    Q_OBJECT
public:
    explicit CheckPage(const ConversionSettings& settings, QWidget* parent = nullptr);

    // The page's copy, handed to the settings after OK.
    const CheckTolerances& Tolerances() const { return m_tolerances; }

protected:
    void OnOpen() override;
    void OnLeave() override;

private:
    void Fill(const CheckTolerances& tolerances);

    CheckTolerances m_tolerances;
    std::array<QLineEdit*, std::size(kToleranceNames)> m_edits{};  // in the order of the profile's names
};
