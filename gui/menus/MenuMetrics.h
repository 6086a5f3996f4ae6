#pragma once
// Measurements of the flat pop-up menus, in pixels: item and separator heights
// from the height of the menu font, the 32-bit item data that carries them, and
// the widths taken from the widest label and shortcut of a pop-up.
//
// Item data layout:
//   bits 0-7    item height
//   bits 8-15   widest shortcut text of the pop-up (kept modulo 256)
//   bits 16-31  widest label of the pop-up (kept modulo 65536)
// A separator carries its height alone. Negative widths count as 0.

#include <QString>
#include <QtGlobal>

#include <functional>
#include <vector>

inline constexpr int kColumnWidth = 30;       // shaded left column; labels start here
inline constexpr int kPlainColumnWidth = 22;  // left column of the two-tone look
inline constexpr int kWidthAllowance = 42;    // column, gaps and the sub-menu arrow
inline constexpr int kShortcutRightGap = 12;  // shortcuts end this far from the right edge
inline constexpr int kCheckBoxRight = 20;     // check-mark box runs from 1 to here

// max(h + 2, 16) + 4
int ItemHeight(int fontHeight);
// The room between the widest label and the shortcuts: a line's height, so that
// "Konverze přijatých dat" and "F1" never touch at any text size.
int ShortcutGap(int fontHeight);
// h / 2 + 2
int SeparatorHeight(int fontHeight);

struct MenuItemData {
    int height = 0;
    int shortcutWidth = 0;
    int labelWidth = 0;
};

quint32 PackItemData(int height, int shortcutWidth, int labelWidth);
MenuItemData UnpackItemData(quint32 data);
// Width an item asks for: widest label + widest shortcut (with its gap) + 42.
int ItemWidth(quint32 data);

// An item's full text "label\tshortcut": the label is the text before the first
// tab with its first "&" removed (the form whose width is measured); the shortcut
// is the text after that tab, empty without one.
struct ItemText {
    QString label;
    QString shortcut;
};
ItemText SplitItemText(const QString& text);

struct MenuEntry {
    bool separator = false;
    bool isDefault = false;  // drawn and measured in bold
    QString text;            // full text with "&" and an optional tab
};

// Width in pixels of a text in the menu font, bold or regular.
using TextWidthFunction = std::function<int(const QString& text, bool bold)>;

// The item data of a pop-up when it opens: one value shared by all its items
// and the one for its separators. A pop-up with shortcuts keeps the shortcut gap
// in the shortcut's width.
struct PopupItemData {
    quint32 item = 0;
    quint32 separator = 0;
};
PopupItemData MeasurePopup(const std::vector<MenuEntry>& entries, int fontHeight, const TextWidthFunction& textWidth);
