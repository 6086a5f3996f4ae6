#include "dxf/DxfExport.h"

#include "app/Texts.h"
#include "tests/support/ScriptedPrompter.h"
#include "tests/support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class DxfExportTest : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    ConversionSettings m_settings;
    DocumentState m_document;
    ScriptedPrompter m_prompter;

    QString Path(const char* name) const { return m_dir.filePath(QLatin1String(name)); }
    ConversionContext Context() { return ConversionContext{m_settings, m_document, m_prompter, {}}; }

private Q_SLOTS:
    void init() {
        for (const QString& name : QDir(m_dir.path()).entryList(QDir::Files)) QFile::remove(m_dir.filePath(name));
        m_settings = ConversionSettings();
        m_settings.flag = 0;
        m_document = DocumentState();
        m_prompter = ScriptedPrompter();
    }

    void textListIsDrawnAndRemembered() {
        TestFiles::Write(Path("body.txt"), "A 10 20 30 k\r\nB 40 50\r\n");
        ConversionContext context = Context();
        QCOMPARE(ExportXyzDxf(Path("body.txt"), context), DxfExportOutcome::Written);
        QCOMPARE(m_document.basePath, Path("body"));
        QCOMPARE(m_document.fileTitle, QStringLiteral("body"));
        QVERIFY(m_prompter.messages.isEmpty() && m_prompter.fileErrors.isEmpty());
        QCOMPARE(TestFiles::Read(Path("body.dxf")).count("0\r\nLINE\r\n"), 4);
    }

    void upperCaseTxtSelectsMeasuredData() {
        TestFiles::Write(Path("body.TXT"), "A 10 20 30 k\r\n");
        ConversionContext context = Context();
        QCOMPARE(ExportXyzDxf(Path("body.TXT"), context), DxfExportOutcome::NotWritten);
        QCOMPARE(m_prompter.fileErrors.size(), 1);
        QCOMPARE(m_prompter.fileErrors[0].path, Path("body.sdt"));
        QVERIFY(!QFile::exists(Path("body.dxf")));
    }

    void missingTextListEndsWithNoPoints() {
        ConversionContext context = Context();
        QCOMPARE(ExportXyzDxf(Path("chybi.txt"), context), DxfExportOutcome::NotWritten);
        QCOMPARE(m_prompter.fileErrors.size(), 1);
        QCOMPARE(m_prompter.fileErrors[0].kind, FileErrorKind::NotFound);
        QCOMPARE(m_prompter.messages.size(), 1);
        QCOMPARE(m_prompter.messages[0].text, Text(Texts::kNoXyzPoints));
    }

    void nothingChosenAndNoCurrentFile() {
        ConversionContext context = Context();
        QCOMPARE(ExportXyzDxf(QString(), context), DxfExportOutcome::NoCurrentFile);
        QVERIFY(m_prompter.messages.isEmpty() && m_prompter.fileErrors.isEmpty());
    }
};

QTEST_GUILESS_MAIN(DxfExportTest)
#include "DxfExportTest.moc"
