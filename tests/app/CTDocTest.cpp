#include "app/CTDoc.h"

#include "base/FileChooser.h"
#include "base/SettingsStore.h"
#include "base/Texts.h"
#include "tests/app/ScriptedUser.h"
#include "tests/support/ScriptedPrompter.h"
#include "tests/support/TestFiles.h"

#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct Run {
    QString path;
    ConversionMode mode;
};

// A document whose serial windows are scripted.
class TestDocument : public CTDoc {
public:
    using CTDoc::CTDoc;
    bool receptionSucceeds = false;
    QStringList receptions;
    int uploadWindows = 0;

protected:
    bool RunReception(const QString& targetPath) override {
        receptions.append(targetPath);
        return receptionSucceeds;
    }
    void RunUploadWindow() override { ++uploadWindows; }
};

}  // namespace

Q_DECLARE_METATYPE(CommandId)

class CTDocTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    std::unique_ptr<SettingsStore> m_store;
    ScriptedPrompter m_prompter;
    ScriptedChooser m_chooser;
    QList<Run> m_runs;
    QStringList m_dxfExports;
    std::unique_ptr<TestDocument> m_document;

    CoreOperations Recorders() {
        CoreOperations core;
        core.prepareRawData = [this](const QString& path, ConversionMode mode, ConversionContext&) {
            m_runs.append({path, mode});
            return ConversionOutcome::Completed;
        };
        core.exportXyzDxf = [this](const QString& chosen, ConversionContext&) { m_dxfExports.append(chosen); };
        return core;
    }

    TestDocument& Document(quint16 flag = kDefaultFlag, quint16 deviceType = 0) {
        ConversionSettings startup;
        startup.flag = flag;
        m_document = std::make_unique<TestDocument>(*m_store, startup, m_prompter, m_chooser, Recorders());
        m_document->OnNewDocument();
        m_document->Settings().deviceType = deviceType;
        return *m_document;
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
        m_document.reset();
        m_store.reset();
        QFile::remove(m_dir.filePath(QStringLiteral("profile.ini")));
    }

    void updateRules_data() {
        QTest::addColumn<quint16>("flag");
        QTest::addColumn<quint16>("deviceType");
        QTest::addColumn<QString>("basePath");
        QTest::addColumn<bool>("exportEnabled");
        QTest::addColumn<bool>("toolsEnabled");
        QTest::addColumn<bool>("checked");
        QTest::newRow("defaults") << kDefaultFlag << quint16(0) << "" << true << true << false;
        QTest::newRow("NTS-660 greys F2") << kDefaultFlag << quint16(1) << "" << false << true << false;
        QTest::newRow("stored type 5 greys F2") << kDefaultFlag << quint16(5) << "" << false << true << false;
        QTest::newRow("use current without a file greys the tools")
            << quint16(kDefaultFlag | FLAG_USE_CURRENT) << quint16(0) << "" << true << false << true;
        QTest::newRow("use current with a file")
            << quint16(kDefaultFlag | FLAG_USE_CURRENT) << quint16(0) << "/d/job" << true << true << true;
    }
    void updateRules() {
        QFETCH(quint16, flag);
        QFETCH(quint16, deviceType);
        QFETCH(QString, basePath);
        QFETCH(bool, exportEnabled);
        QFETCH(bool, toolsEnabled);
        QFETCH(bool, checked);
        TestDocument& document = Document(flag, deviceType);
        document.Document().basePath = basePath;
        QCOMPARE(document.StateOf(CommandId::ExportCoordinates).enabled, exportEnabled);
        for (CommandId tool : {CommandId::Headers, CommandId::HorizontalDistances, CommandId::ExportXyzDxf}) {
            QCOMPARE(document.StateOf(tool).enabled, toolsEnabled);
        }
        QCOMPARE(document.StateOf(CommandId::UseCurrent).checked, checked);
        QVERIFY(document.StateOf(CommandId::ConvertFile).enabled);
        QVERIFY(document.StateOf(CommandId::ReceiveAndConvert).enabled);
    }

    void f2DoesNothingForNts660() {
        TestDocument& document = Document(kDefaultFlag, 1);
        document.Execute(CommandId::ExportCoordinates);
        QCOMPARE(document.uploadWindows, 0);
        document.Settings().deviceType = 0;
        document.Execute(CommandId::ExportCoordinates);
        QCOMPARE(document.uploadWindows, 1);
    }

    void f3ConvertsTheChosenFileUnderItsOwnExtension() {
        TestDocument& document = Document(kDefaultFlag | FLAG_USE_CURRENT);
        m_chooser.answers = {QStringLiteral("/data/job.txt")};
        document.Execute(CommandId::ConvertFile);
        QCOMPARE(m_chooser.requests.size(), 1);
        QCOMPARE(m_chooser.requests[0].kind, FileDialogRequest::Kind::Open);
        QCOMPARE(m_chooser.requests[0].defaultExtension, QStringLiteral("sdt"));
        QCOMPARE(m_chooser.requests[0].filter, Text(Texts::kMeasuredDataFilter));
        QCOMPARE(m_runs.size(), 1);
        QCOMPARE(m_runs[0].path, QStringLiteral("/data/job.txt"));
        QCOMPARE(m_runs[0].mode, ConversionMode::Full);
        QCOMPARE(document.Document().basePath, QStringLiteral("/data/job"));
        QCOMPARE(document.Document().fileTitle, QStringLiteral("job"));
        // With "Použít aktuální" on, the tool now converts job.sdt without asking.
        document.Execute(CommandId::HorizontalDistances);
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
        TestDocument& document = Document(useCurrent ? kDefaultFlag | FLAG_USE_CURRENT : kDefaultFlag);
        document.Document().RememberChosenFile(QStringLiteral("/d/old.sdt"));
        m_chooser.answers = {answer};
        document.Execute(static_cast<CommandId>(command));
        QCOMPARE(m_chooser.requests.size(), dialogs);
        if (converted.isEmpty()) {
            QVERIFY(m_runs.isEmpty());
        } else {
            QCOMPARE(m_runs.size(), 1);
            QCOMPARE(m_runs[0].path, converted);
            QCOMPARE(int(m_runs[0].mode), mode);
        }
        QCOMPARE(document.Document().basePath, basePath);
    }

    void dxfExportFromAChosenFileOrTheCurrentOne() {
        TestDocument& document = Document();
        m_chooser.answers = {QStringLiteral("/d/body.txt"), QString()};
        document.Execute(CommandId::ExportXyzDxf);
        QCOMPARE(m_chooser.requests[0].filter, Text(Texts::kDxfSourceFilter));
        QVERIFY(m_chooser.requests[0].defaultExtension.isEmpty());
        QCOMPARE(m_dxfExports, QStringList{QStringLiteral("/d/body.txt")});
        document.Execute(CommandId::ExportXyzDxf);  // cancelled
        QCOMPARE(m_dxfExports.size(), 1);

        document.Document().RememberChosenFile(QStringLiteral("/d/job.sdt"));
        document.Execute(CommandId::UseCurrent);
        document.Execute(CommandId::ExportXyzDxf);
        QCOMPARE(m_chooser.requests.size(), 2);
        QCOMPARE(m_dxfExports.size(), 2);
        QVERIFY(m_dxfExports[1].isEmpty());
    }

    void receptionMustSucceedBeforeTheFileBecomesCurrent() {
        TestDocument& document = Document();
        document.Document().RememberChosenFile(QStringLiteral("/d/old.sdt"));
        m_chooser.answers = {QStringLiteral("/d/new.sdt"), QStringLiteral("/d/new.sdt")};
        document.Execute(CommandId::ReceiveAndConvert);
        QCOMPARE(m_chooser.requests[0].kind, FileDialogRequest::Kind::Save);
        QCOMPARE(document.receptions, QStringList{QStringLiteral("/d/new.sdt")});
        QVERIFY(m_runs.isEmpty());
        QCOMPARE(document.Document().basePath, QStringLiteral("/d/old"));

        document.receptionSucceeds = true;
        document.Execute(CommandId::ReceiveAndConvert);
        QCOMPARE(m_runs.size(), 1);
        QCOMPARE(m_runs[0].path, QStringLiteral("/d/new.sdt"));
        QCOMPARE(m_runs[0].mode, ConversionMode::Full);
        QCOMPARE(document.Document().basePath, QStringLiteral("/d/new"));
    }

    void useCurrentFlipsOnlyItsBit() {
        TestDocument& document = Document(0x0FFF & ~FLAG_USE_CURRENT);
        document.Execute(CommandId::UseCurrent);
        QCOMPARE(document.Settings().flag, quint16(0x0FFF));
        document.Execute(CommandId::UseCurrent);
        QCOMPARE(document.Settings().flag, quint16(0x0FFF & ~FLAG_USE_CURRENT));
    }

    void conversionParametersGoThroughTheSheet() {
        TestDocument& document = Document();
        m_prompter.sheet = [](ConversionSettings& settings) {
            settings.jh = 500;
            return true;
        };
        document.Execute(CommandId::ConversionParameters);
        QCOMPARE(m_prompter.sheetsOpened, 1);
        QCOMPARE(document.Settings().jh, 500.0);
    }

    void settingsLoadInTwoStepsAndSaveAtTheEnd() {
        {
            QSettings profile(m_dir.filePath(QStringLiteral("profile.ini")), QSettings::IniFormat);
            profile.setValue(QStringLiteral("Settings/Flag"), FLAG_USE_CURRENT | kDefaultFlag);
            profile.setValue(QStringLiteral("Settings/JX"), QStringLiteral("1100000"));
            profile.setValue(QStringLiteral("Settings/DeviceType"), 1);
        }
        ConversionSettings startup;
        LoadStartupFlag(*m_store, startup);
        auto document = std::make_unique<TestDocument>(*m_store, startup, m_prompter, m_chooser, Recorders());
        QCOMPARE(document->Settings().flag, quint16(FLAG_USE_CURRENT | kDefaultFlag));
        QCOMPARE(document->Settings().jx, 1001000.0);  // not before the document is initialised
        QVERIFY(document->OnNewDocument());
        QCOMPARE(document->Settings().jx, 1100000.0);
        QCOMPARE(document->Settings().deviceType, quint16(1));
        document->Settings().jy = 700000.25;
        document.reset();
        m_store.reset();
        QSettings profile(m_dir.filePath(QStringLiteral("profile.ini")), QSettings::IniFormat);
        QCOMPARE(profile.value(QStringLiteral("Settings/JY")).toString(), QStringLiteral("700000.250"));
        QCOMPARE(profile.value(QStringLiteral("Settings/JX")).toString(), QStringLiteral("1100000.000"));
    }

    void anUnwritableProfileIsReportedOnceAtTheEnd() {
        // The profile's folder is a file: nobody can write there, not even root.
        TestFiles::Write(m_dir.filePath(QStringLiteral("blocked")), {});
        m_store = std::make_unique<SettingsStore>(m_dir.filePath(QStringLiteral("blocked/Tarvo.conf")));
        Document();
        QVERIFY(m_prompter.messages.isEmpty());
        m_document.reset();
        QCOMPARE(m_prompter.messages.size(), 1);
        QCOMPARE(m_prompter.messages.first().text, UnsavedSettingsText(*m_store));
        QVERIFY(m_prompter.messages.first().text.contains("blocked/Tarvo.conf"));
        QCOMPARE(m_prompter.messages.first().icon, MessageIcon::Exclamation);
    }

    void aDocumentNeverLoadedLeavesTheProfileAlone() {
        {
            QSettings profile(m_dir.filePath(QStringLiteral("profile.ini")), QSettings::IniFormat);
            profile.setValue(QStringLiteral("Settings/JX"), QStringLiteral("1100000"));
        }
        auto document =
            std::make_unique<TestDocument>(*m_store, ConversionSettings(), m_prompter, m_chooser, Recorders());
        document.reset();
        m_store.reset();
        QSettings profile(m_dir.filePath(QStringLiteral("profile.ini")), QSettings::IniFormat);
        QCOMPARE(profile.value(QStringLiteral("Settings/JX")).toString(), QStringLiteral("1100000"));
    }
};

QTEST_GUILESS_MAIN(CTDocTest)
#include "CTDocTest.moc"
