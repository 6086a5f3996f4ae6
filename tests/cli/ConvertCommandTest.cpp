// tarvo-cli convert's reports: the receipt line, the finding about the other
// instrument's form, --set DeviceType=auto and the exit code; and what every
// writer of the programs leaves when the disk refuses its file half way.

#include "tests/cli/CliRun.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QTest>

class ConvertCommandTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void reportsOnStderr_data() {
        QTest::addColumn<QByteArray>("measured");
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("written");  // "" when nothing may be written
        QTest::addColumn<QString>("messages");
        const QByteArray nts350 = TestFiles::Example("nts350-job");
        const QByteArray nts660 = TestFiles::Example("nts660-job");
        QTest::newRow("receipt of a clean transfer")
            << nts350 << QStringList{"--set", "DeviceType=0"} << 0 << ".zap"
            << "Rozpoznáno: stanoviska 2, orientace 3, záměry s délkou 5, záměry jen úhly 1, body se souřadnicemi "
               "3, kódy 4. Přeskočeno: bajty mimo záznamy 0, nedokončené záznamy 0. Kontrola zápisníku: 1 chybné, "
               "0 podezřelé. Zapsáno: job.zap, job.asc, job.cod, job_kontrola.txt.\n";
        QTest::newRow("the .200 copy is in the receipt")
            << nts350 << QStringList{"--set", "DeviceType=0", "--set", "Flag=0x020"} << 0 << ".200"
            << "Zapsáno: job.200, job.zap, job.asc, job.cod, job_kontrola.txt.\n";
        QTest::newRow("other instrument without auto: said, nothing written, exit 1")
            << nts660 << QStringList{"--set", "DeviceType=0"} << 1 << ""
            << "Převést ho tentokrát jako data ve tvaru NTS-660? Nastavení přístroje se nezmění.\n"
               "-> Ne (podle tvaru dat je převede volba --set DeviceType=auto)\n";
        QTest::newRow("other instrument with a record of the set one: written, still exit 1")
            << nts660 + "_'S1_(K1_)1.550_\r\n"
            << QStringList{"--set", "DeviceType=0"} << 1 << ".zap"
            << "Zapsáno: job.zap, job_kontrola.txt.\n";
        QTest::newRow("nothing written: exit 1")
            << QByteArray("Zakázka 12\r\n") << QStringList{"--set", "DeviceType=0"} << 1 << ""
            << "Nebyl zapsán žádný soubor: v datech není žádný záznam ve tvaru NTS-350.\n";
        QTest::newRow("DeviceType=auto converts as the instrument recognised")
            << nts660 << QStringList{"--set", "DeviceType=0", "--set", "DeviceType=auto"} << 0 << ".zap"
            << "Rozpoznaný tvar dat: NTS-660 (DeviceType=1).\n";
    }
    void reportsOnStderr() {
        QFETCH(QByteArray, measured);
        QFETCH(QStringList, options);
        QFETCH(int, exitCode);
        QFETCH(QString, written);
        QFETCH(QString, messages);
        CliRun run;
        const QDir dir(run.home.path());
        TestFiles::Write(dir.filePath("job.sdt"), measured);
        QVERIFY(run.Run(QStringList{"convert", "--set", "Flag=0"} + options + QStringList{dir.filePath("job.sdt")}));
        const QString stderrText = run.Errors();
        QVERIFY2(stderrText.contains(messages), qPrintable(stderrText));
        QCOMPARE(run.process.exitCode(), exitCode);
        if (written.isEmpty())
            QVERIFY(!QFile::exists(dir.filePath("job.zap")));
        else
            QVERIFY(QFile::exists(dir.filePath("job" + written)));
    }

    // The child may write no file beyond its first bytes (RLIMIT_FSIZE): a write
    // fails half way below the file layer, in whichever writer comes first.
    void aWriteFailingHalfWayKeepsEveryOldOutput_data() {
        QTest::addColumn<QStringList>("command");
        QTest::addColumn<QString>("failing");
        QTest::newRow(".zap, .asc and .cod")
            << QStringList{"convert", "--set", "Flag=0x10", "--million", "job.sdt"} << "job.zap";
        QTest::newRow(".200 copy") << QStringList{"convert", "--set", "Flag=0x30", "job.sdt"} << "job.200";
        QTest::newRow(".vod") << QStringList{"convert", "--mode", "horizontal", "job.sdt"} << "job.vod";
        QTest::newRow(".pol") << QStringList{"convert", "--mode", "headers", "job.sdt"} << "job.pol";
        QTest::newRow(".dxf") << QStringList{"dxf", "job.sdt"} << "job.dxf";
        QTest::newRow("upload --dump") << QStringList{"upload", "points", "--dump", "job.bin", "list.txt"} << "job.bin";
    }
    void aWriteFailingHalfWayKeepsEveryOldOutput() {
        QFETCH(QStringList, command);
        QFETCH(QString, failing);
        CliRun run;
        const QDir dir(run.home.path());
        TestFiles::Write(dir.filePath("job.sdt"), TestFiles::Example("nts350-job"));
        TestFiles::Write(dir.filePath("list.txt"), "P1 680000.12 1045000.50 245.70\r\n");
        const QStringList outputs{"job.zap", "job.asc", "job.cod", "job.200",
                                  "job.vod", "job.pol", "job.dxf", "job.bin"};
        for (const QString& output : outputs) TestFiles::Write(dir.filePath(output), "earlier " + output.toLatin1());
        const QStringList before = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden);

        run.process.setWorkingDirectory(dir.path());
        run.process.setChildProcessModifier([] { FileSizeLimit::Impose(16); });
        QVERIFY(run.Run(command + QStringList{"--set", "DeviceType=0", "--force"}));
        const QString stderrText = run.Errors();
        QCOMPARE(run.process.exitCode(), 1);
        QVERIFY2(stderrText.contains(failing), qPrintable(stderrText));
        for (const QString& output : outputs)
            QCOMPARE(TestFiles::Read(dir.filePath(output)), "earlier " + output.toLatin1());
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), before);
    }

    // No run writes over a file it reads, under its own name or through a link,
    // and an existing dump is replaced only after the question like any output.
    void aRunNeverWritesOverItsInput_data() {
        QTest::addColumn<QStringList>("command");
        QTest::addColumn<QString>("linked");  // an output made a link to the input first
        QTest::addColumn<QString>("kept");    // the file that must stay as it was
        QTest::addColumn<QString>("told");
        const QString same = QStringLiteral("je tentýž soubor jako vstup");
        QTest::newRow("measured data named as the coordinate list, --force")
            << QStringList{"convert", "--force", "raw.asc"} << ""
            << "raw.asc" << same;
        QTest::newRow("as the code list, no question asked")
            << QStringList{"convert", "--set", "Flag=0x0E", "raw.cod"} << ""
            << "raw.cod" << same;
        QTest::newRow("the field book a link to the measured data")
            << QStringList{"convert", "--force", "job.sdt"} << "job.zap"
            << "job.sdt" << same;
        QTest::newRow("the drawing a link to its text list") << QStringList{"dxf", "--force", "list.txt"} << "list.dxf"
                                                             << "list.txt" << same;
        QTest::newRow("the dump named as its list")
            << QStringList{"upload", "points", "--force", "--dump", "list.txt", "list.txt"} << ""
            << "list.txt" << same;
        QTest::newRow("an existing dump without --force")
            << QStringList{"upload", "points", "--set", "Flag=0x10", "--dump", "old.bin", "list.txt"} << ""
            << "old.bin"
            << "jen s volbou --force";
    }
    void aRunNeverWritesOverItsInput() {
        QFETCH(QStringList, command);
        QFETCH(QString, linked);
        QFETCH(QString, kept);
        QFETCH(QString, told);
        CliRun run;
        const QDir dir(run.home.path());
        const QByteArray measured = TestFiles::Example("nts350-job");
        for (const char* name : {"raw.asc", "raw.cod", "job.sdt"}) TestFiles::Write(dir.filePath(name), measured);
        TestFiles::Write(dir.filePath("list.txt"), "P1 680000.12 1045000.50 245.70\r\n");
        TestFiles::Write(dir.filePath("old.bin"), "an earlier dump");
        const QByteArray before = TestFiles::Read(dir.filePath(kept));
        if (!linked.isEmpty()) QVERIFY(QFile::link(dir.filePath(kept), dir.filePath(linked)));

        run.process.setWorkingDirectory(dir.path());
        QVERIFY(run.Run(command + QStringList{"--set", "DeviceType=0"}));
        const QString stderrText = run.Errors();
        QCOMPARE(run.process.exitCode(), 1);
        QVERIFY2(stderrText.contains(told) && stderrText.contains(kept), qPrintable(stderrText));
        QCOMPARE(TestFiles::Read(dir.filePath(kept)), before);
    }
};

QTEST_GUILESS_MAIN(ConvertCommandTest)
#include "ConvertCommandTest.moc"
