#include "gui/menus/MenuMetrics.h"

#include <algorithm>

int ItemHeight(int fontHeight) { return std::max(fontHeight + 2, 16) + 4; }

int SeparatorHeight(int fontHeight) { return fontHeight / 2 + 2; }

int ShortcutGap(int fontHeight) { return std::max(fontHeight, 0); }

quint32 PackItemData(int height, int shortcutWidth, int labelWidth) {
    const auto field = [](int value, quint32 mask) { return static_cast<quint32>(std::max(value, 0)) & mask; };
    return field(height, 0xFF) | field(shortcutWidth, 0xFF) << 8 | field(labelWidth, 0xFFFF) << 16;
}

MenuItemData UnpackItemData(quint32 data) {
    return {static_cast<int>(data & 0xFF), static_cast<int>(data >> 8 & 0xFF), static_cast<int>(data >> 16)};
}

int ItemWidth(quint32 data) {
    const MenuItemData item = UnpackItemData(data);
    return item.labelWidth + item.shortcutWidth + kWidthAllowance;
}

ItemText SplitItemText(const QString& text) {
    const qsizetype tab = text.indexOf(u'\t');
    ItemText parts;
    parts.label = tab < 0 ? text : text.left(tab);
    if (tab >= 0) parts.shortcut = text.mid(tab + 1);
    const qsizetype mnemonic = parts.label.indexOf(u'&');
    if (mnemonic >= 0) parts.label.remove(mnemonic, 1);
    return parts;
}

PopupItemData MeasurePopup(const std::vector<MenuEntry>& entries, int fontHeight, const TextWidthFunction& textWidth) {
    int widestLabel = 0;
    int widestShortcut = 0;
    for (const MenuEntry& entry : entries) {
        if (entry.separator) continue;
        const ItemText parts = SplitItemText(entry.text);
        widestLabel = std::max(widestLabel, textWidth(parts.label, entry.isDefault));
        if (!parts.shortcut.isEmpty())
            widestShortcut = std::max(widestShortcut, textWidth(parts.shortcut, entry.isDefault));
    }
    if (widestShortcut > 0) widestShortcut += ShortcutGap(fontHeight);
    PopupItemData data;
    data.item = PackItemData(ItemHeight(fontHeight), widestShortcut, widestLabel);
    data.separator = PackItemData(SeparatorHeight(fontHeight), 0, 0);
    return data;
}
