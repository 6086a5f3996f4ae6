#include "upload/UploadTransmission.h"

#include "base/ConversionSettings.h"
#include "base/Cp1250.h"
#include "base/Texts.h"
#include "tests/support/ScriptedPrompter.h"
#include "upload/UploadPort.h"
#include "upload/UploadProtocol.h"

#include <QTest>

namespace {

// A port that records every write and can fail from a given write on.
class FakePort : public UploadPort {
public:
    bool open = false;
    bool refuseOpen = false;
    int opens = 0;
    int closes = 0;
    int failFromWrite = -1;  // index of the first write that fails; -1 never
    QList<QByteArray> writes;

    bool IsOpen() const override { return open; }
    bool OpenWithoutReader() override {
        ++opens;
        open = !refuseOpen;
        return open;
    }
    QByteArray OpenFailure() const override { return "why"; }
    bool Write(const QByteArray& bytes, QByteArray& error) override {
        if (failFromWrite >= 0 && writes.size() >= failFromWrite) {
            error = Cp1250::FromUtf8("zařízení bylo odpojeno");
            return false;
        }
        writes.append(bytes);
        return true;
    }
    void Close() override {
        ++closes;
        open = false;
    }
    QByteArray Line() const { return writes.join(); }
};

class RecordingProgress : public UploadProgress {
public:
    int maximum = -1;
    bool visible = false;
    QList<int> positions;
    void Show(int max) override {
        maximum = max;
        visible = true;
    }
    void SetPosition(int position) override { positions.append(position); }
    void Hide() override { visible = false; }
};

struct Run {
    FakePort port;
    RecordingProgress progress;
    ScriptedPrompter prompter;
    QList<int> pauses;
    UploadResult result;

    void Upload(UploadKind kind, const QList<QByteArray>& lines, quint16 flag = 0) {
        result = UploadList(kind, Cp1250::FromListFile(lines.join('\n')), flag, port, progress, prompter,
                            [this](int ms) { pauses.append(ms); });
    }
    // The stream characters of every data block, as the instrument reassembles them.
    QByteArray Payload() const {
        QByteArray stream;
        for (const QByteArray& write : port.writes) {
            if (write.size() == kBlockSize) stream += write.mid(1, kBlockPayload);
        }
        return stream;
    }
};

}  // namespace

class UploadTransmissionTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void tenPointsGoInFourBlocks() {
        QList<QByteArray> lines;
        for (int i = 1; i <= 10; ++i) lines << "P" + QByteArray::number(i) + " 680000,5 1045678.123 250.25";
        Run run;
        run.Upload(UploadKind::Points, lines);

        QVERIFY(run.result);
        QCOMPARE(run.result.entries, 10);
        QCOMPARE(run.port.writes.size(), 7);
        QCOMPARE(run.port.writes.first(), Preamble1());
        QCOMPARE(run.port.writes[1], Preamble2());
        QCOMPARE(run.port.writes.last(), EndRecord());
        for (int block = 0; block < 4; ++block) {
            QCOMPARE(run.port.writes[2 + block], BuildBlock(run.Payload().mid(block * 128, 128), block));
        }
        // 510 stream characters: the last block has 126 of them and two filler spaces.
        QCOMPARE(run.Payload().left(510),
                 RecordStream(ParseUploadList(lines.join('\n'), UploadKind::Points, 0), UploadKind::Points));
        QCOMPARE(run.Payload().mid(510), QByteArray(2, ' '));
        QCOMPARE(run.Payload().left(51), QByteArray("_+P1        _ x+045678123_ y+680000500_ z+000250250"));

        QCOMPARE(run.progress.maximum, 6);
        QCOMPARE(run.progress.positions, (QList<int>{0, 1, 2, 3, 4, 5, 6}));
        QVERIFY(!run.progress.visible);
        QCOMPARE(run.pauses, QList<int>(6, 350));  // none after the end record
        QCOMPARE(run.port.opens, 1);
        QVERIFY(!run.port.open);

        // The receive-mode prompt, then the summary; both informational.
        QCOMPARE(run.prompter.messages.size(), 2);
        QCOMPARE(run.prompter.messages[0].topic, Topic::ReceiveMode);
        QCOMPARE(run.prompter.messages[0].icon, MessageIcon::Information);
        QCOMPARE(run.prompter.messages[0].text, Text(Texts::kSetReceiveModePoints));
        QCOMPARE(run.prompter.messages[1].topic, Topic::Summary);
        QCOMPARE(run.prompter.messages[1].icon, MessageIcon::Information);
        QCOMPARE(run.prompter.messages[1].text, Cp1250::FromUtf8("Odesláno 10 bodů ..."));

        const QByteArray firstLine = "P1          680000.500\t 45678.123\t   250.250\t(v seznamu X 1045678.123)\r\n";
        QVERIFY(run.result.log.startsWith(Text(Texts::kSentPointsHeading) + firstLine));
        QCOMPARE(run.result.log.count("\r\n"), 3 + 10);
    }

    void codesCloseTheirStream() {
        QList<QByteArray> lines;
        for (int i = 0; i < 128; ++i) lines << QByteArray::number(i % 50 + 1) + ",KOD";
        Run run;
        run.Upload(UploadKind::Codes, lines);

        QVERIFY(run.result);
        QCOMPARE(run.port.writes.size(), 2 + 16 + 1);
        QCOMPARE(run.progress.maximum, 18);
        const QByteArray payload = run.Payload();
        QCOMPARE(payload.size(), 16 * 128);
        QCOMPARE(payload.left(15), QByteArray("_:001KOD       "));
        QCOMPARE(payload.mid(127 * 15, 15), QByteArray("_:028KOD       "));
        // 1921 characters: the last block holds only the closing "_".
        QCOMPARE(payload.mid(1920), "_" + QByteArray(127, ' '));
        QCOMPARE(run.prompter.Of(Topic::Summary).first().text, Cp1250::FromUtf8("Odesláno 128 kódů ..."));
        QVERIFY(run.result.log.startsWith(Text(Texts::kSentCodesHeading) + "001\tKOD       \r\n002\tKOD       \r\n"));
        QCOMPARE(run.prompter.Of(Topic::ReceiveMode).first().text, Text(Texts::kSetReceiveModeCodes));
    }

    void longNamesAndTextsAreCut() {
        Run points;
        points.Upload(UploadKind::Points, {"ABCDEFGHIJKL 1 2 -12,5"});
        QCOMPARE(points.Payload().left(12), QByteArray("_+CDEFGHIJKL"));
        QCOMPARE(points.Payload().mid(41, 10), QByteArray("-000012500"));
        QVERIFY(points.result.log.endsWith(
            Cp1250::FromUtf8("CDEFGHIJKL       1.000\t     2.000\t   -12.500\t(v seznamu název ABCDEFGHIJKL)\r\n")));

        Run codes;
        codes.Upload(UploadKind::Codes, {"7,ABCDEFGHIJKL"});
        QCOMPARE(codes.Payload().left(16), QByteArray("_:007ABCDEFGHIJ_"));
        QVERIFY(codes.result.log.endsWith("007\tABCDEFGHIJ\t(v seznamu text ABCDEFGHIJKL)\r\n"));
    }

    void swapPutsTheFirstNumberIntoX() {
        Run run;
        run.Upload(UploadKind::Points, {"P1 100 200 5"}, FLAG_SWAP_XY);
        QCOMPARE(run.Payload().left(51), QByteArray("_+P1        _ x+000100000_ y+000200000_ z+000005000"));
        QVERIFY(run.result.log.endsWith("P1             200.000\t   100.000\t     5.000\r\n"));
    }

    // The log shows each entry as the instrument keeps it, and beside it what the
    // list held wherever that differs.
    void logShowsWhatWasSentBesideTheList_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QByteArray>("logged");
        QTest::newRow("X beyond two millions: the instrument's value, the list's beside it")
            << int(UploadKind::Points) << QByteArray("P7 745233.81 2045233.81 250")
            << QByteArray("P7          745233.810\t 45233.810\t   250.000\t(v seznamu X 2045233.81)");
        QTest::newRow("S-JTSK X: the million the instrument has no room for")
            << int(UploadKind::Points) << QByteArray("P8;745233,81;1045233,81")
            << QByteArray("P8          745233.810\t 45233.810\t     0.000\t(v seznamu X 1045233,81)");
        QTest::newRow("height whose comma is not read")
            << int(UploadKind::Points) << QByteArray("P9 12,5 13,7 2,1")
            << QByteArray("P9              12.500\t    13.700\t     2.000\t(v seznamu Z 2,1)");
        QTest::newRow("a point the instrument keeps as written: nothing beside")
            << int(UploadKind::Points) << QByteArray("P10 680000.12 45000.5 245.7")
            << QByteArray("P10         680000.120\t 45000.500\t   245.700");
        QTest::newRow("code number outside 1..50 sent as another")
            << int(UploadKind::Codes) << QByteArray("65541,PLOT")
            << Cp1250::FromUtf8("005\tPLOT      \t(v seznamu kód 65541)");
    }
    void logShowsWhatWasSentBesideTheList() {
        QFETCH(int, kind);
        QFETCH(QByteArray, line);
        QFETCH(QByteArray, logged);
        Run run;
        run.Upload(UploadKind(kind), {line});
        QVERIFY(run.result);
        const QByteArray heading =
            Text(kind == int(UploadKind::Points) ? Texts::kSentPointsHeading : Texts::kSentCodesHeading);
        QCOMPARE(run.result.log, heading + logged + "\r\n");
    }

    void emptyListTouchesNothing_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QByteArray>("message");
        QTest::newRow("points") << int(UploadKind::Points) << Cp1250::FromUtf8("Nebyly nalezeny žádné platné body!");
        QTest::newRow("codes") << int(UploadKind::Codes) << Cp1250::FromUtf8("Nebyly nalezeny žádné platné kódy!");
    }
    void emptyListTouchesNothing() {
        QFETCH(int, kind);
        Run run;
        run.port.open = true;
        run.Upload(UploadKind(kind), {"", "P1", "0,A"});
        QCOMPARE(run.result.outcome, UploadOutcome::EmptyList);
        QCOMPARE(run.port.opens + run.port.closes, 0);
        QVERIFY(run.port.writes.isEmpty());
        QCOMPARE(run.prompter.messages.size(), 1);
        QTEST(run.prompter.messages[0].text, "message");
        QCOMPARE(run.prompter.messages[0].icon, MessageIcon::Exclamation);
        QVERIFY(run.result.log.isEmpty());
    }

    void refusedPortSendsNothing() {
        Run run;
        run.port.open = true;  // left open by someone: closed before the new open
        run.port.refuseOpen = true;
        run.Upload(UploadKind::Points, {"P1 1 2"});
        QCOMPARE(run.result.outcome, UploadOutcome::PortRefused);
        QCOMPARE(run.port.closes, 1);
        QCOMPARE(run.port.opens, 1);
        QVERIFY(run.port.writes.isEmpty());
        QCOMPARE(run.progress.maximum, -1);
        QCOMPARE(run.prompter.messages.size(), 1);
        QCOMPARE(run.prompter.messages[0].text, Text(Texts::kBadCommSettings) + "\nwhy");
        QCOMPARE(run.prompter.messages[0].icon, MessageIcon::Exclamation);
        QVERIFY(run.result.log.isEmpty());
    }

    void writeFailureIsNotReportedAsSuccess() {
        QList<QByteArray> lines;
        for (int i = 0; i < 10; ++i) lines << "P 1 2 3";
        Run run;
        run.port.failFromWrite = 3;  // preambles and the first block go out, the second block fails
        run.Upload(UploadKind::Points, lines);

        QCOMPARE(run.result.outcome, UploadOutcome::TransferFailed);
        QVERIFY(!run.result);
        QVERIFY(run.result.log.isEmpty());    // the editor keeps its text
        QCOMPARE(run.port.writes.size(), 3);  // nothing after the failed block, no end record
        QCOMPARE(run.pauses.size(), 3);
        QVERIFY(!run.port.open);
        QVERIFY(!run.progress.visible);
        QCOMPARE(run.prompter.Count(Topic::Summary), 0);
        const QByteArray told = run.prompter.messages.last().text;
        QCOMPARE(told, Cp1250::FromUtf8("Přenos dat selhal!\nzařízení bylo odpojeno"));
        QCOMPARE(run.prompter.messages.last().icon, MessageIcon::Exclamation);
    }
};

QTEST_GUILESS_MAIN(UploadTransmissionTest)
#include "UploadTransmissionTest.moc"
