#pragma once
// The page "Redukce do S-JTSK" of the conversion parameter sheet: the job's average
// X, Y (S-JTSK, metres) and height (metres), and the distance reductions they give
// in mm/km with the scale factor, recomputed while the user types. An entry that
// does not read as a number keeps the page's previous value and shows its
// reduction as 0.0 mm/km while typing; OK and Použít refuse it (InputAccepted).

#include "base/ConversionSettings.h"
#include "gui/parameters/SheetPage.h"

#include <QString>

class QLineEdit;

class ReductionPage : public SheetPage {
    Q_OBJECT
public:
    explicit ReductionPage(const ConversionSettings& settings, QWidget* parent = nullptr);

    // The page's copies, handed to the settings after OK.
    double X() const { return m_x; }
    double Y() const { return m_y; }
    double H() const { return m_h; }

    // The reading rule of the three input boxes: spaces between digits dropped
    // («745 000»), then the first 14 characters, the first comma taken as the
    // decimal point, and nothing at all left after the number.
    static bool ReadInput(const QString& text, double& value);

    // Whether every box holds a number inside its setting's range (the S-JTSK area
    // or 0 for X and Y, a height a place on Earth can have); otherwise says which
    // box and why, puts the cursor there and returns false.
    bool InputAccepted();

protected:
    void OnOpen() override;

private:
    void OnPositionChanged();
    void OnHeightChanged();
    void UpdateTotal();

    double m_x;
    double m_y;
    double m_h;
    double m_projectionReduction = 0.0;  // mm/km, as last shown
    double m_heightReduction = 0.0;      // mm/km, as last shown

    QLineEdit* m_xEdit;
    QLineEdit* m_yEdit;
    QLineEdit* m_hEdit;
    QLineEdit* m_projectionEdit;
    QLineEdit* m_heightEdit;
    QLineEdit* m_totalEdit;
    QLineEdit* m_factorEdit;
};
