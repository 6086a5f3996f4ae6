// tarvo-cli's command lines as a user types them: one usage error and one help for
// every command, and no success for output that could not be written.

#include "tests/cli/CliRun.h"
#include "tests/support/TestFiles.h"

#include <QDir>
#include <QTest>

namespace {

QString PointList() { return TestFiles::DataDir("cli") + "/upload-points.txt"; }

}  // namespace

class CommandLineTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void usageErrorIsTheSameInEveryCommand_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("message");
        QTest::newRow("receive, value missing")
            << QStringList{"receive", "--port"} << "Volba --port potřebuje hodnotu ZAŘÍZENÍ.";
        QTest::newRow("upload, value missing")
            << QStringList{"upload", "points", "x.txt", "--dump"} << "Volba --dump potřebuje hodnotu VÝSTUP.";
        QTest::newRow("convert, value missing") << QStringList{"convert", "x.sdt", "--mode"}
                                                << "Volba --mode potřebuje hodnotu full|horizontal|headers|dxf.";
        QTest::newRow("dxf, --set without its value")
            << QStringList{"dxf", "x.sdt", "--set"} << "Volba --set potřebuje hodnotu NÁZEV=HODNOTA.";
        QTest::newRow("receive, unknown option")
            << QStringList{"receive", "--bogus", "x.sdt"} << "Neznámá volba --bogus.";
        QTest::newRow("upload, unknown option")
            << QStringList{"upload", "points", "--bogus", "--dump", "o", "x"} << "Neznámá volba --bogus.";
        QTest::newRow("convert, unknown option")
            << QStringList{"convert", "--bogus", "x.sdt"} << "Neznámá volba --bogus.";
        QTest::newRow("dxf, unknown option") << QStringList{"dxf", "--bogus", "x.sdt"} << "Neznámá volba --bogus.";
        QTest::newRow("upload, --million means nothing")
            << QStringList{"upload", "points", "--million", "--dump", "o", "x"}
            << "Volba --million u příkazu upload nemá význam.";
        QTest::newRow("receive, bad --set")
            << QStringList{"receive", "--set", "Foo=1", "x.sdt"} << "Neznámé nastavení Foo.";
        QTest::newRow("dxf, a drawing option is 0 or 1")
            << QStringList{"dxf", "--set", "DXF_3D=2", "x.txt"} << "Hodnota 2 pro DXF_3D musí být 0 nebo 1.";
        QTest::newRow("dxf, a negative drawing option")
            << QStringList{"dxf", "--set", "DXF_3D=-1", "x.txt"} << "Hodnota -1 pro DXF_3D musí být 0 nebo 1.";
        QTest::newRow("convert, a mean coordinate that is no number")
            << QStringList{"convert", "--set", "JX=abc", "x.sdt"} << "Hodnota abc pro JX není číslo.";
        QTest::newRow("dxf, a mean height with text after its number")
            << QStringList{"dxf", "--set", "JH=320m", "x.sdt"} << "Hodnota 320m pro JH není číslo.";
        QTest::newRow("check, a negative limit") << QStringList{"check", "--set", "CHK_Height=-0.01", "x.sdt"}
                                                 << "Hodnota -0.01 pro CHK_Height není nezáporné číslo.";
        QTest::newRow("check, a limit that is no number") << QStringList{"check", "--set", "CHK_Range=nan", "x.sdt"}
                                                          << "Hodnota nan pro CHK_Range není nezáporné číslo.";
        QTest::newRow("check, two files")
            << QStringList{"check", "a.sdt", "b.sdt"} << "Zadejte právě jeden soubor měřených dat.";
        QTest::newRow("check, unknown option") << QStringList{"check", "--bogus", "x.sdt"} << "Neznámá volba --bogus.";
        // Each value has its range: nothing wraps or passes outside it.
        QTest::newRow("convert, a Flag beyond 16 bits") << QStringList{"convert", "--set", "Flag=0x10000", "x.sdt"}
                                                        << "Hodnota 0x10000 pro Flag leží mimo rozsah 0 až 65535.";
        QTest::newRow("convert, an instrument that is none")
            << QStringList{"convert", "--set", "DeviceType=65536", "x.sdt"}
            << "Hodnota 65536 pro DeviceType leží mimo rozsah 0 až 1.";
        QTest::newRow("dxf, a scale beyond the list") << QStringList{"dxf", "--set", "DXF_Ratio=300", "x.sdt"}
                                                      << "Hodnota 300 pro DXF_Ratio leží mimo rozsah 0 až 8.";
        QTest::newRow("convert, a height above any place on Earth")
            << QStringList{"convert", "--set", "JH=1e15", "x.sdt"}
            << "Hodnota 1e15 pro JH leží mimo rozsah -2000 až 9000.";
        QTest::newRow("convert, a height near the Earth's centre")
            << QStringList{"convert", "--set", "JH=-3188698", "x.sdt"}
            << "Hodnota -3188698 pro JH leží mimo rozsah -2000 až 9000.";
        QTest::newRow("receive, an average X outside S-JTSK")
            << QStringList{"receive", "--set", "JX=12", "x.sdt"}
            << "Hodnota 12 pro JX leží mimo rozsah 0 nebo 890000 až 1380000.";
        QTest::newRow("upload, a port number that would wrap")
            << QStringList{"upload", "points", "--set", "CommPort=256", "--dump", "o", "x"}
            << "Hodnota 256 pro CommPort leží mimo rozsah 0 až 255.";
    }
    void usageErrorIsTheSameInEveryCommand() {
        QFETCH(QStringList, arguments);
        QFETCH(QString, message);
        CliRun run;
        QVERIFY(run.Run(arguments));
        QCOMPARE(run.process.exitCode(), 2);
        const QString usage = "Použití: tarvo-cli " + arguments.first();
        QCOMPARE(run.Errors().left(message.size() + 2 + usage.size()), message + "\n\n" + usage);
    }

    // A profile value outside its range is told on stderr unless a --set of the run
    // gives it; the run goes on with the default.
    void profileValuesOutsideTheirRangeAreTold_data() {
        QTest::addColumn<QString>("set");
        QTest::addColumn<QString>("told");
        QTest::newRow("told") << QString("Flag=0")
                              << "Hodnota 745 pro JX v profilu je mimo rozsah 0 nebo 890000 až 1380000; platí výchozí "
                                 "1001000.\nProfil: %1. ";
        QTest::newRow("--set gives it") << QString("JX=1045000") << QString("Použít");
    }
    void profileValuesOutsideTheirRangeAreTold() {
        QFETCH(QString, set);
        QFETCH(QString, told);
        CliRun run;
        const QDir dir(run.home.path());
        QVERIFY(dir.mkpath("Tarvo1"));
        TestFiles::Write(dir.filePath("Tarvo1/Tarvo.conf"), "[Settings]\nJX=745\n");
        TestFiles::Write(dir.filePath("job.sdt"), TestFiles::Example("nts350-job"));
        QVERIFY(run.Run({"convert", "--set", "DeviceType=0", "--set", set, dir.filePath("job.sdt")}));
        QCOMPARE(run.process.exitCode(), 0);
        QVERIFY(run.Errors().startsWith(told.arg(dir.filePath("Tarvo1/Tarvo.conf"))));
    }

    void helpOfEveryCommand_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("receive -h") << QStringList{"receive", "-h"};
        QTest::newRow("upload -h") << QStringList{"upload", "-h"};
        QTest::newRow("convert --help after a file") << QStringList{"convert", "x.sdt", "--help"};
        QTest::newRow("dxf: help wins over an unknown option") << QStringList{"dxf", "--bogus", "-h"};
        QTest::newRow("check --help") << QStringList{"check", "--help"};
    }
    void helpOfEveryCommand() {
        QFETCH(QStringList, arguments);
        CliRun run;
        QVERIFY(run.Run(arguments));
        QCOMPARE(run.process.exitCode(), 0);
        QVERIFY(run.Output().startsWith("Použití: tarvo-cli " + arguments.first()));
        QVERIFY(run.Errors().isEmpty());
    }

    void outputThatCannotBeWrittenFails_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("onStdout");  // else stderr is the full device
        QTest::newRow("upload log") << QStringList{"upload", "points", "--force", "--dump", "DUMP", PointList()}
                                    << true;
        QTest::newRow("upload summary") << QStringList{"upload", "points", "--force", "--dump", "DUMP", PointList()}
                                        << false;
        QTest::newRow("command help") << QStringList{"convert", "--help"} << true;
        QTest::newRow("version") << QStringList{"--version"} << true;
    }
    void outputThatCannotBeWrittenFails() {
        QFETCH(QStringList, arguments);
        QFETCH(bool, onStdout);
        CliRun run;
        arguments.replaceInStrings("DUMP", run.home.filePath("list.dump"));
        if (onStdout)
            run.process.setStandardOutputFile("/dev/full");
        else
            run.process.setStandardErrorFile("/dev/full");
        QVERIFY(run.Run(arguments));
        QCOMPARE(run.process.exitCode(), 1);
        if (!onStdout) return;
        const QString errors = run.Errors();
        QVERIFY2(errors.endsWith("Při zápisu na standardní výstup došlo k chybě, výstup není úplný.\n"),
                 qPrintable(errors));
        QVERIFY2(!errors.contains(QStringLiteral("Odeslán")), "no summary claims the upload went well");
    }
};

QTEST_GUILESS_MAIN(CommandLineTest)
#include "CommandLineTest.moc"
