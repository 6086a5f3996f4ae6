#include "serial/LineSettings.h"

#include "base/SettingsStore.h"
#include "serial/PortNames.h"

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
        SerialSettings serial;
        serial.baudRate = static_cast<quint8>(baudRate);
        serial.byteSize = static_cast<quint8>(byteSize);
        serial.parity = static_cast<quint8>(parity);
        serial.stopBits = static_cast<quint8>(stopBits);
        const std::optional<LineSettings> line = LineSettingsFor(serial);
        QCOMPARE(line.has_value(), valid);
        if (!valid) return;
        QCOMPARE(line->bitsPerSecond, bitsPerSecond);
        QCOMPARE(line->dataBits, byteSize);
        QCOMPARE(static_cast<int>(line->parity), parity);
        QCOMPARE(static_cast<int>(line->stopBits), stopBits);
    }

    void portNumbersMapToDevices() {
        QTemporaryDir dir;
        SettingsStore store(dir.filePath("profile.ini"));
        store.WriteString("Ports", "COM2", "/dev/ttyUSB0");
        store.WriteString("Ports", "COM3", "  ");
        QCOMPARE(PortNames::DeviceOf(store, 1), QStringLiteral("/dev/ttyS0"));
        QCOMPARE(PortNames::DeviceOf(store, 2), QStringLiteral("/dev/ttyUSB0"));
        QCOMPARE(PortNames::DeviceOf(store, 3), QStringLiteral("/dev/ttyS2"));
        QCOMPARE(PortNames::DeviceOf(store, 9), QStringLiteral("/dev/ttyS8"));
        QVERIFY(PortNames::DeviceOf(store, 0).isEmpty());
    }
};

QTEST_GUILESS_MAIN(LineSettingsTest)
#include "LineSettingsTest.moc"
