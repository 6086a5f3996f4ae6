#pragma once
// The flat look of the main window's pop-up menus: a shaded column at the left,
// a white text area, a framed highlight, framed boxes behind check marks and thin
// separator lines. Sizes follow the menu font (see MenuMetrics.h). Only menus of a
// marked window are drawn this way; everything else, the menu bar included, keeps
// the look of the style underneath.

#include "gui/menus/MenuColor.h"
#include "gui/menus/MenuMetrics.h"

#include <QProxyStyle>
#include <QStyleOptionMenuItem>

class QMenu;

// Name and value of the mark a window carries when its pop-ups are drawn flat.
inline constexpr char kMenuMarkProperty[] = "flatMenus";

class FlatMenuStyle : public QProxyStyle {
    Q_OBJECT
public:
    FlatMenuStyle();

    // Bits per pixel to draw for; 8 or fewer gives the plain two-tone look without
    // gradients. 0, the default, asks the menu's screen.
    void SetDisplayDepth(int bitsPerPixel) { m_displayDepth = bitsPerPixel; }

    // The item data of a menu as it stands now; recomputed whenever the menu is laid out.
    static PopupItemData MeasureMenu(const QMenu* menu);

    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override;
    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override;
    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                           const QWidget* widget) const override;
    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override;
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override;

private:
    bool UsesGradient(const QWidget* widget) const;
    void DrawMenuItem(const QStyleOptionMenuItem& item, QPainter* painter, const QWidget* widget) const;

    int m_displayDepth = 0;
};

// Marks a window so that its pop-up menus are drawn flat.
void MarkWindow(QWidget* window);
// True when the widget or one of its ancestors carries the mark.
bool HasMenuMark(const QWidget* widget);

// Draws a pop-up menu and its sub-menus flat: marks the window that owns the menu
// (the menu itself when it has no owner) and applies one shared style to them.
void InstallFlatMenus(QMenu* menu);
