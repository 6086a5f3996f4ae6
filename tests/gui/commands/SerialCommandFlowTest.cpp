// F1 and F2 end to end: the controller opens the reception window and the upload
// window on the simulated instrument's pseudo-terminal, the user answers through
// the program's own message boxes and output windows, which a script closes as
// they open.

#include "gui/commands/CommandController.h"

#include "base/ConversionSettings.h"
#include "base/Cp1250.h"
#include "base/FileChooser.h"
#include "base/SettingsStore.h"
#include "gui/commands/DialogPrompter.h"
#include "gui/commands/OutputWindow.h"
#include "gui/serial/ReceptionWindow.h"
#include "gui/upload/UploadWindow.h"
#include "serial/SerialLink.h"
#include "tests/gui/commands/CommandFixture.h"
#include "tests/gui/NamedWidget.h"
#include "tests/support/TestFiles.h"
#include "tools/simulator/InstrumentSimulator.h"
#include "upload/UploadListParser.h"
#include "upload/UploadProtocol.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>

namespace {

// Runs a step once, as soon as a window of the given kind is the modal one. Its
// own timer, so that a step that blocks does not hold the closer's.
template <typename Window>
class WhenOpen : public QObject {
public:
    explicit WhenOpen(std::function<void(Window&)> step) : m_step(std::move(step)) {
        m_timer.setInterval(10);
        connect(&m_timer, &QTimer::timeout, this, [this] {
            if (auto* window = qobject_cast<Window*>(QApplication::activeModalWidget())) {
                m_timer.stop();
                m_step(*window);
                done = true;
            }
        });
        m_timer.start();
    }
    bool done = false;

private:
    std::function<void(Window&)> m_step;
    QTimer m_timer;
};

}  // namespace

class SerialCommandFlowTest : public QObject, protected CommandFixture {
    Q_OBJECT

    InstrumentSimulator m_instrument;

    CommandController& Controller(quint16 flag) {
        CommandController& controller = MakeController(flag);
        controller.Link().SetDevice(m_instrument.DevicePath());
        return controller;
    }

private Q_SLOTS:
    void initTestCase() {
        QString error;
        QVERIFY2(m_instrument.Open(error), qPrintable(error));
    }

    void cleanup() { Reset(); }

    void f1ReceivesConvertsAndShows() {
        CommandController& controller = Controller(FLAG_USE_HEADER | FLAG_SHOW_OUTPUT);
        const QString target = m_dir.filePath(QStringLiteral("nts350-job.sdt"));
        TestFiles::Write(target, "an older job");
        m_chooser.answers = {target};
        const QByteArray sent = Golden(".sdt");
        ModalCloser closer;
        WhenOpen<ReceptionWindow> instrumentSends(
            [&](ReceptionWindow&) { m_instrument.StartSending(sent, InstrumentSimulator::Nts350Plan(0)); });

        controller.Execute(CommandId::ReceiveAndConvert);

        QVERIFY(instrumentSends.done);
        QCOMPARE(m_chooser.requests.size(), 1);
        QCOMPARE(m_chooser.requests[0].kind, FileDialogRequest::Kind::Save);
        QCOMPARE(TestFiles::Read(target), sent);
        for (const char* extension : {".zap", ".asc", ".cod"}) {
            QCOMPARE(TestFiles::Read(m_dir.filePath(QStringLiteral("nts350-job") + QLatin1String(extension))),
                     Golden(extension));
        }
        QVERIFY(closer.outputTitles.contains(QStringLiteral("Výstupní soubor konverze nts350-job.zap")));
        QVERIFY(closer.outputTitles.contains(QStringLiteral("Výstupní soubor konverze nts350-job.asc")));
        QCOMPARE(controller.File().basePath, m_dir.filePath(QStringLiteral("nts350-job")));
        QVERIFY(!controller.Link().IsOpen());
    }

    void f1WithoutDataLeavesEverythingAsItWas_data() {
        QTest::addColumn<bool>("portMissing");
        QTest::newRow("Storno") << false;
        QTest::newRow("port that cannot be opened") << true;
    }
    void f1WithoutDataLeavesEverythingAsItWas() {
        QFETCH(bool, portMissing);
        CommandController& controller = Controller(FLAG_SHOW_OUTPUT);
        if (portMissing) controller.Link().SetDevice(QStringLiteral("/nonexistent/ttyS4"));
        const QString target = m_dir.filePath(QStringLiteral("job.sdt"));
        TestFiles::Write(target, "an older job");
        m_chooser.answers = {target};
        ModalCloser closer;
        WhenOpen<ReceptionWindow> storno([&](ReceptionWindow& window) {
            m_instrument.StartSending(Golden(".sdt").left(700), {});
            // Storno once data is coming in; the reception ends by itself otherwise.
            QTRY_COMPARE(window.GetReception().CurrentState(), Reception::State::Receiving);
            Widget<QPushButton>(window, "cancelButton")->click();
        });

        controller.Execute(CommandId::ReceiveAndConvert);

        QCOMPARE(storno.done, !portMissing);
        QCOMPARE(closer.messages.size(), 1);
        if (portMissing)
            QCOMPARE(closer.messages[0], QStringLiteral("Špatné nastavení parametrů komunikace!\nZařízení "
                                                        "/nonexistent/ttyS4 neexistuje (převodník není připojen "
                                                        "nebo má jiný název).\nZměňte parametry v dialogu, jinak "
                                                        "nebude příjem dat funkční!"));
        QCOMPARE(TestFiles::Read(target), QByteArray("an older job"));
        QStringList files = QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden);
        files.removeAll(QStringLiteral("profile.ini"));
        // After Storno what came stays beside the older job, named.
        const QStringList kept = files.filter(QStringLiteral(".part"));
        QCOMPARE(kept.size(), portMissing ? 0 : 1);
        if (!portMissing) QVERIFY2(closer.messages[0].contains(kept[0]), qPrintable(closer.messages[0]));
        files.removeAll(kept.value(0));
        QCOMPARE(files, QStringList{QStringLiteral("job.sdt")});
        QVERIFY(controller.File().basePath.isEmpty());
        QVERIFY(closer.outputTitles.isEmpty());
    }

    void f2SendsATypedPointListAndALoadedCodeList() {
        CommandController& controller = Controller(FLAG_DEFAULT);
        const QString codeFile = m_dir.filePath(QStringLiteral("kody.txt"));
        const QByteArray codes = Cp1250::FromUtf8("1,STROM\r\n5,PLOT dřevěný\r\n12,ŠACHTA, kanál\r\n");
        TestFiles::Write(codeFile, codes);
        m_chooser.answers = {codeFile};
        const QList<QByteArray> pointLines = {"P1 680000.12 1045000.5 245.7", "P2;680010,5;1045010,25",
                                              "BOD_S_DLOUHYM_NAZVEM  680020 1045020 247"};

        InstrumentSimulator::UploadReport points;
        InstrumentSimulator::UploadReport codeReport;
        QList<int> progress;
        bool barHiddenWhileSending = false;
        QList<int> progressMaximum;
        QList<QByteArray> logShown;
        QList<QByteArray> listKept;
        ModalCloser closer;
        WhenOpen<UploadWindow> user([&](UploadWindow& window) {
            auto* bar = Widget<QProgressBar>(window, "progressBar");
            connect(bar, &QProgressBar::valueChanged, this, [&, bar](int value) {
                progress.append(value);
                barHiddenWhileSending |= !bar->isVisible();
                progressMaximum.append(bar->maximum());
            });
            auto* editor = Widget<QPlainTextEdit>(window, "listEditor");
            editor->setFocus();
            for (const QByteArray& line : pointLines) {
                QTest::keyClicks(editor, QString::fromLatin1(line));
                QTest::keyClick(editor, Qt::Key_Return);
            }
            m_instrument.StartReceivingUpload();
            Widget<QAction>(window, "sendPointsAction")->trigger();
            points = m_instrument.WaitUpload(20000);
            QVERIFY(!bar->isVisible());
            listKept = window.EditorLines();
            logShown = Cp1250::FromUnicode(window.Log()->toPlainText()).split('\n');

            Widget<QAction>(window, "openFileAction")->trigger();
            m_instrument.StartReceivingUpload();
            Widget<QAction>(window, "sendCodesAction")->trigger();
            codeReport = m_instrument.WaitUpload(20000);
            Widget<QAction>(window, "closeAction")->trigger();
        });

        controller.Execute(CommandId::ExportCoordinates);

        QVERIFY(user.done);
        QVERIFY2(points.Ok(), qPrintable(points.Describe()));
        const QByteArray pointStream = RecordStream(
            [&] {
                SurveyRecordList list = ParseUploadList(pointLines.join('\n'), UploadKind::Points, FLAG_DEFAULT);
                CutPointNames(list);
                return list;
            }(),
            UploadKind::Points);
        QCOMPARE(points.stream.left(pointStream.size()), pointStream);
        QCOMPARE(points.blocks, 2);
        // Two blocks behind the two preambles: the bar runs 0 to 4 of 4.
        QCOMPARE(progress.mid(0, 5), (QList<int>{0, 1, 2, 3, 4}));
        QCOMPARE(progressMaximum.mid(0, 5), QList<int>(5, 4));
        QVERIFY(!barHiddenWhileSending);
        // The typed list stays; the log beside it says what the instrument keeps.
        QCOMPARE(listKept, pointLines + QList<QByteArray>{""});
        QCOMPARE(logShown[3], QByteArray("P1          680000.120\t 45000.500\t   245.700\t(v seznamu X 1045000.5)"));
        QCOMPARE(logShown[5], Cp1250::FromUtf8("HYM_NAZVEM  680020.000\t 45020.000\t   247.000\t(v seznamu název "
                                               "BOD_S_DLOUHYM_NAZVEM, X 1045020)"));

        QVERIFY2(codeReport.Ok(), qPrintable(codeReport.Describe()));
        QCOMPARE(codeReport.stream.left(46), Cp1250::FromUtf8("_:001STROM     _:005PLOT dřevě_:012ŠACHTA, ka_"));
        QVERIFY(closer.messages.contains(QStringLiteral("Odeslány 3 body ...")));
        QVERIFY(closer.messages.contains(QStringLiteral("Odeslány 3 kódy ...")));
        QVERIFY(!controller.Link().IsOpen());
    }
};

QTEST_MAIN(SerialCommandFlowTest)
#include "SerialCommandFlowTest.moc"
