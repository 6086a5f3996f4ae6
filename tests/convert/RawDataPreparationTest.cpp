#include "convert/RawDataPreparation.h"

#include "base/ConversionSettings.h"
#include "base/FileIo.h"
#include "convert/Conversion.h"
#include "tests/support/ScriptedPrompter.h"
#include "tests/support/TestFiles.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

class RawDataPreparationTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void normalisesSigns_data() {
        QTest::addColumn<QByteArray>("raw");
        QTest::addColumn<QByteArray>("normalised");
        QTest::newRow("slope sighting")
            << QByteArray("_+P1_ ?+00012345m+0912345++1234567d+00012300t00+00000_*AB_,1.600_")
            << QByteArray("_+P1_ ?+00012345m0912345+1234567d+00012300t00+00000_*AB_,1.600_");
        QTest::newRow("angles sighting") << QByteArray("_+P2_ <+0912345++1234567+00000_*AB_,1.600_")
                                         << QByteArray("_+P2_ <0912345+1234567+00000_*AB_,1.600_");
        QTest::newRow("angles sighting with a negative direction")
            << QByteArray("<+0912345+-1234567+0") << QByteArray("<0912345+-1234567+0");
        QTest::newRow("pairs outside sightings") << QByteArray("A++B m+1 f+1 +++") << QByteArray("A+B m1 f1 ++");
        QTest::newRow("question mark without its letters stays") << QByteArray("?+12+34") << QByteArray("?+12+34");
        QTest::newRow("angle bracket without two plus signs stays") << QByteArray("<12+34") << QByteArray("<12+34");
        // A feet distance followed later by any "m" must still take its own "f",
        // and a degree angle followed later by a "g" its own "d".
        QTest::newRow("feet sighting followed by a metre sighting keeps its own unit")
            << QByteArray("?+00012345f+0912345++1234567g+0 ?+00000100m+1000000++0000000g+0")
            << QByteArray("?+00012345f0912345+1234567g+0 ?+00000100m1000000+0000000g+0");
        QTest::newRow("degree sighting followed by a gon sighting keeps its own unit")
            << QByteArray("?+00012345m+0912345++1234567d+0 ?+00000100m+1000000++0000000g+0")
            << QByteArray("?+00012345m0912345+1234567d+0 ?+00000100m1000000+0000000g+0");
        QTest::newRow("feet sighting followed by a name with m")
            << QByteArray("_+P1_ ?+00012345f+0912345++1234567g+0t00+00000_*AB_,1.600_ _'Sm_(_)1_")
            << QByteArray("_+P1_ ?+00012345f0912345+1234567g+0t00+00000_*AB_,1.600_ _'Sm_(_)1_");
    }
    void normalisesSigns() {
        QFETCH(QByteArray, raw);
        QFETCH(QByteArray, normalised);
        QCOMPARE(NormaliseSigns(raw), normalised);
    }

    void randomTextOnlyLosesCharacters() {
        // Normalisation works in place; text cut anywhere must neither grow nor
        // be read past its end (the address sanitizer watches the latter).
        const QList<QByteArray> pieces{"?", "<", "+", "++", "m", "f", "g", "d", "0912345", "_", "\x02", "\x03"};
        QRandomGenerator random(200);
        for (int round = 0; round < 3000; ++round) {
            QByteArray text;
            const int count = int(random.bounded(50));
            for (int i = 0; i < count; ++i) text += pieces[random.bounded(int(pieces.size()))];
            QByteArray unframed = text;
            RemoveFraming(unframed);
            QVERIFY(unframed.size() <= text.size());
            QVERIFY(NormaliseSigns(unframed).size() <= unframed.size());
        }
    }

    void manyUnfinishedSightingsStayLinear_data() {
        QTest::addColumn<QByteArray>("raw");
        QTest::addColumn<qsizetype>("removed");
        // Every "?" lacks its angle letter; each «m+» loses its "+".
        QTest::newRow("slope sightings without angle letter")
            << QByteArray("?+1m+2+").repeated(300000) << qsizetype(300000);
        // Every "<" finds the one "+" at the end but no second one after it.
        QTest::newRow("angles sightings without closing plus")
            << QByteArray("<").repeated(300000) + "+" << qsizetype(0);
    }
    void manyUnfinishedSightingsStayLinear() {
        // A search to the end for each sighting would be quadratic: minutes for
        // these sizes, beyond the test's time-out. `make bench` times the pass.
        QFETCH(QByteArray, raw);
        QFETCH(qsizetype, removed);
        const QByteArray out = NormaliseSigns(raw);
        QCOMPARE(out.size(), raw.size() - removed);
    }

    void preparesFiles_data() {
        QTest::addColumn<quint16>("deviceType");
        QTest::addColumn<quint16>("flag");
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("copyExists");
        QTest::addColumn<QList<Answer>>("overwrite");
        QTest::addColumn<QByteArray>("copy");  // expected ".200", empty = untouched
        QTest::addColumn<int>("outcome");
        const QByteArray text("_+P2_ <0912345+1234567+00000_*AB_,1.600_");
        const int full = int(ConversionMode::Full);
        const int completed = int(ConversionOutcome::Completed);
        QTest::newRow("copy kept in a full run")
            << quint16(0) << FLAG_KEEP_200 << full << false << QList<Answer>{} << text << completed;
        QTest::newRow("no copy without the bit")
            << quint16(0) << quint16(0) << full << false << QList<Answer>{} << QByteArray() << completed;
        QTest::newRow("no copy in the horizontal tool")
            << quint16(0) << FLAG_KEEP_200 << int(ConversionMode::HorizontalDistances) << false << QList<Answer>{}
            << QByteArray() << completed;
        QTest::newRow("no copy in the station tool")
            << quint16(0) << FLAG_KEEP_200 << int(ConversionMode::StationHeaders) << false << QList<Answer>{}
            << QByteArray() << completed;
        QTest::newRow("no copy of NTS-660 data")
            << quint16(1) << FLAG_KEEP_200 << full << false << QList<Answer>{} << QByteArray() << completed;
        QTest::newRow("existing copy replaced without asking")
            << quint16(0) << FLAG_KEEP_200 << full << true << QList<Answer>{} << text << completed;
        QTest::newRow("existing copy replaced after Yes")
            << quint16(0) << quint16(FLAG_KEEP_200 | FLAG_ASK_OVERWRITE) << full << true << QList<Answer>{Answer::Yes}
            << text << completed;
        QTest::newRow("No to replacing the copy converts nothing")
            << quint16(0) << quint16(FLAG_KEEP_200 | FLAG_ASK_OVERWRITE) << full << true << QList<Answer>{Answer::No}
            << QByteArray("old") << int(ConversionOutcome::Stopped);
    }
    void preparesFiles() {
        QFETCH(quint16, deviceType);
        QFETCH(quint16, flag);
        QFETCH(int, mode);
        QFETCH(bool, copyExists);
        QFETCH(QList<Answer>, overwrite);
        QFETCH(QByteArray, copy);
        QFETCH(int, outcome);
        QTemporaryDir dir;
        const QString base = dir.filePath("job");
        TestFiles::Write(base + ".sdt", "\x02_+P2_ <+0912345++1234567+00000_*AB_,1.600_4567\x03\r\n");
        if (copyExists) TestFiles::Write(base + ".200", "old");
        ConversionSettings settings;
        settings.deviceType = deviceType;
        settings.flag = flag;
        CurrentFile currentFile;
        currentFile.RememberChosenFile(base + ".sdt");
        ScriptedPrompter prompter;
        prompter.overwrite = overwrite;
        prompter.deviceMismatch = {Answer::No};  // NTS-660 set: the data are converted as such
        ConversionContext context{settings, currentFile, prompter, {}};
        QCOMPARE(int(PrepareRawData(base + ".sdt", ConversionMode(mode), context)), outcome);
        if (copy.isEmpty())
            QVERIFY(!QFile::exists(base + ".200"));
        else
            QCOMPARE(TestFiles::Read(base + ".200"), copy);
        QCOMPARE(prompter.Count(Topic::Overwrite), overwrite.size());
        if (!overwrite.isEmpty())
            QVERIFY(prompter.Of(Topic::Overwrite).front().text.contains(DisplayPath(base + ".200")));
        // A refused copy ends the run before its question about corrections.
        const bool asked = mode == int(ConversionMode::Full) && outcome != int(ConversionOutcome::Stopped);
        QCOMPARE(prompter.Count(Topic::Corrections), asked ? 1 : 0);
    }

    void copyOnAFullDiskStopsTheConversion() {
        if (!QFile::exists("/dev/full")) QSKIP("no /dev/full here");
        QTemporaryDir dir;
        const QString base = dir.filePath("job");
        TestFiles::Write(base + ".sdt", "_'S1_(K1_)1.550_");
        QVERIFY(QFile::link("/dev/full", base + ".200"));
        ConversionSettings settings;
        settings.flag = FLAG_KEEP_200;
        CurrentFile currentFile;
        currentFile.RememberChosenFile(base + ".sdt");
        ScriptedPrompter prompter;
        ConversionContext context{settings, currentFile, prompter, {}};
        QCOMPARE(PrepareRawData(base + ".sdt", ConversionMode::Full, context), ConversionOutcome::Failed);
        QCOMPARE(prompter.fileErrors.size(), 1);
        QCOMPARE(prompter.fileErrors[0].path, base + ".200");
        QVERIFY(!QFile::exists(base + ".zap"));
    }

    void missingFileIsReportedByName() {
        QTemporaryDir dir;
        ConversionSettings settings;
        CurrentFile currentFile;
        currentFile.RememberChosenFile(dir.filePath("none.sdt"));
        ScriptedPrompter prompter;
        ConversionContext context{settings, currentFile, prompter, {}};
        QCOMPARE(PrepareRawData(dir.filePath("none.sdt"), ConversionMode::Full, context), ConversionOutcome::Failed);
        QCOMPARE(prompter.fileErrors.size(), 1);
        QCOMPARE(prompter.fileErrors[0].path, dir.filePath("none.sdt"));
        QVERIFY(prompter.messages.isEmpty());
    }
};

QTEST_GUILESS_MAIN(RawDataPreparationTest)
#include "RawDataPreparationTest.moc"
