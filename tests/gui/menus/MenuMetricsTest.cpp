#include "gui/menus/MenuMetrics.h"

#include <QTest>

class MenuMetricsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void heights_data() {
        QTest::addColumn<int>("fontHeight");
        QTest::addColumn<int>("item");
        QTest::addColumn<int>("separator");
        QTest::newRow("font 13 px") << 13 << 20 << 8;
        QTest::newRow("font 16 px") << 16 << 22 << 10;
        QTest::newRow("font 14 px reaches the 16 px floor") << 14 << 20 << 9;
        QTest::newRow("tiny font keeps the 16 px floor") << 8 << 20 << 6;
    }
    void heights() {
        QFETCH(int, fontHeight);
        QFETCH(int, item);
        QFETCH(int, separator);
        QCOMPARE(ItemHeight(fontHeight), item);
        QCOMPARE(SeparatorHeight(fontHeight), separator);
    }

    void packing_data() {
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("shortcut");
        QTest::addColumn<int>("label");
        QTest::addColumn<quint32>("packed");
        QTest::addColumn<int>("width");
        QTest::newRow("ordinary item") << 20 << 17 << 120 << quint32(0x00781114) << 120 + 17 + 42;
        QTest::newRow("separator carries its height alone") << 8 << 0 << 0 << quint32(8) << 42;
        QTest::newRow("shortcut of 255 px still fits") << 22 << 255 << 300 << quint32(0x012CFF16) << 300 + 255 + 42;
        QTest::newRow("shortcut of 300 px kept modulo 256") << 22 << 300 << 100 << quint32(0x00642C16) << 100 + 44 + 42;
        QTest::newRow("negative width counts as 0") << 20 << -3 << 50 << quint32(0x00320014) << 50 + 42;
    }
    void packing() {
        QFETCH(int, height);
        QFETCH(int, shortcut);
        QFETCH(int, label);
        QFETCH(quint32, packed);
        QFETCH(int, width);
        const quint32 data = PackItemData(height, shortcut, label);
        QCOMPARE(data, packed);
        const MenuItemData back = UnpackItemData(data);
        QCOMPARE(back.height, height);
        QCOMPARE(back.labelWidth, std::max(label, 0));
        QCOMPARE(ItemWidth(data), width);
    }

    void splitting_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("shortcut");
        QTest::newRow("label and shortcut")
            << QStringLiteral("Konverze p\u0159ijat\u00FDch dat\tF1")
            << QStringLiteral("Konverze p\u0159ijat\u00FDch dat") << QStringLiteral("F1");
        QTest::newRow("mnemonic removed") << QStringLiteral("&Menu") << QStringLiteral("Menu") << QString();
        QTest::newRow("only the first ampersand goes")
            << QStringLiteral("A&&B &C") << QStringLiteral("A&B &C") << QString();
        QTest::newRow("second tab stays in the shortcut")
            << QStringLiteral("Go\tCtrl+G\tx") << QStringLiteral("Go") << QStringLiteral("Ctrl+G\tx");
        QTest::newRow("ampersand after the tab is not the label's")
            << QStringLiteral("Go\t&G") << QStringLiteral("Go") << QStringLiteral("&G");
    }
    void splitting() {
        QFETCH(QString, text);
        QFETCH(QString, label);
        QFETCH(QString, shortcut);
        const ItemText parts = SplitItemText(text);
        QCOMPARE(parts.label, label);
        QCOMPARE(parts.shortcut, shortcut);
    }

    // Widths are 10 px a character, 15 in bold, so each row can be worked by hand.
    void popup() {
        const TextWidthFunction width = [](const QString& text, bool bold) {
            return int(text.size()) * (bold ? 15 : 10);
        };
        std::vector<MenuEntry> entries = {
            {false, false, QStringLiteral("&Open\tF3")},
            {true, false, QString()},
            {false, false, QStringLiteral("Parametry\tCtrl+Shift+P")},
            {false, false, QStringLiteral("Konec")},
        };
        PopupItemData data = MeasurePopup(entries, 13, width);
        QCOMPARE(UnpackItemData(data.item).height, 20);
        QCOMPARE(UnpackItemData(data.item).labelWidth, 90);
        // The shortcuts keep a line's height away from the labels.
        QCOMPARE(UnpackItemData(data.item).shortcutWidth, 120 + 13);
        QCOMPARE(ItemWidth(data.item), 90 + 120 + 13 + 42);
        QCOMPARE(data.separator, quint32(8));

        // The default item is measured in bold, its shortcut too.
        entries[0].isDefault = true;
        data = MeasurePopup(entries, 16, width);
        QCOMPARE(UnpackItemData(data.item).height, 22);
        QCOMPARE(UnpackItemData(data.item).labelWidth, 90);
        QCOMPARE(UnpackItemData(data.item).shortcutWidth, 120 + 16);
        entries[0].text = QStringLiteral("&Otev\u0159\u00EDt soubor\tF3");
        data = MeasurePopup(entries, 16, width);
        QCOMPARE(UnpackItemData(data.item).labelWidth, 14 * 15);
        QCOMPARE(data.separator, quint32(10));

        // A shortcut column wider than 255 px wraps: the pop-up comes out narrow.
        entries[2].text = QStringLiteral("Parametry\t") + QString(30, u'x');
        data = MeasurePopup(entries, 13, width);
        QCOMPARE(UnpackItemData(data.item).shortcutWidth, (300 + 13) % 256);
    }
};

QTEST_GUILESS_MAIN(MenuMetricsTest)
#include "MenuMetricsTest.moc"
