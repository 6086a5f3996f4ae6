#include "convert/Units.h"

#include "base/FixedNumber.h"

#include <QTest>

class UnitsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Each angle in both forms, against its exact count of seconds: the decoding
    // is exact, not merely close.
    void convertsDegreesExactly_data() {
        QTest::addColumn<QByteArray>("packed");  // DDDMMSS, empty: not in this form
        QTest::addColumn<QByteArray>("dotted");  // DDD.MMSSs
        QTest::addColumn<double>("gon");         // NaN: no angle
        QTest::newRow("0°") << QByteArray("0000000") << QByteArray("0.0000") << 0.0;
        QTest::newRow("0°00′01″") << QByteArray("0000001") << QByteArray("0.0001") << 1 / 3240.0;
        QTest::newRow("90° is 100 gon") << QByteArray("0900000") << QByteArray("90") << 100.0;
        QTest::newRow("179°59′59″ just under 200 gon")
            << QByteArray("1795959") << QByteArray("179.5959") << 647999 / 3240.0;
        QTest::newRow("180° is 200 gon") << QByteArray("1800000") << QByteArray("180.0000") << 200.0;
        QTest::newRow("180°00′01″ just over 200 gon")
            << QByteArray("1800001") << QByteArray("180.0001") << 648001 / 3240.0;
        QTest::newRow("359°59′59″") << QByteArray("3595959") << QByteArray("359.5959") << 1295999 / 3240.0;
        QTest::newRow("103°51′20″") << QByteArray("1035120") << QByteArray("103.5120") << 373880 / 3240.0;
        QTest::newRow("87°46′35.0″") << QByteArray("0874635") << QByteArray("87.46350") << 315995 / 3240.0;
        QTest::newRow("missing digits are zeros: 87°40′") << QByteArray() << QByteArray("87.4") << 315600 / 3240.0;
        QTest::newRow("decimals of a second") << QByteArray() << QByteArray("87.463505") << 315995050000 / 3240e6;
        QTest::newRow("sign and blanks") << QByteArray(" -0000001") << QByteArray(" -0.0001 ") << -1 / 3240.0;
        QTest::newRow("60 minutes are no angle") << QByteArray("0906000") << QByteArray("90.6000") << qQNaN();
        QTest::newRow("60 seconds are no angle") << QByteArray("0900060") << QByteArray("90.0060") << qQNaN();
        QTest::newRow("a letter is no angle") << QByteArray("09a0000") << QByteArray("9a.0000") << qQNaN();
    }
    void convertsDegreesExactly() {
        QFETCH(QByteArray, packed);
        QFETCH(QByteArray, dotted);
        QFETCH(double, gon);
        const auto check = [gon](std::optional<double> read) {
            if (qIsNaN(gon)) return !read.has_value();
            return read.has_value() && *read == gon;
        };
        if (!packed.isEmpty()) QVERIFY(check(GonFromPackedDegrees(packed.toStdString())));
        QVERIFY(check(GonFromDottedDegrees(dotted.toStdString())));
    }

    void roundsAsTheWritersDo() {
        // 103°51′20″ = 115.39506… gon: four decimals in the field book.
        QByteArray written;
        FixedNumber::Append(written, *GonFromPackedDegrees("1035120"), 4);
        QCOMPARE(written, QByteArray("115.3951"));
    }
};

QTEST_GUILESS_MAIN(UnitsTest)
#include "UnitsTest.moc"
