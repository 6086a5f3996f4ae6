#include "gui/common/DialogUnits.h"

#include <QFontMetrics>

namespace {

// Rounded a · b / c, as the templates scale their units.
int Scale(int a, int b, int c) {
    const long long product = static_cast<long long>(a) * b;
    return static_cast<int>((product >= 0 ? product + c / 2 : product - c / 2) / c);
}

}  // namespace

DialogUnits::DialogUnits(const QFont& font) {
    const QFontMetrics metrics(font);
    // The average width of the 52 letters, rounded, as the dialog manager measures it.
    const int letters =
        metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    m_averageCharWidth = std::max(1, (letters / 26 + 1) / 2);
    m_charHeight = std::max(1, metrics.height());
}

int DialogUnits::X(int units) const { return Scale(units, m_averageCharWidth, 4); }

int DialogUnits::Y(int units) const { return Scale(units, m_charHeight, 8); }
