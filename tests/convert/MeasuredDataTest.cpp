#include "convert/MeasuredData.h"

#include "base/Texts.h"
#include "tests/support/ScriptedPrompter.h"
#include "tests/support/TestFiles.h"
#include "upload/UploadProtocol.h"

#include <QTemporaryDir>
#include <QTest>

class MeasuredDataTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void missingFileIsReportedByName() {
        QTemporaryDir dir;
        ConversionSettings settings;
        CurrentFile currentFile;
        currentFile.RememberChosenFile(dir.filePath("none.sdt"));
        ScriptedPrompter prompter;
        ConversionContext context{settings, currentFile, prompter};
        QCOMPARE(ReadRecords(dir.filePath("none.sdt"), context, Corrections::Confirmed).outcome,
                 ConversionOutcome::Failed);
        QCOMPARE(prompter.fileErrors.size(), 1);
        QCOMPARE(prompter.fileErrors[0].path, dir.filePath("none.sdt"));
        QVERIFY(prompter.messages.isEmpty());
    }

    // The instrument is settled on the raw bytes, the corrections before the text
    // is prepared for it; the transfer's warning comes before the parser's.
    void asksAndTellsInOrder() {
        QTemporaryDir dir;
        QByteArray block = BuildBlock("_+P1_ ?+00012345f+0912345++1234567g+00012300t00+00000_*AB_,1.600_", 0);
        block[12] = '9';  // a digit of the distance: the checksum no longer fits
        TestFiles::Write(dir.filePath("job.sdt"), block);
        ConversionSettings settings;
        settings.deviceType = DeviceType::Nts660;
        settings.flag = FLAG_WARN_UNITS;
        CurrentFile currentFile;
        ScriptedPrompter prompter;
        ConversionContext context{settings, currentFile, prompter};
        const MeasuredData data = ReadRecords(dir.filePath("job.sdt"), context, Corrections::Confirmed);
        QList<Topic> topics;
        for (const ScriptedPrompter::Message& message : prompter.messages) topics << message.topic;
        QCOMPARE(topics, (QList<Topic>{Topic::DeviceMismatch, Topic::Corrections, Topic::TransferFindings,
                                       Topic::DataWarning}));
        QCOMPARE(data.deviceType, DeviceType::Nts350);
        QCOMPARE(settings.deviceType, DeviceType::Nts660);  // for this reading only
        QCOMPARE(data.parsed.records.size(), std::size_t(1));
        QCOMPARE(data.findings.count, 1);
    }

    // Each finding names the records whose text lies in its stretch of the
    // transfer, found through the framing's removal and the signs' normalisation.
    void findingsNameTheirRecords_data() {
        QTest::addColumn<QByteArray>("transfer");
        QTest::addColumn<QByteArray>("named");
        const QByteArray job = TestFiles::Example("nts350-job");
        QByteArray damaged = job;
        damaged[196] = damaged[196] == '1' ? '2' : '1';  // a digit of 4003's distance, in block 2
        QTest::newRow("checksum: the end of 4002, 4003 and the start of 101")
            << damaged << TextFilled(Texts::kFindingRecords, {"4002", "101"});
        const QByteArray preambles(
            "\x02"
            "F00F000\x03\r\n\x02GC\x03\r\n");
        QTest::newRow("cut after block 3: its records")
            << preambles + job.left(3 * 136) << TextFilled(Texts::kFindingRecords, {"101", "102"});
    }
    void findingsNameTheirRecords() {
        QFETCH(QByteArray, transfer);
        QFETCH(QByteArray, named);
        QTemporaryDir dir;
        TestFiles::Write(dir.filePath("job.sdt"), transfer);
        ConversionSettings settings;
        settings.flag = 0;
        CurrentFile currentFile;
        ScriptedPrompter prompter;
        ConversionContext context{settings, currentFile, prompter};
        ReadRecords(dir.filePath("job.sdt"), context, Corrections::AsStored);
        const QByteArray warning = prompter.Of(Topic::TransferFindings).value(0).text;
        QVERIFY2(warning.contains(named + '\n'), warning.constData());
    }
};

QTEST_GUILESS_MAIN(MeasuredDataTest)
#include "MeasuredDataTest.moc"
