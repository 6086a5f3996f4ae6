// tarvo-cli check over a hand-made job with three blunders: a backsight measured
// twice 32 mm apart, a point sighted three times, once at another zenith angle,
// and three stations carrying one XYZ line. The findings at their levels, the CSV
// form, the exit status, and the receipt of a conversion of the same job.

#include "tests/cli/CliRun.h"
#include "tests/support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QTest>

namespace {

QString BlunderJob() { return TestFiles::DataDir("check") + "/blunders-keyword.sdt"; }

const char kSuspiciousBacksight[] = "podezřelé;S2;S1;opakovaná orientace – poloha podél záměry;0.032;0.020\n";
const char kWrongHeight[] = "chybné;S2;S3;opakovaná záměra – výška;1.813;0.080\n";
const char kSharedXyz[] = "chybné;S2;S3,S4;souřadnice stanovisek – stanoviska se stejným řádkem XYZ;;\n";

}  // namespace

class CheckCommandTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void findingsAndExitStatus_data() {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QStringList>("stdoutHas");
        QTest::addColumn<QStringList>("stdoutLacks");
        QTest::addColumn<QString>("stderrHas");
        const QStringList job660{"--set", "DeviceType=1"};
        QTest::newRow("csv: header, one finding a line, exit 1 on a wrong one")
            << job660 + QStringList{"--csv"} << 1
            << QStringList{"úroveň;stanovisko;body;kontrola;hodnota;mez\n", kSharedXyz, kSuspiciousBacksight,
                           kWrongHeight}
            << QStringList{"Stanovisko"} << "Kontrola zápisníku: 2 chybné, 1 podezřelé.";
        QTest::newRow("protocol with the terminal's line ends")
            << job660 << 1
            << QStringList{"Stanovisko S2 (záznam 1)\n",
                           "PODEZŘELÉ: opakovaná orientace – poloha podél záměry, S1: 0.032 m (mez 0.020 m)",
                           "CHYBNÉ: opakovaná záměra – výška, S3: 1.813 m (mez 0.080 m); záznam 4"}
            << QStringList{"\r"} << "Kontrola zápisníku: 2 chybné, 1 podezřelé.";
        // Stations sharing one XYZ line are wrong whatever the limits.
        QTest::newRow("limits raised by --set: the height suspicious, the orientation passes")
            << job660 + QStringList{"--csv", "--set", "CHK_HeightWrong=2", "--set", "CHK_Position=0,05"} << 1
            << QStringList{"podezřelé;S2;S3;opakovaná záměra – výška;1.813;0.030\n", kSharedXyz}
            << QStringList{"chybné;S2;S3;", "opakovaná orientace"} << "Kontrola zápisníku: 1 chybné, 1 podezřelé.";
        QTest::newRow("other instrument's form without auto: nothing checked, exit 1")
            << QStringList{"--set", "DeviceType=0", "--csv"} << 1 << QStringList{} << QStringList{"úroveň"}
            << "Kontrola zápisníku neproběhla: v datech není žádný záznam ve tvaru NTS-350.";
    }
    void findingsAndExitStatus() {
        QFETCH(QStringList, options);
        QFETCH(int, exitCode);
        QFETCH(QStringList, stdoutHas);
        QFETCH(QStringList, stdoutLacks);
        QFETCH(QString, stderrHas);
        CliRun run;
        const QDir dir(run.home.path());
        TestFiles::Write(dir.filePath("job.sdt"), TestFiles::Read(BlunderJob()));
        QVERIFY(run.Run(QStringList{"check"} + options + QStringList{dir.filePath("job.sdt")}));
        const QString out = run.Output();
        const QString errors = run.Errors();
        QVERIFY2(errors.contains(stderrHas), qPrintable(errors));
        for (const QString& text : stdoutHas) QVERIFY2(out.contains(text), qPrintable(out));
        for (const QString& text : stdoutLacks) QVERIFY2(!out.contains(text), qPrintable(out));
        QCOMPARE(run.process.exitCode(), exitCode);
        // A check on its own writes no file beside the job.
        QCOMPARE(dir.entryList(QDir::Files), QStringList{"job.sdt"});
    }

    // F3 writes the protocol beside the MAPA2 files, which the check leaves alone.
    void conversionWritesTheProtocol() {
        CliRun run;
        const QDir dir(run.home.path());
        TestFiles::Write(dir.filePath("job.sdt"), TestFiles::Read(BlunderJob()));
        QVERIFY(run.Run(QStringList{"convert", "--set", "DeviceType=1", "--set", "Flag=0", dir.filePath("job.sdt")}));
        QVERIFY2(
            run.Errors().contains("Kontrola zápisníku: 2 chybné, 1 podezřelé. Zapsáno: job.zap, job_kontrola.txt."),
            qPrintable(run.Errors()));
        QCOMPARE(run.process.exitCode(), 0);
        const QByteArray protocol = TestFiles::Read(dir.filePath("job_kontrola.txt"));
        QVERIFY(
            protocol.startsWith("\xEF\xBB\xBF"
                                "Kontrola zápisníku: 2 chybná zjištění, 1 podezřelé zjištění\r\n"));
        QVERIFY(protocol.contains("CHYBNÉ: opakovaná záměra – výška, S3"));
    }
};

QTEST_GUILESS_MAIN(CheckCommandTest)
#include "CheckCommandTest.moc"
