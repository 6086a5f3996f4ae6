#pragma once
// Dialog units of the window layouts, converted to pixels from a font's average
// character size the way the desktop's dialog templates do: x · averageCharWidth / 4
// and y · characterHeight / 8, rounded to the nearest pixel. A layout written in
// dialog units thus keeps its proportions with whatever font the desktop uses.

#include <QFont>
#include <QRect>
#include <QSize>

class DialogUnits {
public:
    explicit DialogUnits(const QFont& font);

    int X(int units) const;
    int Y(int units) const;
    QSize Size(int width, int height) const { return QSize(X(width), Y(height)); }
    QRect Rect(int x, int y, int width, int height) const { return QRect(X(x), Y(y), X(width), Y(height)); }

    int AverageCharWidth() const { return m_averageCharWidth; }
    int CharHeight() const { return m_charHeight; }

private:
    int m_averageCharWidth;  // pixels
    int m_charHeight;        // pixels
};
