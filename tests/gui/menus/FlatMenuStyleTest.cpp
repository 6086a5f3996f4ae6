#include "gui/menus/FlatMenuStyle.h"

#include <QAction>
#include <QApplication>
#include <QImage>
#include <QMenu>
#include <QTest>

#include <memory>

namespace {

QColor ToQColor(Rgb color) { return QColor(color.red, color.green, color.blue); }

Rgb ToRgb(const QColor& color) { return {color.red(), color.green(), color.blue()}; }

// A pop-up like the window's own: shortcut, separator, selectable, disabled and checked items.
struct Fixture {
    QWidget owner;
    QMenu* menu;
    QAction* first;
    QAction* separator;
    QAction* second;
    QAction* disabled;
    QAction* checked;

    explicit Fixture(int fontPixels) {
        menu = new QMenu(&owner);
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPixelSize(fontPixels);
        menu->setFont(font);
        first = menu->addAction(QStringLiteral("Konverze p\u0159ijat\u00FDch dat\tF1"));
        separator = menu->addSeparator();
        second = menu->addAction(QStringLiteral("Konverze &souboru\tF3"));
        disabled = menu->addAction(QStringLiteral("Export sou\u0159adnic\tF2"));
        disabled->setEnabled(false);
        checked = menu->addAction(QStringLiteral("Pou\u017E\u00EDt aktu\u00E1ln\u00ED"));
        checked->setCheckable(true);
        checked->setChecked(true);
    }

    QImage Render(QAction* selected) {
        menu->popup(QPoint(10, 10));
        if (!QTest::qWaitForWindowExposed(menu)) return {};
        menu->setActiveAction(selected);
        return menu->grab().toImage();
    }

    Rgb Highlight() const { return ToRgb(menu->palette().color(QPalette::Active, QPalette::Highlight)); }
    Rgb ButtonFace() const { return ToRgb(menu->palette().color(QPalette::Active, QPalette::Button)); }
};

QColor Pixel(const QImage& image, int x, int y) { return image.pixelColor(x, y); }

}  // namespace

class FlatMenuStyleTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Items are as high as the font rule says, and as wide as widest label plus
    // widest shortcut plus a line's height between them plus 42, once and not with
    // the menu's own shortcut column added: the key never touches its text.
    void itemGeometry_data() {
        QTest::addColumn<int>("fontPixels");
        QTest::newRow("small font") << 11;
        QTest::newRow("large font") << 20;
    }
    void itemGeometry() {
        QFETCH(int, fontPixels);
        Fixture f(fontPixels);
        InstallFlatMenus(f.menu);
        const QFontMetrics metrics(f.menu->font());
        const int labelWidth = metrics.horizontalAdvance(QStringLiteral("Konverze p\u0159ijat\u00FDch dat"));
        const int shortcutWidth = std::max(
            metrics.horizontalAdvance(QStringLiteral("F1")),
            std::max(metrics.horizontalAdvance(QStringLiteral("F2")), metrics.horizontalAdvance(QStringLiteral("F3"))));
        const QRect item = f.menu->actionGeometry(f.first);
        QCOMPARE(item.height(), ItemHeight(metrics.height()));
        QCOMPARE(item.width(), labelWidth + ShortcutGap(metrics.height()) + shortcutWidth + 42);
        QCOMPARE(f.menu->actionGeometry(f.separator).height(), SeparatorHeight(metrics.height()));
        QCOMPARE(f.menu->actionGeometry(f.checked).width(), item.width());
    }

    void installReachesSubMenusAndMarksTheOwner() {
        Fixture f(13);
        QMenu* sub = f.menu->addMenu(QStringLiteral("Konverzn\u00ED n\u00E1stroje"));
        InstallFlatMenus(f.menu);
        QVERIFY(HasMenuMark(&f.owner));
        QVERIFY(HasMenuMark(sub));
        QVERIFY(qobject_cast<FlatMenuStyle*>(sub->style()));
        QCOMPARE(sub->style(), f.menu->style());
    }

    void gradientLook() {
        Fixture f(13);
        InstallFlatMenus(f.menu);
        const QImage image = f.Render(f.second);
        QVERIFY(!image.isNull());

        // An ordinary item: the column runs from just off the column colour to just off white.
        const QRect plain = f.menu->actionGeometry(f.first);
        const int y = plain.top() + 1;
        QCOMPARE(Pixel(image, plain.left(), y), QColor(182, 197, 228));
        QCOMPARE(Pixel(image, plain.left() + 29, y), QColor(254, 254, 254));
        QCOMPARE(Pixel(image, plain.left() + 30, y), QColor(Qt::white));
        QCOMPARE(Pixel(image, plain.right(), y), QColor(Qt::white));

        // The selected item: framed in the highlight colour all round.
        const QRect chosen = f.menu->actionGeometry(f.second);
        const QColor highlight = ToQColor(f.Highlight());
        QCOMPARE(Pixel(image, chosen.left(), chosen.top()), highlight);
        QCOMPARE(Pixel(image, chosen.right(), chosen.bottom()), highlight);
        QCOMPARE(Pixel(image, chosen.center().x(), chosen.top()), highlight);
        // Over the whole width the strips are wider: the first keeps the column colour.
        QCOMPARE(Pixel(image, chosen.left() + 1, chosen.top() + 1), QColor(180, 196, 228));
        QVERIFY(Pixel(image, chosen.right() - 1, chosen.top() + 1).red() > 240);

        // The separator: one line in the middle row from the column to one short of the edge.
        const QRect line = f.menu->actionGeometry(f.separator);
        const int middle = line.top() + line.height() / 2;
        const QColor lineColor = ToQColor(AdjustColor(f.ButtonFace(), -18, 0));
        QCOMPARE(Pixel(image, line.left() + 30, middle), lineColor);
        QCOMPARE(Pixel(image, line.right() - 1, middle), lineColor);
        QCOMPARE(Pixel(image, line.right(), middle), QColor(Qt::white));
        QCOMPARE(Pixel(image, line.left() + 29, middle), QColor(254, 254, 254));
        QCOMPARE(Pixel(image, line.left() + 30, middle - 1), QColor(Qt::white));
        QCOMPARE(Pixel(image, line.left() + 30, middle + 1), QColor(Qt::white));

        // The checked item: a highlight-framed box filled with the light selection colour.
        const QRect box = f.menu->actionGeometry(f.checked);
        QCOMPARE(Pixel(image, box.left() + 1, box.top() + 1), highlight);
        QCOMPARE(Pixel(image, box.left() + 19, box.bottom() - 1), highlight);
        QCOMPARE(Pixel(image, box.left() + 2, box.top() + 2), ToQColor(AdjustColor(f.Highlight(), 70, -57)));
        QCOMPARE(Pixel(image, box.left(), box.top()), QColor(182, 197, 228));
    }

    void disabledItemUnderTheSelection() {
        Fixture f(13);
        InstallFlatMenus(f.menu);
        const QImage image = f.Render(f.disabled);
        const QRect chosen = f.menu->actionGeometry(f.disabled);
        QCOMPARE(f.menu->activeAction(), f.disabled);
        QCOMPARE(Pixel(image, chosen.left(), chosen.top()), ToQColor(f.Highlight()));
        QCOMPARE(Pixel(image, chosen.left() + 1, chosen.top() + 1), ToQColor(AdjustColor(f.ButtonFace(), 73, 0)));
    }

    void eightBitDisplayGetsTheTwoToneLook() {
        Fixture f(13);
        auto style = std::make_unique<FlatMenuStyle>();
        style->SetDisplayDepth(8);
        MarkWindow(&f.owner);
        f.menu->setStyle(style.get());
        const QImage image = f.Render(f.second);

        const QColor column = ToQColor(AdjustColor(f.ButtonFace(), 20, 0));
        const QColor background = ToQColor(AdjustColor(f.ButtonFace(), 75, 0));
        const QRect plain = f.menu->actionGeometry(f.first);
        const int y = plain.top() + 1;
        QCOMPARE(Pixel(image, plain.left(), y), column);
        QCOMPARE(Pixel(image, plain.left() + 21, y), column);
        QCOMPARE(Pixel(image, plain.left() + 22, y), background);

        const QRect chosen = f.menu->actionGeometry(f.second);
        QCOMPARE(Pixel(image, chosen.left(), chosen.top()), ToQColor(f.Highlight()));
        QCOMPARE(Pixel(image, chosen.left() + 40, chosen.top() + 1), ToQColor(AdjustColor(f.Highlight(), 70, -57)));
        f.menu->hide();
        f.menu->setStyle(nullptr);
    }

    void unmarkedMenuKeepsTheStyleUnderneath() {
        QMenu menu;
        menu.addAction(QStringLiteral("Konec"));
        FlatMenuStyle style;
        menu.setStyle(&style);
        QVERIFY(!HasMenuMark(&menu));
        menu.popup(QPoint(0, 0));
        QVERIFY(QTest::qWaitForWindowExposed(&menu));
        const QImage image = menu.grab().toImage();
        const QRect item = menu.actionGeometry(menu.actions().front());
        QVERIFY(Pixel(image, item.left(), item.top() + 1) != QColor(182, 197, 228));
        menu.hide();
        menu.setStyle(nullptr);
    }
};

QTEST_MAIN(FlatMenuStyleTest)
#include "FlatMenuStyleTest.moc"
