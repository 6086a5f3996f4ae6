// tarvo-cli convert's reports: the receipt line, the finding about the other
// instrument and --set DeviceType=auto.

#include "tests/support/TestFiles.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

class ConvertCommandTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void reportsOnStderr_data() {
        QTest::addColumn<QString>("example");
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("written");  // "" when nothing may be written
        QTest::addColumn<QString>("messages");
        QTest::newRow("receipt of a clean transfer")
            << "nts350-job" << QStringList{"--set", "DeviceType=0"} << 0 << ".zap"
            << "Rozpoznáno: stanoviska 2, orientace 3, záměry s délkou 5, záměry jen úhly 1, body se souřadnicemi "
               "3, kódy 4. Přeskočeno: bajty mimo záznamy 0, nedokončené záznamy 0. Zapsáno: nts350-job.zap, "
               "nts350-job.asc, nts350-job.cod.\n";
        QTest::newRow("other instrument without auto: said, nothing written, exit 1")
            << "nts660-job" << QStringList{"--set", "DeviceType=0"} << 1 << ""
            << "Převést ho tentokrát jako data z přístroje NTS-660? Nastavení přístroje se nezmění.\n"
               "-> Ne (podle přístroje, ze kterého data jsou, je převede volba --set DeviceType=auto)\n";
        QTest::newRow("DeviceType=auto converts as the instrument recognised")
            << "nts660-job" << QStringList{"--set", "DeviceType=0", "--set", "DeviceType=auto"} << 0 << ".zap"
            << "Rozpoznaný přístroj: NTS-660 (DeviceType=1).\n";
    }
    void reportsOnStderr() {
        QFETCH(QString, example);
        QFETCH(QStringList, options);
        QFETCH(int, exitCode);
        QFETCH(QString, written);
        QFETCH(QString, messages);
        QTemporaryDir dir;
        TestFiles::Write(dir.filePath(example + ".sdt"),
                         TestFiles::Read(QStringLiteral(TARVO_SOURCE_DIR "/examples/") + example + ".sdt"));

        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_CONFIG_HOME", dir.path());
        environment.insert("HOME", dir.path());
        process.setProcessEnvironment(environment);
        process.setStandardInputFile(QProcess::nullDevice());
        process.start(QStringLiteral(TARVO_CLI), QStringList{"convert", "--set", "Flag=0"} + options +
                                                     QStringList{dir.filePath(example + ".sdt")});
        QVERIFY(process.waitForFinished(30000));
        const QString stderrText = QString::fromUtf8(process.readAllStandardError());
        QVERIFY2(stderrText.contains(messages), qPrintable(stderrText));
        QCOMPARE(process.exitCode(), exitCode);
        if (written.isEmpty())
            QVERIFY(!QFile::exists(dir.filePath(example + ".zap")));
        else
            QVERIFY(QFile::exists(dir.filePath(example + written)));
    }
};

QTEST_GUILESS_MAIN(ConvertCommandTest)
#include "ConvertCommandTest.moc"
