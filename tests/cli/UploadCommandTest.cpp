// tarvo-cli upload --port against the simulated instrument: every byte it checks
// is the byte the dump would hold. And the check before sending, with and without
// --force and --check.

#include "tests/cli/CliRun.h"
#include "tests/serial/SerialTestSupport.h"
#include "tests/support/TestFiles.h"

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
        QVERIFY(SerialTest::OpenInstrument(instrument));
        instrument.StartReceivingUpload();

        CliRun run;
        const QString list = TestFiles::DataDir("cli") + "/upload-" + kind + ".txt";
        QVERIFY(run.Run({"upload", kind, "--set", "DeviceType=0", "--set", "Flag=30", "--force", "--port",
                         instrument.DevicePath(), list}));
        QCOMPARE(run.process.exitCode(), 0);
        QVERIFY(run.Output().startsWith("Odeslan"));

        const InstrumentSimulator::UploadReport report = instrument.WaitUpload(5000);
        QVERIFY2(report.Ok(), qPrintable(report.Describe()));
        const QByteArray dump = TestFiles::Read(TestFiles::DataDir("cli") + "/upload-" + kind + ".dump");
        QCOMPARE(report.bytes, dump.size());
        QCOMPARE(report.stream, InstrumentSimulator::CheckUpload(dump).stream);
    }

    // The check before sending: findings stop the upload unless --force is given
    // (the golden dumps are made with it); --check lists them all and sends nothing.
    void checkBeforeSending_data() {
        QTest::addColumn<QString>("option");
        QTest::addColumn<QString>("list");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("output");
        QTest::addColumn<QString>("messages");
        QTest::newRow("findings without --force: nothing sent")
            << "--dump"
            << "upload-points.txt" << 1 << ""
            << QStringLiteral(
                   "• Bod P5: X 2000000.001 přijde do přístroje jako 0.001.\n"
                   "• Název bodu ABCDEFGHIJKL se zkrátí na CDEFGHIJKL.\n\nOdeslat přesto?\n"
                   "-> Ne (seznam se přesto odešle jen s volbou --force)");
        QTest::newRow("--check lists every finding")
            << "--check"
            << "upload-codes.txt" << 1
            << QStringLiteral(
                   "Seznam nepřijde do přístroje přesně tak, jak je napsán:\n"
                   "• Řádek 3 „51,A“ se neodešle: číslo kódu 51 není v rozsahu 1 až 50.\n"
                   "• Kód 5 je v seznamu vícekrát: „STROM“, „ plot, old“.\n"
                   "• Text kódu 12 „ABCDEFGHIJKL“ se zkrátí na „ABCDEFGHIJ“.\n")
            << "";
        QTest::newRow("--check on a clean list") << "--check"
                                                 << "upload-points-cr-nul.txt" << 0 << "Kontrola nic nenašla"
                                                 << "";
    }
    void checkBeforeSending() {
        QFETCH(QString, option);
        QFETCH(QString, list);
        QFETCH(QString, output);
        QFETCH(QString, messages);
        CliRun run;
        const QString dump = run.home.filePath("upload.dump");
        QStringList arguments{"upload", list.contains("codes") ? "codes" : "points", "--set", "DeviceType=0", option};
        if (option == "--dump") arguments << dump;
        arguments << TestFiles::DataDir("cli") + "/" + list;
        QVERIFY(run.Run(arguments));
        QTEST(run.process.exitCode(), "exitCode");
        const QString printed = run.Output();
        const QString told = run.Errors();
        QVERIFY2(output.isEmpty() ? printed.isEmpty() : printed.startsWith(output), qPrintable(printed));
        QVERIFY2(told.contains(messages), qPrintable(told));
        QVERIFY(!QFile::exists(dump));
    }

    void refusedPortSendsNothing() {
        CliRun run;
        QVERIFY(run.Run({"upload", "points", "--set", "DeviceType=0", "--force", "--port", "/nonexistent/tty",
                         TestFiles::DataDir("cli") + "/upload-points.txt"}));
        QCOMPARE(run.process.exitCode(), 1);
        QVERIFY(run.Errors().contains(QStringLiteral("Špatné nastavení")));
    }
};

QTEST_GUILESS_MAIN(UploadCommandTest)
#include "UploadCommandTest.moc"
