#include "base/FixedNumber.h"

#include "base/Numbers.h"

#include <QRandomGenerator>
#include <QTest>

#include <cmath>
#include <limits>

class FixedNumberTest : public QObject {
    Q_OBJECT
private:
    static void Compare(double value, int decimals) {
        QByteArray fast;
        FixedNumber::Append(fast, value, decimals);
        const QByteArray format = "%." + QByteArray::number(decimals) + "f";
        QCOMPARE(fast, Numbers::Format(format.constData(), value));
    }

private Q_SLOTS:
    void writesAsPrintf_data() {
        QTest::addColumn<double>("value");
        QTest::newRow("zero") << 0.0;
        QTest::newRow("negative zero") << -0.0;
        QTest::newRow("negative rounding to zero") << -0.000001;
        QTest::newRow("binary just above a decimal half") << 0.000005;
        QTest::newRow("binary just below a decimal half") << 2.675;
        QTest::newRow("exact binary half") << 0.5;
        QTest::newRow("S-JTSK coordinate") << 1100000.123455;
        QTest::newRow("beyond the fast range") << 1.0e12 + 0.123456;
        QTest::newRow("huge") << 1.0e300;
        QTest::newRow("tiny") << 1.0e-300;
        QTest::newRow("infinity") << std::numeric_limits<double>::infinity();
        QTest::newRow("minus infinity") << -std::numeric_limits<double>::infinity();
    }
    void writesAsPrintf() {
        QFETCH(double, value);
        for (int decimals : {0, 1, 3, 5, 9}) Compare(value, decimals);
    }

    // Values of every size, and decimal halves at the rounding position that the
    // binary value lies just above or below.
    void randomValuesAsPrintf() {
        QRandomGenerator random(20261207);
        for (int i = 0; i < 200000; ++i) {
            const double magnitude = std::pow(10.0, random.bounded(-6.0) + random.bounded(14.0));
            double value = (random.bounded(2) ? -1 : 1) * random.bounded(1.0) * magnitude;
            const int decimals = random.bounded(2) ? 5 : 3;
            if (i % 4 == 0) value = (std::round(value * 1e5) + 0.5) / 1e5;
            Compare(value, decimals);
            if (QTest::currentTestFailed()) {
                qWarning("value %.17g decimals %d", value, decimals);
                return;
            }
        }
    }
};

QTEST_GUILESS_MAIN(FixedNumberTest)
#include "FixedNumberTest.moc"
