#include "gui/menus/MenuColor.h"

#include <QTest>

#include <cstdlib>

Q_DECLARE_METATYPE(Rgb)
Q_DECLARE_METATYPE(Hls)

namespace {

bool WithinOneUnit(Rgb a, Rgb b) {
    return std::abs(a.red - b.red) <= 1 && std::abs(a.green - b.green) <= 1 && std::abs(a.blue - b.blue) <= 1;
}

QByteArray Show(Rgb c) {
    return QByteArray::number(c.red) + "," + QByteArray::number(c.green) + "," + QByteArray::number(c.blue);
}

}  // namespace

class MenuColorTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Worked by hand: lightness (max + min) / 2, saturation delta * 255 over sum or
    // 510 - sum, hue in sixths of the circle scaled to 255, all truncated.
    void toHls_data() {
        QTest::addColumn<Rgb>("color");
        QTest::addColumn<Hls>("expected");
        QTest::newRow("blue highlight, dark half") << Rgb{48, 140, 198} << Hls{143, 123, 155};
        QTest::newRow("warm grey face, light half") << Rgb{212, 208, 200} << Hls{28, 206, 31};
        QTest::newRow("red is hue 0") << Rgb{255, 0, 0} << Hls{0, 127, 255};
        QTest::newRow("magenta wraps below 0") << Rgb{255, 0, 128} << Hls{233, 127, 255};
        QTest::newRow("grey has no hue or saturation") << Rgb{128, 128, 128} << Hls{0, 128, 0};
    }
    void toHls() {
        QFETCH(Rgb, color);
        QFETCH(Hls, expected);
        const Hls hls = RgbToHls(color);
        QCOMPARE(hls.hue, expected.hue);
        QCOMPARE(hls.lightness, expected.lightness);
        QCOMPARE(hls.saturation, expected.saturation);
    }

    void adjust_data() {
        QTest::addColumn<Rgb>("color");
        QTest::addColumn<int>("lightness");
        QTest::addColumn<int>("saturation");
        QTest::addColumn<Rgb>("expected");
        // L 123 -> 123 + 132 * 70 / 100 = 215, S 155 -> 155 * 43 / 100 = 66.
        QTest::newRow("selection fill: lighter, greyer") << Rgb{48, 140, 198} << 70 << -57 << Rgb{205, 218, 225};
        // L 206 -> 206 * 82 / 100 = 168, S stays 31.
        QTest::newRow("darker by 18 percent") << Rgb{212, 208, 200} << -18 << 0 << Rgb{179, 171, 157};
        QTest::newRow("lighter by 73 percent") << Rgb{212, 208, 200} << 73 << 0 << Rgb{243, 242, 239};
        QTest::newRow("classic navy highlight") << Rgb{10, 36, 106} << 70 << -57 << Rgb{174, 186, 216};
        QTest::newRow("no change keeps the colour") << Rgb{200, 100, 50} << 0 << 0 << Rgb{200, 100, 50};
        QTest::newRow("grey lighter stays grey") << Rgb{128, 128, 128} << 20 << 0 << Rgb{153, 153, 153};
        QTest::newRow("grey darker stays grey") << Rgb{128, 128, 128} << -50 << 0 << Rgb{64, 64, 64};
        QTest::newRow("black lighter by 100 is white") << Rgb{0, 0, 0} << 100 << 0 << Rgb{255, 255, 255};
        QTest::newRow("white darker by 100 is black") << Rgb{255, 255, 255} << -100 << 0 << Rgb{0, 0, 0};
    }
    void adjust() {
        QFETCH(Rgb, color);
        QFETCH(int, lightness);
        QFETCH(int, saturation);
        QFETCH(Rgb, expected);
        const Rgb actual = AdjustColor(color, lightness, saturation);
        QVERIFY2(WithinOneUnit(actual, expected), Show(actual) + " instead of " + Show(expected));
    }
};

QTEST_GUILESS_MAIN(MenuColorTest)
#include "MenuColorTest.moc"
