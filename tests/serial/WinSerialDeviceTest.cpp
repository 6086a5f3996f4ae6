// The Windows serial port: the line settings as the device control block gets
// them, what counts as a driver's refusal, the device paths, and the ports that
// cannot be opened. Bytes through a real port are checked end to end against the
// simulated instrument (tests/windows/serial-link).

#include "serial/WinSerialDevice.h"

#include "serial/SerialLink.h"
#include "tests/serial/SerialTestSupport.h"

#include <QTemporaryDir>
#include <QTest>

Q_DECLARE_METATYPE(LineSettings)

using SerialTest::Line;

namespace {

// A control block as a port may hold it: XON/XOFF and hardware flow control on,
// NUL stripping, error replacement and abort on error.
DCB BusyPort() {
    DCB port{};
    port.DCBlength = sizeof port;
    port.BaudRate = 38400;
    port.ByteSize = 7;
    port.Parity = EVENPARITY;
    port.StopBits = TWOSTOPBITS;
    port.fOutxCtsFlow = TRUE;
    port.fOutxDsrFlow = TRUE;
    port.fDsrSensitivity = TRUE;
    port.fOutX = TRUE;
    port.fInX = TRUE;
    port.fErrorChar = TRUE;
    port.fNull = TRUE;
    port.fAbortOnError = TRUE;
    port.fDtrControl = DTR_CONTROL_HANDSHAKE;
    port.fRtsControl = RTS_CONTROL_HANDSHAKE;
    port.XonChar = 0;
    port.XoffChar = 0;
    port.XonLim = 123;
    port.ErrorChar = '?';
    return port;
}

}  // namespace

class WinSerialDeviceTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void lineSettingsBecomeTheControlBlock_data() {
        QTest::addColumn<LineSettings>("line");
        QTest::addColumn<bool>("possible");
        QTest::addColumn<int>("parity");
        QTest::addColumn<int>("stopBits");
        using P = LineParity;
        using S = LineStopBits;
        QTest::newRow("4800 8N1") << Line(4800, 8, P::None, S::One) << true << NOPARITY << ONESTOPBIT;
        QTest::newRow("9600 7E1") << Line(9600, 7, P::Even, S::One) << true << EVENPARITY << ONESTOPBIT;
        QTest::newRow("odd, two stop bits") << Line(1200, 8, P::Odd, S::Two) << true << ODDPARITY << TWOSTOPBITS;
        QTest::newRow("mark") << Line(4800, 7, P::Mark, S::One) << true << MARKPARITY << ONESTOPBIT;
        QTest::newRow("space") << Line(4800, 7, P::Space, S::One) << true << SPACEPARITY << ONESTOPBIT;
        QTest::newRow("one and a half at 5 bits")
            << Line(110, 5, P::None, S::OneAndHalf) << true << NOPARITY << ONE5STOPBITS;
        QTest::newRow("256000 from a stored index")
            << Line(256000, 8, P::None, S::One) << true << NOPARITY << ONESTOPBIT;
        QTest::newRow("one and a half at 8 bits is refused")
            << Line(4800, 8, P::None, S::OneAndHalf) << false << 0 << 0;
        QTest::newRow("two at 5 bits is refused") << Line(4800, 5, P::None, S::Two) << false << 0 << 0;
        QTest::newRow("4 data bits are refused") << Line(4800, 4, P::None, S::One) << false << 0 << 0;
    }
    void lineSettingsBecomeTheControlBlock() {
        QFETCH(LineSettings, line);
        QFETCH(bool, possible);
        QFETCH(int, parity);
        QFETCH(int, stopBits);
        const DCB current = BusyPort();
        DCB made{};
        QCOMPARE(WinSerialDevice::MakeDcb(current, line, made), possible);
        if (!possible) return;
        QCOMPARE(made.DCBlength, DWORD(sizeof(DCB)));
        QCOMPARE(made.BaudRate, DWORD(line.bitsPerSecond));
        QCOMPARE(int(made.ByteSize), line.dataBits);
        QCOMPARE(int(made.Parity), parity);
        QCOMPARE(int(made.StopBits), stopBits);
        // Bytes untouched both ways, no flow control of any kind, DTR and RTS on.
        QVERIFY(made.fBinary);
        QVERIFY(!made.fOutxCtsFlow && !made.fOutxDsrFlow && !made.fDsrSensitivity);
        QVERIFY(!made.fOutX && !made.fInX);
        QVERIFY(!made.fErrorChar && !made.fNull && !made.fAbortOnError);
        QCOMPARE(int(made.fDtrControl), DTR_CONTROL_ENABLE);
        QCOMPARE(int(made.fRtsControl), RTS_CONTROL_ENABLE);
        // Drivers refuse equal XON and XOFF characters, even unused.
        QVERIFY(made.XonChar != made.XoffChar);
        // What the line does not concern stays as the port had it.
        QCOMPARE(int(made.XonLim), 123);
        QCOMPARE(made.ErrorChar, '?');
    }

    void driverChangesAreRefusals_data() {
        QTest::addColumn<int>("askedBits");
        QTest::addColumn<int>("keptBits");
        QTest::addColumn<int>("askedParity");
        QTest::addColumn<int>("keptParity");
        QTest::addColumn<uint>("askedSpeed");
        QTest::addColumn<uint>("keptSpeed");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("all kept") << 8 << 8 << NOPARITY << NOPARITY << 4800u << 4800u << true;
        QTest::newRow("pty forces 8 bits, no parity") << 7 << 8 << EVENPARITY << NOPARITY << 4800u << 4800u << false;
        QTest::newRow("mark turned into odd") << 7 << 7 << MARKPARITY << ODDPARITY << 4800u << 4800u << false;
        QTest::newRow("56000 rounded to 57600") << 8 << 8 << NOPARITY << NOPARITY << 56000u << 57600u << true;
        QTest::newRow("128000 fell to 115200") << 8 << 8 << NOPARITY << NOPARITY << 128000u << 115200u << false;
    }
    void driverChangesAreRefusals() {
        QFETCH(int, askedBits);
        QFETCH(int, keptBits);
        QFETCH(int, askedParity);
        QFETCH(int, keptParity);
        QFETCH(uint, askedSpeed);
        QFETCH(uint, keptSpeed);
        QFETCH(bool, accepted);
        DCB wanted{};
        DCB actual{};
        wanted.ByteSize = BYTE(askedBits);
        wanted.Parity = BYTE(askedParity);
        wanted.BaudRate = askedSpeed;
        actual.ByteSize = BYTE(keptBits);
        actual.Parity = BYTE(keptParity);
        actual.BaudRate = keptSpeed;
        QCOMPARE(WinSerialDevice::DriverKept(wanted, actual), accepted);
    }

    void portNamesReachEveryPort_data() {
        QTest::addColumn<QString>("device");
        QTest::addColumn<QString>("path");
        QTest::newRow("COM1") << "COM1"
                              << "\\\\.\\COM1";
        QTest::newRow("COM10 and above only through \\\\.\\") << "COM12"
                                                              << "\\\\.\\COM12";
        QTest::newRow("lower case") << "com5"
                                    << "\\\\.\\COM5";
        QTest::newRow("already a device path") << "\\\\.\\COM7"
                                               << "\\\\.\\COM7";
        QTest::newRow("COM0 is no port") << "COM0"
                                         << "COM0";
        QTest::newRow("a file stays a file") << "C:\\Zakázky\\port.txt"
                                             << "C:\\Zakázky\\port.txt";
    }
    void portNamesReachEveryPort() {
        QFETCH(QString, device);
        QFETCH(QString, path);
        QCOMPARE(WinSerialDevice::DevicePath(device), path);
    }

    void onlyAnExistingSerialPortOpens_data() {
        QTest::addColumn<QString>("device");
        QTest::newRow("a port that is not there") << "COM250";
        QTest::newRow("port 0") << "COM0";
        QTest::newRow("a file") << "file";
        QTest::newRow("the null device") << "NUL";
    }
    void onlyAnExistingSerialPortOpens() {
        QFETCH(QString, device);
        QTemporaryDir dir;
        if (device == QLatin1String("file")) {
            device = dir.filePath("měření.sdt");
            QFile file(device);
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        SerialLink link(CreatePlatformSerialDevice);
        link.SetDevice(device);
        QVERIFY(!link.Open(true));
        QVERIFY(!link.IsOpen());
        QVERIFY(!link.Open(false));
    }
};

QTEST_GUILESS_MAIN(WinSerialDeviceTest)
#include "WinSerialDeviceTest.moc"
