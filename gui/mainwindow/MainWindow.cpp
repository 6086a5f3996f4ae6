#include "gui/mainwindow/MainWindow.h"

#include "base/Cp1250.h"
#include "base/FileError.h"
#include "base/Prompter.h"
#include "base/Texts.h"
#include "gui/common/Artwork.h"
#include "gui/common/BackgroundStep.h"
#include "gui/common/UiText.h"
#include "gui/common/WindowTexts.h"
#include "gui/mainwindow/BannerView.h"
#include "gui/menus/FlatMenuStyle.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QResizeEvent>
#include <QScreen>
#include <QStandardPaths>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>

#include <iterator>

#ifndef TARVO_DOC_DIR
#define TARVO_DOC_DIR ""
#endif

namespace {

// The tip of a toolbar command: the part of its string after "\n".
QString TipOf(const UserText& text) {
    const QString full = UiText(text);
    return full.mid(full.indexOf(QLatin1Char('\n')) + 1);
}

}  // namespace

MainWindow::MainWindow(CommandController& controller, QWidget* parent) : QMainWindow(parent), m_controller(controller) {
    // Every window of the commands belongs to this one, whatever window the desktop
    // holds active at the moment.
    m_controller.SetOwnerWindow(this);
    SetUpFrame();
    CreateActions();
    BuildMenu();
    BuildToolBar(controller.Settings().Has(FLAG_16_COLOUR_TOOLBAR));
    BuildBanner();
    PlaceOnScreen();
    UpdateCommandStates();
}

void MainWindow::SetUpFrame() {
    setObjectName(QStringLiteral("mainFrame"));
    // Caption, system menu and minimise box; no sizing border, no maximise box.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    // Whatever the controller's title, the caption names the product and version.
    setWindowTitle(UiText(WindowTexts::kMainWindowCaption));
}

void MainWindow::CreateActions() {
    const struct {
        CommandId command;
        const UserText& text;
        const char* name;
    } kCommands[] = {
        {CommandId::ReceiveAndConvert, WindowTexts::kMenuReceiveAndConvert, "receiveAndConvertAction"},
        {CommandId::ExportCoordinates, WindowTexts::kMenuExportCoordinates, "exportCoordinatesAction"},
        {CommandId::ConvertFile, WindowTexts::kMenuConvertFile, "convertFileAction"},
        {CommandId::Headers, WindowTexts::kMenuHeaders, "headersAction"},
        {CommandId::HorizontalDistances, WindowTexts::kMenuHorizontalDistances, "horizontalDistancesAction"},
        {CommandId::ExportXyzDxf, WindowTexts::kMenuExportXyzDxf, "exportXyzDxfAction"},
        {CommandId::CheckFieldBook, WindowTexts::kMenuCheckFieldBook, "checkFieldBookAction"},
        {CommandId::UseCurrent, WindowTexts::kMenuUseCurrent, "useCurrentAction"},
        {CommandId::ConversionParameters, WindowTexts::kMenuConversionParameters, "conversionParametersAction"},
        {CommandId::CommunicationParameters, WindowTexts::kMenuCommunicationParameters,
         "communicationParametersAction"},
        {CommandId::Help, WindowTexts::kMenuHelp, "helpAction"},
        {CommandId::Tools, WindowTexts::kTipTools, "toolsAction"},
        {CommandId::Exit, WindowTexts::kMenuExit, "exitAction"},
    };
    for (const auto& entry : kCommands) AddAction(entry.command, entry.text)->setObjectName(QLatin1String(entry.name));

    Action(CommandId::ReceiveAndConvert)->setShortcut(QKeySequence(Qt::Key_F1));
    Action(CommandId::ExportCoordinates)->setShortcut(QKeySequence(Qt::Key_F2));
    Action(CommandId::ConvertFile)->setShortcut(QKeySequence(Qt::Key_F3));
    Action(CommandId::UseCurrent)->setCheckable(true);
    Action(CommandId::ExportXyzDxf)->setStatusTip(UiText(WindowTexts::kPromptExportXyzDxf));
    Action(CommandId::CheckFieldBook)->setStatusTip(UiText(WindowTexts::kPromptCheckFieldBook));
    Action(CommandId::Tools)->setText(TipOf(WindowTexts::kTipTools));

    const struct {
        CommandId command;
        const UserText& tip;
    } kTips[] = {
        {CommandId::ReceiveAndConvert, WindowTexts::kTipReceiveAndConvert},
        {CommandId::ExportCoordinates, WindowTexts::kTipExportCoordinates},
        {CommandId::ConvertFile, WindowTexts::kTipConvertFile},
        {CommandId::Tools, WindowTexts::kTipTools},
        {CommandId::ConversionParameters, WindowTexts::kTipConversionParameters},
        {CommandId::CommunicationParameters, WindowTexts::kTipCommunicationParameters},
        {CommandId::Help, WindowTexts::kTipHelp},
    };
    for (const auto& entry : kTips) Action(entry.command)->setToolTip(TipOf(entry.tip));
}

void MainWindow::BuildMenu() {
    // The menu: "Konverzní nástroje" is its fifth entry (index 4).
    QMenu* mainMenu = menuBar()->addMenu(UiText(WindowTexts::kMenuBarEntry));
    mainMenu->setObjectName(QStringLiteral("mainMenu"));
    mainMenu->addAction(Action(CommandId::ReceiveAndConvert));
    mainMenu->addAction(Action(CommandId::ExportCoordinates));
    mainMenu->addAction(Action(CommandId::ConvertFile));
    mainMenu->addSeparator();
    m_toolsMenu = mainMenu->addMenu(UiText(WindowTexts::kToolsSubmenu));
    m_toolsMenu->setObjectName(QStringLiteral("toolsMenu"));
    m_toolsMenu->addAction(Action(CommandId::Headers));
    m_toolsMenu->addAction(Action(CommandId::HorizontalDistances));
    m_toolsMenu->addAction(Action(CommandId::ExportXyzDxf));
    m_toolsMenu->addAction(Action(CommandId::CheckFieldBook));
    m_toolsMenu->addSeparator();
    m_toolsMenu->addAction(Action(CommandId::UseCurrent));
    mainMenu->addSeparator();
    mainMenu->addAction(Action(CommandId::ConversionParameters));
    mainMenu->addAction(Action(CommandId::CommunicationParameters));
    mainMenu->addSeparator();
    mainMenu->addAction(Action(CommandId::Help));
    mainMenu->addSeparator();
    mainMenu->addAction(Action(CommandId::Exit));
    // The flat look of the pop-up menus, for the tools pop-up too.
    InstallFlatMenus(mainMenu);
    connect(mainMenu, &QMenu::aboutToShow, this, &MainWindow::UpdateCommandStates);
    connect(m_toolsMenu, &QMenu::aboutToShow, this, &MainWindow::UpdateCommandStates);
}

void MainWindow::BuildToolBar(bool sixteenColours) {
    // Seven flat buttons with a separator between each two, so that the tools
    // button is item 6. The image set is the one chosen when the window is made.
    m_toolBar = new QToolBar(this);
    m_toolBar->setObjectName(QStringLiteral("mainToolBar"));
    m_toolBar->setIconSize(Artwork::ToolbarImageSize(Artwork::Toolbar::Main));
    m_toolBar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    m_toolBar->setFloatable(false);
    m_toolBar->setAllowedAreas(Qt::TopToolBarArea);
    m_toolBar->setContextMenuPolicy(Qt::PreventContextMenu);
    m_toolBar->toggleViewAction()->setEnabled(false);
    const QList<QPixmap> images = Artwork::ToolbarImages(Artwork::Toolbar::Main, sixteenColours);
    const CommandId buttons[] = {
        CommandId::ReceiveAndConvert,    CommandId::ExportCoordinates,       CommandId::ConvertFile, CommandId::Tools,
        CommandId::ConversionParameters, CommandId::CommunicationParameters, CommandId::Help};
    for (int i = 0; i < std::ssize(buttons); ++i) {
        if (i > 0) m_toolBar->addSeparator();
        QAction* button = Action(buttons[i]);
        button->setIcon(QIcon(images.value(i)));
        m_toolBar->addAction(button);
    }
    addToolBar(Qt::TopToolBarArea, m_toolBar);
}

void MainWindow::BuildBanner() {
    m_banner = new BannerView(this);
    setCentralWidget(m_banner);
    connect(&m_controller, &CommandController::ConversionReported, m_banner,
            [banner = m_banner](const QByteArray& receipt, const QByteArray& findings) {
                banner->ShowReceipt(Cp1250::ToUnicode(receipt), Cp1250::ToUnicode(findings));
            });
    connect(&m_controller, &CommandController::FieldBookChecked, m_banner,
            [banner = m_banner](const CheckCounts& counts) {
                banner->MarkCheck(counts.wrong > 0        ? BannerView::ReceiptMark::Wrong
                                  : counts.suspicious > 0 ? BannerView::ReceiptMark::Suspicious
                                                          : BannerView::ReceiptMark::Plain);
            });
    // A checked run's receipt opens its protocol, whose top repeats the receipt.
    connect(m_banner, &BannerView::ReceiptClicked, this, [this] {
        if (m_controller.HasCheckProtocol())
            m_controller.ShowLastCheck();
        else
            ShowWholeReceipt();
    });
}

void MainWindow::PlaceOnScreen() {
    const QRect place = CenteredRect(screen() ? screen()->geometry().size() : QSize(kWidth, kHeight));
    setFixedSize(kWidth, kHeight);
    move(place.topLeft());
}

QAction* MainWindow::AddAction(CommandId command, const UserText& text) {
    auto* action = new QAction(UiText(text), this);
    action->setShortcutContext(Qt::WindowShortcut);
    m_actions.insert(command, action);
    connect(action, &QAction::triggered, this, [this, command] {
        switch (command) {
            case CommandId::Help:
                OnHelp();
                break;
            case CommandId::Tools:
                OnTools();
                break;
            case CommandId::Exit:
                close();
                break;
            default:
                m_controller.Execute(command);
                break;
        }
        UpdateCommandStates();
    });
    return action;
}

void MainWindow::UpdateCommandStates() {
    for (auto it = m_actions.cbegin(); it != m_actions.cend(); ++it) {
        const CommandState state = m_controller.StateOf(it.key());
        it.value()->setEnabled(state.enabled);
        if (it.value()->isCheckable()) it.value()->setChecked(state.checked);
    }
}

QRect MainWindow::CenteredRect(QSize screen) {
    return QRect((screen.width() - kWidth) / 2, (screen.height() - kHeight) / 2, kWidth, kHeight);
}

int MainWindow::GrowthPerSide(int clientHeight) {
    const int shortfall = kMinimumClientHeight - clientHeight;
    return shortfall < 2 ? 0 : shortfall / 2;
}

int MainWindow::ClientHeight() const {
    // The menu bar is outside the client area, as on a desktop whose menus sit in
    // the window's frame.
    const bool menuInside = menuBar()->isVisible() && !menuBar()->isNativeMenuBar();
    return height() - (menuInside ? menuBar()->height() : 0);
}

void MainWindow::ApplySizeRule() {
    if (m_applyingSizeRule) return;
    const int growth = GrowthPerSide(ClientHeight());
    if (growth == 0) return;
    m_applyingSizeRule = true;
    const QPoint topLeft = pos();
    setFixedSize(width(), height() + 2 * growth);
    move(topLeft.x(), topLeft.y() - growth);
    m_applyingSizeRule = false;
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    ApplySizeRule();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // A step of the core cannot be broken off halfway; the window closes once it ends.
    if (BackgroundStep::Running()) {
        event->ignore();
        return;
    }
    // The program ends with its main window: every other window goes with it.
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget* window : windows) {
        if (window != this && window->isVisible()) window->close();
    }
    QMainWindow::closeEvent(event);
}

void MainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    // 510 × 305 is the whole window with its frame: once the desktop tells how
    // thick its frame is, the inside shrinks by that much and the window is centred
    // again.
    const QSize frame = frameGeometry().size() - size();
    if (!m_framed && (frame.width() > 0 || frame.height() > 0)) {
        m_framed = true;
        const QRect place = CenteredRect(screen() ? screen()->geometry().size() : QSize(kWidth, kHeight));
        setFixedSize(kWidth - frame.width(), kHeight - frame.height());
        move(place.topLeft());
    }
    ApplySizeRule();
}

QPoint MainWindow::ToolsMenuPosition() const {
    const QWidget* button = m_toolBar->widgetForAction(m_actions.value(CommandId::Tools));
    if (!button) return mapToGlobal(QPoint(0, 0));
    const QRect item = button->geometry();
    return m_toolBar->mapToGlobal(QPoint(item.x() + item.width(), item.y() + 20));
}

void MainWindow::OnTools() {
    UpdateCommandStates();
    m_toolsMenu->popup(ToolsMenuPosition());
}

QString MainWindow::HelpManualPath(const QString& programDirectory, const QString& documentationDirectory) {
    const QString manual = UiText(WindowTexts::kHelpManual);
    const QString beside = QDir(programDirectory).filePath(manual);
    if (QFileInfo(beside).isFile() || documentationDirectory.isEmpty()) return beside;
    const QString installed = QDir(documentationDirectory).filePath(manual);
    return QFileInfo(installed).isFile() ? installed : beside;
}

void MainWindow::OnHelp() {
    const QString path = HelpManualPath(QCoreApplication::applicationDirPath(), QStringLiteral(TARVO_DOC_DIR));
    if (!QFileInfo(path).isFile()) {
        m_controller.Messages().Tell(TextWith(WindowTexts::kManualMissing, DisplayPath(path)));
        return;
    }
#ifndef Q_OS_WIN
    // The desktop's opener runs the viewer, or ends with 3 (no method) or 4 (the
    // action failed) when no program takes PDF files; the window is not held up
    // meanwhile. Where the opener runs the viewer itself, the viewer outlives the
    // window: the process belongs to no window that would end it.
    const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (!opener.isEmpty()) {
        auto* process = new QProcess;
        connect(process, &QProcess::finished, this, [this, path](int exitCode, QProcess::ExitStatus status) {
            if (status == QProcess::NormalExit && (exitCode == 3 || exitCode == 4)) TellNoPdfViewer(path);
        });
        connect(process, &QProcess::finished, process, &QObject::deleteLater);
        connect(process, &QProcess::errorOccurred, this, [this, process, path](QProcess::ProcessError error) {
            if (error != QProcess::FailedToStart) return;
            process->deleteLater();
            TellNoPdfViewer(path);
        });
        process->setProcessChannelMode(QProcess::ForwardedChannels);
        process->start(opener, {path});
        return;
    }
#endif
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(path))) TellNoPdfViewer(path);
}

void MainWindow::TellNoPdfViewer(const QString& manual) {
#ifdef Q_OS_WIN
    const UserText& text = WindowTexts::kNoPdfViewerWindows;
#else
    const UserText& text = WindowTexts::kNoPdfViewer;
#endif
    m_controller.Messages().Tell(TextWith(text, DisplayPath(manual)));
}

void MainWindow::ShowWholeReceipt() {
    QString text = m_banner->Receipt();
    if (text.isEmpty()) return;
    const bool marked = m_banner->ReceiptMarked();
    if (marked) text += QStringLiteral("\n\n") + m_banner->Findings();
    m_controller.Messages().Tell(Cp1250::FromUnicode(text),
                                 marked ? MessageIcon::Exclamation : MessageIcon::Information, Topic::Summary);
}
