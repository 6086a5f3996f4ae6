#include "gui/menus/MenuGradient.h"

#include <QTest>

class MenuGradientTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // The menus' left column: 75 steps over 30 px leave one strip per pixel.
    void leftColumn() {
        const std::vector<GradientStrip> strips = GradientStrips(0, 30, kColumnColor, kBackgroundColor);
        QCOMPARE(strips.size(), size_t(30));
        for (size_t i = 0; i < strips.size(); ++i) {
            QCOMPARE(strips[i].left, int(i));
            QCOMPARE(strips[i].right, int(i) + 1);
        }
        // Pixel 0 is strip 2 (strips 0 and 1 are empty): 180 + 2, 196 + 118 / 75, 228 + 54 / 75.
        QCOMPARE(strips.front().color, (Rgb{182, 197, 228}));
        QCOMPARE(strips[1].color, (Rgb{184, 199, 229}));
        // Pixel 29 is strip 74, one step short of white.
        QCOMPARE(strips.back().color, (Rgb{254, 254, 254}));
    }

    void wideStrips() {
        const std::vector<GradientStrip> strips = GradientStrips(10, 10, Rgb{0, 0, 0}, Rgb{5, 0, 0});
        const std::vector<GradientStrip> expected = {
            {10, 12, {0, 0, 0}}, {12, 14, {1, 0, 0}}, {14, 16, {2, 0, 0}}, {16, 18, {3, 0, 0}}, {18, 20, {4, 0, 0}}};
        QCOMPARE(strips, expected);
    }

    void equalColoursFillPlainly() {
        const std::vector<GradientStrip> strips = GradientStrips(4, 100, Rgb{1, 2, 3}, Rgb{1, 2, 3});
        QCOMPARE(strips, (std::vector<GradientStrip>{{4, 104, {1, 2, 3}}}));
    }

    // 47 steps over 3 px: the last strip ends short of the edge after rounding and
    // the rest takes the right colour.
    void remainderTakesTheRightColour() {
        const std::vector<GradientStrip> strips = GradientStrips(0, 3, Rgb{100, 100, 100}, Rgb{53, 100, 100});
        const std::vector<GradientStrip> expected = {
            {0, 1, {85, 100, 100}}, {1, 2, {69, 100, 100}}, {2, 3, {53, 100, 100}}};
        QCOMPARE(strips, expected);
    }

    void onlyRemainderWhenEveryStripIsEmpty() {
        const std::vector<GradientStrip> strips = GradientStrips(7, 1, Rgb{0, 0, 0}, Rgb{49, 0, 0});
        QCOMPARE(strips, (std::vector<GradientStrip>{{7, 8, {49, 0, 0}}}));
    }
};

QTEST_GUILESS_MAIN(MenuGradientTest)
#include "MenuGradientTest.moc"
