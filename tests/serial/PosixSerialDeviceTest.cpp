#include "serial/PosixSerialDevice.h"

#include "serial/SerialLink.h"
#include "tests/serial/SerialTestSupport.h"

#include <QTest>

#include <asm/termios.h>

extern "C" int ioctl(int fd, unsigned long request, ...);

Q_DECLARE_METATYPE(LineSettings)

using SerialTest::Line;

namespace {

// Every control call of the device, with what it set; the calls a pty refuses
// (DTR) succeed here, and with acceptAll the line settings are kept as set.
struct IoctlLog {
    QList<unsigned long> requests;
    QList<int> modemBits;
    termios2 lastSet{};
    bool acceptAll = false;

    PosixSerialDevice::IoctlFunction Function() {
        return [this](int fd, unsigned long request, void* argument) -> int {
            requests << request;
            if (request == TIOCMBIS || request == TIOCMBIC) {
                modemBits << *static_cast<int*>(argument);
                return 0;
            }
            if (request == TCSETS2) lastSet = *static_cast<termios2*>(argument);
            if (acceptAll && request == TCSETS2) return 0;
            if (acceptAll && request == TCGETS2 && lastSet.c_ospeed != 0) {
                *static_cast<termios2*>(argument) = lastSet;
                return 0;
            }
            return ::ioctl(fd, request, argument);
        };
    }
};

}  // namespace

class PosixSerialDeviceTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void lineSettingsBecomeTermios_data() {
        QTest::addColumn<LineSettings>("line");
        QTest::addColumn<bool>("possible");
        QTest::addColumn<uint>("framing");  // CSIZE | PARENB | PARODD | CMSPAR | CSTOPB
        using P = LineParity;
        using S = LineStopBits;
        QTest::newRow("4800 8N1") << Line(4800, 8, P::None, S::One) << true << uint(CS8);
        QTest::newRow("9600 7E1") << Line(9600, 7, P::Even, S::One) << true << uint(CS7 | PARENB);
        QTest::newRow("odd, two stop bits")
            << Line(1200, 8, P::Odd, S::Two) << true << uint(CS8 | PARENB | PARODD | CSTOPB);
        QTest::newRow("mark") << Line(4800, 7, P::Mark, S::One) << true << uint(CS7 | PARENB | PARODD | CMSPAR);
        QTest::newRow("space") << Line(4800, 7, P::Space, S::One) << true << uint(CS7 | PARENB | CMSPAR);
        QTest::newRow("one and a half at 5 bits") << Line(110, 5, P::None, S::OneAndHalf) << true << uint(CS5 | CSTOPB);
        QTest::newRow("6 bits") << Line(300, 6, P::None, S::One) << true << uint(CS6);
        QTest::newRow("one and a half at 8 bits is refused") << Line(4800, 8, P::None, S::OneAndHalf) << false << 0u;
        QTest::newRow("two at 5 bits is refused") << Line(4800, 5, P::None, S::Two) << false << 0u;
    }
    void lineSettingsBecomeTermios() {
        QFETCH(LineSettings, line);
        QFETCH(bool, possible);
        QFETCH(uint, framing);
        termios2 current{};
        current.c_iflag = ICRNL | IXON | ISTRIP | INPCK;
        current.c_oflag = OPOST | ONLCR;
        current.c_lflag = ICANON | ECHO | ISIG | IEXTEN;
        current.c_cflag = B38400 | CS7 | PARENB | CRTSCTS | HUPCL;
        current.c_cc[VMIN] = 1;
        current.c_cc[VSTART] = 0x11;
        current.c_cc[VSTOP] = 0x13;
        termios2 made{};
        QCOMPARE(PosixSerialDevice::MakeTermios(current, line, made), possible);
        if (!possible) return;
        QCOMPARE(uint(made.c_cflag & (CSIZE | PARENB | PARODD | CMSPAR | CSTOPB)), framing);
        QCOMPARE(uint(made.c_cflag & CBAUD), uint(BOTHER));
        QCOMPARE(uint((made.c_cflag >> IBSHIFT) & CBAUD), uint(BOTHER));
        QCOMPARE(made.c_ospeed, speed_t(line.bitsPerSecond));
        QCOMPARE(made.c_ispeed, speed_t(line.bitsPerSecond));
        // Raw bytes both ways, receiver on, modem lines and flow control off.
        QCOMPARE(made.c_iflag, tcflag_t(0));
        QCOMPARE(made.c_oflag, tcflag_t(0));
        QCOMPARE(made.c_lflag, tcflag_t(0));
        QVERIFY(made.c_cflag & CREAD);
        QVERIFY(made.c_cflag & CLOCAL);
        QVERIFY(!(made.c_cflag & CRTSCTS));
        QVERIFY(made.c_cflag & HUPCL);  // the port's own choice stays
        QCOMPARE(int(made.c_cc[VMIN]), 0);
        QCOMPARE(int(made.c_cc[VTIME]), 0);
        QCOMPARE(int(made.c_cc[VSTART]), 0);
        QCOMPARE(int(made.c_cc[VSTOP]), 0);
    }

    void driverChangesAreRefusals_data() {
        QTest::addColumn<uint>("askedFraming");
        QTest::addColumn<uint>("keptFraming");
        QTest::addColumn<uint>("askedSpeed");
        QTest::addColumn<uint>("keptSpeed");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("all kept") << uint(CS8) << uint(CS8) << 4800u << 4800u << true;
        QTest::newRow("pty forces 8 bits, no parity") << uint(CS7 | PARENB) << uint(CS8) << 4800u << 4800u << false;
        QTest::newRow("mark turned into odd")
            << uint(CS7 | PARENB | PARODD | CMSPAR) << uint(CS7 | PARENB | PARODD) << 4800u << 4800u << false;
        QTest::newRow("56000 rounded to 57600") << uint(CS8) << uint(CS8) << 56000u << 57600u << true;
        QTest::newRow("128000 fell to 115200") << uint(CS8) << uint(CS8) << 128000u << 115200u << false;
        QTest::newRow("odd flag without parity is no change")
            << uint(CS8) << uint(CS8 | PARODD) << 4800u << 4800u << true;
    }
    void driverChangesAreRefusals() {
        QFETCH(uint, askedFraming);
        QFETCH(uint, keptFraming);
        QFETCH(uint, askedSpeed);
        QFETCH(uint, keptSpeed);
        QFETCH(bool, accepted);
        termios2 wanted{};
        termios2 actual{};
        wanted.c_cflag = askedFraming;
        wanted.c_ospeed = askedSpeed;
        actual.c_cflag = keptFraming;
        actual.c_ospeed = keptSpeed;
        QCOMPARE(PosixSerialDevice::DriverKept(wanted, actual), accepted);
    }

    // A line without error counters marks damaged bytes; what Read hands on is the
    // bytes as they came, a mark counted, however the reads cut the stream.
    void marksAreTakenOutByteForByte_data() {
        QTest::addColumn<QList<QByteArray>>("reads");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("marked");
        QTest::newRow("plain bytes pass") << QList<QByteArray>{"_+P1_"} << QByteArray("_+P1_") << 0;
        QTest::newRow("a doubled 0xFF is one byte") << QList<QByteArray>{"a\xFF\xFF" "b"} << QByteArray("a\xFF" "b") << 0;
        QTest::newRow("a marked byte is the byte, counted")
            << QList<QByteArray>{QByteArray("a\xFF\0x", 4)} << QByteArray("ax") << 1;
        QTest::newRow("a break is a marked NUL")
            << QList<QByteArray>{QByteArray("\xFF\0\0", 3)} << QByteArray(1, '\0') << 1;
        QTest::newRow("a doubled 0xFF cut between reads") << QList<QByteArray>{"a\xFF",
                                                                               "\xFF"
                                                                               "b"}
                                                          << QByteArray(
                                                                 "a\xFF"
                                                                 "b")
                                                          << 0;
        QTest::newRow("a mark cut after its 0x00")
            << QList<QByteArray>{QByteArray("a\xFF\0", 3), "xb"} << QByteArray("axb") << 1;
    }
    void marksAreTakenOutByteForByte() {
        QFETCH(QList<QByteArray>, reads);
        QFETCH(QByteArray, bytes);
        QFETCH(int, marked);
        int state = 0;
        qint64 counted = 0;
        QByteArray out;
        for (QByteArray read : reads) {
            const qint64 left = PosixSerialDevice::Unmark(read.data(), read.size(), state, counted);
            out += read.left(left);
        }
        QCOMPARE(out, bytes);
        QCOMPARE(counted, qint64(marked));
        QCOMPARE(state, 0);
    }

    void ptyRefusesSevenBitsWithParity() {
        SerialTest::PtyLink pty;
        QVERIFY(pty.Open());
        pty.link.SetSettings(SerialTest::Stored(1, 5, 7, 2, 0));
        QVERIFY(!pty.link.Open(true));
        QVERIFY(!pty.link.IsOpen());
    }

    void dtrRisesWithTheReaderAndFallsOnEveryClose() {
        IoctlLog log;
        SerialTest::PtyLink pty([&log] { return std::make_unique<PosixSerialDevice>(log.Function()); });
        QVERIFY(pty.Open());
        SerialLink& link = pty.link;

        QVERIFY(link.Open(true));
        const qsizetype set = log.requests.indexOf(TCSETS2);
        const qsizetype raised = log.requests.indexOf(TIOCMBIS);
        QVERIFY(set >= 0);
        QVERIFY(raised > set);
        QCOMPARE(log.modemBits, QList<int>{TIOCM_DTR});
        link.Close();
        QVERIFY(log.requests.contains(TIOCMBIC));
        QCOMPARE(log.modemBits, (QList<int>{TIOCM_DTR, TIOCM_DTR}));

        log.requests.clear();
        log.modemBits.clear();
        QVERIFY(link.Open(false));
        QVERIFY(!log.requests.contains(TIOCMBIS));
        link.Close();
        QVERIFY(log.requests.contains(TIOCMBIC));
        // The exclusive hold ends with the close, so the port opens again.
        QVERIFY(log.requests.contains(TIOCNXCL));
        QVERIFY(link.Open(false));
        link.Close();
    }

    void markParityReachesTheDriver() {
        IoctlLog log;
        log.acceptAll = true;
        SerialTest::PtyLink pty([&log] { return std::make_unique<PosixSerialDevice>(log.Function()); });
        QVERIFY(pty.Open());
        pty.link.SetSettings(SerialTest::Stored(1, 14, 7, 3, 2));
        QVERIFY(pty.link.Open(false));
        QCOMPARE(log.lastSet.c_ospeed, speed_t(256000));
        QCOMPARE(uint(log.lastSet.c_cflag & (CSIZE | PARENB | PARODD | CMSPAR | CSTOPB)),
                 uint(CS7 | PARENB | PARODD | CMSPAR | CSTOPB));
        pty.link.Close();
    }
};

QTEST_GUILESS_MAIN(PosixSerialDeviceTest)
#include "PosixSerialDeviceTest.moc"
