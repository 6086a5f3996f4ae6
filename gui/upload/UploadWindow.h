#pragma once
// The window where the user types or loads a point list or a code list and sends
// it to the instrument: a toolbar of five commands (open file, send points, send
// codes, help, close), a progress bar shown only while sending, and two tabs: the
// Courier editor of the list and the sent-data log. Long lines wrap at the
// editor's right edge for display only: the lists are read from the text's own
// lines, so the width of the window never changes what is sent. After a
// successful transmission the log tab shows what the instrument received beside
// what the list held; the list stays as it was.

#include "base/Cp1250.h"
#include "upload/UploadPort.h"

#include <QByteArray>
#include <QDialog>
#include <QList>

#include <functional>

class Prompter;
class QPlainTextEdit;
class QProgressBar;
class QTabWidget;
class QToolBar;
enum class UploadKind;

class UploadWindow : public QDialog, public UploadProgress {
    Q_OBJECT
public:
    // The full path of the file to load, or empty when the user cancelled.
    using FileChooser = std::function<QString()>;
    using Pause = std::function<void(int ms)>;

    // flag is the "Flag" setting: it chooses the toolbar's colour set and whether
    // X and Y of a point line change places.
    UploadWindow(quint16 flag, UploadPort& port, Prompter& prompter, QWidget* parent = nullptr);
    ~UploadWindow() override;

    // Replaces the desktop's open-file dialog (tests, the controller's chooser).
    void SetFileChooser(FileChooser chooser) { m_chooseFile = std::move(chooser); }
    // Replaces the real pause between blocks (tests).
    void SetPause(Pause pause) { m_pause = std::move(pause); }

    void OpenFile();
    // Reads the whole file into the editor, UTF-8 or Windows-1250 (Cp1250::IsUtf8
    // decides); a file that cannot be read is reported and the editor keeps its text.
    bool LoadFile(const QString& path);
    void SendPoints();
    void SendCodes();
    void ShowHelp();

    // The editor's text as the upload reads it: Windows-1250, a "\n" after every
    // line but the last, the characters the code page lacks remembered.
    Cp1250::ListText EditorList() const;
    // The editor's own lines, Windows-1250.
    QList<QByteArray> EditorLines() const;
    // Replaces the editor's text with text (Windows-1250), its lines ending at CR LF,
    // LF or a lone CR.
    void SetEditorText(const QByteArray& text);

    QPlainTextEdit* Editor() const { return m_editor; }
    // The sent-data log of the last transmission (empty before one).
    QPlainTextEdit* Log() const { return m_log; }
    // Brings the list's tab to the front.
    void ShowList();
    // Puts a sent-data log (Windows-1250) into the log's tab and brings it to the front.
    void ShowLog(const QByteArray& log);

    // The progress of a transmission.
    void Show(int maximum) override;
    void SetPosition(int position) override;
    void Hide() override;

    // Esc and the close box do nothing while a transmission runs.
    void reject() override;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Send(UploadKind kind);
    void LayOut();

    quint16 m_flag;
    UploadPort& m_port;
    Prompter& m_prompter;
    FileChooser m_chooseFile;
    Pause m_pause;
    QToolBar* m_toolBar;
    QProgressBar* m_progress;
    QTabWidget* m_tabs;
    QPlainTextEdit* m_editor;
    QPlainTextEdit* m_log;
    bool m_sending = false;
};
