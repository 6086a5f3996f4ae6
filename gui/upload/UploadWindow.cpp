#include "gui/upload/UploadWindow.h"

#include "base/ConversionSettings.h"
#include "base/Cp1250.h"
#include "base/InputFile.h"
#include "base/Prompter.h"
#include "base/Texts.h"
#include "gui/common/Artwork.h"
#include "gui/common/BackgroundStep.h"
#include "gui/common/DialogFileChooser.h"
#include "gui/common/DialogUnits.h"
#include "gui/common/UiText.h"
#include "gui/common/WindowTexts.h"
#include "upload/UploadListParser.h"
#include "upload/UploadTransmission.h"

#include <QAction>
#include <QCloseEvent>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QTabWidget>
#include <QTextBlock>
#include <QThread>
#include <QToolBar>

#include <iterator>

namespace {

constexpr int kEditorTop = 45;  // pixels below the top of the client area: the tabs of the list and the log
constexpr int kTabStopCharacters = 13;
const QRect kToolBarGeometry(1, 1, 225, 40);

// The pause between blocks, on the sending thread: the window meanwhile paints,
// moves and shows the progress.
void RealPause(int ms) { QThread::msleep(static_cast<unsigned long>(ms)); }

// The progress as the sending thread reports it, shown by the window on its own
// thread.
class WindowProgress : public UploadProgress {
public:
    explicit WindowProgress(UploadWindow& window) : m_window(window) {}
    void Show(int maximum) override {
        OnWindowThread([this, maximum] { m_window.Show(maximum); });
    }
    void SetPosition(int position) override {
        OnWindowThread([this, position] { m_window.SetPosition(position); });
    }
    void Hide() override {
        OnWindowThread([this] { m_window.Hide(); });
    }

private:
    void OnWindowThread(const std::function<void()>& call) {
        if (QThread::currentThread() == m_window.thread())
            call();
        else
            QMetaObject::invokeMethod(&m_window, call, Qt::BlockingQueuedConnection);
    }
    UploadWindow& m_window;
};

}  // namespace

UploadWindow::UploadWindow(quint16 flag, UploadPort& port, Prompter& prompter, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMaximizeButtonHint |
                          Qt::WindowCloseButtonHint),
      m_flag(flag),
      m_port(port),
      m_prompter(prompter),
      m_pause(RealPause),
      m_toolBar(new QToolBar(this)),
      m_progress(new QProgressBar(this)),
      m_tabs(new QTabWidget(this)),
      m_editor(new QPlainTextEdit),
      m_log(new QPlainTextEdit) {
    m_toolBar->setObjectName(QStringLiteral("uploadToolBar"));
    m_progress->setObjectName(QStringLiteral("progressBar"));
    m_tabs->setObjectName(QStringLiteral("uploadTabs"));
    m_editor->setObjectName(QStringLiteral("listEditor"));
    m_log->setObjectName(QStringLiteral("sentLog"));
    setWindowTitle(UiText(WindowTexts::kUploadWindowCaption));
    setModal(true);
    resize(DialogUnits(font()).Size(374, 193));

    QFont courier(QStringLiteral("Courier"), 9);
    courier.setStyleHint(QFont::TypeWriter);
    courier.setFixedPitch(true);
    for (QPlainTextEdit* text : {m_editor, m_log}) {
        text->setFont(courier);
        // Tab stops 13 characters apart set the columns of the sent-data log apart
        // (name and Y end by the 23rd character, X by the 37th); only the display
        // changes, not the text.
        text->setTabStopDistance(kTabStopCharacters * QFontMetricsF(text->font()).horizontalAdvance(QLatin1Char(' ')));
        text->setLineWrapMode(QPlainTextEdit::WidgetWidth);
        text->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        text->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        text->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    }
    m_editor->installEventFilter(this);
    // The log of the last transmission has a place of its own: the list stays as
    // it was typed or loaded, ready to be corrected or sent again.
    m_log->setReadOnly(true);
    m_tabs->addTab(m_editor, UiText(WindowTexts::kUploadListTab));
    m_tabs->addTab(m_log, UiText(WindowTexts::kUploadLogTab));
    m_tabs->setTabEnabled(1, false);
    m_tabs->setDocumentMode(true);

    // The images of the colour set the user has chosen, each time the window opens.
    const QList<QPixmap> images = Artwork::ToolbarImages(Artwork::Toolbar::Upload, m_flag & FLAG_16_COLOUR_TOOLBAR);
    m_toolBar->setIconSize(Artwork::ToolbarImageSize(Artwork::Toolbar::Upload));
    m_toolBar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    m_toolBar->setMovable(false);
    // Left to right, each with its image; closing the window is the last.
    const struct {
        const char* name;
        const UserText& tip;
        void (UploadWindow::*run)();
    } kCommands[] = {
        {"openFileAction", WindowTexts::kTipOpenListFile, &UploadWindow::OpenFile},
        {"sendPointsAction", WindowTexts::kTipSendPoints, &UploadWindow::SendPoints},
        {"sendCodesAction", WindowTexts::kTipSendCodes, &UploadWindow::SendCodes},
        {"helpAction", WindowTexts::kTipUploadHelp, &UploadWindow::ShowHelp},
        {"closeAction", WindowTexts::kTipCloseUploadWindow, &UploadWindow::reject},
    };
    for (int i = 0; i < std::ssize(kCommands); ++i) {
        if (i > 0) m_toolBar->addSeparator();
        QAction* action = m_toolBar->addAction(QIcon(images.value(i)), UiText(kCommands[i].tip));
        action->setObjectName(QLatin1String(kCommands[i].name));
        connect(action, &QAction::triggered, this, kCommands[i].run);
    }
    // Wider than its place when the desktop's style pads buttons more: every
    // command stays on the bar rather than in an overflow menu.
    m_toolBar->setGeometry(
        kToolBarGeometry.adjusted(0, 0, std::max(0, m_toolBar->sizeHint().width() - kToolBarGeometry.width()), 0));

    m_progress->setTextVisible(false);
    m_progress->hide();
    LayOut();
}

UploadWindow::~UploadWindow() = default;

void UploadWindow::LayOut() {
    m_progress->setGeometry(DialogUnits(font()).Rect(187, 10, 182, 10));
    m_tabs->setGeometry(0, kEditorTop, width(), std::max(0, height() - kEditorTop));
}

void UploadWindow::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    LayOut();
}

bool UploadWindow::eventFilter(QObject* watched, QEvent* event) {
    // Ctrl+Tab puts a tab into the list, as the help text tells the user.
    if (watched == m_editor && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Tab && (key->modifiers() & Qt::ControlModifier)) {
            m_editor->insertPlainText(QStringLiteral("\t"));
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

QList<QByteArray> UploadWindow::EditorLines() const {
    // The document's blocks are the text's own lines; how they wrap on screen
    // does not matter here.
    QList<QByteArray> lines;
    for (QTextBlock block = m_editor->document()->begin(); block.isValid(); block = block.next()) {
        lines.append(Cp1250::FromUnicode(block.text()));
    }
    return lines;
}

namespace {

// The editor breaks its lines at "\n" alone.
QString WithLineFeeds(QString text) {
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

}  // namespace

Cp1250::ListText UploadWindow::EditorList() const {
    QString text;
    for (QTextBlock block = m_editor->document()->begin(); block.isValid(); block = block.next()) {
        if (block != m_editor->document()->begin()) text += QLatin1Char('\n');
        text += block.text();
    }
    return Cp1250::FromTypedText(text);
}

void UploadWindow::SetEditorText(const QByteArray& text) {
    m_editor->setPlainText(WithLineFeeds(Cp1250::ToUnicode(text)));
}

void UploadWindow::ShowList() { m_tabs->setCurrentWidget(m_editor); }

void UploadWindow::OpenFile() {
    QString path;
    if (m_chooseFile) {
        path = m_chooseFile();
    } else {
        DialogFileChooser chooser;
        chooser.SetParentWindow(this);
        path =
            chooser.Choose(FileDialogRequest{FileDialogRequest::Kind::Open, Text(Texts::kAllFilesFilter), {}, {}, {}});
    }
    if (path.isEmpty()) return;
    LoadFile(path);
}

bool UploadWindow::LoadFile(const QString& path) {
    QByteArray bytes;
    if (const FileError error = ReadWholeFile(path, bytes)) {
        m_prompter.ReportFileError(error);
        return false;
    }
    // A list written on Linux is UTF-8; the editor shows its characters as they are.
    m_editor->setPlainText(WithLineFeeds(Cp1250::ListFileToUnicode(bytes)));
    ShowList();
    return true;
}

void UploadWindow::SendPoints() { Send(UploadKind::Points); }

void UploadWindow::SendCodes() { Send(UploadKind::Codes); }

void UploadWindow::Send(UploadKind kind) {
    // Input that arrives during the transmission reaches disabled commands.
    m_toolBar->setEnabled(false);
    m_editor->setReadOnly(true);
    m_sending = true;
    // The lines go out on a thread of their own: the window stays quick through the
    // pauses and the writes of a long list.
    const Cp1250::ListText list = EditorList();
    UploadResult result;
    WindowProgress progress(*this);
    BackgroundStep::Run(this, {}, m_prompter, [&](Prompter& prompter) {
        result = UploadList(kind, list, m_flag, m_port, progress, prompter, m_pause);
    });
    m_sending = false;
    m_editor->setReadOnly(false);
    m_toolBar->setEnabled(true);
    if (result) ShowLog(result.log);
}

void UploadWindow::ShowLog(const QByteArray& log) {
    m_log->setPlainText(WithLineFeeds(Cp1250::ToUnicode(log)));
    m_tabs->setTabEnabled(1, true);
    m_tabs->setCurrentWidget(m_log);
}

void UploadWindow::ShowHelp() { m_prompter.Tell(Text(WindowTexts::kUploadFormatHelp), MessageIcon::Information); }

void UploadWindow::reject() {
    if (!m_sending) QDialog::reject();
}

void UploadWindow::closeEvent(QCloseEvent* event) {
    if (m_sending) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void UploadWindow::Show(int maximum) {
    m_progress->show();
    m_progress->setRange(0, maximum);
    m_progress->setValue(0);
    m_progress->repaint();
}

void UploadWindow::SetPosition(int position) {
    m_progress->setValue(position);
    m_progress->repaint();
}

void UploadWindow::Hide() {
    m_progress->hide();
    m_progress->reset();
}
