#include "serial/Reception.h"

#include "base/Cp1250.h"
#include "base/Texts.h"
#include "serial/PosixSerialDevice.h"
#include "tests/serial/SerialTestSupport.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/ScriptedPrompter.h"
#include "tests/support/TestFiles.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <asm/termios.h>

extern "C" int ioctl(int fd, unsigned long request, ...);

using SerialTest::PtyLink;

namespace {

// The port's own error counters as a driver keeps them: every reading after the
// first adds the given errors.
struct CountingDriver {
    serial_icounter_struct added{};
    int readings = 0;

    std::unique_ptr<SerialDevice> Device() {
        return std::make_unique<PosixSerialDevice>([this](int fd, unsigned long request, void* argument) {
            if (request != TIOCGICOUNT) return ::ioctl(fd, request, argument);
            auto* counts = static_cast<serial_icounter_struct*>(argument);
            *counts = {};
            counts->parity = 7;  // errors from before this opening do not count
            if (readings++ > 0) {
                counts->parity += added.parity;
                counts->frame = added.frame;
                counts->overrun = added.overrun;
                counts->buf_overrun = added.buf_overrun;
            }
            return 0;
        });
    }
};

// A reception on the simulated instrument, on a clock the test moves.
struct Setup {
    CountingDriver driver;
    PtyLink pty{[this] { return driver.Device(); }};
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
        const QByteArray framed = SerialTest::MeasuredTransfer(40);
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

    // What arrives is in the file at once, not held in memory until a threshold or
    // the end: a program killed now keeps it.
    void everyByteIsInTheFileAtOnce_data() {
        QTest::addColumn<int>("size");
        QTest::newRow("three bytes") << 3;
        QTest::newRow("fifty bytes") << 50;
        QTest::newRow("a burst of 5000 bytes") << 5000;
    }
    void everyByteIsInTheFileAtOnce() {
        QFETCH(int, size);
        Setup setup;
        QVERIFY(setup.Start());
        const QByteArray data = SerialTest::AllByteValues(size, 3);
        QVERIFY(setup.Deliver(data));
        QVERIFY(setup.reception.IsRunning());
        QCOMPARE(setup.Files().size(), 1);
        QCOMPARE(TestFiles::Read(setup.dir.filePath(setup.Files()[0])), data);
        QTRY_COMPARE(setup.reception.StatusText(), ReceivingStatus(size));
    }

    // Only a whole transfer replaces the target. A broken one (the line lost, the
    // program told to end, silence before the end record of a transfer that opened
    // with the preambles) and Storno keep every byte: beside an older file, which
    // stays as it was, in a file the message names; a broken one takes the
    // target's name only where there was no file.
    void onlyAWholeTransferReplacesTheFile_data() {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<bool>("oldFile");
        QTest::addColumn<int>("end");  // 0 silence, 1 Storno, 2 told to end, 3 the far side hangs up
        QTest::addColumn<Reception::State>("state");
        QTest::addColumn<int>("left");  // ReceivedData
        QTest::addColumn<QString>("told");
        const QByteArray plain = SerialTest::MeasuredTransfer(20);
        const QByteArray opened = QByteArray(
                                      "\x02"
                                      "F00F000\x03\r\n\x02GC\x03\r\n") +
                                  plain;
        const QByteArray ended = opened + QByteArray("\x02\x04\r\n");
        const int whole = int(ReceivedData::Whole);
        const int none = int(ReceivedData::None);
        const int broken = int(ReceivedData::Broken);
        using S = Reception::State;
        QTest::newRow("silence ends a transfer without preambles") << plain << true << 0 << S::Completed << whole << "";
        QTest::newRow("silence after the end record") << ended << true << 0 << S::Completed << whole << "";
        QTest::newRow("silence before the end record, an old file")
            << opened << true << 0 << S::Lost << none << "koncovým záznamem";
        QTest::newRow("silence before the end record, no file")
            << opened << false << 0 << S::Lost << broken << "koncovým záznamem";
        QTest::newRow("Storno, an old file") << plain << true << 1 << S::Cancelled << none << "zůstal beze změny";
        QTest::newRow("Storno, no file") << plain << false << 1 << S::Cancelled << none << "zůstala uložena";
        QTest::newRow("told to end in the end wait, an old file") << ended << true << 2 << S::Lost << none << "ukončen";
        QTest::newRow("told to end, no file") << plain << false << 2 << S::Lost << broken << "ukončen";
        QTest::newRow("line lost after 3 bytes, an old file")
            << QByteArray("abc") << true << 3 << S::Lost << none << "přerušeno";
        QTest::newRow("line lost, no file") << plain << false << 3 << S::Lost << broken << "přerušeno";
    }
    void onlyAWholeTransferReplacesTheFile() {
        QFETCH(QByteArray, data);
        QFETCH(bool, oldFile);
        QFETCH(int, end);
        QFETCH(Reception::State, state);
        QFETCH(int, left);
        QFETCH(QString, told);
        Setup setup;
        const QByteArray old = "the surveyor's earlier file";
        if (oldFile) TestFiles::Write(setup.target, old);
        QVERIFY(setup.Start());
        QVERIFY(setup.Deliver(data));
        switch (end) {
            case 0:
                setup.now += Reception::kEndOfDataMs + 1;
                setup.reception.Tick();
                break;
            case 1:
                setup.reception.Cancel();
                break;
            case 2:
                setup.now += Reception::kEndOfDataMs / 2;
                setup.reception.Tick();
                setup.reception.Interrupt();
                break;
            default:
                setup.pty.instrument.HangUp();
                QTRY_VERIFY(!setup.reception.IsRunning());
        }
        QCOMPARE(setup.reception.CurrentState(), state);
        QCOMPARE(int(setup.reception.Left()), left);
        const bool inTarget = left != int(ReceivedData::None);
        if (inTarget)
            QCOMPARE(TestFiles::Read(setup.target), data);
        else if (oldFile)
            QCOMPARE(TestFiles::Read(setup.target), old);
        else
            QVERIFY(!QFile::exists(setup.target));
        const QString kept = setup.reception.KeptPath();
        QCOMPARE(kept.isEmpty(), inTarget);
        if (!inTarget) {
            QCOMPARE(TestFiles::Read(kept), data);
            QCOMPARE(Reception::FindLeftovers(setup.target), QList<QString>{QFileInfo(kept).absoluteFilePath()});
        }
        QCOMPARE(setup.Files().size(), int(oldFile || inTarget) + int(!inTarget));
        const QString message = Cp1250::ToUnicode(setup.prompter.messages.value(0).text);
        QCOMPARE(setup.prompter.messages.size(), told.isEmpty() ? 0 : 1);
        QVERIFY2(message.contains(told), qPrintable(message));
        if (!inTarget) QVERIFY2(message.contains(DisplayPathText(kept)), qPrintable(message));
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
        setup.pty.link.SetSettings(SerialTest::Stored(1, 15, 8, 0, 0));
        QVERIFY(!setup.Start());
        QCOMPARE(setup.reception.CurrentState(), Reception::State::Cancelled);
        QCOMPARE(TestFiles::Read(setup.target), QByteArray("old"));
        QCOMPARE(setup.Files(), QStringList{"job.sdt"});
        QCOMPARE(setup.prompter.messages.size(), 1);
        QCOMPARE(setup.prompter.messages[0].text, Text(Texts::kBadCommSettings) + '\n' + Text(Texts::kPortNotChosen) +
                                                      '\n' + Text(Texts::kReceptionPortAdvice));
        QCOMPARE(setup.prompter.messages[0].icon, MessageIcon::Exclamation);
    }

    // The disk takes only the first bytes: the reception ends at once, the count
    // stops, and what was stored stays in the file the message names (a file
    // that got nothing goes); the old target is untouched.
    void aDiskThatFillsEndsTheReceptionKeepingWhatWasStored_data() {
        QTest::addColumn<int>("room");
        QTest::newRow("part fits: kept and named") << 3000;
        QTest::newRow("nothing fits: no file stays") << 0;
    }
    void aDiskThatFillsEndsTheReceptionKeepingWhatWasStored() {
        QFETCH(int, room);
        Setup setup;
        TestFiles::Write(setup.target, "the surveyor's earlier file");
        QVERIFY(setup.Start());
        const QByteArray data = SerialTest::AllByteValues(20000, 5);
        {
            const FileSizeLimit limit(static_cast<rlim_t>(room));
            // The full disk may end the reception before every byte has arrived.
            setup.pty.instrument.StartSending(data, {});
            QTRY_COMPARE(setup.reception.CurrentState(), Reception::State::Failed);
        }
        QVERIFY(!setup.pty.link.IsOpen());
        QCOMPARE(setup.reception.StoredBytes(), qint64(room));
        QVERIFY(!setup.reception.StatusText().contains(QByteArray::number(room + 1)));
        QCOMPARE(TestFiles::Read(setup.target), QByteArray("the surveyor's earlier file"));
        QCOMPARE(setup.prompter.fileErrors.size(), 1);
        QCOMPARE(setup.prompter.fileErrors[0].path, setup.target);
        if (room == 0) {
            QCOMPARE(setup.Files(), QStringList{"job.sdt"});
            QVERIFY(setup.prompter.messages.isEmpty());
            return;
        }
        const QString kept = setup.reception.KeptPath();
        QCOMPARE(setup.Files(), (QStringList{"job.sdt", QFileInfo(kept).fileName()}));
        QCOMPARE(TestFiles::Read(kept), data.left(room));
        QCOMPARE(Cp1250::ToUnicode(setup.prompter.messages.value(0).text),
                 QStringLiteral("Přijatá data (3000 bajtů) zůstala uložena v souboru %1.").arg(kept));
    }

    // A reception that never ended (the program was killed) left its file: the next
    // one offers it, and only a Yes with a chosen name moves it; nothing is removed.
    void leftoversAreOfferedNeverRemoved_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("inUse");
        QTest::addColumn<Answer>("answer");
        QTest::addColumn<bool>("offered");
        QTest::addColumn<QString>("chosenName");
        QTest::addColumn<bool>("moved");
        const QByteArray data("received before the crash");
        QTest::newRow("kept under the chosen name") << data << false << Answer::Yes << true << "saved.sdt" << true;
        QTest::newRow("refused: it stays as it was") << data << false << Answer::No << true << "saved.sdt" << false;
        QTest::newRow("not under the name the new reception fills")
            << data << false << Answer::Yes << true << "job.sdt" << false;
        QTest::newRow("one being received now is not offered")
            << QByteArray("still arriving") << true << Answer::Yes << false << "saved.sdt" << false;
        QTest::newRow("an empty one holds nothing to offer")
            << QByteArray() << false << Answer::Yes << false << "saved.sdt" << false;
    }
    void leftoversAreOfferedNeverRemoved() {
        QFETCH(QByteArray, content);
        QFETCH(bool, inUse);
        QFETCH(Answer, answer);
        QFETCH(bool, offered);
        QFETCH(QString, chosenName);
        QFETCH(bool, moved);
        Setup setup;
        const QString leftover = setup.dir.filePath("old.sdt.tarvo-4f2a9c.part");
        OutputFile writer;
        if (inUse) QVERIFY(!writer.CreateNew(leftover, OutputFile::Buffering::None));
        TestFiles::Write(leftover, content);
        setup.prompter.defaultAnswer = answer;
        const QString chosen = setup.dir.filePath(chosenName);
        Reception::OfferLeftovers(setup.target, setup.prompter, [&] { return chosen; });

        QCOMPARE(setup.prompter.Count(Topic::ReceptionLeftover), offered ? 1 : 0);
        if (offered) QVERIFY(Cp1250::ToUnicode(setup.prompter.messages[0].text).contains(DisplayPathText(leftover)));
        QCOMPARE(QFile::exists(leftover), !moved);
        QCOMPARE(TestFiles::Read(moved ? chosen : leftover), content);
    }

    // The port's error counters at the end against those at the start: counted
    // errors give one warning after the reception, a clean line none.
    void lineErrorsAreReportedAfterTheReception_data() {
        QTest::addColumn<int>("parity");
        QTest::addColumn<int>("framing");
        QTest::addColumn<int>("overruns");
        QTest::addColumn<QString>("warning");
        QTest::newRow("clean line: no message") << 0 << 0 << 0 << QString();
        QTest::newRow("parity, framing and overruns counted")
            << 3 << 1 << 2
            << QStringLiteral(
                   "Upozornění!\nSériový port během příjmu zaznamenal chyby přenosu: chyba parity 3×, "
                   "chyba rámce 1×, přetečení vstupu 2×.\nPřijatá data nemusí být správná (rušení nebo "
                   "špatný kontakt kabelu); doporučujeme přenos opakovat.");
    }
    void lineErrorsAreReportedAfterTheReception() {
        QFETCH(int, parity);
        QFETCH(int, framing);
        QFETCH(int, overruns);
        QFETCH(QString, warning);
        Setup setup;
        setup.driver.added.parity = parity;
        setup.driver.added.frame = framing;
        setup.driver.added.overrun = overruns / 2;
        setup.driver.added.buf_overrun = overruns - overruns / 2;
        QVERIFY(setup.Start());
        QVERIFY(setup.Deliver(SerialTest::AllByteValues(700, 9)));
        setup.now += Reception::kEndOfDataMs + 1;
        setup.reception.Tick();
        QCOMPARE(setup.reception.CurrentState(), Reception::State::Completed);
        QCOMPARE(setup.prompter.messages.size(), warning.isEmpty() ? 0 : 1);
        if (!warning.isEmpty()) QCOMPARE(Cp1250::ToUnicode(setup.prompter.messages[0].text), warning);
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
