#include "gui/mainwindow/MainWindow.h"

#include "base/Cp1250.h"
#include "base/SettingsStore.h"
#include "gui/common/Artwork.h"
#include "gui/mainwindow/BannerView.h"
#include "gui/mainwindow/LinkLabel.h"
#include "gui/preview/DrawingPreviewWindow.h"
#include "tests/gui/NamedWidget.h"
#include "tests/support/PointYXZ.h"
#include "tests/support/ScriptedPrompter.h"
#include "tests/support/TestFiles.h"

#include <QAction>
#include <QDesktopServices>
#include <QEnterEvent>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QScreen>
#include <QTemporaryDir>
#include <QLabel>
#include <QTest>
#include <QToolBar>

namespace {

class NoFiles : public FileChooser {
public:
    QString Choose(const FileDialogRequest&) override { return {}; }
};

class CountingController : public CommandController {
public:
    using CommandController::CommandController;
    int uploadWindows = 0;

    void ShowJob(const SurveyRecordList& records) { ShowDrawing(records, QStringLiteral("job.dxf")); }

protected:
    void RunUploadWindow() override { ++uploadWindows; }
};

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QList<QUrl> m_opened;

    std::unique_ptr<SettingsStore> m_store;
    ScriptedPrompter m_prompter;
    NoFiles m_chooser;

    std::unique_ptr<CountingController> Controller(quint16 flag) {
        m_store = std::make_unique<SettingsStore>(m_dir.filePath(QStringLiteral("profile.ini")));
        ConversionSettings startup;
        startup.flag = flag;
        return std::make_unique<CountingController>(*m_store, startup, m_prompter, m_chooser, CoreOperations{});
    }

public Q_SLOTS:
    void Open(const QUrl& url) { m_opened.append(url); }

private Q_SLOTS:
    void initTestCase() {
        QDesktopServices::setUrlHandler(QStringLiteral("https"), this, "Open");
        QDesktopServices::setUrlHandler(QStringLiteral("mailto"), this, "Open");
    }

    void captionSizeAndPlace() {
        auto controller = Controller(FLAG_DEFAULT);
        MainWindow frame(*controller);
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        QCOMPARE(frame.windowTitle(), QStringLiteral("Tarvo v1.65"));
        QCOMPARE(frame.minimumSize(), frame.maximumSize());
        QVERIFY(!(frame.windowFlags() & Qt::WindowMaximizeButtonHint));
        QCOMPARE(frame.frameGeometry().width(), MainWindow::kWidth);
        // The client area below the menu bar is at least 261 pixels high, and the
        // window grew (if at all) around its centre.
        const int client = frame.height() - frame.menuBar()->height();
        QVERIFY(client >= 261);
        const QRect centred = MainWindow::CenteredRect(frame.screen()->geometry().size());
        if (frame.frameGeometry().height() == MainWindow::kHeight) {
            QCOMPARE(frame.frameGeometry(), centred);
        } else {
            QCOMPARE(frame.frameGeometry().center(), centred.center());
        }
    }

    // The receipt of a run shows at the banner's foot without a click; before the
    // first run the window looks as it always has, and it never changes size. The
    // findings of a damaged transfer mark the line, and a click shows them again
    // with the whole receipt, also where the line had to leave out its middle.
    void receiptLineUnderTheBanner_data() {
        QTest::addColumn<QString>("receipt");
        QTest::addColumn<QString>("findings");
        QTest::addColumn<bool>("whole");  // the line shows the receipt as it is
        const QString counts = QStringLiteral(
            "Rozpoznáno: stanoviska 2, orientace 3, záměry s délkou 5, záměry jen úhly 1, body se souřadnicemi 3, "
            "kódy 4. Přeskočeno: bajty mimo záznamy 0, nedokončené záznamy 0. ");
        QTest::newRow("short receipt, shown as it is") << "Zapsáno: job.zap."
                                                       << "" << true;
        QTest::newRow("damaged transfer: marked, the click shows the findings")
            << "Kontrola bloků: 2 chyby. Zapsáno: job.zap."
            << "Upozornění!\nPřenos dat z přístroje neprošel kontrolou bloků:" << true;
        QTest::newRow("long job names: the middle goes, the files written stay")
            << counts + QStringLiteral(
                            "Zapsáno: měření-hranice-parcela-1234-5678-2026.zap, "
                            "měření-hranice-parcela-1234-5678-2026.asc, "
                            "měření-hranice-parcela-1234-5678-2026.cod.")
            << "" << false;
    }
    void receiptLineUnderTheBanner() {
        QFETCH(QString, receipt);
        QFETCH(QString, findings);
        QFETCH(bool, whole);
        auto controller = Controller(FLAG_DEFAULT);
        MainWindow frame(*controller);
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        auto* line = Widget<QLabel>(frame, "receiptLine");
        QVERIFY(line->isHidden());
        const QSize size = frame.size();
        Q_EMIT controller->ConversionReported(Cp1250::FromUnicode(receipt), Cp1250::FromUnicode(findings));
        QVERIFY(line->isVisible());
        QCOMPARE(Widget<BannerView>(frame, "view")->ReceiptMarked(), !findings.isEmpty());
        const QString shown = line->text().remove(QChar(0x2060));
        if (whole) QCOMPARE(shown, receipt);
        if (!whole) QVERIFY2(shown.endsWith(receipt.right(12)) && shown.size() < receipt.size(), qPrintable(shown));
        QVERIFY(Widget<BannerView>(frame, "view")->rect().contains(line->geometry()));
        QCOMPARE(frame.size(), size);

        QTest::mouseClick(line, Qt::LeftButton);
        QCOMPARE(m_prompter.messages.size(), 1);
        const QString told = Cp1250::ToUnicode(m_prompter.messages.first().text);
        QCOMPARE(told, findings.isEmpty() ? receipt : receipt + QStringLiteral("\n\n") + findings);
        m_prompter.messages.clear();
    }

    // The preview belongs to the main window even when another window is active as
    // it opens, and closing the main window takes it along: nothing is left running
    // to write old settings back later.
    void closingTheMainWindowTakesThePreviewAlong() {
        auto controller = Controller(FLAG_DEFAULT);
        controller->LoadSettings();
        MainWindow frame(*controller);
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        QWidget stranger;
        stranger.show();
        stranger.activateWindow();
        controller->ShowJob({PointYXZ("P1", 742000, 1043000, 250)});
        QPointer<DrawingPreviewWindow> preview = controller->Preview();
        QVERIFY(preview);
        QCOMPARE(preview->parentWidget(), &frame);
        QVERIFY(preview->isVisible());
        frame.close();
        QTRY_VERIFY(!preview);
    }

    void centring() {
        QCOMPARE(MainWindow::CenteredRect(QSize(1024, 768)), QRect(257, 231, 510, 305));
        QCOMPARE(MainWindow::CenteredRect(QSize(1023, 767)).topLeft(), QPoint(256, 231));
    }

    void sizeRule_data() {
        QTest::addColumn<int>("client");
        QTest::addColumn<int>("growthPerSide");
        QTest::newRow("250 grows by 12") << 250 << 6;
        QTest::newRow("255 grows by 6") << 255 << 3;
        QTest::newRow("260 grows by 2") << 260 << 1;
        QTest::newRow("261 is tall enough") << 261 << 0;
        QTest::newRow("300 is tall enough") << 300 << 0;
    }
    void sizeRule() {
        QFETCH(int, client);
        QFETCH(int, growthPerSide);
        QCOMPARE(MainWindow::GrowthPerSide(client), growthPerSide);
    }

    void menuToolbarAndKeys() {
        auto controller = Controller(FLAG_DEFAULT);
        MainWindow frame(*controller);
        const QList<QAction*> entries = Widget<QMenu>(frame, "mainMenu")->actions();
        QCOMPARE(entries.size(), 12);
        QCOMPARE(entries[4]->menu(), Widget<QMenu>(frame, "toolsMenu"));
        QCOMPARE(entries[4]->text(), QStringLiteral("Konverzní nástroje"));
        QCOMPARE(entries[0]->text(), QStringLiteral("Konverze přijatých dat\tF1"));
        QCOMPARE(entries[11]->text(), QStringLiteral("Konec"));
        QCOMPARE(Widget<QAction>(frame, "receiveAndConvertAction")->shortcut(), QKeySequence(Qt::Key_F1));
        QCOMPARE(Widget<QAction>(frame, "exportCoordinatesAction")->shortcut(), QKeySequence(Qt::Key_F2));
        QCOMPARE(Widget<QAction>(frame, "convertFileAction")->shortcut(), QKeySequence(Qt::Key_F3));
        QVERIFY(Widget<QAction>(frame, "helpAction")->shortcut().isEmpty());

        const QList<QAction*> items = Widget<QToolBar>(frame, "mainToolBar")->actions();
        QCOMPARE(items.size(), 13);
        QCOMPARE(items[6], Widget<QAction>(frame, "toolsAction"));
        QVERIFY(items[1]->isSeparator());
        QCOMPARE(items[0]->toolTip(), QStringLiteral("Konverze z portu"));
        QCOMPARE(items[6]->toolTip(), QStringLiteral("Nástroje"));
        QCOMPARE(items[12]->toolTip(), QStringLiteral("Nápověda"));
    }

    void f2FollowsTheInstrumentType() {
        auto controller = Controller(FLAG_DEFAULT);
        MainWindow frame(*controller);
        frame.show();
        QVERIFY(QTest::qWaitForWindowActive(&frame));
        controller->Settings().deviceType = DeviceType::Nts660;
        frame.UpdateCommandStates();
        QVERIFY(!Widget<QAction>(frame, "exportCoordinatesAction")->isEnabled());
        QTest::keyClick(&frame, Qt::Key_F2);
        QCOMPARE(controller->uploadWindows, 0);
        controller->Settings().deviceType = DeviceType::Nts350;
        frame.UpdateCommandStates();
        QTest::keyClick(&frame, Qt::Key_F2);
        QCOMPARE(controller->uploadWindows, 1);
    }

    void useCurrentCheckAndGreyTools() {
        auto controller = Controller(FLAG_DEFAULT | FLAG_USE_CURRENT);
        MainWindow frame(*controller);
        auto* useCurrent = Widget<QAction>(frame, "useCurrentAction");
        QVERIFY(useCurrent->isChecked());
        QVERIFY(!Widget<QAction>(frame, "headersAction")->isEnabled());
        useCurrent->trigger();
        QVERIFY(!controller->Settings().Has(FLAG_USE_CURRENT));
        QVERIFY(!useCurrent->isChecked());
        QVERIFY(Widget<QAction>(frame, "headersAction")->isEnabled());
    }

    void toolsPopupOpensBesideTheButton() {
        auto controller = Controller(FLAG_DEFAULT);
        MainWindow frame(*controller);
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        const QWidget* button =
            Widget<QToolBar>(frame, "mainToolBar")->widgetForAction(Widget<QAction>(frame, "toolsAction"));
        const QRect item(button->mapToGlobal(QPoint(0, 0)), button->size());
        QCOMPARE(frame.ToolsMenuPosition(), QPoint(item.x() + item.width(), item.y() + 20));
        frame.OnTools();
        auto* tools = Widget<QMenu>(frame, "toolsMenu");
        QVERIFY(tools->isVisible());
        QCOMPARE(tools->pos(), frame.ToolsMenuPosition());
        tools->hide();
    }

    void imageSetIsChosenOnceAtStart() {
        auto controller = Controller(FLAG_DEFAULT | FLAG_16_COLOUR_TOOLBAR);
        MainWindow frame(*controller);
        const QImage sixteen = Artwork::ToolbarImages(Artwork::Toolbar::Main, true)
                                   .first()
                                   .toImage()
                                   .convertToFormat(QImage::Format_ARGB32);
        const auto shown = [&frame] {
            return Widget<QAction>(frame, "receiveAndConvertAction")
                ->icon()
                .pixmap(45, 48)
                .toImage()
                .convertToFormat(QImage::Format_ARGB32);
        };
        QCOMPARE(shown(), sixteen);
        controller->Settings().flag = FLAG_DEFAULT;
        frame.UpdateCommandStates();
        QCOMPARE(shown(), sixteen);
    }

    void linksTurnRedWhileHoveredAndOpenTheirTargets() {
        QWidget view;
        auto* link = new LinkLabel(QStringLiteral("tarvo@example.org"), &view);
        link->SetTarget(QStringLiteral("mailto:tarvo@example.org"));
        auto* web = new LinkLabel(QStringLiteral("tarvo.example.org"), &view);
        web->SetTarget(QStringLiteral("https://tarvo.example.org/"));
        // Away from the corner where the pointer rests.
        link->move(20, 20);
        web->move(20, 60);
        view.resize(200, 100);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        QVERIFY(link->font().underline());
        QCOMPARE(link->cursor().shape(), Qt::PointingHandCursor);
        QCOMPARE(link->TextColour(), QColor(0, 0, 255));
        QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
        QApplication::sendEvent(link, &enter);
        QCOMPARE(link->TextColour(), QColor(255, 0, 0));
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(link, &leave);
        QCOMPARE(link->TextColour(), QColor(0, 0, 255));

        QApplication::sendEvent(link, &enter);
        QTest::mouseClick(link, Qt::LeftButton, {}, QPoint(2, 2));
        QCOMPARE(m_opened.size(), 1);
        QCOMPARE(m_opened[0].scheme(), QStringLiteral("mailto"));
        QCOMPARE(link->TextColour(), QColor(0, 0, 255));
        QTest::mouseClick(web, Qt::LeftButton, {}, QPoint(2, 2));
        QCOMPARE(m_opened.size(), 2);
        QCOMPARE(m_opened[1].scheme(), QStringLiteral("https"));
    }

    void helpManualPath() {
        const QString program = m_dir.filePath(QStringLiteral("bin"));
        const QString docs = m_dir.filePath(QStringLiteral("doc"));
        QDir().mkpath(program);
        QDir().mkpath(docs);
        const QString beside = program + QStringLiteral("/Návod.pdf");
        const QString installed = docs + QStringLiteral("/Návod.pdf");
        QCOMPARE(MainWindow::HelpManualPath(program, docs), beside);  // neither: left to the desktop
        TestFiles::Write(installed, "%PDF");
        QCOMPARE(MainWindow::HelpManualPath(program, docs), installed);
        TestFiles::Write(beside, "%PDF");
        QCOMPARE(MainWindow::HelpManualPath(program, docs), beside);
    }
};

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
