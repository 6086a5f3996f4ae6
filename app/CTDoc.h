#pragma once
// The one document of the window program. It owns the settings of the run (loaded
// in two steps: "Flag" before the main window exists, the rest when the document
// is initialised; all saved when it is destroyed), the current measured-data file,
// and the handlers of every command of the menu, the toolbar and the function
// keys. It is never loaded from or saved to a file of its own, and it asks nothing
// when the program closes.

#include "app/CoreOperations.h"
#include "base/ConversionSettings.h"
#include "base/DocumentState.h"

#include <QObject>
#include <QString>

#include <memory>

class FileChooser;
class Prompter;
class SerialLink;
class SettingsStore;

// The command numbers of the menu, the toolbar and the function keys.
enum class CommandId : int {
    ReceiveAndConvert = 32780,    // F1
    ExportCoordinates = 32781,    // F2
    ConvertFile = 32779,          // F3
    Headers = 32789,              // tool
    HorizontalDistances = 32788,  // tool
    ExportXyzDxf = 32801,         // tool
    UseCurrent = 32790,           // toggle of FLAG_USE_CURRENT
    ConversionParameters = 32783,
    CommunicationParameters = 32776,
    Help = 32775,   // main window
    Tools = 32787,  // main window, toolbar only
    Exit = 57665,
};

struct CommandState {
    bool enabled = true;
    bool checked = false;
};

class CTDoc : public QObject {
    Q_OBJECT
public:
    // startupSettings holds "Flag" as loaded before the main window was made.
    CTDoc(SettingsStore& store, const ConversionSettings& startupSettings, Prompter& prompter, FileChooser& chooser,
          CoreOperations core, QObject* parent = nullptr);
    // Saves the settings (after the serial link is gone); a profile that cannot be
    // written is reported.
    ~CTDoc() override;

    // Initialisation as the new document: loads every setting but "Flag".
    bool OnNewDocument();

    ConversionSettings& Settings() { return m_settings; }
    const ConversionSettings& Settings() const { return m_settings; }
    SerialSettings& Serial() { return m_serial; }
    DocumentState& Document() { return m_document; }
    const DocumentState& Document() const { return m_document; }
    // The one serial link; its port number opens the device the profile's section
    // "Ports" names.
    SerialLink& Link() { return *m_link; }

    // Whether a command can be chosen now and whether it shows a check mark.
    CommandState StateOf(CommandId command) const;

    void OnReceiveAndConvert();
    void OnExportCoordinates();
    void OnConvertFile();
    void OnHeaders();
    void OnHorizontalDistances();
    void OnExportXyzDxf();
    void OnUseCurrent();
    void OnConversionParameters();
    void OnCommunicationParameters();

    // Runs a command by its number; main-window commands (help, tools, exit) are
    // not the document's and do nothing here.
    void Execute(CommandId command);

Q_SIGNALS:
    // A conversion has ended: its receipt as one line (Windows-1250), for the
    // main window to show without a click.
    void ConversionReported(const QByteArray& receipt);

protected:
    // The windows of the serial link. The reception returns true when it received
    // a file into targetPath.
    virtual bool RunReception(const QString& targetPath);
    virtual void RunUploadWindow();
    virtual void RunCommunicationDialog();

private:
    bool ToolsAvailable() const;
    void RunTool(ConversionMode mode);
    void Convert(const QString& path, ConversionMode mode);

    SettingsStore& m_store;
    ConversionSettings m_settings;
    SerialSettings m_serial;
    DocumentState m_document;
    Prompter& m_prompter;
    FileChooser& m_chooser;
    CoreOperations m_core;
    std::unique_ptr<SerialLink> m_link;
    bool m_loaded = false;
};
