#include "gui/commands/CommandController.h"

#include "base/Cp1250.h"
#include "base/FileChooser.h"
#include "base/FileError.h"
#include "base/SettingsStore.h"
#include "base/Texts.h"
#include "tests/gui/commands/ScriptedUser.h"
#include "tests/support/ScriptedPrompter.h"
#include "tests/support/TestFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct Run {
    QString path;
    ConversionMode mode;
};

// A controller whose serial windows are scripted.
class TestController : public CommandController {
public:
    using CommandController::CommandController;
    ReceivedData received = ReceivedData::None;
    Reception::State receptionState = Reception::State::Cancelled;
    bool portOpens = true;
    QStringList receptions;
    int uploadWindows = 0;

protected:
    bool CheckReceptionPort() override { return portOpens; }
    ReceptionEnd RunReception(const QString& targetPath) override {
        receptions.append(targetPath);
        return {received, receptionState, received == ReceivedData::None ? 0 : 600};
    }
    void RunUploadWindow() override { ++uploadWindows; }
    void ShowDrawing(const SurveyRecordList& records, const QString& fileName) override {
        shownDrawings.append(QStringLiteral("%1: %2").arg(fileName).arg(records.size()));
    }

public:
    QStringList shownDrawings;  // "job.dxf: points"
};

}  // namespace

Q_DECLARE_METATYPE(CommandId)
Q_DECLARE_METATYPE(ReceivedData)
Q_DECLARE_METATYPE(Reception::State)

class CommandControllerTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    std::unique_ptr<SettingsStore> m_store;
    ScriptedPrompter m_prompter;
    ScriptedChooser m_chooser;
    QList<Run> m_runs;
    QStringList m_dxfExports;
    std::unique_ptr<TestController> m_controller;

    CoreOperations Recorders() {
        CoreOperations core;
        core.convert = [this](const QString& path, ConversionMode mode, ConversionContext&) {
            m_runs.append({path, mode});
            return CheckedConversion{{ConversionOutcome::Completed, {}}, nullptr};
        };
        core.exportXyzDxf = [this](const QString& chosen, ConversionContext&) {
            m_dxfExports.append(chosen);
            return DxfExportResult{ConversionOutcome::Completed, {}, {}};
        };
        return core;
    }

    TestController& Controller(quint16 flag = FLAG_DEFAULT, DeviceType deviceType = DeviceType::Nts350) {
        ConversionSettings startup;
        startup.flag = flag;
        m_controller = std::make_unique<TestController>(*m_store, startup, m_prompter, m_chooser, Recorders());
        m_controller->LoadSettings();
        m_controller->Settings().deviceType = deviceType;
        return *m_controller;
    }

private Q_SLOTS:
    void init() {
        m_store = std::make_unique<SettingsStore>(m_dir.filePath(QStringLiteral("profile.ini")));
        m_prompter = ScriptedPrompter();
        m_chooser = ScriptedChooser();
        m_runs.clear();
        m_dxfExports.clear();
    }
    void cleanup() {
        m_controller.reset();
        m_store.reset();
        QFile::remove(m_dir.filePath(QStringLiteral("profile.ini")));
    }

    void updateRules_data() {
        QTest::addColumn<quint16>("flag");
        QTest::addColumn<DeviceType>("deviceType");
        QTest::addColumn<QString>("basePath");
        QTest::addColumn<bool>("exportEnabled");
        QTest::addColumn<bool>("toolsEnabled");
        QTest::addColumn<bool>("checked");
        QTest::newRow("defaults") << FLAG_DEFAULT << DeviceType::Nts350 << "" << true << true << false;
        QTest::newRow("NTS-660 greys F2") << FLAG_DEFAULT << DeviceType::Nts660 << "" << false << true << false;
        QTest::newRow("stored type 5 greys F2")
            << FLAG_DEFAULT << static_cast<DeviceType>(5) << "" << false << true << false;
        QTest::newRow("use current without a file greys the tools")
            << quint16(FLAG_DEFAULT | FLAG_USE_CURRENT) << DeviceType::Nts350 << "" << true << false << true;
        QTest::newRow("use current with a file")
            << quint16(FLAG_DEFAULT | FLAG_USE_CURRENT) << DeviceType::Nts350 << "/d/job" << true << true << true;
    }
    void updateRules() {
        QFETCH(quint16, flag);
        QFETCH(DeviceType, deviceType);
        QFETCH(QString, basePath);
        QFETCH(bool, exportEnabled);
        QFETCH(bool, toolsEnabled);
        QFETCH(bool, checked);
        TestController& controller = Controller(flag, deviceType);
        controller.File().basePath = basePath;
        QCOMPARE(controller.StateOf(CommandId::ExportCoordinates).enabled, exportEnabled);
        for (CommandId tool : {CommandId::Headers, CommandId::HorizontalDistances, CommandId::ExportXyzDxf}) {
            QCOMPARE(controller.StateOf(tool).enabled, toolsEnabled);
        }
        QCOMPARE(controller.StateOf(CommandId::UseCurrent).checked, checked);
        QVERIFY(controller.StateOf(CommandId::ConvertFile).enabled);
        QVERIFY(controller.StateOf(CommandId::ReceiveAndConvert).enabled);
    }

    void f2DoesNothingForNts660() {
        TestController& controller = Controller(FLAG_DEFAULT, DeviceType::Nts660);
        controller.Execute(CommandId::ExportCoordinates);
        QCOMPARE(controller.uploadWindows, 0);
        controller.Settings().deviceType = DeviceType::Nts350;
        controller.Execute(CommandId::ExportCoordinates);
        QCOMPARE(controller.uploadWindows, 1);
    }

    void f3ConvertsTheChosenFileUnderItsOwnExtension() {
        TestController& controller = Controller(FLAG_DEFAULT | FLAG_USE_CURRENT);
        m_chooser.answers = {QStringLiteral("/data/job.txt")};
        controller.Execute(CommandId::ConvertFile);
        QCOMPARE(m_chooser.requests.size(), 1);
        QCOMPARE(m_chooser.requests[0].kind, FileDialogRequest::Kind::Open);
        QCOMPARE(m_chooser.requests[0].defaultExtension, QStringLiteral("sdt"));
        QCOMPARE(m_chooser.requests[0].filter, Text(Texts::kMeasuredDataFilter));
        QCOMPARE(m_runs.size(), 1);
        QCOMPARE(m_runs[0].path, QStringLiteral("/data/job.txt"));
        QCOMPARE(m_runs[0].mode, ConversionMode::Full);
        QCOMPARE(controller.File().basePath, QStringLiteral("/data/job"));
        QCOMPARE(controller.File().fileTitle, QStringLiteral("job"));
        // With "Použít aktuální" on, the tool now converts job.sdt without asking.
        controller.Execute(CommandId::HorizontalDistances);
        QCOMPARE(m_chooser.requests.size(), 1);
        QCOMPARE(m_runs.size(), 2);
        QCOMPARE(m_runs[1].path, QStringLiteral("/data/job.sdt"));
        QCOMPARE(m_runs[1].mode, ConversionMode::HorizontalDistances);
    }

    void tools_data() {
        QTest::addColumn<bool>("useCurrent");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<int>("command");
        QTest::addColumn<int>("dialogs");
        QTest::addColumn<QString>("converted");
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("basePath");
        QTest::newRow("headers ask, job.txt converts job.sdt")
            << false << "/d/job.txt" << int(CommandId::Headers) << 1 << "/d/job.sdt"
            << int(ConversionMode::StationHeaders) << "/d/job";
        QTest::newRow("distances ask") << false << "/d/a.sdt" << int(CommandId::HorizontalDistances) << 1 << "/d/a.sdt"
                                       << int(ConversionMode::HorizontalDistances) << "/d/a";
        QTest::newRow("use current asks nothing") << true << "" << int(CommandId::Headers) << 0 << "/d/old.sdt"
                                                  << int(ConversionMode::StationHeaders) << "/d/old";
        QTest::newRow("cancelled dialog changes nothing")
            << false << "" << int(CommandId::HorizontalDistances) << 1 << "" << 0 << "/d/old";
    }
    void tools() {
        QFETCH(bool, useCurrent);
        QFETCH(QString, converted);
        QFETCH(QString, answer);
        QFETCH(int, command);
        QFETCH(int, dialogs);
        QFETCH(int, mode);
        QFETCH(QString, basePath);
        TestController& controller = Controller(useCurrent ? FLAG_DEFAULT | FLAG_USE_CURRENT : FLAG_DEFAULT);
        controller.File().RememberChosenFile(QStringLiteral("/d/old.sdt"));
        m_chooser.answers = {answer};
        controller.Execute(static_cast<CommandId>(command));
        QCOMPARE(m_chooser.requests.size(), dialogs);
        if (converted.isEmpty()) {
            QVERIFY(m_runs.isEmpty());
        } else {
            QCOMPARE(m_runs.size(), 1);
            QCOMPARE(m_runs[0].path, converted);
            QCOMPARE(int(m_runs[0].mode), mode);
        }
        QCOMPARE(controller.File().basePath, basePath);
    }

    void dxfExportFromAChosenFileOrTheCurrentOne() {
        TestController& controller = Controller();
        m_chooser.answers = {QStringLiteral("/d/body.txt"), QString()};
        controller.Execute(CommandId::ExportXyzDxf);
        QCOMPARE(m_chooser.requests[0].filter, Text(Texts::kDxfSourceFilter));
        QCOMPARE(m_chooser.requests[0].defaultExtension, QStringLiteral("sdt"));
        QCOMPARE(m_dxfExports, QStringList{QStringLiteral("/d/body.txt")});
        controller.Execute(CommandId::ExportXyzDxf);  // cancelled
        QCOMPARE(m_dxfExports.size(), 1);

        controller.File().RememberChosenFile(QStringLiteral("/d/job.sdt"));
        controller.Execute(CommandId::UseCurrent);
        controller.Execute(CommandId::ExportXyzDxf);
        QCOMPARE(m_chooser.requests.size(), 2);
        QCOMPARE(m_dxfExports.size(), 2);
        QVERIFY(m_dxfExports[1].isEmpty());
    }

    // The DXF export's receipt at the banner's foot, and the preview of what it drew.
    void dxfExportReports_data() {
        QTest::addColumn<QString>("source");  // a file of tests/dxf/data
        QTest::addColumn<quint16>("flag");    // with FLAG_ASK_OVERWRITE the drawing exists
        QTest::addColumn<QString>("receipt");
        QTest::addColumn<QStringList>("shown");
        QTest::newRow("text list: receipt, and the preview with Zobrazit cílový soubor")
            << "several.txt" << FLAG_SHOW_OUTPUT << "Vykresleno: 5 bodů. Zapsáno: body.dxf."
            << QStringList{"body.dxf: 5"};
        QTest::newRow("no preview without Zobrazit cílový soubor")
            << "several.txt" << quint16(0) << "Vykresleno: 5 bodů. Zapsáno: body.dxf." << QStringList{};
        QTest::newRow("Ne to the overwrite: nothing written, and why")
            << "several.txt" << quint16(FLAG_SHOW_OUTPUT | FLAG_ASK_OVERWRITE)
            << "Nebyl zapsán žádný soubor: výkres body.dxf už existuje a jeho přepsání bylo odmítnuto."
            << QStringList{};
        QTest::newRow("measured data: the conversion's counts, then the points drawn")
            << "measured.sdt" << FLAG_SHOW_OUTPUT
            << "body se souřadnicemi 2, kódy 0. Přeskočeno: bajty mimo záznamy 0, nedokončené záznamy 0. "
               "Vykresleno: 2 body. Zapsáno: body.dxf."
            << QStringList{"body.dxf: 4"};
    }
    void dxfExportReports() {
        QFETCH(QString, source);
        QFETCH(quint16, flag);
        QFETCH(QString, receipt);
        QFETCH(QStringList, shown);
        const QString chosen = m_dir.filePath(QStringLiteral("body.") + QFileInfo(source).suffix());
        TestFiles::Write(chosen, TestFiles::Read(TestFiles::DataDir("dxf") + QLatin1Char('/') + source));
        TestFiles::Write(m_dir.filePath(QStringLiteral("body.dxf")), "old");
        ConversionSettings startup;
        startup.flag = flag;
        TestController controller(*m_store, startup, m_prompter, m_chooser, RealCoreOperations());
        controller.LoadSettings();
        m_chooser.answers = {chosen};
        m_prompter.overwrite = {Answer::No};
        QStringList receipts;
        connect(&controller, &CommandController::ConversionReported, this,
                [&receipts](const QByteArray& text, const QByteArray&) { receipts << Cp1250::ToUnicode(text); });
        controller.Execute(CommandId::ExportXyzDxf);
        QVERIFY2(receipts.size() == 1 && receipts[0].endsWith(receipt), qPrintable(receipts.join('|')));
        QCOMPARE(controller.shownDrawings, shown);
    }

    void receptionMustSucceedBeforeTheFileBecomesCurrent() {
        TestController& controller = Controller();
        controller.File().RememberChosenFile(QStringLiteral("/d/old.sdt"));
        m_chooser.answers = {QStringLiteral("/d/new.sdt"), QStringLiteral("/d/new.sdt")};
        controller.Execute(CommandId::ReceiveAndConvert);
        QCOMPARE(m_chooser.requests[0].kind, FileDialogRequest::Kind::Save);
        QCOMPARE(controller.receptions, QStringList{QStringLiteral("/d/new.sdt")});
        QVERIFY(m_runs.isEmpty());
        QCOMPARE(controller.File().basePath, QStringLiteral("/d/old"));

        controller.received = ReceivedData::Whole;
        controller.Execute(CommandId::ReceiveAndConvert);
        QCOMPARE(m_runs.size(), 1);
        QCOMPARE(m_runs[0].path, QStringLiteral("/d/new.sdt"));
        QCOMPARE(m_runs[0].mode, ConversionMode::Full);
        QCOMPARE(controller.File().basePath, QStringLiteral("/d/new"));
    }

    // What came before a lost connection replaces the job's outputs only after a
    // Yes to a question that names them; a whole transfer asks nothing.
    void aBrokenTransferIsConvertedOnlyAfterYes_data() {
        QTest::addColumn<ReceivedData>("received");
        QTest::addColumn<Answer>("answer");
        QTest::addColumn<int>("questions");
        QTest::addColumn<int>("conversions");
        QTest::newRow("whole transfer: converted, nothing asked") << ReceivedData::Whole << Answer::No << 0 << 1;
        QTest::newRow("broken, No: kept, not converted") << ReceivedData::Broken << Answer::No << 1 << 0;
        QTest::newRow("broken, Yes: converted") << ReceivedData::Broken << Answer::Yes << 1 << 1;
    }
    void aBrokenTransferIsConvertedOnlyAfterYes() {
        QFETCH(ReceivedData, received);
        QFETCH(Answer, answer);
        QFETCH(int, questions);
        QFETCH(int, conversions);
        TestController& controller = Controller();
        const QString target = m_dir.filePath(QStringLiteral("new.sdt"));
        TestFiles::Write(target, QByteArray(600, 'x'));
        TestFiles::Write(m_dir.filePath(QStringLiteral("new.zap")), "the job's good field book");
        m_chooser.answers = {target};
        m_prompter.defaultAnswer = answer;
        controller.received = received;
        controller.Execute(CommandId::ReceiveAndConvert);
        QCOMPARE(m_runs.size(), conversions);
        const QList<ScriptedPrompter::Message> asked = m_prompter.Of(Topic::PartialTransfer);
        QCOMPARE(asked.size(), questions);
        if (questions == 0) return;
        const QString text = Cp1250::ToUnicode(asked[0].text);
        QVERIFY2(text.contains(DisplayPathText(target)) && text.contains(QStringLiteral("600 bajtů")) &&
                     text.contains(QStringLiteral("new.zap")),
                 qPrintable(text));
    }

    void useCurrentFlipsOnlyItsBit() {
        TestController& controller = Controller(0x0FFF & ~FLAG_USE_CURRENT);
        controller.Execute(CommandId::UseCurrent);
        QCOMPARE(controller.Settings().flag, quint16(0x0FFF));
        controller.Execute(CommandId::UseCurrent);
        QCOMPARE(controller.Settings().flag, quint16(0x0FFF & ~FLAG_USE_CURRENT));
    }

    void conversionParametersGoThroughTheSheet() {
        TestController& controller = Controller();
        m_prompter.sheet = [](ConversionSettings& settings) {
            settings.jobAverageHeightMetres = 500;
            return true;
        };
        controller.Execute(CommandId::ConversionParameters);
        QCOMPARE(m_prompter.sheetsOpened, 1);
        QCOMPARE(controller.Settings().jobAverageHeightMetres, 500.0);
    }

    void settingsLoadInTwoStepsAndSaveAtTheEnd() {
        {
            QSettings profile(m_dir.filePath(QStringLiteral("profile.ini")), QSettings::IniFormat);
            profile.setValue(QStringLiteral("Settings/Flag"), FLAG_USE_CURRENT | FLAG_DEFAULT);
            profile.setValue(QStringLiteral("Settings/JX"), QStringLiteral("1100000"));
            profile.setValue(QStringLiteral("Settings/DeviceType"), 1);
        }
        ConversionSettings startup;
        LoadStartupFlag(*m_store, startup);
        auto controller = std::make_unique<TestController>(*m_store, startup, m_prompter, m_chooser, Recorders());
        QCOMPARE(controller->Settings().flag, quint16(FLAG_USE_CURRENT | FLAG_DEFAULT));
        QCOMPARE(controller->Settings().jobAverageXMetres, 1001000.0);  // not before the controller is initialised
        controller->LoadSettings();
        QCOMPARE(controller->Settings().jobAverageXMetres, 1100000.0);
        QCOMPARE(controller->Settings().deviceType, DeviceType::Nts660);
        controller->Settings().jobAverageYMetres = 700000.25;
        controller.reset();
        m_store.reset();
        QSettings profile(m_dir.filePath(QStringLiteral("profile.ini")), QSettings::IniFormat);
        QCOMPARE(profile.value(QStringLiteral("Settings/JY")).toString(), QStringLiteral("700000.250"));
        // Unchanged values are not written again.
        QCOMPARE(profile.value(QStringLiteral("Settings/JX")).toString(), QStringLiteral("1100000"));
    }

    // A profile value outside its range is told after the load, and the first save
    // writes the value in use over it, so that the next start is quiet.
    void refusedProfileValuesAreToldOnceAndReplaced_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("saved");  // in the profile after the run; "" when nothing is refused
        QTest::newRow("Flag, loaded before the controller") << QString("Flag") << QString("70000") << QString("30");
        QTest::newRow("serial value, else written only by its dialog")
            << QString("BaudRate") << QString("511") << QString("5");
        QTest::newRow("inside its range: neither told nor rewritten")
            << QString("JX") << QString("1100000") << QString();
    }
    void refusedProfileValuesAreToldOnceAndReplaced() {
        QFETCH(QString, name);
        QFETCH(QString, stored);
        QFETCH(QString, saved);
        const QString path = m_dir.filePath(QStringLiteral("profile.ini"));
        QSettings(path, QSettings::IniFormat).setValue("Settings/" + name, stored);
        m_store = std::make_unique<SettingsStore>(path);
        ConversionSettings startup;
        const RefusedValues startupRefused = LoadStartupFlag(*m_store, startup);
        {
            TestController controller(*m_store, startup, m_prompter, m_chooser, Recorders());
            controller.LoadSettings(startupRefused);
            controller.TellRefusedSettings();
        }
        QCOMPARE(m_prompter.messages.size(), saved.isEmpty() ? 0 : 1);
        if (!saved.isEmpty()) QVERIFY(m_prompter.messages.first().text.contains(DisplayPath(path)));
        QCOMPARE(QSettings(path, QSettings::IniFormat).value("Settings/" + name).toString(),
                 saved.isEmpty() ? stored : saved);
    }

    // Two copies of the program share the profile: each writes only the values it
    // changed, when it changed them, so that closing one never puts back values
    // the other saved meanwhile.
    void aSecondCopysNewerValuesAreNeverWrittenBack_data() {
        QTest::addColumn<bool>("firstChangesJy");
        QTest::addColumn<bool>("firstChangesJx");
        QTest::addColumn<QString>("jx");  // in the profile once the first copy has closed
        QTest::newRow("first copy changed nothing") << false << false << "1045000.000";
        QTest::newRow("first copy changed another value") << true << false << "1045000.000";
        QTest::newRow("first copy changed the same value later") << false << true << "1100000.000";
    }
    void aSecondCopysNewerValuesAreNeverWrittenBack() {
        QFETCH(bool, firstChangesJy);
        QFETCH(bool, firstChangesJx);
        QFETCH(QString, jx);
        TestController& first = Controller();
        const double firstJx = first.Settings().jobAverageXMetres;
        {
            SettingsStore secondStore(m_dir.filePath(QStringLiteral("profile.ini")));
            TestController second(secondStore, ConversionSettings(), m_prompter, m_chooser, Recorders());
            second.LoadSettings();
            m_prompter.sheet = [](ConversionSettings& settings) {
                settings.jobAverageXMetres = 1045000;
                return true;
            };
            second.Execute(CommandId::ConversionParameters);
            QSettings profile(m_dir.filePath(QStringLiteral("profile.ini")), QSettings::IniFormat);
            // Saved at once, not only when the second copy ends.
            QCOMPARE(profile.value(QStringLiteral("Settings/JX")).toString(), QStringLiteral("1045000.000"));
        }
        m_prompter.sheet = [&](ConversionSettings& settings) {
            if (firstChangesJy) settings.jobAverageYMetres = 700000.25;
            if (firstChangesJx) settings.jobAverageXMetres = 1100000;
            return true;
        };
        first.Execute(CommandId::ConversionParameters);
        first.Execute(CommandId::UseCurrent);
        QCOMPARE(first.Settings().jobAverageXMetres, firstChangesJx ? 1100000.0 : firstJx);
        m_controller.reset();
        m_store.reset();
        QSettings profile(m_dir.filePath(QStringLiteral("profile.ini")), QSettings::IniFormat);
        QCOMPARE(profile.value(QStringLiteral("Settings/JX")).toString(), jx);
        QCOMPARE(profile.value(QStringLiteral("Settings/Flag")).toUInt(), uint(FLAG_DEFAULT | FLAG_USE_CURRENT));
        if (firstChangesJy)
            QCOMPARE(profile.value(QStringLiteral("Settings/JY")).toString(), QStringLiteral("700000.250"));
    }

    // F1 checks the port before it asks for a file name, and the receipt line then
    // says what the reception did, never the outputs of an earlier run.
    void receptionReceiptSaysWhatHappened_data() {
        QTest::addColumn<bool>("portOpens");
        QTest::addColumn<ReceivedData>("received");
        QTest::addColumn<Reception::State>("state");
        QTest::addColumn<int>("fileDialogs");
        QTest::addColumn<QString>("receipt");
        QTest::newRow("port refused: no file name asked")
            << false << ReceivedData::None << Reception::State::Cancelled << 0
            << "Příjem dat nezačal: port se nepodařilo otevřít (viz předchozí hlášení).";
        QTest::newRow("Storno") << true << ReceivedData::None << Reception::State::Cancelled << 1
                                << "Příjem dat byl zrušen: nic nebylo uloženo ani převedeno.";
        QTest::newRow("line lost before any data")
            << true << ReceivedData::None << Reception::State::Lost << 1
            << "Spojení s přístrojem bylo přerušeno dřív, než přišla data: nic nebylo uloženo ani převedeno.";
        QTest::newRow("broken transfer answered No")
            << true << ReceivedData::Broken << Reception::State::Lost << 1
            << "Přenos byl přerušen: přijato 600 bajtů do new.sdt, data nebyla převedena.";
    }
    void receptionReceiptSaysWhatHappened() {
        QFETCH(bool, portOpens);
        QFETCH(ReceivedData, received);
        QFETCH(Reception::State, state);
        QFETCH(int, fileDialogs);
        QFETCH(QString, receipt);
        TestController& controller = Controller();
        controller.portOpens = portOpens;
        controller.received = received;
        controller.receptionState = state;
        const QString target = m_dir.filePath(QStringLiteral("new.sdt"));
        TestFiles::Write(target, QByteArray(600, 'x'));
        m_chooser.answers = {target};
        m_prompter.defaultAnswer = Answer::No;
        QStringList receipts;
        connect(&controller, &CommandController::ConversionReported, this,
                [&receipts](const QByteArray& text, const QByteArray&) { receipts << Cp1250::ToUnicode(text); });
        controller.Execute(CommandId::ReceiveAndConvert);
        QCOMPARE(m_chooser.requests.size(), fileDialogs);
        QVERIFY(m_runs.isEmpty());
        QCOMPARE(receipts, QStringList{receipt});
    }

    // A file dialog opens where the user last chose a file of its kind, in this run
    // or an earlier one, and never in a folder that is gone.
    void fileDialogsOpenInTheRememberedFolder_data() {
        QTest::addColumn<QString>("stored");  // "kept", "gone" or empty: the profile's folder of measured data
        QTest::addColumn<CommandId>("command");
        QTest::addColumn<QString>("opensIn");  // "kept", or "documents"
        QTest::newRow("never chosen: documents") << "" << CommandId::ConvertFile << "documents";
        QTest::newRow("remembered from an earlier run") << "kept" << CommandId::ConvertFile << "kept";
        QTest::newRow("F1 saves where F3 opened") << "kept" << CommandId::ReceiveAndConvert << "kept";
        QTest::newRow("folder deleted since: documents") << "gone" << CommandId::ConvertFile << "documents";
        QTest::newRow("the DXF source is a kind of its own") << "kept" << CommandId::ExportXyzDxf << "documents";
    }
    void fileDialogsOpenInTheRememberedFolder() {
        QFETCH(QString, stored);
        QFETCH(CommandId, command);
        QFETCH(QString, opensIn);
        const QString kept = m_dir.filePath(QStringLiteral("Zakázky 2026"));
        QDir().mkpath(kept);
        if (!stored.isEmpty()) {
            QSettings profile(m_dir.filePath(QStringLiteral("profile.ini")), QSettings::IniFormat);
            const QString folder = stored == QLatin1String("kept") ? kept : m_dir.filePath(QStringLiteral("gone"));
            profile.setValue(QStringLiteral("Settings/MeasuredDataFolder"), folder);
            profile.setValue(QStringLiteral("Settings/DxfSourceFolder"), QString());
        }
        const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        const QString chosenFolder = m_dir.filePath(QStringLiteral("Měření"));
        QDir().mkpath(chosenFolder);
        m_chooser.answers = {chosenFolder + QStringLiteral("/stanice.sdt")};
        Controller().Execute(command);
        QCOMPARE(m_chooser.requests.size(), 1);
        QCOMPARE(m_chooser.requests[0].folder, opensIn == QLatin1String("kept") ? kept : documents);

        // The folder of the choice is where the next run's dialog of that kind opens.
        m_controller.reset();
        Controller().Execute(command);
        QCOMPARE(m_chooser.requests.size(), 2);
        QCOMPARE(m_chooser.requests[1].folder, chosenFolder);
        m_controller.reset();
        QDir(kept).removeRecursively();
        QDir(chosenFolder).removeRecursively();
    }

    void anUnwritableProfileIsReportedOnceAtTheEnd() {
        // The profile's folder is a file: nobody can write there, not even root.
        TestFiles::Write(m_dir.filePath(QStringLiteral("blocked")), {});
        m_store = std::make_unique<SettingsStore>(m_dir.filePath(QStringLiteral("blocked/Tarvo.conf")));
        Controller().Settings().jobAverageYMetres = 700000.25;
        QVERIFY(m_prompter.messages.isEmpty());
        m_controller.reset();
        QCOMPARE(m_prompter.messages.size(), 1);
        QCOMPARE(m_prompter.messages.first().text, UnsavedSettingsText(*m_store));
        QVERIFY(m_prompter.messages.first().text.contains(
            DisplayPath(m_dir.filePath(QStringLiteral("blocked/Tarvo.conf")))));
        QCOMPARE(m_prompter.messages.first().icon, MessageIcon::Exclamation);
    }

    void aControllerNeverLoadedLeavesTheProfileAlone() {
        {
            QSettings profile(m_dir.filePath(QStringLiteral("profile.ini")), QSettings::IniFormat);
            profile.setValue(QStringLiteral("Settings/JX"), QStringLiteral("1100000"));
        }
        auto controller =
            std::make_unique<TestController>(*m_store, ConversionSettings(), m_prompter, m_chooser, Recorders());
        controller.reset();
        m_store.reset();
        QSettings profile(m_dir.filePath(QStringLiteral("profile.ini")), QSettings::IniFormat);
        QCOMPARE(profile.value(QStringLiteral("Settings/JX")).toString(), QStringLiteral("1100000"));
    }
};

QTEST_GUILESS_MAIN(CommandControllerTest)
#include "CommandControllerTest.moc"
