#include "convert/Conversion.h"

#include "base/ConversionSettings.h"
#include "base/Cp1250.h"
#include "base/InputFile.h"
#include "base/Texts.h"
#include "convert/TransferCheck.h"
#include "tests/support/ScriptedPrompter.h"
#include "tests/support/TestFiles.h"
#include "upload/UploadProtocol.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

namespace {

// The worked example: a station, an orientation sighting, a sighting, a second
// station; NTS-350 text as the instrument sends it.
const QByteArray kStationsText(
    "_'S1_(K1_)1.500_ _+O1_ ?+00100000m+1000000++0000000g+00100000t00+00000_*#_,1.600_ "
    "_+P1_ ?+00012345m+0912345++1234567g+00012300t00+00000_*AB_,1.600_ _'S2_(_)1.450_");

struct Run {
    QTemporaryDir dir;
    ConversionSettings settings;
    CurrentFile currentFile;
    ScriptedPrompter prompter;
    ConversionOutcome outcome = ConversionOutcome::Failed;

    Run() {
        settings.flag = 0;
        settings.jobAverageXMetres = 0;  // outside S-JTSK: no reduction
        settings.jobAverageHeightMetres = 0;
        currentFile.RememberChosenFile(dir.filePath("job.sdt"));
    }
    QString Path(const char* extension) const { return currentFile.basePath + QLatin1String(extension); }
    QByteArray Output(const char* extension) const { return TestFiles::Read(Path(extension)); }
    ConversionReceipt receipt;

    ConversionOutcome Convert(const QByteArray& measured, ConversionMode mode = ConversionMode::Full) {
        TestFiles::Write(Path(".sdt"), measured);
        ConversionContext context{settings, currentFile, prompter};
        const ConversionResult result = ConvertMeasuredData(Path(".sdt"), mode, context);
        receipt = result.receipt;
        outcome = result.outcome;
        return outcome;
    }
};

const QByteArray kPreambleFull("9999\r\n999999999\r\n0\r\n1\r\n3\r\n0\r\n2\r\n\r\n");
const QByteArray kPreambleTools("9999\r\n999999999\r\n0\r\n1\r\n3\r\n0\r\n0\r\n\r\n");

}  // namespace

class ConversionTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // What the parser recognised and skipped, and what the run wrote; data of the
    // other instrument are converted as theirs only for a run the user agreed to.
    void receiptCountsWhatWasRead_data() {
        QTest::addColumn<QByteArray>("measured");
        QTest::addColumn<int>("deviceType");
        QTest::addColumn<int>("mismatchAnswer");  // Answer to "convert as the other instrument?"
        QTest::addColumn<QString>("receipt");
        const QByteArray nts350 = TestFiles::Example("nts350-job");
        const QByteArray nts660 = TestFiles::Example("nts660-job");
        QTest::newRow("NTS-350 example") << nts350 << 0 << int(Answer::No)
                                         << "2 3 5 1 3 4 0 0: job.zap job.asc job.cod";
        QTest::newRow("NTS-660 example") << nts660 << 1 << int(Answer::No) << "2 2 3 1 0 0 0 0: job.zap";
        QTest::newRow("NTS-660 example converted as such for this run")
            << nts660 << 0 << int(Answer::Yes) << "2 2 3 1 0 0 0 0: job.zap";
        QTest::newRow("NTS-660 example kept as NTS-350 writes nothing")
            << nts660 << 0 << int(Answer::No) << "0 0 0 0 0 0 285 0:";
        QByteArray damaged = nts350;
        damaged[10] = damaged[10] == '0' ? '1' : '0';  // inside the first block's text
        QTest::newRow("a damaged block is counted in the receipt")
            << damaged << 0 << int(Answer::No) << "2 3 5 1 3 4 0 0 blocks 1: job.zap job.asc job.cod";
        QTest::newRow("stray text and an abandoned sighting") << QByteArray("xx_'S1_(K1_)1.550_ _+P1_ ?+1 _'S2_(_)1.4_")
                                                              << 0 << int(Answer::No) << "2 0 0 0 0 0 5 1: job.zap";
    }
    void receiptCountsWhatWasRead() {
        QFETCH(QByteArray, measured);
        QFETCH(int, deviceType);
        QFETCH(int, mismatchAnswer);
        QFETCH(QString, receipt);
        Run run;
        run.settings.deviceType = static_cast<DeviceType>(deviceType);
        run.prompter.defaultAnswer = static_cast<Answer>(mismatchAnswer);
        run.prompter.million = {Answer::No};
        QCOMPARE(run.Convert(measured), ConversionOutcome::Completed);
        const ReadingReceipt& r = run.receipt.read;
        QString counts = QStringLiteral("%1 %2 %3 %4 %5 %6 %7 %8:")
                             .arg(r.stations)
                             .arg(r.orientationSightings)
                             .arg(r.distanceSightings)
                             .arg(r.angleSightings)
                             .arg(r.points)
                             .arg(r.codeEntries)
                             .arg(r.skippedBytes)
                             .arg(r.abandonedRecords);
        if (r.blockFindings > 0) {
            counts.insert(counts.size() - 1, QStringLiteral(" blocks %1").arg(r.blockFindings));
            QVERIFY(ReceiptText(run.receipt, run.outcome).contains(Cp1250::FromUtf8("Kontrola bloků: 1 chyba.")));
            QCOMPARE(r.findingsText, run.prompter.Of(Topic::TransferFindings).value(0).text);
        }
        for (const QByteArray& name : run.receipt.written) counts += QLatin1Char(' ') + QString::fromLatin1(name);
        QCOMPARE(counts, receipt);
        QCOMPARE(StoredValue(run.settings.deviceType), quint16(deviceType));  // the stored type stays
        QCOMPARE(run.prompter.Of(Topic::DeviceMismatch).size(), deviceType == 0 && measured.startsWith("JOB") ? 1 : 0);
        if (run.receipt.written.isEmpty())
            QVERIFY(ReceiptText(run.receipt, run.outcome).endsWith(TextFilled(Texts::kNothingRecognised, {"NTS-350"})));
    }

    void writesFieldBookInEachMode_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QByteArray>("extension");
        QTest::addColumn<QByteArray>("fieldBook");
        QTest::newRow("full") << int(ConversionMode::Full) << QByteArray(".zap")
                              << kPreambleFull +
                                     "1 S1  1.500 *K1\r\nO1  100.000 1.600 0.0000 100.0000\r\n-1\r\n"
                                     "P1  12.345 1.600 123.4567 91.2345 *AB\r\n/\r\n1 S2  1.450 *\r\n/\r\n-2\r\n";
        QTest::newRow("horizontal distances")
            << int(ConversionMode::HorizontalDistances) << QByteArray(".vod")
            << kPreambleTools +
                   "1 S1  1.500 *K1\r\nO1\t100.000\t0.0000\t\r\n-1\r\nP1\t12.228\t123.4567\t *AB\r\n/\r\n"
                   "1 S2  1.450 *\r\n/\r\n-2\r\n";
        QTest::newRow("station headers leave out sightings but not their -1")
            << int(ConversionMode::StationHeaders) << QByteArray(".pol")
            << kPreambleTools + "1 S1  1.500 *K1\r\nO1\t100.000\t0.0000\t\r\n-1\r\n/\r\n1 S2  1.450 *\r\n/\r\n-2\r\n";
    }
    void writesFieldBookInEachMode() {
        QFETCH(int, mode);
        QFETCH(QByteArray, extension);
        QFETCH(QByteArray, fieldBook);
        Run run;
        QCOMPARE(run.Convert(kStationsText, ConversionMode(mode)), ConversionOutcome::Completed);
        QCOMPARE(run.Output(extension.constData()), fieldBook);
        const bool full = mode == int(ConversionMode::Full);
        QCOMPARE(run.prompter.Count(Topic::Corrections), full ? 1 : 0);
        QCOMPARE(run.prompter.Count(Topic::Million), 0);  // no points
        QVERIFY(!QFile::exists(run.Path(".asc")) && !QFile::exists(run.Path(".cod")));
    }

    void fieldBookDetails_data() {
        QTest::addColumn<QByteArray>("measured");
        QTest::addColumn<QByteArray>("marker");
        QTest::addColumn<QByteArray>("body");  // after the preamble
        QTest::newRow("orientation as the last record leaves no -1")
            << QByteArray("_'S_(K_)1_ _+O_ <1000000+0+0_*#_,1_") << QByteArray("#")
            << QByteArray("1 S  1.000 *K\r\nO  0.000 1.000 0.0000 100.0000\r\n/\r\n-2\r\n");
        QTest::newRow("marker must match the whole code")
            << QByteArray("_+A_ <1+2+0_*# _,1_ _+B_ <1+2+0_*#A_,1_") << QByteArray("#")
            << QByteArray("A  0.000 1.000 0.0002 0.0001 *# \r\nB  0.000 1.000 0.0002 0.0001 *#A\r\n/\r\n-2\r\n");
        QTest::newRow("marker is case sensitive") << QByteArray("_+A_ <1+2+0_*or_,1_") << QByteArray("OR")
                                                  << QByteArray("A  0.000 1.000 0.0002 0.0001 *or\r\n/\r\n-2\r\n");
    }
    void fieldBookDetails() {
        QFETCH(QByteArray, measured);
        QFETCH(QByteArray, marker);
        QFETCH(QByteArray, body);
        Run run;
        run.settings.orMarker = marker;
        run.Convert(measured);
        QCOMPARE(run.Output(".zap"), kPreambleFull + body);
    }

    // A job the NTS-350 exported as keyword text: a backsight is its station's
    // orientation whatever its code, the header lines are counted (the most
    // frequent first), and every line end reads alike.
    void keywordExportReadWhole_data() {
        QTest::addColumn<QByteArray>("lineEnd");
        QTest::newRow("CR LF") << QByteArray("\r\n");
        QTest::newRow("LF") << QByteArray("\n");
        QTest::newRow("lone CR") << QByteArray("\r");
    }
    void keywordExportReadWhole() {
        QFETCH(QByteArray, lineEnd);
        const QByteArray job =
            QByteArray(
                "JOB     ZAKAZKA7|INST    NTS-350 Ver. 2008.07.08|UNITS   M,G|STN     4001,1.562, |"
                "XYZ     742101.250,1043300.120,251.300|BS      4000,1.800, |"
                "SD      0.0000,99.1234,85.412|SS      4002,1.600,PLOT|SD      123.4567,98.7654,31.006|"
                "SS      4003,1.600,PLOT|HV      201.0000,101.2000|STN     4002,1.480,|"
                "XYZ     742120.310,1043210.940,250.870|BS      4001,1.600,ROH|HV      200.0000,100.0000|")
                .replace("|", lineEnd);
        Run run;
        run.settings.deviceType = DeviceType::Nts660;
        QCOMPARE(run.Convert(job), ConversionOutcome::Completed);
        QCOMPARE(run.Output(".zap"), kPreambleFull +
                                         "1 4001  1.562 * \r\n4000  85.412 1.800 0.0000 99.1234\r\n-1\r\n"
                                         "4002  31.006 1.600 123.4567 98.7654 *PLOT\r\n"
                                         "4003  0.000 1.600 201.0000 101.2000 *PLOT\r\n/\r\n1 4002  1.480 *\r\n"
                                         "4001  0.000 1.600 200.0000 100.0000\r\n/\r\n-2\r\n");
        QCOMPARE(run.Convert(job, ConversionMode::StationHeaders), ConversionOutcome::Completed);
        QCOMPARE(run.Output(".pol"), kPreambleTools +
                                         "1 4001  1.562 * \r\n4000\t85.404\t0.0000\t\r\n-1\r\n/\r\n1 4002  1.480 *\r\n"
                                         "4001\t0.000\t200.0000\t\r\n/\r\n-2\r\n");
        QVERIFY(ReceiptText(run.receipt, run.outcome)
                    .startsWith(Cp1250::FromUtf8("Rozpoznáno: stanoviska 2, orientace 2, záměry s délkou 1, záměry jen "
                                                 "úhly 1, body se souřadnicemi 0, kódy 0. Přeskočeno: bajty mimo "
                                                 "záznamy 0, nedokončené záznamy 0, nepřevedené řádky: JOB 1, INST 1. "
                                                 "Souřadnice z řádků XYZ: stanoviska 2, orientace 0.")));
    }

    // What was converted from other units, or could not be, is said in the
    // receipt; a unit not known stops the run before any file is written.
    void receiptSaysUnits_data() {
        QTest::addColumn<QByteArray>("measured");
        QTest::addColumn<bool>("usSurveyFoot");
        QTest::addColumn<bool>("stopped");
        QTest::addColumn<QString>("said");  // UTF-8, a part of the receipt
        const QByteArray feet("_'S1_(K_)5.000_ _+P1_ ?+00012345f+0912345++1234527g+0t00+00000_*AB_,1.600_");
        QTest::newRow("international feet, station and sighting")
            << feet << false << false
            << QStringLiteral("Délky ve stopách převedeny na metry (mezinárodní stopa = 0,3048 m): 2 záznamy.");
        QTest::newRow("US survey feet") << feet << true << false
                                        << QStringLiteral("(americká měřická stopa = 1200/3937 m): 2 záznamy.");
        QTest::newRow("degrees") << QByteArray("_+P1_ ?+00012345m+0912345++1035120d+0t00+00000_*AB_,1.600_") << false
                                 << false << QStringLiteral("Úhly ve stupních převedeny na grady: 1 záznam.");
        QTest::newRow("mils stop the run")
            << QByteArray("_'S1_(K_)1.5_ _+P1_ ?+00012345m+0912345++1234527m+0t00+00000_*AB_,1.600_") << false << true
            << QStringLiteral(
                   "Nepřevedeno pro neznámé jednotky: úhly v jednotkách „m“ 1 záznam. Nebyl zapsán žádný "
                   "soubor: data obsahují jednotky, které program nezná (viz výše).");
    }
    void receiptSaysUnits() {
        QFETCH(QByteArray, measured);
        QFETCH(bool, usSurveyFoot);
        QFETCH(bool, stopped);
        QFETCH(QString, said);
        Run run;
        run.settings.usSurveyFoot = usSurveyFoot;
        QCOMPARE(run.Convert(measured), stopped ? ConversionOutcome::Stopped : ConversionOutcome::Completed);
        QVERIFY2(ReceiptText(run.receipt, run.outcome).contains(Cp1250::FromUtf8(said.toUtf8().constData())),
                 Cp1250::ToUtf8(ReceiptText(run.receipt, run.outcome)).constData());
        QCOMPARE(QFile::exists(run.Path(".zap")), !stopped);
    }

    void secondFaceGivesNegativeHorizontalDistance() {
        Run run;
        run.Convert("_+P_ ?+00010000m+3000000++0000000g+0t00+00000_*A_,1_", ConversionMode::HorizontalDistances);
        QVERIFY(run.Output(".vod").contains("P\t-10.000\t0.0000\t *A\r\n"));
    }

    void headerAndCorrectionLine() {
        Run run;
        run.settings.flag = FLAG_USE_HEADER;
        run.settings.head = "H";
        run.Convert(kStationsText + " _+B1_ x+1_ y+2_ z+3_");
        QVERIFY(run.Output(".zap").startsWith("H\r\nKorekce: 0.0 mm/km\r\n9999\r\n"));
        QVERIFY(run.Output(".asc").startsWith("H\r\n\r\nB1  "));
    }

    void longHeaderIsWrittenWhole() {
        // A header far longer than any line buffer the writers might use.
        Run run;
        run.settings.flag = FLAG_USE_HEADER;
        run.settings.head = QByteArray("Zak\xe1zka ").repeated(2000);
        run.Convert(kStationsText + " _+B1_ x+1_ y+2_ z+3_");
        QVERIFY(run.Output(".zap").startsWith(run.settings.head + "\r\nKorekce: 0.0 mm/km\r\n9999"));
        QVERIFY(run.Output(".asc").startsWith(run.settings.head + "\r\n\r\n"));
    }

    void correctionFollowsTheMeanPosition_data() {
        QTest::addColumn<quint16>("deviceType");
        QTest::addColumn<double>("jx");
        QTest::addColumn<double>("jy");
        QTest::addColumn<QByteArray>("measured");
        QTest::addColumn<QByteArray>("correction");
        QTest::addColumn<QByteArray>("line");
        // Both at the default height of 320 m. 12.345 m times the scale factor 0.9999471...
        QTest::newRow("default position") << quint16(0) << 1001000.0 << 680000.0 << kStationsText << QByteArray("-52.9")
                                          << QByteArray("P1  12.344 1.600 123.4567 91.2345 *AB");
        // The reduced distance is 100.0005 m only when R² is taken as one factor.
        QTest::newRow("reduced 100.0005 m writes 100.001, not 100.000")
            << quint16(1) << 1077937.0 << 862989.0
            << QByteArray("SS      P1,1.5,C\r\nSD      0,100,100.00727348214471\r\n") << QByteArray("-67.7")
            << QByteArray("P1  100.001 1.500 0.0000 100.0000 *C");
    }
    void correctionFollowsTheMeanPosition() {
        QFETCH(quint16, deviceType);
        QFETCH(double, jx);
        QFETCH(double, jy);
        QFETCH(QByteArray, measured);
        QFETCH(QByteArray, correction);
        QFETCH(QByteArray, line);
        Run run;
        run.settings = ConversionSettings();
        run.settings.deviceType = static_cast<DeviceType>(deviceType);
        run.settings.jobAverageXMetres = jx;
        run.settings.jobAverageYMetres = jy;
        run.settings.flag = FLAG_USE_HEADER;
        run.settings.head = "H";
        run.Convert(measured);
        const QByteArray zap = run.Output(".zap");
        QVERIFY2(zap.startsWith("H\r\nKorekce: " + correction + " mm/km\r\n"), zap.constData());
        QVERIFY2(zap.contains("\r\n" + line + "\r\n"), zap.constData());
    }

    void coordinateList_data() {
        QTest::addColumn<quint16>("flag");
        QTest::addColumn<Answer>("million");
        QTest::addColumn<QByteArray>("line");
        const QByteArray point("_+B1_ x+012345678_ y+654321000_ z+000320500_");
        QTest::newRow("y before x") << quint16(0) << Answer::No << QByteArray("B1  654321.000 12345.678 320.500\r\n");
        QTest::newRow("million") << quint16(0) << Answer::Yes << QByteArray("B1  654321.000 1012345.678 320.500\r\n");
        QTest::newRow("million, swapped")
            << FLAG_SWAP_XY << Answer::Yes << QByteArray("B1  1012345.678 654321.000 320.500\r\n");
    }
    void coordinateList() {
        QFETCH(quint16, flag);
        QFETCH(Answer, million);
        QFETCH(QByteArray, line);
        Run run;
        run.settings.flag = flag;
        run.prompter.million = {million};
        QCOMPARE(run.Convert("_+B1_ x+012345678_ y+654321000_ z+000320500_ _:007PLOT_"), ConversionOutcome::Completed);
        QCOMPARE(run.Output(".asc"), line);
        QCOMPARE(run.Output(".cod"), QByteArray("7,PLOT\r\n"));
        QVERIFY(!QFile::exists(run.Path(".zap")));  // no station, no sighting
        QCOMPARE(run.prompter.Count(Topic::Million), 1);
    }

    void codedPointCarriesItsCode() {
        Run run;
        run.prompter.million = {Answer::No};
        run.Convert("_+B8_ U+0043512345+000742118+00312455m_*  ST_");
        QCOMPARE(run.Output(".asc"), QByteArray("B8  742.118 43512.345 312.455 *ST\r\n"));
    }

    void toolsAskNothingAndWriteNoLists() {
        for (ConversionMode mode : {ConversionMode::HorizontalDistances, ConversionMode::StationHeaders}) {
            Run run;
            run.settings.flag = FLAG_ASK_OVERWRITE;
            run.Convert(kStationsText + " _+B1_ x+1_ y+2_ z+3_ _:007PLOT_", mode);
            QVERIFY(run.prompter.messages.isEmpty());
            QVERIFY(!QFile::exists(run.Path(".asc")) && !QFile::exists(run.Path(".cod")));
        }
    }

    // "Použít současné nastavení korekcí?" before anything is prepared: Cancel reads
    // nothing; No opens the sheet, and the data are read with what the settings
    // hold afterwards, the instrument's form included.
    void correctionsQuestion_data() {
        QTest::addColumn<QByteArray>("measured");
        QTest::addColumn<Answer>("answer");
        QTest::addColumn<int>("sheet");  // what the sheet changes: 0 nothing, 1 the header, 2 the instrument to NTS-660
        QTest::addColumn<int>("stations");         // read, -1 when nothing was read
        QTest::addColumn<QByteArray>("zapStart");  // empty: no field book
        const QByteArray nts660 = TestFiles::Example("nts660-job");
        QTest::newRow("Cancel reads nothing") << kStationsText << Answer::Cancel << 0 << -1 << QByteArray();
        QTest::newRow("the header the sheet confirms is used at once")
            << kStationsText << Answer::No << 1 << 2 << QByteArray("Z\r\nKorekce: 0.0 mm/km\r\n");
        QTest::newRow("NTS-350 data read as the NTS-660 the sheet set give nothing")
            << kStationsText << Answer::No << 2 << 0 << QByteArray();
        QTest::newRow("NTS-660 data kept as NTS-350, then NTS-660 set in the sheet: read unprepared, whole")
            << nts660 << Answer::No << 2 << 2 << QByteArray("9999\r\n");
    }
    void correctionsQuestion() {
        QFETCH(QByteArray, measured);
        QFETCH(Answer, answer);
        QFETCH(int, sheet);
        QFETCH(int, stations);
        QFETCH(QByteArray, zapStart);
        Run run;
        run.prompter.deviceMismatch = {Answer::No};
        run.prompter.corrections = {answer};
        run.prompter.sheet = [sheet](ConversionSettings& s) {
            if (sheet == 1) {
                s.flag = FLAG_USE_HEADER;
                s.head = "Z";
            }
            if (sheet == 2) s.deviceType = DeviceType::Nts660;
            return sheet == 1;
        };
        run.Convert(measured);
        QCOMPARE(run.outcome, answer == Answer::Cancel ? ConversionOutcome::Stopped : ConversionOutcome::Completed);
        QCOMPARE(run.prompter.sheetsOpened, answer == Answer::No ? 1 : 0);
        QCOMPARE(run.prompter.Of(Topic::Corrections).front().buttons, MessageButtons::YesNoCancel);
        QCOMPARE(run.receipt.read.parsed ? run.receipt.read.stations : -1, stations);
        if (zapStart.isEmpty())
            QVERIFY(!QFile::exists(run.Path(".zap")));
        else
            QVERIFY(run.Output(".zap").startsWith(zapStart));
    }

    void refusedOverwriteEndsTheRun() {
        Run run;
        run.settings.flag = FLAG_ASK_OVERWRITE;
        TestFiles::Write(run.Path(".zap"), "old");
        run.prompter.overwrite = {Answer::No};
        QCOMPARE(run.Convert(kStationsText + " _+B1_ x+1_ y+2_ z+3_ _:007PLOT_"), ConversionOutcome::Stopped);
        QCOMPARE(run.Output(".zap"), QByteArray("old"));
        QVERIFY(!QFile::exists(run.Path(".asc")) && !QFile::exists(run.Path(".cod")));
        QCOMPARE(run.prompter.Count(Topic::Million), 0);
        const QByteArray question = run.prompter.Of(Topic::Overwrite).front().text;
        QCOMPARE(question, TextWith(Texts::kFileExists, DisplayPath(run.Path(".zap"))));
    }

    void existingFileReplacedWithoutTheBit() {
        Run run;
        TestFiles::Write(run.Path(".zap"), "old");
        QCOMPARE(run.Convert(kStationsText), ConversionOutcome::Completed);
        QVERIFY(run.Output(".zap").startsWith("9999"));
        QCOMPARE(run.prompter.Count(Topic::Overwrite), 0);
    }

    void showsEachFileBeforeTheNext() {
        Run run;
        run.settings.flag = FLAG_SHOW_OUTPUT;
        run.Convert(kStationsText + " _+B1_ x+1_ y+2_ z+3_ _:007PLOT_");
        QCOMPARE(run.prompter.shownFiles, (QList<QString>{run.Path(".zap"), run.Path(".asc"), run.Path(".cod")}));
        QCOMPARE(run.prompter.shownTitles, (QList<QByteArray>{"job.zap", "job.asc", "job.cod"}));
        // Questions in order: corrections, million after the field book.
        QCOMPARE(run.prompter.messages.size(), 2);
        QCOMPARE(run.prompter.messages[1].topic, Topic::Million);
    }

    // The outputs of a run are one set: when one cannot be written, none replaces
    // its old file, the run stops there, and one message says so.
    void aFailedOutputReplacesNoOldFile_data() {
        QTest::addColumn<QString>("failing");  // the extension of the output that cannot be written
        QTest::addColumn<bool>("diskFull");    // the output is on a full disk, else a folder is in its way
        QTest::newRow("field book blocked by a folder") << ".zap" << false;
        QTest::newRow("coordinate list on a full disk") << ".asc" << true;
        QTest::newRow("code list, the last, blocked by a folder") << ".cod" << false;
    }
    void aFailedOutputReplacesNoOldFile() {
        QFETCH(QString, failing);
        QFETCH(bool, diskFull);
        if (diskFull && !QFile::exists("/dev/full")) QSKIP("no /dev/full here");
        Run run;
        run.settings.flag = FLAG_ASK_OVERWRITE;
        const QString blocked = run.currentFile.basePath + failing;
        QVERIFY(diskFull ? QFile::link("/dev/full", blocked) : QDir().mkdir(blocked));
        QStringList before;
        for (const char* extension : {".zap", ".asc", ".cod"}) {
            if (run.Path(extension) == blocked) continue;
            TestFiles::Write(run.Path(extension), QByteArray("old ") + extension);
            before.append(QFileInfo(run.Path(extension)).fileName());
        }
        QCOMPARE(run.Convert(kStationsText + " _+B1_ x+1_ y+2_ z+3_ _:007PLOT_"), ConversionOutcome::Failed);
        for (const char* extension : {".zap", ".asc", ".cod"}) {
            if (run.Path(extension) != blocked) QCOMPARE(run.Output(extension), QByteArray("old ") + extension);
        }
        // The questions all came first: the overwrites, then the million.
        QCOMPARE(run.prompter.Count(Topic::Overwrite), 3);
        QCOMPARE(run.prompter.messages.last().topic, Topic::Million);
        QCOMPARE(run.prompter.fileErrors.size(), 1);
        QCOMPARE(run.prompter.fileErrors[0].path, blocked);
        QCOMPARE(run.prompter.fileErrors[0].kind, diskFull ? FileErrorKind::DiskFull : FileErrorKind::AccessDenied);
        const QByteArray told = run.prompter.fileErrorConsequences[0];
        QVERIFY2(told.contains(TextWith(Texts::kOldFilesKept, before.join(", ").toLatin1())), told.constData());
        QVERIFY(run.receipt.written.isEmpty());
        // No temporary stays: the measured data, the old files and the link.
        QCOMPARE(QDir(run.dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System).size(), diskFull ? 4 : 3);
    }

    void fullDiskIsReportedNotSuccess() {
        if (!QFile::exists("/dev/full")) QSKIP("no /dev/full here");
        Run run;
        QVERIFY(QFile::link("/dev/full", run.Path(".zap")));
        QCOMPARE(run.Convert(kStationsText), ConversionOutcome::Failed);
        QCOMPARE(run.prompter.fileErrors.size(), 1);
        QCOMPARE(run.prompter.fileErrors[0].kind, FileErrorKind::DiskFull);
        QCOMPARE(run.prompter.fileErrors[0].path, run.Path(".zap"));
        QVERIFY(run.prompter.shownFiles.isEmpty());
    }

    void meanHeightFarBelowSeaLevelStopsBeforeWritingNan() {
        Run run;
        run.settings.jobAverageHeightMetres = -3200000.0;
        QCOMPARE(run.Convert(kStationsText), ConversionOutcome::Failed);
        QVERIFY(!QFile::exists(run.Path(".zap")));
        QCOMPARE(run.prompter.messages.size(), 2);  // the corrections question, then the reason
        QVERIFY(run.prompter.messages[1].text.contains("-3200000.000"));
    }

    void outputsStayNextToAFileWithoutExtensionInADottedFolder() {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir("data.v2"));
        const QString measured = dir.filePath("data.v2/job");
        TestFiles::Write(measured, kStationsText);
        ConversionSettings settings;
        settings.flag = 0;
        CurrentFile currentFile;
        currentFile.RememberChosenFile(measured);
        ScriptedPrompter prompter;
        ConversionContext context{settings, currentFile, prompter};
        QCOMPARE(ConvertMeasuredData(measured, ConversionMode::Full, context).outcome, ConversionOutcome::Completed);
        QVERIFY(QFile::exists(measured + ".zap"));
        QVERIFY(!QFile::exists(dir.filePath("data.zap")));
    }

    // The ".200" copy: the prepared NTS-350 text, written first in a full run.
    void writesThePreparedCopy_data() {
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
    void writesThePreparedCopy() {
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
        settings.deviceType = static_cast<DeviceType>(deviceType);
        settings.flag = flag;
        CurrentFile currentFile;
        currentFile.RememberChosenFile(base + ".sdt");
        ScriptedPrompter prompter;
        prompter.overwrite = overwrite;
        prompter.deviceMismatch = {Answer::No};  // NTS-660 set: the data are converted as such
        ConversionContext context{settings, currentFile, prompter};
        QCOMPARE(int(ConvertMeasuredData(base + ".sdt", ConversionMode(mode), context).outcome), outcome);
        if (copy.isEmpty())
            QVERIFY(!QFile::exists(base + ".200"));
        else
            QCOMPARE(TestFiles::Read(base + ".200"), copy);
        QCOMPARE(prompter.Count(Topic::Overwrite), overwrite.size());
        if (!overwrite.isEmpty())
            QVERIFY(prompter.Of(Topic::Overwrite).front().text.contains(DisplayPath(base + ".200")));
        // The corrections are confirmed before the data are read; a refused copy
        // ends the run before the field book.
        QCOMPARE(prompter.Count(Topic::Corrections), mode == int(ConversionMode::Full) ? 1 : 0);
        if (outcome == int(ConversionOutcome::Stopped)) QVERIFY(!QFile::exists(base + ".zap"));
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
        ConversionContext context{settings, currentFile, prompter};
        QCOMPARE(ConvertMeasuredData(base + ".sdt", ConversionMode::Full, context).outcome, ConversionOutcome::Failed);
        QCOMPARE(prompter.fileErrors.size(), 1);
        QCOMPARE(prompter.fileErrors[0].path, base + ".200");
        QVERIFY(!QFile::exists(base + ".zap"));
    }

    void goldenFiles_data() {
        QTest::addColumn<QString>("input");
        QTest::addColumn<quint16>("deviceType");
        QTest::addColumn<quint16>("flag");
        QTest::addColumn<QByteArray>("head");
        QTest::addColumn<int>("mode");
        QTest::addColumn<QStringList>("outputs");
        const quint16 fullFlag = FLAG_USE_HEADER | FLAG_KEEP_200;
        QTest::newRow("NTS-350 transfer, full")
            << "nts350-job" << quint16(0) << fullFlag << QByteArray() << int(ConversionMode::Full)
            << QStringList{".200", ".zap", ".asc", ".cod"};
        QTest::newRow("NTS-350 transfer, horizontal distances")
            << "nts350-job" << quint16(0) << quint16(0) << QByteArray() << int(ConversionMode::HorizontalDistances)
            << QStringList{".vod"};
        QTest::newRow("NTS-350 transfer, station headers")
            << "nts350-job" << quint16(0) << quint16(0) << QByteArray() << int(ConversionMode::StationHeaders)
            << QStringList{".pol"};
        QTest::newRow("NTS-660 job") << "nts660-job" << quint16(1) << FLAG_USE_HEADER
                                     << QByteArray("Zak\xe1zka 12\r\nM\xec\xf8il: \xd8\x8e")
                                     << int(ConversionMode::Full) << QStringList{".zap"};
    }
    void goldenFiles() {
        QFETCH(QString, input);
        QFETCH(quint16, deviceType);
        QFETCH(quint16, flag);
        QFETCH(QByteArray, head);
        QFETCH(int, mode);
        QFETCH(QStringList, outputs);
        const QString data = TestFiles::DataDir("convert") + "/" + input;
        QTemporaryDir dir;
        const QString measured = dir.filePath(input + ".sdt");
        TestFiles::Write(measured, TestFiles::Read(data + ".sdt"));
        ConversionSettings settings;
        settings.deviceType = static_cast<DeviceType>(deviceType);
        settings.flag = flag;
        if (!head.isEmpty()) settings.head = head;
        CurrentFile currentFile;
        currentFile.RememberChosenFile(measured);
        ScriptedPrompter prompter;
        prompter.million = {Answer::Yes};
        ConversionContext context{settings, currentFile, prompter};
        const ConversionResult result = ConvertMeasuredData(measured, ConversionMode(mode), context);
        QCOMPARE(result.outcome, ConversionOutcome::Completed);
        QStringList listed;  // the receipt names every file written, the ".200" copy too
        for (const QString& extension : outputs) {
            QCOMPARE(TestFiles::Read(currentFile.basePath + extension), TestFiles::Read(data + extension));
            listed << input + extension;
        }
        QCOMPARE(QString::fromLatin1(result.receipt.written.join(' ')), listed.join(' '));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), outputs.size() + 1);
    }

    void framedTransferConvertsAsItsText() {
        // Any text cut into 128-byte blocks and framed as the instrument sends it
        // prepares to that text again, and converts to the same files.
        QRandomGenerator random(350);
        for (int round = 0; round < 20; ++round) {
            QByteArray stream;
            const int records = 1 + int(random.bounded(40));
            for (int i = 0; i < records; ++i) {
                switch (random.bounded(5)) {
                    case 0:
                        stream +=
                            "_'S" + QByteArray::number(i) + "_(K_)1.5" + QByteArray::number(random.bounded(10)) + "_";
                        break;
                    case 1:
                        stream += "_+P" + QByteArray::number(i) + "_ ?+000" +
                                  QByteArray::number(10000 + random.bounded(90000)) + "m+0912345++" +
                                  QByteArray::number(1000000 + random.bounded(3000000)) + "g+0t00+00000_*AB_,1.600_";
                        break;
                    case 2:
                        stream += "_+A" + QByteArray::number(i) + "_ <+0912345++1234567+00000_*#_,1.600_";
                        break;
                    case 3:
                        stream += "_+B" + QByteArray::number(i) + "_ U+" +
                                  QByteArray::number(random.bounded(100000000)) + "-0000012+000320500m_* X_";
                        break;
                    default:
                        stream += "_:0" + QByteArray::number(10 + random.bounded(40)) + "KOD_";
                        break;
                }
                stream += "\r\n";
            }
            QByteArray framed;
            for (qsizetype at = 0, block = 0; at < stream.size(); at += kBlockPayload, ++block)
                framed += BuildBlock(
                    QByteArrayView(stream.constData() + at, std::min<qsizetype>(kBlockPayload, stream.size() - at)),
                    unsigned(block));
            QByteArray unframed = framed;
            RemoveFraming(unframed);
            QByteArray text = stream;
            text.replace("\r\n", "");
            // The last block is padded with spaces.
            QCOMPARE(unframed.left(text.size()), text);
            QVERIFY(unframed.mid(text.size()).count(' ') == unframed.size() - text.size());

            Run fromFrames;
            Run fromText;
            fromFrames.settings.flag = fromText.settings.flag = FLAG_USE_HEADER;
            fromFrames.Convert(framed);
            fromText.Convert(text);
            for (const char* extension : {".zap", ".asc", ".cod"})
                QCOMPARE(fromFrames.Output(extension), fromText.Output(extension));
        }
    }
};

QTEST_GUILESS_MAIN(ConversionTest)
#include "ConversionTest.moc"
