#include "dxf/DxfExport.h"

#include "base/Texts.h"
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
    CurrentFile m_currentFile;
    ScriptedPrompter m_prompter;

    QString Path(const char* name) const { return m_dir.filePath(QLatin1String(name)); }
    ConversionContext Context() { return ConversionContext{m_settings, m_currentFile, m_prompter}; }

private Q_SLOTS:
    void init() {
        for (const QString& name : QDir(m_dir.path()).entryList(QDir::Files)) QFile::remove(m_dir.filePath(name));
        m_settings = ConversionSettings();
        m_settings.flag = 0;
        m_currentFile = CurrentFile();
        m_prompter = ScriptedPrompter();
    }

    void textListIsDrawnAndRemembered() {
        TestFiles::Write(Path("body.txt"), "A 10 20 30 k\r\nB 40 50\r\n");
        ConversionContext context = Context();
        QCOMPARE(ExportXyzDxf(Path("body.txt"), context).outcome, ConversionOutcome::Completed);
        QCOMPARE(m_currentFile.basePath, Path("body"));
        QCOMPARE(m_currentFile.fileTitle, QStringLiteral("body"));
        QVERIFY(m_prompter.messages.isEmpty() && m_prompter.fileErrors.isEmpty());
        QCOMPARE(TestFiles::Read(Path("body.dxf")).count("0\r\nLINE\r\n"), 4);
    }

    void upperCaseTxtSelectsMeasuredData() {
        TestFiles::Write(Path("body.TXT"), "A 10 20 30 k\r\n");
        QFile::copy(TestFiles::DataDir("dxf") + "/measured.sdt", Path("body.sdt"));
        ConversionContext context = Context();
        QCOMPARE(ExportXyzDxf(Path("body.TXT"), context).outcome, ConversionOutcome::Completed);
        const QByteArray drawing = TestFiles::Read(Path("body.dxf"));
        QVERIFY(drawing.contains("\r\n1\r\nB7\r\n") && !drawing.contains("\r\n1\r\nA\r\n"));
    }

    // The measured data's points only: the station and the sighting are not drawn,
    // nothing is asked and no MAPA2 file is written.
    void measuredDataIsConvertedQuietly() {
        QFile::copy(TestFiles::DataDir("dxf") + "/measured.sdt", Path("job.sdt"));
        m_settings.flag = FLAG_ASK_OVERWRITE | FLAG_SHOW_OUTPUT | FLAG_KEEP_200;
        ConversionContext context = Context();
        const DxfExportResult result = ExportXyzDxf(Path("job.sdt"), context);
        QCOMPARE(result.outcome, ConversionOutcome::Completed);
        QCOMPARE(result.records.size(), std::size_t(4));  // every record read, for showing the drawing
        QVERIFY(m_prompter.messages.isEmpty() && m_prompter.fileErrors.isEmpty());
        QVERIFY(m_prompter.shownFiles.isEmpty());
        QCOMPARE(QDir(m_dir.path()).entryList(QDir::Files), QStringList({"job.dxf", "job.sdt"}));
        QCOMPARE(TestFiles::Read(Path("job.dxf")).count("0\r\nLINE\r\n"), 4);
    }

    // Without a chosen file the current one is used, and always as measured data.
    void currentFileIsMeasuredData() {
        QFile::copy(TestFiles::DataDir("dxf") + "/measured.sdt", Path("job.sdt"));
        TestFiles::Write(Path("job.txt"), "A 10 20 30 k\r\n");
        m_currentFile.RememberChosenFile(Path("job.txt"));
        ConversionContext context = Context();
        QCOMPARE(ExportXyzDxf(QString(), context).outcome, ConversionOutcome::Completed);
        QVERIFY(TestFiles::Read(Path("job.dxf")).contains("\r\n1\r\nB8\r\n"));
    }

    void refusedOverwriteOfMeasuredDataDrawing() {
        QFile::copy(TestFiles::DataDir("dxf") + "/measured.sdt", Path("job.sdt"));
        TestFiles::Write(Path("job.dxf"), "old");
        m_settings.flag = FLAG_ASK_OVERWRITE;
        m_prompter.overwrite = {Answer::No};
        ConversionContext context = Context();
        QCOMPARE(ExportXyzDxf(Path("job.sdt"), context).outcome, ConversionOutcome::Stopped);
        QCOMPARE(TestFiles::Read(Path("job.dxf")), QByteArray("old"));
    }

    void missingTextListEndsWithNoPoints() {
        ConversionContext context = Context();
        QCOMPARE(ExportXyzDxf(Path("chybi.txt"), context).outcome, ConversionOutcome::Failed);
        QCOMPARE(m_prompter.fileErrors.size(), 1);
        QCOMPARE(m_prompter.fileErrors[0].kind, FileErrorKind::NotFound);
        QCOMPARE(m_prompter.messages.size(), 1);
        QCOMPARE(m_prompter.messages[0].text, Text(Texts::kNoXyzPoints));
    }

    void nothingChosenAndNoCurrentFile() {
        ConversionContext context = Context();
        QCOMPARE(ExportXyzDxf(QString(), context).outcome, ConversionOutcome::Stopped);
        QVERIFY(m_prompter.messages.isEmpty() && m_prompter.fileErrors.isEmpty());
    }
};

QTEST_GUILESS_MAIN(DxfExportTest)
#include "DxfExportTest.moc"
