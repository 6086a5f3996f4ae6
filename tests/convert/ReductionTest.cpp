#include "convert/Reduction.h"

#include "base/Numbers.h"

#include <QTest>

// The reductions as the parameter sheet shows them (mm/km to 0.1, the factor to
// 7 decimals), worked by hand in each row's name: ρ = √(X² + Y²), r = ρ − 1 298 039,
// m the projection's scale at r; k·H with k = 2 / 6 377 397.155.
class ReductionTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void reductions_data() {
        QTest::addColumn<double>("x");
        QTest::addColumn<double>("y");
        QTest::addColumn<double>("h");
        QTest::addColumn<QByteArray>("projection");
        QTest::addColumn<QByteArray>("height");
        QTest::addColumn<QByteArray>("total");
        QTest::addColumn<QByteArray>("factor");
        QTest::newRow("defaults: r = -87 914.63, m = 0.99999724; kH = 1.0035e-4, (1 + kH)^-1/2 = 0.99994983")
            << 1001000.0 << 680000.0 << 320.0 << QByteArray("-2.8") << QByteArray("-50.2") << QByteArray("-52.9")
            << QByteArray("0.9999471");
        QTest::newRow("X 1 100 000, Y 700 000: r = 5 801.48, m = 0.99990041; H 0 reduces nothing")
            << 1100000.0 << 700000.0 << 0.0 << QByteArray("-99.6") << QByteArray("0.0") << QByteArray("-99.6")
            << QByteArray("0.9999004");
        QTest::newRow("on the reference circle: Y 700 000, X 1 093 117.215, r = 0, m = 0.9999")
            << 1093117.2149046962 << 700000.0 << 0.0 << QByteArray("-100.0") << QByteArray("0.0")
            << QByteArray("-100.0") << QByteArray("0.9999000");
        QTest::newRow("corner X 890 000, Y 137 000 is inside: r = -397 556.35, m = 1.0021998")
            << 890000.0 << 137000.0 << 0.0 << QByteArray("2199.8") << QByteArray("0.0") << QByteArray("2199.8")
            << QByteArray("1.0021998");
        QTest::newRow("corner X 1 380 000, Y 890 000 is inside: r = 344 063.31, m = 1.0011959")
            << 1380000.0 << 890000.0 << 0.0 << QByteArray("1195.9") << QByteArray("0.0") << QByteArray("1195.9")
            << QByteArray("1.0011959");
        QTest::newRow("X 1 380 000.001 is outside: no reduction at all")
            << 1380000.001 << 890000.0 << 0.0 << QByteArray("0.0") << QByteArray("0.0") << QByteArray("0.0")
            << QByteArray("1.0000000");
        QTest::newRow("H -100 below the sea lengthens: kH = -3.136e-5, (1 + kH)^-1/2 = 1.00001568")
            << 0.0 << 0.0 << -100.0 << QByteArray("0.0") << QByteArray("15.7") << QByteArray("15.7")
            << QByteArray("1.0000157");
    }
    void reductions() {
        QFETCH(double, x);
        QFETCH(double, y);
        QFETCH(double, h);
        QFETCH(QByteArray, projection);
        QFETCH(QByteArray, height);
        QFETCH(QByteArray, total);
        QFETCH(QByteArray, factor);
        const double projectionMmPerKm = ProjectionReduction(x, y);
        const double heightMmPerKm = HeightReduction(h);
        QCOMPARE(Numbers::FormatFixed(projectionMmPerKm, 1), projection);
        QCOMPARE(Numbers::FormatFixed(heightMmPerKm, 1), height);
        QCOMPARE(Numbers::FormatFixed(projectionMmPerKm + heightMmPerKm, 1), total);
        QCOMPARE(Numbers::FormatFixed(ScaleFactor(projectionMmPerKm + heightMmPerKm), 7), factor);
        // No reduction is exactly none, not a rounding of one.
        if (projection == "0.0") QCOMPARE(projectionMmPerKm, 0.0);
        if (height == "0.0") QCOMPARE(heightMmPerKm, 0.0);
    }
};

QTEST_GUILESS_MAIN(ReductionTest)
#include "ReductionTest.moc"
