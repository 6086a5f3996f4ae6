#include "serial/LineSettings.h"

#include "base/SettingsStore.h"
#include "serial/PortNames.h"
#include "tests/serial/SerialTestSupport.h"

#include <QTemporaryDir>
#include <QTest>

class LineSettingsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void storedIndexesGiveTheLine_data() {
        QTest::addColumn<int>("baudRate");
        QTest::addColumn<int>("byteSize");
        QTest::addColumn<int>("parity");
        QTest::addColumn<int>("stopBits");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<int>("bitsPerSecond");
        QTest::newRow("defaults 4800 8N1") << 5 << 8 << 0 << 0 << true << 4800;
        QTest::newRow("56000, only custom") << 10 << 7 << 2 << 2 << true << 56000;
        QTest::newRow("stored 14 is 256000") << 14 << 8 << 4 << 0 << true << 256000;
        QTest::newRow("speed 15 outside the table") << 15 << 8 << 0 << 0 << false << 0;
        QTest::newRow("parity 5 outside the table") << 5 << 8 << 5 << 0 << false << 0;
        QTest::newRow("stop bits 3 outside the table") << 5 << 8 << 0 << 3 << false << 0;
        QTest::newRow("4 data bits") << 5 << 4 << 0 << 0 << false << 0;
        QTest::newRow("no selection (255)") << 255 << 8 << 0 << 0 << false << 0;
    }
    void storedIndexesGiveTheLine() {
        QFETCH(int, baudRate);
        QFETCH(int, byteSize);
        QFETCH(int, parity);
        QFETCH(int, stopBits);
        QFETCH(bool, valid);
        QFETCH(int, bitsPerSecond);
        const std::optional<LineSettings> line =
            LineSettingsFor(SerialTest::Stored(1, baudRate, byteSize, parity, stopBits));
        QCOMPARE(line.has_value(), valid);
        if (!valid) return;
        QCOMPARE(line->bitsPerSecond, bitsPerSecond);
        QCOMPARE(line->dataBits, byteSize);
        QCOMPARE(static_cast<int>(line->parity), parity);
        QCOMPARE(static_cast<int>(line->stopBits), stopBits);
    }

    // A UART's longer stop is one and a half stop bits at 5 data bits and two at more.
    void stopBitsFitTheDataBits_data() {
        QTest::addColumn<int>("stopBits");
        QTest::addColumn<int>("dataBits");
        QTest::addColumn<bool>("fit");
        QTest::newRow("one at 5") << int(LineStopBits::One) << 5 << true;
        QTest::newRow("one and a half at 5") << int(LineStopBits::OneAndHalf) << 5 << true;
        QTest::newRow("one and a half at 6 is refused") << int(LineStopBits::OneAndHalf) << 6 << false;
        QTest::newRow("two at 5 is refused") << int(LineStopBits::Two) << 5 << false;
        QTest::newRow("two at 6") << int(LineStopBits::Two) << 6 << true;
    }
    void stopBitsFitTheDataBits() {
        QFETCH(int, stopBits);
        QFETCH(int, dataBits);
        QTEST(StopBitsFit(SerialTest::Line(4800, dataBits, LineParity::None, static_cast<LineStopBits>(stopBits))),
              "fit");
    }

    void portNumbersMapToDevices() {
        QTemporaryDir dir;
        SettingsStore store(dir.filePath("profile.ini"));
        store.WriteString("Ports", "COM2", "/dev/ttyUSB0");
        store.WriteString("Ports", "COM3", "  ");
#ifdef Q_OS_WIN
        // COMn is the port itself; the mapping of the profile is Linux's.
        QCOMPARE(PortNames::DeviceOf(store, 1), QStringLiteral("COM1"));
        QCOMPARE(PortNames::DeviceOf(store, 2), QStringLiteral("COM2"));
        QCOMPARE(PortNames::DeviceOf(store, 12), QStringLiteral("COM12"));
#else
        QCOMPARE(PortNames::DeviceOf(store, 1), QStringLiteral("/dev/ttyS0"));
        QCOMPARE(PortNames::DeviceOf(store, 2), QStringLiteral("/dev/ttyUSB0"));
        QCOMPARE(PortNames::DeviceOf(store, 3), QStringLiteral("/dev/ttyS2"));
        QCOMPARE(PortNames::DeviceOf(store, 9), QStringLiteral("/dev/ttyS8"));
#endif
        QVERIFY(PortNames::DeviceOf(store, 0).isEmpty());
    }

    void portNamesGiveNumbers_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("number");
        QTest::newRow("COM3") << "COM3" << 3;
        QTest::newRow("lower case COM12") << "com12" << 12;
        QTest::newRow("COM255, the largest stored") << "COM255" << 255;
        QTest::newRow("COM256 does not fit") << "COM256" << 0;
        QTest::newRow("COM0") << "COM0" << 0;
        QTest::newRow("leading zero") << "COM05" << 0;
        QTest::newRow("sign") << "COM+5" << 0;
        QTest::newRow("a Linux device") << "ttyS0" << 0;
        QTest::newRow("trailing text") << "COM3a" << 0;
    }
    void portNamesGiveNumbers() {
        QFETCH(QString, name);
        QFETCH(int, number);
        QCOMPARE(PortNames::NumberOf(name), number);
    }

    void portListOffersNineAndThePresentAboveThem_data() {
        QTest::addColumn<QList<int>>("present");
        QTest::addColumn<int>("current");
        QTest::addColumn<QList<int>>("offered");
        const QList<int> nine{1, 2, 3, 4, 5, 6, 7, 8, 9};
        QTest::newRow("nothing present: COM1..COM9") << QList<int>{} << 1 << nine;
        QTest::newRow("an adapter on COM12") << QList<int>{3, 12} << 1 << nine + QList<int>{12};
        QTest::newRow("the port in use listed though absent") << QList<int>{} << 15 << nine + QList<int>{15};
        QTest::newRow("once each, in order, within 255")
            << QList<int>{20, 12, 12, 300, 0} << 12 << nine + QList<int>{12, 20};
        QTest::newRow("no port chosen") << QList<int>{} << 0 << nine;
    }
    void portListOffersNineAndThePresentAboveThem() {
        QFETCH(QList<int>, present);
        QFETCH(int, current);
        QFETCH(QList<int>, offered);
        QCOMPARE(PortNames::OfferedPorts(present, current), offered);
    }
};

QTEST_GUILESS_MAIN(LineSettingsTest)
#include "LineSettingsTest.moc"
