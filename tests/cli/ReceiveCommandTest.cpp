// tarvo-cli receive against the simulated instrument, as a user runs it.

#include "tests/cli/CliRun.h"
#include "tests/support/TestFiles.h"
#include "tools/simulator/InstrumentSimulator.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Waits until the port is open and the reception waits for data.
bool Waiting(QProcess& process) {
    QByteArray said;
    QDeadlineTimer deadline(10000);
    while (!deadline.hasExpired() && !said.contains("na data")) {
        process.waitForReadyRead(100);
        said += process.readAllStandardError();
    }
    return said.contains("na data");
}

}  // namespace

class ReceiveCommandTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void receivesUntilTheLineFallsSilent() {
        InstrumentSimulator instrument;
        QString error;
        QVERIFY2(instrument.Open(error), qPrintable(error));
        QTemporaryDir dir;
        const QString target = dir.filePath("job.sdt");
        CliRun run;
        run.Start({"receive", "--port", instrument.DevicePath(), target});
        QVERIFY(run.process.waitForStarted());
        QVERIFY(Waiting(run.process));
        const QByteArray framed = InstrumentSimulator::FrameAsNts350(QByteArray(1000, 'x'));
        instrument.StartSending(framed, InstrumentSimulator::Nts350Plan(0));
        QVERIFY(run.process.waitForFinished(15000));
        QCOMPARE(run.process.exitCode(), 0);
        QCOMPARE(TestFiles::Read(target), framed);
    }

    void convertsWhatArrivedAsAfterF1() {
        InstrumentSimulator instrument;
        QString error;
        QVERIFY2(instrument.Open(error), qPrintable(error));
        QTemporaryDir dir;
        const QString target = dir.filePath("job.sdt");
        const QByteArray measured = TestFiles::Read(TestFiles::DataDir("convert") + "/nts350-job.sdt");
        QVERIFY(!measured.isEmpty());
        CliRun run;
        run.Start({"receive", "--set", "DeviceType=0", "--set", "Flag=0", "--convert", "--port",
                   instrument.DevicePath(), target});
        QVERIFY(run.process.waitForStarted());
        QVERIFY(Waiting(run.process));
        instrument.StartSending(InstrumentSimulator::FrameAsNts350(measured), InstrumentSimulator::Nts350Plan(0));
        QVERIFY(run.process.waitForFinished(15000));
        QCOMPARE(run.process.exitCode(), 0);
        QCOMPARE(TestFiles::Read(target), InstrumentSimulator::FrameAsNts350(measured));
        for (const char* extension : {"job.zap", "job.asc", "job.cod"})
            QVERIFY2(QFile::exists(dir.filePath(extension)), extension);
    }

    // The line is lost after part of a job: the bytes that came are kept, and they
    // replace the job's outputs only with --convert-partial. Either way the run fails.
    void aBrokenTransferIsConvertedOnlyWhenAskedTo_data() {
        QTest::addColumn<QString>("option");
        QTest::addColumn<bool>("converted");
        QTest::newRow("--convert keeps the good outputs") << "--convert" << false;
        QTest::newRow("--convert-partial converts what came") << "--convert-partial" << true;
    }
    void aBrokenTransferIsConvertedOnlyWhenAskedTo() {
        QFETCH(QString, option);
        QFETCH(bool, converted);
        InstrumentSimulator instrument;
        QString error;
        QVERIFY2(instrument.Open(error), qPrintable(error));
        QTemporaryDir dir;
        const QString target = dir.filePath("job.sdt");
        TestFiles::Write(dir.filePath("job.zap"), "the job's good field book");
        const QByteArray framed =
            InstrumentSimulator::FrameAsNts350(TestFiles::Read(TestFiles::DataDir("convert") + "/nts350-job.sdt"));
        CliRun run;
        run.Start(
            {"receive", "--set", "DeviceType=0", "--set", "Flag=0", option, "--port", instrument.DevicePath(), target});
        QVERIFY(run.process.waitForStarted());
        QVERIFY(Waiting(run.process));
        InstrumentSimulator::SendPlan plan;
        plan.hangUpAfter = framed.size() / 2;
        instrument.StartSending(framed, plan);
        QVERIFY(run.process.waitForFinished(15000));
        QCOMPARE(run.process.exitCode(), 1);
        QCOMPARE(TestFiles::Read(target), framed.left(plan.hangUpAfter));
        QCOMPARE(TestFiles::Read(dir.filePath("job.zap")) != "the job's good field book", converted);
        const QString said = run.Errors();
        QVERIFY2(said.contains(converted ? "-> Ano (--convert-partial)"
                                         : "-> Ne (neúplná data převede jen volba --convert-partial)"),
                 qPrintable(said));
    }

    void interruptKeepsTheExistingFile() {
        InstrumentSimulator instrument;
        QString error;
        QVERIFY2(instrument.Open(error), qPrintable(error));
        QTemporaryDir dir;
        const QString target = dir.filePath("job.sdt");
        TestFiles::Write(target, "earlier job");
        CliRun run;
        run.Start({"receive", "--force", "--port", instrument.DevicePath(), target});
        QVERIFY(run.process.waitForStarted());
        QVERIFY(Waiting(run.process));
        instrument.StartSending(QByteArray(500, 'y'), {});
        QVERIFY(instrument.WaitSent(5000));
        run.process.terminate();
        QVERIFY(run.process.waitForFinished(15000));
        QCOMPARE(run.process.exitCode(), 1);
        QCOMPARE(TestFiles::Read(target), QByteArray("earlier job"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"job.sdt"});
    }

    void existingFileNeedsForce() {
        QTemporaryDir dir;
        const QString target = dir.filePath("job.sdt");
        TestFiles::Write(target, "earlier job");
        CliRun run;
        run.Start({"receive", "--port", "/nonexistent/tty", target});
        QVERIFY(run.process.waitForFinished(15000));
        QCOMPARE(run.process.exitCode(), 1);
        QVERIFY(run.Errors().contains("--force"));
        QCOMPARE(TestFiles::Read(target), QByteArray("earlier job"));
    }
};

QTEST_GUILESS_MAIN(ReceiveCommandTest)
#include "ReceiveCommandTest.moc"
