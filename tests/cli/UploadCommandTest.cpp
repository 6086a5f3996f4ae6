// tarvo-cli upload --port against the simulated instrument: every byte it checks
// is the byte the dump would hold.

#include "tests/support/TestFiles.h"
#include "tools/simulator/InstrumentSimulator.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

class UploadCommandTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void sendsThroughThePortWhatTheDumpHolds_data() {
        QTest::addColumn<QString>("kind");
        QTest::newRow("points") << "points";
        QTest::newRow("codes") << "codes";
    }
    void sendsThroughThePortWhatTheDumpHolds() {
        QFETCH(QString, kind);
        InstrumentSimulator instrument;
        QString error;
        QVERIFY2(instrument.Open(error), qPrintable(error));
        instrument.StartReceivingUpload();

        QTemporaryDir home;
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_CONFIG_HOME", home.path());
        process.setProcessEnvironment(environment);
        process.setStandardInputFile(QProcess::nullDevice());
        const QString list = TestFiles::DataDir("cli") + "/upload-" + kind + ".txt";
        process.start(QStringLiteral(TARVO_CLI), {"upload", kind, "--set", "DeviceType=0", "--set", "Flag=30", "--port",
                                                  instrument.DevicePath(), list});
        QVERIFY(process.waitForFinished(30000));
        QCOMPARE(process.exitCode(), 0);
        QVERIFY(process.readAllStandardOutput().startsWith("Odeslan"));

        const InstrumentSimulator::UploadReport report = instrument.WaitUpload(5000);
        QVERIFY2(report.Ok(), qPrintable(report.Describe()));
        const QByteArray dump = TestFiles::Read(TestFiles::DataDir("cli") + "/upload-" + kind + ".dump");
        QCOMPARE(report.bytes, dump.size());
        QCOMPARE(report.stream, InstrumentSimulator::CheckUpload(dump).stream);
    }

    void refusedPortSendsNothing() {
        QProcess process;
        process.start(QStringLiteral(TARVO_CLI),
                      {"upload", "points", "--set", "DeviceType=0", "--port", "/nonexistent/tty",
                       TestFiles::DataDir("cli") + "/upload-points.txt"});
        QVERIFY(process.waitForFinished(15000));
        QCOMPARE(process.exitCode(), 1);
        QVERIFY(QString::fromUtf8(process.readAllStandardError()).contains(QStringLiteral("Špatné nastavení")));
    }
};

QTEST_GUILESS_MAIN(UploadCommandTest)
#include "UploadCommandTest.moc"
