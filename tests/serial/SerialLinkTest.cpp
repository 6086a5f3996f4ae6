#include "serial/SerialLink.h"

#include "base/Cp1250.h"
#include "base/OutputFile.h"
#include "serial/PortError.h"
#include "serial/SerialUploadPort.h"
#include "tests/serial/SerialTestSupport.h"
#include "tests/support/TestFiles.h"
#include "upload/UploadProtocol.h"

#include <QTemporaryDir>
#include <QTest>

using SerialTest::PtyLink;

class SerialLinkTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void outOfTableSettingsNeverOpen_data() {
        QTest::addColumn<int>("commPort");
        QTest::addColumn<int>("baudRate");
        QTest::addColumn<int>("parity");
        QTest::addColumn<int>("stopBits");
        QTest::newRow("port 0") << 0 << 5 << 0 << 0;
        QTest::newRow("speed 15") << 1 << 15 << 0 << 0;
        QTest::newRow("parity 5") << 1 << 5 << 5 << 0;
        QTest::newRow("stop bits 3") << 1 << 5 << 0 << 3;
    }
    void outOfTableSettingsNeverOpen() {
        QFETCH(int, commPort);
        QFETCH(int, baudRate);
        QFETCH(int, parity);
        QFETCH(int, stopBits);
        bool factoryCalled = false;
        SerialLink link([&factoryCalled] {
            factoryCalled = true;
            return CreatePlatformSerialDevice();
        });
        link.SetPortResolver([](int) { return QStringLiteral("/dev/null"); });
        link.SetSettings(SerialTest::Stored(commPort, baudRate, 8, parity, stopBits));
        QVERIFY(!link.Open(true));
        QVERIFY(!link.IsOpen());
        QVERIFY(!factoryCalled);
    }

    // A port that does not open says why, in words the user can act on.
    void failedOpeningSaysWhy_data() {
        QTest::addColumn<QString>("device");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("text");
        QTest::newRow("missing device: it does not exist, choose another")
            << "/nonexistent/ttyS9" << int(PortError::Kind::Missing)
            << "Zařízení /nonexistent/ttyS9 neexistuje (převodník není připojen nebo má jiný název).\nRADA";
        QTest::newRow("no terminal: not a serial port")
            << "/dev/null" << int(PortError::Kind::NotSerial) << "/dev/null není sériový port.\nRADA";
        QTest::newRow("no port chosen") << "" << int(PortError::Kind::NotChosen)
                                        << "Některý parametr komunikace není zvolen nebo není v nabídce.\nRADA";
    }
    void failedOpeningSaysWhy() {
        QFETCH(QString, device);
        QFETCH(int, kind);
        QFETCH(QString, text);
        SerialLink link;
        link.SetPortResolver([](int) { return QString(); });
        link.SetDevice(device);
        QVERIFY(!link.Open(true));
        QVERIFY(!link.IsOpen());
        QCOMPARE(int(link.OpenError().kind), kind);
        QCOMPARE(Cp1250::ToUnicode(PortErrorText(link.OpenError(), UserText{"RADA"})), text);
    }

    // Where other settings do not help, the message says what does instead.
    void reasonsWithTheirOwnRemedy_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("group");  // the device's owning group
        QTest::addColumn<QString>("text");
        const QString join = QStringLiteral(
            "K zařízení /dev/ttyUSB0 nemáte přístup. Přidejte svůj účet do skupiny %1 (příkazem sudo adduser $USER "
            "%1) a znovu se přihlaste.");
        const QString askAdministrator = QStringLiteral(
            "K zařízení /dev/ttyUSB0 nemáte přístup. Požádejte správce počítače, aby vám přístup "
            "k tomuto sériovému portu povolil.");
        QTest::newRow("no access names a group of serial devices: uucp")
            << int(PortError::Kind::NoAccess) << "uucp" << join.arg(QStringLiteral("uucp"));
        QTest::newRow("dialout") << int(PortError::Kind::NoAccess) << "dialout" << join.arg(QStringLiteral("dialout"));
        QTest::newRow("tty") << int(PortError::Kind::NoAccess) << "tty" << join.arg(QStringLiteral("tty"));
        QTest::newRow("owned by root: never advise joining root")
            << int(PortError::Kind::NoAccess) << "root" << askAdministrator;
        QTest::newRow("a group that grants more than ports")
            << int(PortError::Kind::NoAccess) << "disk" << askAdministrator;
        QTest::newRow("group unknown") << int(PortError::Kind::NoAccess) << "" << askAdministrator;
        QTest::newRow("busy port") << int(PortError::Kind::Busy) << "uucp"
                                   << "Port /dev/ttyUSB0 právě používá jiný program.";
        QTest::newRow("other failure gives the system's number")
            << int(PortError::Kind::System) << "uucp"
            << "Port /dev/ttyUSB0 nelze otevřít (chyba systému 5).\nRADA";
    }
    void reasonsWithTheirOwnRemedy() {
        QFETCH(int, kind);
        QFETCH(QString, group);
        QFETCH(QString, text);
        const PortError error{PortError::Kind(kind), QStringLiteral("/dev/ttyUSB0"), 5, group};
        QCOMPARE(Cp1250::ToUnicode(PortErrorText(error, UserText{"RADA"})), text);
    }

    void closeOnAClosedLinkDoesNothing() {
        PtyLink pty;
        QVERIFY(pty.Open());
        pty.link.Close();
        QVERIFY(pty.link.Open(true));
        pty.link.Close();
        pty.link.Close();
        QVERIFY(!pty.link.IsOpen());
        QVERIFY(!pty.link.Write("x"));
    }

    void readerStoresEveryReadAtOnce() {
        PtyLink pty;
        QVERIFY(pty.Open());
        QTemporaryDir dir;
        OutputFile file;
        QVERIFY(!file.Create(dir.filePath("in.sdt"), OutputFile::Buffering::None));
        pty.link.SetReceivedDataFile(&file);
        // The reader's reports arrive queued, on this thread.
        QList<qint64> received;
        // Reports still queued when the test ends go with this receiver, not to a
        // later test where received no longer exists.
        QObject receiver;
        connect(&pty.link, &SerialLink::Received, &receiver, [&received](qint64 total) { received << total; });
        QVERIFY(pty.link.Open(true));

        const QByteArray data = SerialTest::AllByteValues(3000);
        pty.instrument.StartSending(data, {});
        QVERIFY(pty.instrument.WaitSent(5000));
        QTRY_COMPARE(pty.link.ArrivedTotal(), qint64(3000));
        const QByteArray tail = "only 20 bytes here..";
        pty.instrument.StartSending(tail, {});
        QTRY_COMPARE(pty.link.ArrivedTotal(), qint64(3020));
        // In the file while the reader still runs, the last few bytes too.
        QCOMPARE(pty.link.ReceivedTotal(), qint64(3020));
        QCOMPARE(TestFiles::Read(dir.filePath("in.sdt")), data + tail);
        pty.link.SyncReceived();
        pty.link.Close();
        pty.link.SetReceivedDataFile(nullptr);
        QVERIFY(!file.Close());
        QTRY_VERIFY(!received.isEmpty());
        QCOMPARE(received.last(), qint64(3020));
    }

    void openCloseCyclesLeakNothing() {
        PtyLink pty;
        QVERIFY(pty.Open());
        QVERIFY(pty.link.Open(true));  // the first opening may set up lasting state
        pty.link.Close();
        const int descriptors = SerialTest::CountEntries("/proc/self/fd");
        const int threads = SerialTest::CountEntries("/proc/self/task");
        for (int cycle = 0; cycle < 200; ++cycle) {
            QVERIFY(pty.link.Open(cycle % 2 == 0));
            pty.link.Close();
        }
        // No more than before: a thread of the toolkit may end meanwhile.
        QVERIFY(SerialTest::CountEntries("/proc/self/fd") <= descriptors);
        QVERIFY(SerialTest::CountEntries("/proc/self/task") <= threads);
    }

    void farSideHangingUpEndsTheReader() {
        PtyLink pty;
        QVERIFY(pty.Open());
        int lost = 0;
        QObject receiver;
        connect(&pty.link, &SerialLink::Lost, &receiver, [&lost] { ++lost; });
        QVERIFY(pty.link.Open(true));
        pty.instrument.StartSending("abc", {});
        QTRY_COMPARE(pty.link.ArrivedTotal(), qint64(3));
        pty.instrument.HangUp();
        QTRY_COMPARE(lost, 1);
        QVERIFY(pty.link.ConnectionLost());
        pty.link.Close();
    }

    void uploadArrivesBlockForBlock() {
        PtyLink pty;
        QVERIFY(pty.Open());
        pty.instrument.StartReceivingUpload();
        SerialUploadPort port(pty.link);
        QVERIFY(port.OpenWithoutReader());
        QVERIFY(port.IsOpen());

        // Ten point records: 510 characters, four blocks, the last with 126.
        QByteArray stream;
        for (int i = 0; i < 10; ++i) {
            stream += QByteArray("_+P") + QByteArray::number(i).leftJustified(9, ' ') +
                      "_ x+045678123_ y+680000500_ z+000250250";
        }
        QCOMPARE(stream.size(), 510);
        QByteArray error;
        QVERIFY(port.Write(Preamble1(), error));
        QVERIFY(port.Write(Preamble2(), error));
        for (int block = 0; block * kBlockPayload < stream.size(); ++block) {
            QVERIFY(port.Write(
                BuildBlock(stream.mid(block * kBlockPayload, kBlockPayload), static_cast<unsigned>(block)), error));
        }
        QVERIFY(port.Write(EndRecord(), error));
        port.Close();

        const InstrumentSimulator::UploadReport report = pty.instrument.WaitUpload(5000);
        QVERIFY2(report.Ok(), qPrintable(report.Describe()));
        QCOMPARE(report.blocks, 4);
        QCOMPARE(report.stream, stream + "  ");
    }

    void instrumentNoticesBadBlocks_data() {
        QTest::addColumn<int>("offset");
        QTest::addColumn<QString>("fault");
        QTest::newRow("stream byte changed") << 17 + 40 << "checksum";
        QTest::newRow("block digit changed") << 17 + 129 << "digit";
        QTest::newRow("end record cut") << -1 << "no end record";
    }
    void instrumentNoticesBadBlocks() {
        QFETCH(int, offset);
        QFETCH(QString, fault);
        QByteArray bytes = Preamble1() + Preamble2() + BuildBlock("abc", 0) + EndRecord();
        QVERIFY(InstrumentSimulator::CheckUpload(bytes).Ok());
        if (offset < 0)
            bytes.chop(2);
        else
            bytes[offset] = static_cast<char>(bytes[offset] ^ 0x01);
        const InstrumentSimulator::UploadReport report = InstrumentSimulator::CheckUpload(bytes);
        QVERIFY(!report.Ok());
        QVERIFY2(report.faults.join('\n').contains(fault), qPrintable(report.faults.join('\n')));
    }
};

QTEST_GUILESS_MAIN(SerialLinkTest)
#include "SerialLinkTest.moc"
