#pragma once
// The command controller of the window program. It owns the settings of the run
// (loaded in two steps: "Flag" before the main window exists, the rest once the
// main window is made), the current measured-data file, the one serial link, the
// last run's field-book check, and the handlers of every command of the menu, the
// toolbar and the function keys. Every window it opens belongs to the owner window
// (the main window). The settings are saved as soon as a command has changed them,
// and only the values it changed, so that a value another copy of the program
// saved meanwhile stays. Long core steps run off the window thread
// (BackgroundStep). It asks nothing
// when the program closes.

#include "base/ConversionSettings.h"
#include "base/CurrentFile.h"
#include "base/FileChooser.h"
#include "base/SettingsStore.h"
#include "check/JobCheck.h"
#include "gui/commands/CoreOperations.h"
#include "gui/commands/RememberedFolders.h"
#include "serial/Reception.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <memory>

class DrawingPreviewWindow;
class ProtocolWindow;
class Prompter;
class QWidget;
class SerialLink;

// The commands of the menu, the toolbar and the function keys.
enum class CommandId {
    ReceiveAndConvert,    // F1
    ExportCoordinates,    // F2
    ConvertFile,          // F3
    Headers,              // tool
    HorizontalDistances,  // tool
    ExportXyzDxf,         // tool
    CheckFieldBook,       // tool: the field-book check of a chosen file, without converting
    UseCurrent,           // toggle of FLAG_USE_CURRENT
    ConversionParameters,
    CommunicationParameters,
    Help,   // main window
    Tools,  // main window, toolbar only
    Exit,
};

struct CommandState {
    bool enabled = true;
    bool checked = false;
};

// How a reception ended, as F1 needs it after the reception window has closed.
struct ReceptionEnd {
    ReceivedData left = ReceivedData::None;
    Reception::State state = Reception::State::Cancelled;
    qint64 bytes = 0;  // in the target file
};

class CommandController : public QObject {
    Q_OBJECT
public:
    // startupSettings holds "Flag" as loaded before the main window was made.
    CommandController(SettingsStore& store, const ConversionSettings& startupSettings, Prompter& prompter,
                      FileChooser& chooser, CoreOperations core, QObject* parent = nullptr);
    // Saves what is left unsaved (after the serial link is gone); a profile that
    // cannot be written is reported.
    ~CommandController() override;

    // Loads every setting but "Flag" (once the main window exists); startupRefused
    // is what the load of "Flag" refused. A refused value counts as changed until
    // a save has written the value in use.
    void LoadSettings(const RefusedValues& startupRefused = {});
    // Tells in one message every profile value the load did not use, where the
    // profile is and how to set another value; nothing when there was none.
    void TellRefusedSettings();
    // The window every window of the commands belongs to: the main window.
    void SetOwnerWindow(QWidget* owner) { m_owner = owner; }

    ConversionSettings& Settings() { return m_settings; }
    const ConversionSettings& Settings() const { return m_settings; }
    CurrentFile& File() { return m_file; }
    const CurrentFile& File() const { return m_file; }
    // The one serial link; its port number opens the device the profile's section
    // "Ports" names.
    SerialLink& Link() { return *m_link; }
    // Whom the program's messages go to (the main window's too).
    Prompter& Messages() { return m_prompter; }
    // The drawing preview now open, or none.
    DrawingPreviewWindow* Preview() const;

    // Whether a command can be chosen now and whether it shows a check mark.
    // Nothing can while a long step runs.
    CommandState StateOf(CommandId command) const;

    void OnReceiveAndConvert();
    void OnExportCoordinates();
    void OnConvertFile();
    void OnHeaders();
    void OnHorizontalDistances();
    void OnExportXyzDxf();
    void OnCheckFieldBook();
    void OnUseCurrent();
    void OnConversionParameters();
    void OnCommunicationParameters();

    // Whether the last run's receipt belongs to a field-book check, whose
    // protocol ShowLastCheck opens (a click on the receipt line).
    bool HasCheckProtocol() const { return m_lastCheck != nullptr; }
    void ShowLastCheck();

    // Runs a command by its number and saves the settings it changed; main-window
    // commands (help, tools, exit) are not the controller's and do nothing here.
    void Execute(CommandId command);
    // Writes the settings and remembered folders that differ from those last
    // loaded or saved. A profile that cannot be written is reported once a run.
    void SaveChangedSettings();

Q_SIGNALS:
    // A command has ended: what it did as one line (Windows-1250), for the main
    // window to show without a click, and the warning of the block check (empty
    // when it found nothing), for showing again on request.
    void ConversionReported(const QByteArray& receipt, const QByteArray& findings);
    // The run just reported was checked (right after ConversionReported): what
    // its findings were, for the receipt line's colour.
    void FieldBookChecked(const CheckCounts& counts);

protected:
    // Whether the port of the reception opens; when it does not, the user has been
    // told why.
    virtual bool CheckReceptionPort();
    // The windows of the serial link. The reception says what it received into
    // targetPath.
    virtual ReceptionEnd RunReception(const QString& targetPath);
    virtual void RunUploadWindow();
    virtual void RunCommunicationDialog();
    // The preview of a drawing just written from records (with the settings of the
    // run); it stays open beside the main window until the next one replaces it.
    virtual void ShowDrawing(const SurveyRecordList& records, const QString& fileName);
    // The protocol window of a check, with what its run said (notes); like the
    // preview it stays open until the next one replaces it.
    virtual void ShowCheckProtocol(std::shared_ptr<const JobCheck> check, const QString& notes);

private:
    // The file dialog, opened where the user last chose a file of that kind.
    QString ChooseFile(FileDialogRequest request, FileKind kind);
    bool ToolsAvailable() const;
    void RunTool(ConversionMode mode);
    void Convert(const QString& path, ConversionMode mode);
    // Tells the main window the receipt of a run and keeps its check (null: none).
    void Report(const QByteArray& receipt, const QByteArray& findings, std::shared_ptr<const JobCheck> check);
    // The receipt line of a reception that brought nothing to convert.
    void ReportReception(const ReceptionEnd& end, const QString& targetPath);
    // Where the preview goes: its place of the last run, else beside the owner.
    void PlacePreview();
    void KeepPreviewPlace();

    SettingsStore& m_store;
    ConversionSettings m_settings;
    ConversionSettings m_savedSettings;  // as last loaded or saved
    SerialSettings m_serial;
    CurrentFile m_file;
    Prompter& m_prompter;
    FileChooser& m_chooser;
    CoreOperations m_core;
    std::unique_ptr<SerialLink> m_link;
    RememberedFolders m_folders;
    RememberedFolders m_savedFolders;
    QString m_uploadText;  // the upload window's list, kept for its next opening
    QPointer<QWidget> m_owner;
    QPointer<DrawingPreviewWindow> m_preview;
    QPointer<ProtocolWindow> m_protocol;
    std::shared_ptr<const JobCheck> m_lastCheck;  // the last run's check; null when it was not checked
    QString m_lastNotes;                          // what that run said: its receipt and the block check's warning
    RefusedValues m_refused;                      // the profile values the load did not use
    bool m_refusedSaved = false;                  // the values in use have replaced them in the profile
    bool m_loaded = false;
    bool m_saveFailureTold = false;
};
