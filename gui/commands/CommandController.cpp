#include "gui/commands/CommandController.h"

#include "base/Cp1250.h"
#include "base/FileChooser.h"
#include "base/FileError.h"
#include "base/Prompter.h"
#include "base/SettingsStore.h"
#include "base/Texts.h"
#include "gui/check/ProtocolWindow.h"
#include "gui/common/BackgroundStep.h"
#include "gui/common/UiText.h"
#include "gui/common/WindowTexts.h"
#include "gui/preview/DrawingPreviewWindow.h"
#include "gui/serial/CommunicationDialog.h"
#include "gui/serial/ReceptionWindow.h"
#include "gui/upload/UploadWindow.h"
#include "serial/PortError.h"
#include "serial/PortNames.h"
#include "serial/ReceptionFollowUp.h"
#include "serial/SerialLink.h"
#include "serial/SerialUploadPort.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QScreen>
#include <QStandardPaths>

#include <utility>

namespace {

FileDialogRequest MeasuredDataRequest(FileDialogRequest::Kind kind) {
    return FileDialogRequest{kind, Text(Texts::kMeasuredDataFilter), QStringLiteral("sdt"), {}, {}};
}

// The profile value of the preview's place: "x y width height" of its frame.
constexpr char kPreviewPlaceValue[] = "PreviewPlace";

QString PlaceText(const QRect& place) {
    return QStringLiteral("%1 %2 %3 %4").arg(place.x()).arg(place.y()).arg(place.width()).arg(place.height());
}

QRect PlaceOf(const QString& text) {
    const QStringList numbers = text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (numbers.size() != 4) return {};
    int values[4];
    for (int i = 0; i < 4; ++i) {
        bool read = false;
        values[i] = numbers[i].toInt(&read);
        if (!read) return {};
    }
    return QRect(values[0], values[1], values[2], values[3]);
}

}  // namespace

CommandController::CommandController(SettingsStore& store, const ConversionSettings& startupSettings,
                                     Prompter& prompter, FileChooser& chooser, CoreOperations core, QObject* parent)
    : QObject(parent),
      m_store(store),
      m_settings(startupSettings),
      m_prompter(prompter),
      m_chooser(chooser),
      m_core(std::move(core)),
      m_link(std::make_unique<SerialLink>()) {
    m_link->SetPortResolver([this](int commPort) { return PortNames::DeviceOf(m_store, commPort); });
}

CommandController::~CommandController() {
    // A preview or protocol left open goes with the program.
    delete m_preview.data();
    delete m_protocol.data();
    // The port closes before the settings are written.
    m_link.reset();
    // A controller whose settings were never loaded would overwrite the profile with
    // defaults; it leaves the profile alone.
    if (m_loaded) SaveChangedSettings();
}

DrawingPreviewWindow* CommandController::Preview() const { return m_preview.data(); }

void CommandController::LoadSettings(const RefusedValues& startupRefused) {
    m_refused = startupRefused;
    for (RefusedValue& refused : LoadRemainingSettings(m_store, m_settings, m_serial))
        m_refused.push_back(std::move(refused));
    LoadRememberedFolders(m_store, m_folders);
    m_link->SetSettings(m_serial);
    m_savedSettings = m_settings;
    m_savedFolders = m_folders;
    m_loaded = true;
    // A profile that cannot be written is told at the first save.
    CompleteProfile(m_store, m_settings);
}

void CommandController::SaveChangedSettings() {
    if (!m_loaded) return;
    SaveChangedFolders(m_store, m_savedFolders, m_folders);
    const bool foldersChanged = !(m_folders == m_savedFolders);
    const RefusedValues unsaved = m_refusedSaved ? RefusedValues() : m_refused;
    bool saved = ::SaveChangedSettings(m_store, m_savedSettings, m_settings, unsaved);
    // The serial values are the communication dialog's to save; here only those the
    // load refused are written (saved and now alike, nothing else differs).
    if (saved) saved = SaveChangedSerialSettings(m_store, m_serial, m_serial, unsaved);
    if (saved && foldersChanged) saved = m_store.Sync();
    if (saved) {
        m_savedSettings = m_settings;
        m_savedFolders = m_folders;
        m_refusedSaved = true;
        return;
    }
    // Told once: every later command would fail the same way.
    if (m_saveFailureTold) return;
    m_saveFailureTold = true;
    m_prompter.Tell(UnsavedSettingsText(m_store));
}

void CommandController::TellRefusedSettings() {
    if (m_refused.empty()) return;
    QByteArray text;
    for (const RefusedValue& refused : m_refused) text += RefusedValueText(refused) + '\n';
    text += '\n' + TextWith(WindowTexts::kProfileValuesAdvice, DisplayPath(m_store.Location()));
    m_prompter.Tell(text);
}

bool CommandController::ToolsAvailable() const {
    return !(m_settings.Has(FLAG_USE_CURRENT) && m_file.basePath.isEmpty());
}

CommandState CommandController::StateOf(CommandId command) const {
    CommandState state;
    switch (command) {
        case CommandId::ExportCoordinates:
            state.enabled = m_settings.deviceType == DeviceType::Nts350;
            break;
        case CommandId::Headers:
        case CommandId::HorizontalDistances:
        case CommandId::ExportXyzDxf:
            state.enabled = ToolsAvailable();
            break;
        case CommandId::UseCurrent:
            state.checked = m_settings.Has(FLAG_USE_CURRENT);
            break;
        default:
            break;
    }
    if (BackgroundStep::Running()) state.enabled = false;
    return state;
}

void CommandController::Execute(CommandId command) {
    if (!StateOf(command).enabled) return;
    switch (command) {
        case CommandId::ReceiveAndConvert:
            OnReceiveAndConvert();
            break;
        case CommandId::ExportCoordinates:
            OnExportCoordinates();
            break;
        case CommandId::ConvertFile:
            OnConvertFile();
            break;
        case CommandId::Headers:
            OnHeaders();
            break;
        case CommandId::HorizontalDistances:
            OnHorizontalDistances();
            break;
        case CommandId::ExportXyzDxf:
            OnExportXyzDxf();
            break;
        case CommandId::CheckFieldBook:
            OnCheckFieldBook();
            break;
        case CommandId::UseCurrent:
            OnUseCurrent();
            break;
        case CommandId::ConversionParameters:
            OnConversionParameters();
            break;
        case CommandId::CommunicationParameters:
            OnCommunicationParameters();
            break;
        case CommandId::Help:
        case CommandId::Tools:
        case CommandId::Exit:
            return;
    }
    SaveChangedSettings();
}

QString CommandController::ChooseFile(FileDialogRequest request, FileKind kind) {
    request.folder = m_folders.StartFolder(kind, QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    const QString path = m_chooser.Choose(request);
    m_folders.Remember(kind, path);
    return path;
}

void CommandController::Report(const QByteArray& receipt, const QByteArray& findings,
                               std::shared_ptr<const JobCheck> check) {
    m_lastCheck = std::move(check);
    m_lastNotes = Cp1250::ToUnicode(receipt);
    if (!findings.isEmpty()) m_lastNotes += QStringLiteral("\n\n") + Cp1250::ToUnicode(findings);
    Q_EMIT ConversionReported(receipt, findings);
    if (m_lastCheck) Q_EMIT FieldBookChecked(m_lastCheck->Counts());
}

void CommandController::Convert(const QString& path, ConversionMode mode) {
    if (!m_core.convert) return;
    CheckedConversion checked;
    const QString step = Cp1250::ToUnicode(TextWith(WindowTexts::kStepConverting, DisplayPath(path)));
    BackgroundStep::Run(m_owner, step, m_prompter, [&](Prompter& prompter) {
        ConversionContext context{m_settings, m_file, prompter};
        checked = m_core.convert(path, mode, context);
    });
    const ConversionResult& result = checked.conversion;
    const ConversionReceipt& receipt = result.receipt;
    Report(ReceiptText(receipt, result.outcome), receipt.read.findingsText, checked.check);
    // A run that went through and still wrote nothing would otherwise pass in
    // silence; cancelled and failed runs have said their word already.
    if (result.outcome == ConversionOutcome::Completed && receipt.read.parsed && receipt.written.isEmpty())
        m_prompter.Tell(WrittenText({}, NothingWrittenText(receipt.read, result.outcome)), MessageIcon::Exclamation,
                        Topic::Summary);
}

bool CommandController::CheckReceptionPort() {
    if (m_link->IsOpen()) m_link->Close();
    const bool opened = m_link->Open(false);
    if (opened) {
        m_link->Close();
        return true;
    }
    m_prompter.Tell(Text(Texts::kBadCommSettings) + '\n' +
                    PortErrorText(m_link->OpenError(), Texts::kReceptionPortAdvice));
    return false;
}

void CommandController::OnReceiveAndConvert() {
    // The port first: nobody types a file name for a reception that cannot start.
    if (!CheckReceptionPort()) {
        Report(Text(WindowTexts::kReceiptPortRefused), {}, nullptr);
        return;
    }
    const QString path = ChooseFile(MeasuredDataRequest(FileDialogRequest::Kind::Save), FileKind::MeasuredData);
    if (path.isEmpty()) return;
    // The data of a reception that never ended are offered before a new one starts.
    Reception::OfferLeftovers(path, m_prompter, [this] {
        return ChooseFile(MeasuredDataRequest(FileDialogRequest::Kind::Save), FileKind::MeasuredData);
    });
    // A cancelled reception leaves the current file as it was.
    const ReceptionEnd end = RunReception(path);
    if (end.left != ReceivedData::None) m_file.RememberChosenFile(path);
    bool converted = false;
    FollowReception(end.left, path, m_prompter, [this, &path, &converted] {
        converted = true;
        Convert(path, ConversionMode::Full);
    });
    // Without a conversion the receipt line tells what the reception did instead of
    // naming the outputs of an earlier run.
    if (!converted) ReportReception(end, path);
}

void CommandController::ReportReception(const ReceptionEnd& end, const QString& targetPath) {
    QByteArray text;
    if (end.left == ReceivedData::Broken) {
        text = TextFilled(WindowTexts::kReceiptBrokenNotConverted,
                          {PluralForm(end.bytes, Texts::kReceivedParticiple), Counted(end.bytes, Texts::kBytesNoun),
                           Cp1250::FromUnicode(QFileInfo(targetPath).fileName())});
    } else if (end.state == Reception::State::Lost) {
        text = Text(WindowTexts::kReceiptLostNoData);
    } else if (end.state == Reception::State::Failed) {
        text = Text(WindowTexts::kReceiptReceptionFailed);
    } else {
        text = Text(WindowTexts::kReceiptReceptionCancelled);
    }
    Report(text, {}, nullptr);
}

void CommandController::OnExportCoordinates() {
    if (m_settings.deviceType != DeviceType::Nts350) return;
    RunUploadWindow();
}

void CommandController::OnConvertFile() {
    // Asks for a file even when "Použít aktuální" is on; converts it under
    // whatever extension it has.
    const QString path = ChooseFile(MeasuredDataRequest(FileDialogRequest::Kind::Open), FileKind::MeasuredData);
    if (path.isEmpty()) return;
    m_file.RememberChosenFile(path);
    Convert(path, ConversionMode::Full);
}

void CommandController::RunTool(ConversionMode mode) {
    if (!m_settings.Has(FLAG_USE_CURRENT)) {
        const QString path = ChooseFile(MeasuredDataRequest(FileDialogRequest::Kind::Open), FileKind::MeasuredData);
        if (path.isEmpty()) return;
        m_file.RememberChosenFile(path);
    }
    if (m_file.basePath.isEmpty()) return;
    // The tools always read the measured data: a chosen job.txt converts job.sdt.
    Convert(m_file.basePath + QStringLiteral(".sdt"), mode);
}

void CommandController::OnHeaders() { RunTool(ConversionMode::StationHeaders); }

void CommandController::OnHorizontalDistances() { RunTool(ConversionMode::HorizontalDistances); }

void CommandController::OnExportXyzDxf() {
    QString chosen;
    if (!m_settings.Has(FLAG_USE_CURRENT)) {
        // A typed name without extension is looked for as measured data (or as a
        // text list while that filter is chosen); the dialog opens with the filter
        // of the file chosen last.
        FileDialogRequest request{FileDialogRequest::Kind::Open,
                                  Text(Texts::kDxfSourceFilter),
                                  QStringLiteral("sdt"),
                                  {},
                                  m_folders.dxfSourceExtension};
        chosen = ChooseFile(request, FileKind::DxfSource);
        if (chosen.isEmpty()) return;
        const QString extension = CurrentFile::ExtensionOf(chosen);
        if (extension == QLatin1String("sdt") || extension == QLatin1String("txt"))
            m_folders.dxfSourceExtension = extension;
    } else if (m_file.basePath.isEmpty()) {
        return;
    }
    if (!m_core.exportXyzDxf) return;
    DxfExportResult result;
    const QString source = chosen.isEmpty() ? m_file.basePath + QStringLiteral(".sdt") : chosen;
    const QString step = Cp1250::ToUnicode(TextWith(WindowTexts::kStepDrawing, DisplayPath(source)));
    BackgroundStep::Run(m_owner, step, m_prompter, [&](Prompter& prompter) {
        ConversionContext context{m_settings, m_file, prompter};
        result = m_core.exportXyzDxf(chosen, context);
    });
    Report(DrawingReceiptText(result.receipt, result.outcome), {}, nullptr);
    // With "Zobrazit cílový soubor" the drawing is shown once it is written.
    if (result.receipt.drawing == DrawingOutcome::Written && m_settings.Has(FLAG_SHOW_OUTPUT))
        ShowDrawing(result.records, Cp1250::ToUnicode(result.receipt.drawingFile));
}

void CommandController::OnCheckFieldBook() {
    // Asks for a file whatever "Použít aktuální" says, and leaves the current file
    // as it was: nothing is converted.
    const QString path = ChooseFile(MeasuredDataRequest(FileDialogRequest::Kind::Open), FileKind::MeasuredData);
    if (path.isEmpty() || !m_core.checkFile) return;
    ConversionContext context{m_settings, m_file, m_prompter};
    const FileCheck result = m_core.checkFile(path, context);
    if (result.outcome != ConversionOutcome::Completed) return;  // said already
    if (!result.check) {
        m_prompter.Tell(TextFilled(Texts::kNothingChecked, {NothingWrittenText(result.read, result.outcome)}),
                        MessageIcon::Exclamation, Topic::Summary);
        return;
    }
    Report(ReadingText(result.read) + CheckCountsText(result.check->Counts()).trimmed(), result.read.findingsText,
           result.check);
    ShowLastCheck();
}

void CommandController::ShowLastCheck() {
    if (m_lastCheck) ShowCheckProtocol(m_lastCheck, m_lastNotes);
}

void CommandController::ShowCheckProtocol(std::shared_ptr<const JobCheck> check, const QString& notes) {
    if (m_protocol) m_protocol->close();
    m_protocol = new ProtocolWindow(std::move(check), notes, m_owner);
    m_protocol->show();
    m_protocol->raise();
}

void CommandController::ShowDrawing(const SurveyRecordList& records, const QString& fileName) {
    // One preview at a time: the latest drawing's.
    if (m_preview) m_preview->close();
    m_preview = new DrawingPreviewWindow(records, m_settings, fileName, m_owner);
    PlacePreview();
    connect(m_preview, &DrawingPreviewWindow::Closing, this, &CommandController::KeepPreviewPlace);
    m_preview->show();
    m_preview->raise();
}

void CommandController::PlacePreview() {
    const QRect stored = PlaceOf(m_store.ReadString(QStringLiteral("Settings"), QLatin1String(kPreviewPlaceValue)));
    const QRect owner = m_owner ? m_owner->frameGeometry() : QRect();
    QList<QRect> screens;
    for (const QScreen* screen : QGuiApplication::screens()) screens.append(screen->availableGeometry());
    const QRect place = DrawingPreviewWindow::Place(m_preview->size(), owner, screens, stored);
    m_preview->resize(place.size());
    m_preview->move(place.topLeft());
}

void CommandController::KeepPreviewPlace() {
    if (!m_preview) return;
    const QRect place(m_preview->pos(), m_preview->size());
    // Remembered per user; nothing else of the profile is touched.
    m_store.WriteString(QStringLiteral("Settings"), QLatin1String(kPreviewPlaceValue), PlaceText(place));
    m_store.Sync();
}

void CommandController::OnUseCurrent() { m_settings.flag ^= FLAG_USE_CURRENT; }

void CommandController::OnConversionParameters() { m_prompter.RunParameterSheet(m_settings); }

void CommandController::OnCommunicationParameters() { RunCommunicationDialog(); }

ReceptionEnd CommandController::RunReception(const QString& targetPath) {
    ReceptionWindow window(*m_link, m_prompter, targetPath, m_owner);
    const bool received = window.Run();
    const Reception& reception = window.GetReception();
    return ReceptionEnd{received ? reception.Left() : ReceivedData::None, reception.CurrentState(),
                        reception.StoredBytes()};
}

void CommandController::RunUploadWindow() {
    SerialUploadPort port(*m_link);
    UploadWindow window(m_settings.flag, port, m_prompter, m_owner);
    window.SetFileChooser([this] {
        return ChooseFile(FileDialogRequest{FileDialogRequest::Kind::Open, Text(Texts::kAllFilesFilter), {}, {}, {}},
                          FileKind::UploadList);
    });
    // The list stays from one opening of the window to the next.
    window.Editor()->setPlainText(m_uploadText);
    window.exec();
    m_uploadText = window.Editor()->toPlainText();
}

void CommandController::RunCommunicationDialog() {
    CommunicationDialog dialog(*m_link, m_store, m_prompter, m_owner);
    dialog.exec();
    // The dialog's values are in use from its OK on, stored or not.
    m_serial = m_link->Settings();
}
