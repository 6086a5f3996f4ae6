// tarvo-cli receive against the simulated instrument, as a user runs it.

#include "base/Cp1250.h"
#include "base/Texts.h"
#include "serial/PosixSerialDevice.h"
#include "tests/cli/CliRun.h"
#include "tests/serial/SerialTestSupport.h"
#include "tests/support/TestFiles.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

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

// tarvo-cli receive with the given options, started on the simulated instrument's
// line into job.sdt of a folder of its own.
struct Receiving {
    InstrumentSimulator instrument;
    QTemporaryDir dir;
    QString target = dir.filePath("job.sdt");
    CliRun run;

    // True once the reception waits for data.
    bool Start(const QStringList& options) {
        if (!SerialTest::OpenInstrument(instrument)) return false;
        run.Start(QStringList{"receive"} + options + QStringList{"--port", instrument.DevicePath(), target});
        return run.process.waitForStarted() && Waiting(run.process);
    }
};

}  // namespace

class ReceiveCommandTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void convertsWhatArrivedAsAfterF1() {
        const QByteArray measured = TestFiles::Read(TestFiles::DataDir("convert") + "/nts350-job.sdt");
        QVERIFY(!measured.isEmpty());
        Receiving receiving;
        QVERIFY(receiving.Start({"--set", "DeviceType=0", "--set", "Flag=0", "--convert"}));
        receiving.instrument.StartSending(InstrumentSimulator::FrameAsNts350(measured),
                                          InstrumentSimulator::Nts350Plan(0));
        QVERIFY(receiving.run.process.waitForFinished(15000));
        QCOMPARE(receiving.run.process.exitCode(), 0);
        QCOMPARE(TestFiles::Read(receiving.target), InstrumentSimulator::FrameAsNts350(measured));
        for (const char* extension : {"job.zap", "job.asc", "job.cod"})
            QVERIFY2(QFile::exists(receiving.dir.filePath(extension)), extension);
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
        Receiving receiving;
        TestFiles::Write(receiving.dir.filePath("job.zap"), "the job's good field book");
        const QByteArray framed =
            InstrumentSimulator::FrameAsNts350(TestFiles::Read(TestFiles::DataDir("convert") + "/nts350-job.sdt"));
        QVERIFY(receiving.Start({"--set", "DeviceType=0", "--set", "Flag=0", option}));
        InstrumentSimulator::SendPlan plan;
        plan.hangUpAfter = framed.size() / 2;
        receiving.instrument.StartSending(framed, plan);
        QVERIFY(receiving.run.process.waitForFinished(15000));
        QCOMPARE(receiving.run.process.exitCode(), 1);
        QCOMPARE(TestFiles::Read(receiving.target), framed.left(plan.hangUpAfter));
        QCOMPARE(TestFiles::Read(receiving.dir.filePath("job.zap")) != "the job's good field book", converted);
        const QString said = receiving.run.Errors();
        QVERIFY2(said.contains(converted ? "-> Ano (--convert-partial)"
                                         : "-> Ne (neúplná data převede jen volba --convert-partial)"),
                 qPrintable(said));
    }

    // Ctrl+C, a closed terminal and a shutdown end the reception with the old file
    // as it was and every byte that came kept beside it, named.
    void aSignalKeepsEveryByteBesideTheOldFile_data() {
        QTest::addColumn<int>("signal");
        QTest::newRow("Ctrl+C") << SIGINT;
        QTest::newRow("terminated") << SIGTERM;
        QTest::newRow("terminal closed") << SIGHUP;
    }
    void aSignalKeepsEveryByteBesideTheOldFile() {
        QFETCH(int, signal);
        Receiving receiving;
        TestFiles::Write(receiving.target, "earlier job");
        QVERIFY(receiving.Start({"--force"}));
        receiving.instrument.StartSending(QByteArray(500, 'y'), {});
        QVERIFY(receiving.instrument.WaitSent(5000));
        QTest::qWait(300);  // the bytes reach the reader
        QCOMPARE(::kill(static_cast<pid_t>(receiving.run.process.processId()), signal), 0);
        QVERIFY(receiving.run.process.waitForFinished(15000));
        QCOMPARE(receiving.run.process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(receiving.run.process.exitCode(), 1);
        QCOMPARE(TestFiles::Read(receiving.target), QByteArray("earlier job"));
        const QStringList files = QDir(receiving.dir.path()).entryList(QDir::Files);
        QCOMPARE(files.size(), 2);
        const QString kept = files[0] == "job.sdt" ? files[1] : files[0];
        QCOMPARE(TestFiles::Read(receiving.dir.filePath(kept)), QByteArray(500, 'y'));
        const QString said = receiving.run.Errors();
        QVERIFY2(said.contains(kept) && said.contains("zůstal beze změny"), qPrintable(said));
    }

    // With the preambles only the end record makes a transfer whole. The instrument,
    // stopped after the program, tells what it read: all it kept.
    void theEndRecordClosesATransferWithPreambles_data() {
        QTest::addColumn<bool>("preambles");
        QTest::addColumn<int>("endPauseMs");
        QTest::addColumn<bool>("cut");
        QTest::addColumn<QByteArray>("headline");  // none: whole, in place of the old file
        QTest::newRow("end record at once") << true << -1 << false << QByteArray();
        QTest::newRow("end record after 3 s") << true << 3000 << false << Text(Texts::kNoEndRecordHeadline);
        QTest::newRow("cable pulled before it") << true << -1 << true << Text(Texts::kConnectionLostHeadline);
        QTest::newRow("no preambles: the line falls silent") << false << -1 << false << QByteArray();
    }
    void theEndRecordClosesATransferWithPreambles() {
        QFETCH(bool, preambles);
        QFETCH(int, endPauseMs);
        QFETCH(bool, cut);
        QFETCH(QByteArray, headline);
        Receiving receiving;
        TestFiles::Write(receiving.target, "earlier job");
        QVERIFY(receiving.Start({"--force"}));
        const QByteArray framed = SerialTest::MeasuredTransfer(20);
        const QByteArray sent = preambles ? InstrumentSimulator::WithControlRecords(framed) : framed;
        const bool whole = headline.isEmpty();
        const QByteArray arrived = whole ? sent : sent.chopped(4);  // all but the end record
        receiving.instrument.StartSending(
            sent, {.burstPerRecord = true, .endPauseMs = endPauseMs, .hangUpAfter = cut ? arrived.size() : -1});
        QVERIFY(receiving.run.process.waitForFinished(15000));
        QCOMPARE(receiving.run.process.exitCode(), whole ? 0 : 1);
        QCOMPARE(TestFiles::Read(receiving.target), whole ? sent : QByteArray("earlier job"));
        const QStringList kept = QDir(receiving.dir.path()).entryList({QStringLiteral("*.part")}, QDir::Files);
        QCOMPARE(kept.size(), whole ? 0 : 1);
        const QString said = receiving.run.Errors();
        if (!whole) QCOMPARE(TestFiles::Read(receiving.dir.filePath(kept[0])), arrived);
        QVERIFY2(whole || (said.contains(Cp1250::ToUnicode(headline)) && said.contains(kept[0])), qPrintable(said));
        QVERIFY(receiving.instrument.WaitSent(5000));
        receiving.instrument.Stop();
        QCOMPARE(receiving.instrument.BytesSent() - receiving.instrument.DrainUnread(), arrived.size());
    }

    // The instrument counts what a reader took off a marking line, which holds a true 0xFF twice.
    void theInstrumentCountsWhatTheProgramRead() {
        InstrumentSimulator instrument;
        PosixSerialDevice port;
        QVERIFY(SerialTest::OpenInstrument(instrument) && port.Open(instrument.DevicePath()));
        QVERIFY(port.Configure(SerialTest::Line(4800, 8, LineParity::None, LineStopBits::One)));
        instrument.StartSending(SerialTest::AllByteValues(50000), {});
        char buffer[1000];
        qint64 read = 0;
        while (read < 1000 && port.WaitReadable() == SerialDevice::WaitResult::Readable)
            read += port.Read(buffer, 1000 - read);
        port.Close();
        instrument.Stop();
        QCOMPARE(instrument.BytesSent() - instrument.DrainUnread(), qint64(1000));
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
