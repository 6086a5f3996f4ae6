#include "gui/menus/FlatMenuStyle.h"

#include "gui/menus/MenuGradient.h"

#include <QAction>
#include <QApplication>
#include <QFontMetrics>
#include <QMenu>
#include <QPainter>
#include <QPointer>
#include <QScreen>

#include <algorithm>

namespace {

QColor ToQColor(Rgb color) { return QColor(color.red, color.green, color.blue); }

Rgb ToRgb(const QColor& color) { return {color.red(), color.green(), color.blue()}; }

// The system colours the look is built from, by role. Always the active ones:
// a disabled item takes its own colours from the table, not from the palette.
struct MenuColors {
    Rgb highlight;
    Rgb buttonFace;
    Rgb menuText;

    explicit MenuColors(const QPalette& palette)
        : highlight(ToRgb(palette.color(QPalette::Active, QPalette::Highlight))),
          buttonFace(ToRgb(palette.color(QPalette::Active, QPalette::Button))),
          menuText(ToRgb(palette.color(QPalette::Active, QPalette::WindowText))) {}

    Rgb SelectionFill() const { return AdjustColor(highlight, 70, -57); }
    Rgb DisabledFill() const { return AdjustColor(buttonFace, 73, 0); }
    Rgb CheckFillSelected() const { return AdjustColor(highlight, 50, -50); }
    Rgb DisabledText() const { return AdjustColor(buttonFace, -18, 0); }
    Rgb SeparatorLine() const { return AdjustColor(buttonFace, -18, 0); }
    Rgb DisabledRadioDot() const { return AdjustColor(buttonFace, -27, 0); }
    Rgb PlainColumn() const { return AdjustColor(buttonFace, 20, 0); }
    Rgb PlainBackground() const { return AdjustColor(buttonFace, 75, 0); }
};

const QMenu* AsMenu(const QWidget* widget) { return qobject_cast<const QMenu*>(widget); }

bool IsFlatMenu(const QWidget* widget) { return AsMenu(widget) && HasMenuMark(widget); }

// The text an item shows: its own, or its label and its key sequence when the
// text carries no tab, as the menu composes it for drawing.
QString FullItemText(const QAction* action) {
    QString text = action->text();
    if (!text.contains(u'\t') && !action->shortcut().isEmpty())
        text += u'\t' + action->shortcut().toString(QKeySequence::NativeText);
    return text;
}

// The menu adds the widest shortcut of its own measuring to every item's width;
// the flat look sizes the whole item itself, so that part is taken back.
int MenuShortcutColumn(const QMenu* menu) {
    const QFontMetrics metrics = menu->fontMetrics();
    int widest = 0;
    for (const QAction* action : menu->actions()) {
        if (!action->isVisible() || action->isSeparator()) continue;
        const QString text = FullItemText(action);
        const qsizetype tab = text.indexOf(u'\t');
        if (tab >= 0) widest = std::max(widest, metrics.horizontalAdvance(text.mid(tab + 1)));
    }
    return widest;
}

void FillRect(QPainter* painter, int left, int top, int right, int bottom, Rgb color) {
    if (right > left && bottom > top) painter->fillRect(QRect(left, top, right - left, bottom - top), ToQColor(color));
}

// A 1-pixel frame just inside the rectangle from (left, top) to (right, bottom),
// the far edges excluded.
void Frame(QPainter* painter, int left, int top, int right, int bottom, Rgb color) {
    FillRect(painter, left, top, right, top + 1, color);
    FillRect(painter, left, bottom - 1, right, bottom, color);
    FillRect(painter, left, top, left + 1, bottom, color);
    FillRect(painter, right - 1, top, right, bottom, color);
}

void FramedRect(QPainter* painter, int left, int top, int right, int bottom, Rgb frame, Rgb fill) {
    FillRect(painter, left + 1, top + 1, right - 1, bottom - 1, fill);
    Frame(painter, left, top, right, bottom, frame);
}

void FillGradient(QPainter* painter, int left, int top, int right, int bottom, Rgb from, Rgb to) {
    for (const GradientStrip& strip : GradientStrips(left, right - left, from, to))
        FillRect(painter, strip.left, top, strip.right, bottom, strip.color);
}

// The check mark: a 7 by 7 tick centred on the check box.
void DrawTick(QPainter* painter, int left, int middle, Rgb color) {
    static constexpr int kTop[7] = {2, 3, 4, 3, 2, 1, 0};  // first row of each column, 3 rows deep
    for (int column = 0; column < 7; ++column)
        FillRect(painter, left + column, middle - 3 + kTop[column], left + column + 1, middle + kTop[column], color);
}

// The arrow of an item that opens a sub-menu, in the gap right of the shortcuts.
void DrawSubMenuArrow(QPainter* painter, int right, int middle, Rgb color) {
    for (int column = 0; column < 4; ++column)
        FillRect(painter, right - 9 + column, middle - 3 + column, right - 8 + column, middle + 4 - column, color);
}

}  // namespace

FlatMenuStyle::FlatMenuStyle() : QProxyStyle() {}

PopupItemData FlatMenuStyle::MeasureMenu(const QMenu* menu) {
    const QFont regular = menu->font();
    QFont bold = regular;
    bold.setWeight(QFont::Bold);
    const QFontMetrics regularMetrics(regular);
    const QFontMetrics boldMetrics(bold);

    std::vector<MenuEntry> entries;
    for (const QAction* action : menu->actions()) {
        if (!action->isVisible()) continue;
        MenuEntry entry;
        entry.separator = action->isSeparator();
        entry.isDefault = action == menu->defaultAction();
        if (!entry.separator) entry.text = FullItemText(action);
        entries.push_back(entry);
    }
    return MeasurePopup(entries, regularMetrics.height(), [&](const QString& text, bool isBold) {
        return (isBold ? boldMetrics : regularMetrics).horizontalAdvance(text);
    });
}

int FlatMenuStyle::styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                             QStyleHintReturn* returnData) const {
    // A disabled item can be selected too; it shows its own selection colours.
    if (hint == SH_Menu_AllowActiveAndDisabled && IsFlatMenu(widget)) return 1;
    return QProxyStyle::styleHint(hint, option, widget, returnData);
}

int FlatMenuStyle::pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const {
    if (IsFlatMenu(widget)) {
        switch (metric) {
            case PM_MenuPanelWidth:
                return 1;
            case PM_MenuHMargin:
            case PM_MenuVMargin:
                return 0;
            default:
                break;
        }
    }
    return QProxyStyle::pixelMetric(metric, option, widget);
}

QSize FlatMenuStyle::sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                                      const QWidget* widget) const {
    const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
    if (type != CT_MenuItem || !item || !IsFlatMenu(widget))
        return QProxyStyle::sizeFromContents(type, option, size, widget);
    const QMenu* menu = AsMenu(widget);
    const PopupItemData data = MeasureMenu(menu);
    const int shortcutColumn = MenuShortcutColumn(menu);
    if (item->menuItemType == QStyleOptionMenuItem::Separator)
        return QSize(std::max(1, kWidthAllowance - shortcutColumn), UnpackItemData(data.separator).height);
    return QSize(std::max(1, ItemWidth(data.item) - shortcutColumn), UnpackItemData(data.item).height);
}

void FlatMenuStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                                  const QWidget* widget) const {
    if (IsFlatMenu(widget) && (element == PE_PanelMenu || element == PE_FrameMenu)) {
        const MenuColors colors(option->palette);
        const QRect r = option->rect;
        const Rgb background = UsesGradient(widget) ? kBackgroundColor : colors.PlainBackground();
        if (element == PE_PanelMenu) {
            FillRect(painter, r.left(), r.top(), r.right() + 1, r.bottom() + 1, background);
        } else {
            // The pop-up's border: one pixel in the palette's dark shade.
            Frame(painter, r.left(), r.top(), r.right() + 1, r.bottom() + 1,
                  ToRgb(option->palette.color(QPalette::Active, QPalette::Dark)));
        }
        return;
    }
    QProxyStyle::drawPrimitive(element, option, painter, widget);
}

void FlatMenuStyle::drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                                const QWidget* widget) const {
    const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
    if (item && IsFlatMenu(widget)) {
        if (element == CE_MenuItem) {
            DrawMenuItem(*item, painter, widget);
            return;
        }
        if (element == CE_MenuEmptyArea) {
            const QRect r = option->rect;
            FillRect(painter, r.left(), r.top(), r.right() + 1, r.bottom() + 1,
                     UsesGradient(widget) ? kBackgroundColor : MenuColors(option->palette).PlainBackground());
            return;
        }
    }
    QProxyStyle::drawControl(element, option, painter, widget);
}

bool FlatMenuStyle::UsesGradient(const QWidget* widget) const {
    int depth = m_displayDepth;
    if (depth <= 0 && widget && widget->screen()) depth = widget->screen()->depth();
    return depth <= 0 || depth > 8;
}

void FlatMenuStyle::DrawMenuItem(const QStyleOptionMenuItem& item, QPainter* painter, const QWidget* widget) const {
    const MenuColors colors(item.palette);
    const bool gradient = UsesGradient(widget);
    const bool enabled = item.state & State_Enabled;
    const bool selected = item.state & State_Selected;
    const int left = item.rect.left();
    const int top = item.rect.top();
    const int right = left + item.rect.width();
    const int bottom = top + item.rect.height();
    const int middle = (top + bottom) / 2;

    painter->save();
    const Rgb selectionFill = enabled ? colors.SelectionFill() : colors.DisabledFill();
    if (selected && item.menuItemType != QStyleOptionMenuItem::Separator) {
        if (gradient) {
            FillGradient(painter, left, top, right, bottom, enabled ? kColumnColor : selectionFill, kBackgroundColor);
            Frame(painter, left, top, right, bottom, colors.highlight);
        } else {
            FramedRect(painter, left, top, right, bottom, colors.highlight, selectionFill);
        }
    } else if (gradient) {
        FillGradient(painter, left, top, left + kColumnWidth, bottom, kColumnColor, kBackgroundColor);
        FillRect(painter, left + kColumnWidth, top, right, bottom, kBackgroundColor);
    } else {
        FillRect(painter, left, top, left + kPlainColumnWidth, bottom, colors.PlainColumn());
        FillRect(painter, left + kPlainColumnWidth, top, right, bottom, colors.PlainBackground());
    }

    if (item.menuItemType == QStyleOptionMenuItem::Separator) {
        FillRect(painter, left + kColumnWidth, middle, right - 1, middle + 1, colors.SeparatorLine());
        painter->restore();
        return;
    }

    const Rgb textColor = enabled ? colors.menuText : colors.DisabledText();
    QFont font = item.font;
    font.setWeight(item.menuItemType == QStyleOptionMenuItem::DefaultItem ? QFont::Bold : QFont::Normal);
    painter->setFont(font);
    painter->setPen(ToQColor(textColor));

    const qsizetype tab = item.text.indexOf(u'\t');
    const QString label = tab < 0 ? item.text : item.text.left(tab);
    const int flags = Qt::AlignVCenter | Qt::TextSingleLine;
    painter->drawText(QRect(left + kColumnWidth, top, right - left - kColumnWidth, bottom - top),
                      flags | Qt::AlignLeft | Qt::TextShowMnemonic, label);
    if (tab >= 0) {
        painter->drawText(QRect(left, top, right - kShortcutRightGap - left, bottom - top), flags | Qt::AlignRight,
                          item.text.mid(tab + 1));
    }
    if (item.menuItemType == QStyleOptionMenuItem::SubMenu) DrawSubMenuArrow(painter, right, middle, textColor);

    if (item.checkType != QStyleOptionMenuItem::NotCheckable && item.checked) {
        const Rgb boxFill = !enabled   ? colors.DisabledFill()
                            : selected ? colors.CheckFillSelected()
                                       : colors.SelectionFill();
        FramedRect(painter, left + 1, top + 1, left + kCheckBoxRight, bottom - 1, colors.highlight, boxFill);
        const int center = left + 12;
        if (item.checkType == QStyleOptionMenuItem::Exclusive) {
            const Rgb dot = enabled ? colors.menuText : colors.DisabledRadioDot();
            painter->setRenderHint(QPainter::Antialiasing, false);
            painter->setPen(Qt::NoPen);
            painter->setBrush(ToQColor(dot));
            painter->drawEllipse(QRect(center - 5, middle - 3, 7, 7));
        } else {
            DrawTick(painter, center - 5, middle, textColor);
        }
    }
    painter->restore();
}

void MarkWindow(QWidget* window) {
    if (window) window->setProperty(kMenuMarkProperty, 1);
}

bool HasMenuMark(const QWidget* widget) {
    for (const QWidget* w = widget; w; w = w->parentWidget())
        if (w->property(kMenuMarkProperty).toInt() == 1) return true;
    return false;
}

namespace {

void ApplyStyle(QMenu* menu, QStyle* style) {
    menu->setStyle(style);
    for (QAction* action : menu->actions())
        if (QMenu* subMenu = action->menu()) ApplyStyle(subMenu, style);
}

}  // namespace

void InstallFlatMenus(QMenu* menu) {
    if (!menu) return;
    static QPointer<FlatMenuStyle> shared;
    if (!shared) {
        shared = new FlatMenuStyle();
        shared->setParent(QCoreApplication::instance());
    }
    MarkWindow(menu->parentWidget() ? menu->parentWidget()->window() : menu);
    ApplyStyle(menu, shared);
}
