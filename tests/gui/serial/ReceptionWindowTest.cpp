#include "gui/serial/ReceptionWindow.h"

#include "base/Cp1250.h"
#include "gui/serial/ReceptionAnimation.h"
#include "tests/gui/NamedWidget.h"
#include "tests/serial/SerialTestSupport.h"
#include "tests/support/ScriptedPrompter.h"
#include "tests/support/TestFiles.h"

#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using SerialTest::PtyLink;

namespace {

struct Setup {
    PtyLink pty;
    ScriptedPrompter prompter;
    QTemporaryDir dir;
    QString target = dir.filePath("job.sdt");

    QStringList Files() const { return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden); }
};

}  // namespace

class ReceptionWindowTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void transferEndsTheWindowByItself() {
        Setup setup;
        QVERIFY(setup.pty.Open());
        TestFiles::Write(setup.target, "an older job");
        const QByteArray data = SerialTest::MeasuredTransfer(12);
        // The reception's clock stands still while the instrument sends; once every
        // byte is in, each reading finds the line silent for longer than the end of data.
        bool allArrived = false;
        qint64 now = 0;
        ReceptionWindow window(setup.pty.link, setup.prompter, setup.target, nullptr, [&] {
            if (allArrived) now += Reception::kEndOfDataMs + 1;
            return now;
        });
        QStringList statuses;
        bool animated = false;
        connect(&window.GetReception(), &Reception::StatusChanged, this,
                [&](const QByteArray& text) { statuses << Cp1250::ToUnicode(text); });
        QTimer::singleShot(50, this, [&] {
            // A check that fails here ends the window, so the test fails instead of waiting.
            const auto storno = qScopeGuard([&] {
                if (!allArrived) window.reject();
            });
            QCOMPARE(Widget<QLabel>(window, "statusLabel")->text(), QStringLiteral("Čekám na data ..."));
            QVERIFY(window.isVisible());
            QVERIFY(window.windowFlags() & Qt::FramelessWindowHint);
            setup.pty.instrument.StartSending(data, InstrumentSimulator::Nts350Plan(0));
            const auto* animation = Widget<ReceptionAnimation>(window, "receptionAnimation");
            QTRY_VERIFY(animation->IsPlaying() && animation->Frame() > 0);
            animated = true;
            QTRY_COMPARE_WITH_TIMEOUT(setup.pty.link.ArrivedTotal(), qint64(data.size()), 10000);
            allArrived = true;
        });

        QVERIFY(window.Run());
        QVERIFY(animated);
        QVERIFY(!Widget<ReceptionAnimation>(window, "receptionAnimation")->IsPlaying());
        QCOMPARE(TestFiles::Read(setup.target), data);
        QCOMPARE(setup.Files(), QStringList{"job.sdt"});
        QVERIFY(!statuses.isEmpty());
        QVERIFY(statuses.last().startsWith(QStringLiteral("Přijímám data ... ")));
        QVERIFY(statuses.last().endsWith(QStringLiteral(" bajtů přijato")));
        QVERIFY(setup.prompter.messages.isEmpty());
        QVERIFY(!setup.pty.link.IsOpen());
    }

    void stornoKeepsTheExistingFile_data() {
        QTest::addColumn<bool>("escape");
        QTest::newRow("Storno button") << false;
        QTest::newRow("Esc key") << true;
    }
    void stornoKeepsTheExistingFile() {
        QFETCH(bool, escape);
        Setup setup;
        QVERIFY(setup.pty.Open());
        TestFiles::Write(setup.target, "an older job");
        ReceptionWindow window(setup.pty.link, setup.prompter, setup.target);
        // Data comes in, then the user gives up before the end.
        QTimer::singleShot(50, this, [&] {
            setup.pty.instrument.StartSending(SerialTest::MeasuredTransfer(12).left(600), {});
            QTRY_COMPARE(window.GetReception().CurrentState(), Reception::State::Receiving);
            if (escape) {
                QTest::keyClick(&window, Qt::Key_Escape);
            } else {
                QTest::mouseClick(Widget<QPushButton>(window, "cancelButton"), Qt::LeftButton);
            }
        });
        QVERIFY(!window.Run());
        QCOMPARE(window.GetReception().CurrentState(), Reception::State::Cancelled);
        QCOMPARE(TestFiles::Read(setup.target), QByteArray("an older job"));
        // What came stays beside it, named, for the next reception to offer.
        const QString kept = window.GetReception().KeptPath();
        QCOMPARE(setup.Files(), (QStringList{"job.sdt", QFileInfo(kept).fileName()}));
        QCOMPARE(TestFiles::Read(kept), SerialTest::MeasuredTransfer(12).left(window.GetReception().StoredBytes()));
        QVERIFY(!setup.pty.link.IsOpen());
    }

    // A pulled cable ends the window at once: what arrived is kept beside the
    // older file, and there is nothing to convert.
    void lostLineEndsTheWindow_data() {
        QTest::addColumn<int>("bytesBefore");
        QTest::newRow("after data") << 600;
        QTest::newRow("before any data") << 0;
    }
    void lostLineEndsTheWindow() {
        QFETCH(int, bytesBefore);
        Setup setup;
        QVERIFY(setup.pty.Open());
        TestFiles::Write(setup.target, "an older job");
        const QByteArray data = SerialTest::MeasuredTransfer(12).left(bytesBefore);
        ReceptionWindow window(setup.pty.link, setup.prompter, setup.target);
        QTimer::singleShot(50, this, [&] {
            if (!data.isEmpty()) setup.pty.instrument.StartSending(data, {});
            QTRY_COMPARE_WITH_TIMEOUT(setup.pty.link.ArrivedTotal(), qint64(data.size()), 5000);
            setup.pty.instrument.HangUp();
        });
        QVERIFY(!window.Run());
        QCOMPARE(window.GetReception().CurrentState(), Reception::State::Lost);
        QCOMPARE(TestFiles::Read(setup.target), QByteArray("an older job"));
        const QString kept = window.GetReception().KeptPath();
        QCOMPARE(kept.isEmpty(), data.isEmpty());
        if (!kept.isEmpty()) QCOMPARE(TestFiles::Read(kept), data);
        QCOMPARE(setup.Files().size(), data.isEmpty() ? 1 : 2);
        QCOMPARE(setup.prompter.messages.size(), 1);
        QVERIFY(Cp1250::ToUnicode(setup.prompter.messages.first().text).contains(QStringLiteral("přerušeno")));
    }
};

QTEST_MAIN(ReceptionWindowTest)
#include "ReceptionWindowTest.moc"
