#include "convert/MeasuredData.h"

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
};

QTEST_GUILESS_MAIN(MeasuredDataTest)
#include "MeasuredDataTest.moc"
