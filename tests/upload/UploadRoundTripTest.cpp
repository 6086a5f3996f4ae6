// What the upload puts on the line, received as a measured-data file, prepared and
// parsed by the conversion, gives back the entries as the instrument holds them.

#include "upload/UploadTransmission.h"

#include "base/ConversionSettings.h"
#include "base/Cp1250.h"
#include "base/CurrentFile.h"
#include "base/Numbers.h"
#include "convert/MeasuredData.h"
#include "convert/RecordParser.h"
#include "tests/support/ScriptedPrompter.h"
#include "tests/support/TestFiles.h"
#include "upload/UploadPort.h"
#include "upload/UploadProtocol.h"

#include <QTemporaryDir>
#include <QTest>

namespace {

class LinePort : public UploadPort {
public:
    QByteArray line;
    bool IsOpen() const override { return false; }
    bool OpenWithoutReader() override { return true; }
    bool Write(const QByteArray& bytes, QByteArray& error) override {
        (void)error;
        line += bytes;
        return true;
    }
    void Close() override {}
};

class NoProgress : public UploadProgress {
public:
    void Show(int maximum) override { (void)maximum; }
    void SetPosition(int position) override { (void)position; }
    void Hide() override {}
};

// A coordinate as the instrument stores it: folded to below 1,000,000 m, in whole millimetres.
double AsSent(double metres) { return Numbers::ToDouble(FoldedMillimetres(metres)) * 0.001; }

}  // namespace

class UploadRoundTripTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void sentEntriesParseBack() {
        const QList<QByteArray> codes{"5,STROM", "12,ABCDEFGHIJKL", "50, plot, old"};
        const QList<QByteArray> points{"P1 680000,5 1045678.123 250.25", "ABCDEFGHIJKL 1 2 -12,5",
                                       Cp1250::FromUtf8("Kříž 3.0004 4 5"), "LAST 7 8 9"};
        LinePort port;
        NoProgress progress;
        ScriptedPrompter prompter;
        const auto noPause = [](int) {};
        QVERIFY(UploadList(UploadKind::Codes, Cp1250::FromListFile(codes.join('\n')), 0, port, progress, prompter,
                           noPause));
        QVERIFY(UploadList(UploadKind::Points, Cp1250::FromListFile(points.join('\n')), 0, port, progress, prompter,
                           noPause));

        // The line's bytes as a reception stores them, read as any measured data.
        QTemporaryDir dir;
        CurrentFile currentFile;
        TestFiles::Write(dir.filePath("upload.sdt"), port.line);
        ConversionSettings settings;
        settings.flag = 0;
        settings.deviceType = DeviceType::Nts350;
        ConversionContext context{settings, currentFile, prompter};
        const MeasuredData data = ReadRecords(dir.filePath("upload.sdt"), context, Corrections::AsStored);
        QCOMPARE(data.outcome, ConversionOutcome::Completed);
        const ParsedRecords& parsed = data.parsed;

        // The codes, texts cut and padded to ten characters; then every point but the
        // last, whose height field has no closing "_" on the line.
        const SurveyRecordList& records = parsed.records;
        QCOMPARE(parsed.codeEntryCount, 3);
        QCOMPARE(records.size(), 3u + 3u);
        const QList<QPair<int, QByteArray>> sentCodes{{5, "STROM     "}, {12, "ABCDEFGHIJ"}, {50, " plot, old"}};
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(records[i].kind, quint16(CodeListEntry));
            QCOMPARE(int(records[i].codeNumber), sentCodes[i].first);
            QCOMPARE(records[i].codeText, sentCodes[i].second);
        }
        const SurveyRecordList sent = [&] {
            SurveyRecordList list = ParseUploadList(points.join('\n'), UploadKind::Points, 0);
            CutPointNames(list);
            return list;
        }();
        for (int i = 0; i < 3; ++i) {
            const SurveyRecord& point = records[3 + i];
            QCOMPARE(point.kind, quint16(Coordinates));
            QCOMPARE(point.name, sent[i].name.ToByteArray().leftJustified(10, ' '));
            QCOMPARE(point.x, AsSent(sent[i].x));
            QCOMPARE(point.y, AsSent(sent[i].y));
            QCOMPARE(point.z, AsSent(sent[i].z));
        }
        QCOMPARE(records[3].x, 45678.123);
        QCOMPARE(records[4].name, QByteArray("CDEFGHIJKL"));
        QCOMPARE(records[4].z, -12.5);
    }
};

QTEST_GUILESS_MAIN(UploadRoundTripTest)
#include "UploadRoundTripTest.moc"
