#include "serial/Reception.h"

#include "base/Cp1250.h"
#include "base/Texts.h"
#include "tests/serial/SerialTestSupport.h"
#include "tests/support/ScriptedPrompter.h"
#include "tests/support/TestFiles.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using SerialTest::PtyLink;

namespace {

// A reception on the simulated instrument, on a clock the test moves.
struct Setup {
    PtyLink pty;
    ScriptedPrompter prompter;
    qint64 now = 1000;
    Reception reception{pty.link, prompter, [this] { return now; }};
    QTemporaryDir dir;
    QString target = dir.filePath("job.sdt");

    bool Start() { return pty.Open() && reception.Start(target); }

    // Sends bytes and waits until the reader has them and their report has come.
    bool Deliver(const QByteArray& bytes, const InstrumentSimulator::SendPlan& plan = {}) {
        const qint64 before = pty.link.ArrivedTotal();
        pty.instrument.StartSending(bytes, plan);
        if (!pty.instrument.WaitSent(120000)) return false;
        QDeadlineTimer deadline(20000);
        while (pty.link.ArrivedTotal() < before + bytes.size() && !deadline.hasExpired()) QTest::qWait(5);
        QCoreApplication::processEvents();
        return pty.link.ArrivedTotal() == before + bytes.size();
    }

    // The files of the target's directory.
    QStringList Files() const { return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden); }
};

}  // namespace

class ReceptionTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void framedBurstsArriveByteForByte() {
        Setup setup;
        TestFiles::Write(setup.target, "an older job");
        QVERIFY(setup.Start());
        QCOMPARE(Cp1250::ToUnicode(setup.reception.StatusText()), QStringLiteral("Čekám na data ..."));
        QByteArray records;
        for (int i = 0; i < 40; ++i)
            records += "_+P" + QByteArray::number(i) + "_ ?+00012345m+0912345++1234567d+00012300t00+00000_*AB_,1.600_";
        const QByteArray framed = InstrumentSimulator::FrameAsNts350(records);
        QVERIFY(setup.Deliver(framed, InstrumentSimulator::Nts350Plan(0)));
        QCOMPARE(setup.reception.CurrentState(), Reception::State::Receiving);
        QVERIFY(setup.reception.StatusText().startsWith(Cp1250::FromUtf8("Přijímám data ... ")));

        setup.now += Reception::kEndOfDataMs;
        setup.reception.Tick();
        QVERIFY(setup.reception.IsRunning());  // at most 2 s of silence: not yet
        setup.now += 1;
        setup.reception.Tick();
        QCOMPARE(setup.reception.CurrentState(), Reception::State::Completed);
        QCOMPARE(TestFiles::Read(setup.target), framed);
        QCOMPARE(setup.reception.StoredBytes(), framed.size());
        QCOMPARE(setup.Files(), QStringList{"job.sdt"});
        QVERIFY(!setup.pty.link.IsOpen());
        QVERIFY(setup.prompter.messages.isEmpty());
    }

    void tenMegabytesAtFullSpeedLoseNothing() {
        Setup setup;
        QVERIFY(setup.Start());
        const QByteArray data = SerialTest::AllByteValues(10 * 1024 * 1024, 7);
        QVERIFY(setup.Deliver(data));
        setup.now += Reception::kEndOfDataMs + 1;
        setup.reception.Tick();
        QCOMPARE(setup.reception.CurrentState(), Reception::State::Completed);
        const QByteArray stored = TestFiles::Read(setup.target);
        QCOMPARE(stored.size(), data.size());
        QVERIFY(stored == data);
    }

    void fiftyBytesOrFewerAreKept() {
        Setup setup;
        QVERIFY(setup.Start());
        const QByteArray data = SerialTest::AllByteValues(50, 3);
        QVERIFY(setup.Deliver(data));
        // No chunk reached the file, so the text still waits; the end comes anyway.
        QCOMPARE(Cp1250::ToUnicode(setup.reception.StatusText()), QStringLiteral("Čekám na data ..."));
        setup.now += Reception::kEndOfDataMs + 1;
        setup.reception.Tick();
        QCOMPARE(setup.reception.CurrentState(), Reception::State::Completed);
        QCOMPARE(TestFiles::Read(setup.target), data);
    }

    void nothingArrivedNeverEnds() {
        Setup setup;
        QVERIFY(setup.Start());
        setup.now += 60000;
        setup.reception.Tick();
        QCOMPARE(setup.reception.CurrentState(), Reception::State::Waiting);
        setup.reception.Cancel();
        QVERIFY(setup.Files().isEmpty());
    }

    void stornoAfterSeveralChunksKeepsTheOldFile() {
        Setup setup;
        TestFiles::Write(setup.target, "the surveyor's earlier file");
        QVERIFY(setup.Start());
        QCOMPARE(setup.Files().size(), 2);  // the target and the file being received
        for (int burst = 0; burst < 5; ++burst) QVERIFY(setup.Deliver(SerialTest::AllByteValues(700, burst)));
        QVERIFY(setup.pty.link.ReceivedTotal() > 0);
        setup.reception.Cancel();
        QCOMPARE(setup.reception.CurrentState(), Reception::State::Cancelled);
        QCOMPARE(TestFiles::Read(setup.target), QByteArray("the surveyor's earlier file"));
        QCOMPARE(setup.Files(), QStringList{"job.sdt"});
        QVERIFY(!setup.pty.link.IsOpen());
    }

    void farSideVanishingKeepsEveryByteAndSaysSo() {
        Setup setup;
        TestFiles::Write(setup.target, "old");
        QVERIFY(setup.Start());
        const QByteArray chunked = SerialTest::AllByteValues(5000, 11);
        const QByteArray pending = "twenty pending bytes";
        QVERIFY(setup.Deliver(chunked));
        QVERIFY(setup.Deliver(pending));
        setup.pty.instrument.HangUp();
        QTRY_COMPARE(setup.reception.CurrentState(), Reception::State::Lost);
        QCOMPARE(TestFiles::Read(setup.target), chunked + pending);
        QCOMPARE(setup.Files(), QStringList{"job.sdt"});
        QCOMPARE(setup.prompter.messages.size(), 1);
        const QString told = Cp1250::ToUnicode(setup.prompter.messages[0].text);
        QVERIFY2(told.contains(QStringLiteral("přerušeno")) && told.contains(QStringLiteral("5020")), qPrintable(told));
    }

    void farSideVanishingBeforeAnyDataKeepsTheOldFile() {
        Setup setup;
        TestFiles::Write(setup.target, "old");
        QVERIFY(setup.Start());
        setup.pty.instrument.HangUp();
        QTRY_COMPARE(setup.reception.CurrentState(), Reception::State::Lost);
        QCOMPARE(TestFiles::Read(setup.target), QByteArray("old"));
        QCOMPARE(setup.Files(), QStringList{"job.sdt"});
        QCOMPARE(Cp1250::ToUnicode(setup.prompter.messages.value(0).text),
                 QStringLiteral("Spojení s přístrojem bylo přerušeno!\nŽádná data nebyla přijata."));
    }

    void refusedSettingsLeaveTheOldFile() {
        Setup setup;
        TestFiles::Write(setup.target, "old");
        SerialSettings serial;
        serial.baudRate = 15;
        setup.pty.link.SetSettings(serial);
        QVERIFY(!setup.Start());
        QCOMPARE(setup.reception.CurrentState(), Reception::State::Cancelled);
        QCOMPARE(TestFiles::Read(setup.target), QByteArray("old"));
        QCOMPARE(setup.Files(), QStringList{"job.sdt"});
        QCOMPARE(setup.prompter.messages.size(), 1);
        QCOMPARE(setup.prompter.messages[0].text, Text(Texts::kBadCommSettings) + '\n' + Text(Texts::kPortNotChosen) +
                                                      '\n' + Text(Texts::kReceptionPortAdvice));
        QCOMPARE(setup.prompter.messages[0].icon, MessageIcon::Exclamation);
    }

    void uncreatableTargetIsReportedNamingIt() {
        Setup setup;
        QVERIFY(setup.pty.Open());
        const QString target = setup.dir.filePath("missing/job.sdt");
        QVERIFY(!setup.reception.Start(target));
        QCOMPARE(setup.reception.CurrentState(), Reception::State::Failed);
        QCOMPARE(setup.prompter.fileErrors.size(), 1);
        QCOMPARE(setup.prompter.fileErrors[0].kind, FileErrorKind::NotFound);
        QCOMPARE(setup.prompter.fileErrors[0].path, target);
        QVERIFY(!setup.pty.link.IsOpen());
    }
};

QTEST_GUILESS_MAIN(ReceptionTest)
#include "ReceptionTest.moc"
