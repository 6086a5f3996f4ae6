#include "dxf/DxfExport.h"

#include "base/Texts.h"
#include "tests/support/ScriptedPrompter.h"
#include "tests/support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

Q_DECLARE_METATYPE(Answer)
Q_DECLARE_METATYPE(Topic)

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
        QCOMPARE(m_prompter.messages.size(), 1);          // only the million, as for the coordinate list
        QCOMPARE(m_prompter.messages[0].topic, Topic::Million);
        QVERIFY(m_prompter.fileErrors.isEmpty());
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

    // Measured data get the million on the coordinate list's question; a drawing in
    // EPSG:5514 axes off the S-JTSK area is told with its likely cause.
    void millionAndTheSjtskArea_data() {
        QTest::addColumn<QByteArray>("file");  // job.txt, or job.sdt where it starts with "_"
        QTest::addColumn<bool>("epsgAxes");
        QTest::addColumn<Answer>("million");
        QTest::addColumn<QList<Topic>>("topics");
        QTest::addColumn<QByteArray>("cause");
        QTest::addColumn<QByteArray>("drawnY");  // the drawing's y of the point (its cross's arm)
        const QByteArray measured = "_+B7_ x+043512345_ y+742118903_ z+000312455_\r\n";
        const QByteArray none;
        QTest::newRow("measured data with the million agree with their .asc")
            << measured << true << Answer::Yes << QList<Topic>{Topic::Million} << none << QByteArray("-1043512.34500");
        QTest::newRow("measured data without it in EPSG:5514 axes: the million is named")
            << measured << true << Answer::No << QList<Topic>{Topic::Million, Topic::DataWarning}
            << Text(Texts::kOutsideMillionMeasured) << QByteArray("-43512.34500");
        QTest::newRow("text list in S-JTSK, drawn as written, nothing asked")
            << QByteArray("B7 742118.903 1043512.345\r\n") << true << Answer::Yes << QList<Topic>{} << none
            << QByteArray("-1043512.34500");
        QTest::newRow("text list short by the million")
            << QByteArray("B7 742118.903 43512.345\r\n") << true << Answer::Yes << QList<Topic>{Topic::DataWarning}
            << Text(Texts::kOutsideMillionList) << QByteArray("-43512.34500");
        QTest::newRow("text list with X before Y")
            << QByteArray("B7 1043512.345 742118.903\r\n") << true << Answer::Yes << QList<Topic>{Topic::DataWarning}
            << Text(Texts::kOutsideSwapped) << QByteArray("-742118.90300");
        QTest::newRow("text list in another grid")
            << QByteArray("B7 10 20\r\n") << true << Answer::Yes << QList<Topic>{Topic::DataWarning}
            << Text(Texts::kOutsideNotSjtsk) << QByteArray("-20.00000");
    }
    void millionAndTheSjtskArea() {
        QFETCH(QByteArray, file);
        QFETCH(bool, epsgAxes);
        QFETCH(Answer, million);
        QFETCH(QByteArray, cause);
        const char* const name = file.startsWith('_') ? "job.sdt" : "job.txt";
        TestFiles::Write(Path(name), file);
        m_settings.dxfEpsgAxes = epsgAxes;
        m_prompter.million = {million};
        ConversionContext context = Context();
        QCOMPARE(ExportXyzDxf(Path(name), context).outcome, ConversionOutcome::Completed);
        QList<Topic> topics;
        for (const ScriptedPrompter::Message& message : m_prompter.messages) topics.append(message.topic);
        QTEST(topics, "topics");
        if (!cause.isEmpty())
            QVERIFY2(m_prompter.messages.last().text.endsWith(cause), m_prompter.messages.last().text);
        QFETCH(QByteArray, drawnY);
        QVERIFY(TestFiles::Read(Path("job.dxf")).contains("\r\n20\r\n" + drawnY + "\r\n"));
    }

    void nothingChosenAndNoCurrentFile() {
        ConversionContext context = Context();
        QCOMPARE(ExportXyzDxf(QString(), context).outcome, ConversionOutcome::Stopped);
        QVERIFY(m_prompter.messages.isEmpty() && m_prompter.fileErrors.isEmpty());
    }
};

QTEST_GUILESS_MAIN(DxfExportTest)
#include "DxfExportTest.moc"
