// tarvo-cli upload --port against the simulated instrument: every byte it checks
// is the byte the dump would hold. And the check before sending, with and without
// --force and --check.

#include "tests/cli/CliRun.h"
#include "tests/serial/SerialTestSupport.h"
#include "tests/support/TestFiles.h"

#include <QFile>
#include <QTest>

#include <sys/resource.h>

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
        QTest::newRow("--check tells a NUL, the lines after it are read")
            << "--check"
            << "upload-points-cr-nul.txt" << 1
            << QStringLiteral(
                   "Seznam nepřijde do přístroje přesně tak, jak je napsán:\n"
                   "• Řádek 4: za „“ je nulový bajt, zbytek řádku se neodešle.\n"
                   "• Řádek 5 „P5 13“ se neodešle: nejsou v něm název bodu a dvě souřadnice.\n")
            << "";
        QTest::newRow("--check on a UTF-8 list: a character Windows-1250 lacks")
            << "--check"
            << "upload-points-utf8.txt" << 1
            << QStringLiteral(
                   "Seznam nepřijde do přístroje přesně tak, jak je napsán:\n"
                   "• Bod Pe?a (řádek 3): Windows-1250 nemá znak U+00F1, název přijde do přístroje jako Pe?a.\n")
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

    // Memory follows the data, not the line ends; a list beyond memory is refused
    // in words. tarvo-cli runs with 512 MB of address space.
    void listsWithinMemory_data() {
        QTest::addColumn<qint64>("blankLines");  // a file of this many LFs
        QTest::addColumn<qint64>("sparseSize");  // or a file of this many NULs, on no disk
        QTest::addColumn<QString>("told");
        QTest::newRow("32 million blank lines")
            << qint64(32) * 1024 * 1024 << qint64(0) << QStringLiteral("Nebyly nalezeny žádné platné body!");
        QTest::newRow("a list larger than memory")
            << qint64(0) << qint64(4) * 1024 * 1024 * 1024 << QStringLiteral("je příliš velký, nevejde se do paměti");
    }
    void listsWithinMemory() {
#if defined(__SANITIZE_ADDRESS__)
        QSKIP("the sanitizer's shadow memory does not fit a limited address space");
#endif
        QFETCH(qint64, blankLines);
        QFETCH(qint64, sparseSize);
        CliRun run;
        QFile list(run.home.filePath("list.txt"));
        QVERIFY(list.open(QIODevice::WriteOnly) && list.resize(sparseSize));
        for (qint64 written = 0; written < blankLines; written += 1 << 20) list.write(QByteArray(1 << 20, '\n'));
        list.close();

        run.process.setChildProcessModifier([] {
            rlimit limit{};
            getrlimit(RLIMIT_AS, &limit);
            limit.rlim_cur = rlim_t(512) << 20;
            setrlimit(RLIMIT_AS, &limit);
        });
        QVERIFY(run.Run({"upload", "points", "--set", "DeviceType=0", "--check", list.fileName()}, 120000));
        QCOMPARE(run.process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(run.process.exitCode(), 1);
        QFETCH(QString, told);
        QVERIFY(run.Errors().contains(told));
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
