#include "convert/MapaWriters.h"

#include "base/FixedNumber.h"
#include "base/Numbers.h"

#include <QRandomGenerator>
#include <QTest>

#include <cmath>
#include <limits>

class MapaWritersTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // The writers' fast number text must be printf's, digit for digit, or MAPA2
    // files would change with the writer.
    void fixedNumbersMatchPrintf() {
        QList<double> values{0.0,
                             -0.0,
                             0.0005,
                             0.00015,
                             1.0005,
                             2.5,
                             -2.5,
                             0.125,
                             12.3455,
                             123.45675,
                             1e-9,
                             -1e-9,
                             1e15,
                             -987654.321,
                             399.99995,
                             std::numeric_limits<double>::max(),
                             std::numeric_limits<double>::denorm_min(),
                             std::numeric_limits<double>::infinity()};
        QRandomGenerator random(2026);
        for (int i = 0; i < 20000; ++i) {
            values << (random.generateDouble() - 0.5) * std::pow(10.0, random.bounded(-4, 8));
            // Values on a tie of the last decimal, as measured data produce them.
            values << double(random.bounded(1000000)) / 10000.0 + 0.00005;
            values << double(random.bounded(1000000)) / 1000.0 * 0.9999471;
        }
        for (double value : values) {
            for (int decimals : {1, 3, 4}) {
                QByteArray fast;
                FixedNumber::Append(fast, value, decimals);
                QCOMPARE(fast, Numbers::Format("%.*f", decimals, value));
            }
        }
    }
};

QTEST_GUILESS_MAIN(MapaWritersTest)
#include "MapaWritersTest.moc"
