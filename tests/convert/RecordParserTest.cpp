#include "convert/RecordParser.h"

#include "base/ConversionSettings.h"
#include "base/Texts.h"
#include "tests/support/ScriptedPrompter.h"

#include <QRandomGenerator>
#include <QTest>

namespace {

ParsedRecords Parse(const QByteArray& text, quint16 deviceType = 0, quint16 flags = 0, double scale = 1.0,
                    ScriptedPrompter* prompter = nullptr) {
    ScriptedPrompter local;
    return ParseRecords(text.constData(), text.size(), static_cast<DeviceType>(deviceType), flags, scale,
                        prompter ? *prompter : local);
}

}  // namespace

class RecordParserTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void extractsFields_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QByteArray>("prefix");
        QTest::addColumn<QByteArray>("terminators");
        QTest::addColumn<bool>("skipFirst");
        QTest::addColumn<bool>("found");
        QTest::addColumn<QByteArray>("field");
        QTest::addColumn<int>("cursorAfter");
        QTest::newRow("up to the nearest terminator")
            << QByteArray("AB_C,") << QByteArray() << QByteArray(",_") << false << true << QByteArray("AB") << 2;
        QTest::newRow("after a prefix") << QByteArray("xx(K1_") << QByteArray("(") << QByteArray("_") << false << true
                                        << QByteArray("K1") << 5;
        QTest::newRow("prefix at offset 30") << QByteArray(30, '.') + "(K_" << QByteArray("(") << QByteArray("_")
                                             << false << true << QByteArray("K") << 32;
        QTest::newRow("prefix at offset 31 is too far")
            << QByteArray(31, '.') + "(K_" << QByteArray("(") << QByteArray("_") << false << false << QByteArray() << 1;
        QTest::newRow("field of 49 characters") << QByteArray(49, 'a') + "_" << QByteArray() << QByteArray("_") << false
                                                << true << QByteArray(49, 'a') << 49;
        QTest::newRow("field of 50 characters fails")
            << QByteArray(50, 'a') + "_" << QByteArray() << QByteArray("_") << false << false << QByteArray() << 1;
        QTest::newRow("signed number skips its own sign")
            << QByteArray("-0012+0034") << QByteArray() << QByteArray("+-") << true << true << QByteArray("-0012") << 5;
        QTest::newRow("terminator missing at the end of the text")
            << QByteArray("abc") << QByteArray() << QByteArray("_") << false << false << QByteArray() << 1;
        QTest::newRow("a NUL ends the text")
            << QByteArray("ab\0_", 4) << QByteArray() << QByteArray("_") << false << false << QByteArray() << 1;
        QTest::newRow("skipFirst does not step over a NUL at offset 0")
            << QByteArray("\0+12+", 5) << QByteArray() << QByteArray("+-") << true << false << QByteArray() << 1;
    }
    void extractsFields() {
        QFETCH(QByteArray, text);
        QFETCH(QByteArray, prefix);
        QFETCH(QByteArray, terminators);
        QFETCH(bool, skipFirst);
        QFETCH(bool, found);
        QFETCH(QByteArray, field);
        QFETCH(int, cursorAfter);
        const char* cursor = text.constData();
        QByteArray out;
        QCOMPARE(ExtractField(cursor, text.constData() + text.size(), out,
                              prefix.isEmpty() ? nullptr : prefix.constData(), terminators.constData(), skipFirst),
                 found);
        if (found) QCOMPARE(out, field);
        QCOMPARE(cursor - text.constData(), qsizetype(cursorAfter));
    }

    // name, codeText, slopeDistance, zenithAngle, direction, height, x, y, z, codeNumber, kind
    void readsNts350Records_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<quint16>("flags");
        QTest::addColumn<int>("kind");  // 0: nothing recorded
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QByteArray>("code");
        QTest::addColumn<QList<double>>("numbers");  // distance, zenith, direction, height, x, y, z
        QTest::addColumn<int>("codeNumber");
        const QList<double> none{0, 0, 0, 0, 0, 0, 0};
        QTest::newRow("station") << QByteArray("_'S1_(K1_)1.550_") << quint16(0) << int(Station) << QByteArray("S1")
                                 << QByteArray("K1") << QList<double>{0, 0, 0, 1.55, 0, 0, 0} << 0;
        const QByteArray sighting("_+P1_ ?+00012345m0912345+1234567g+00012300t00+00000_*AB_,1.600_");
        QTest::newRow("slope sighting") << sighting << quint16(0) << int(Measurement) << QByteArray("P1")
                                        << QByteArray("AB") << QList<double>{12.345, 91.2345, 123.4567, 1.6, 0, 0, 0}
                                        << 0;
        QTest::newRow("slope sighting, angles swapped")
            << sighting << FLAG_SWAP_ANGLES << int(Measurement) << QByteArray("P1") << QByteArray("AB")
            << QList<double>{12.345, 123.4567, 91.2345, 1.6, 0, 0, 0} << 0;
        QTest::newRow("angles sighting") << QByteArray("_+P2_ <0912345+1234567+00000_*AB_,1.600_") << quint16(0)
                                         << int(Angles) << QByteArray("P2") << QByteArray("AB")
                                         << QList<double>{0, 91.2345, 123.4567, 1.6, 0, 0, 0} << 0;
        QTest::newRow("angles sighting, angles swapped")
            << QByteArray("_+P2_ <0912345+1234567+00000_*AB_,1.600_") << FLAG_SWAP_ANGLES << int(Angles)
            << QByteArray("P2") << QByteArray("AB") << QList<double>{0, 123.4567, 91.2345, 1.6, 0, 0, 0} << 0;
        QTest::newRow("tagged point") << QByteArray("_+B7_ x+001234567_ y+000765432_ z+000000320_") << quint16(0)
                                      << int(Coordinates) << QByteArray("B7") << QByteArray()
                                      << QList<double>{0, 0, 0, 0, 1234.567, 765.432, 0.32} << 0;
        QTest::newRow("packed point loses leading spaces of its code")
            << QByteArray("_+B8_ U+0043512345-000742118+00312455m_*  ST_") << quint16(0) << int(Coordinates)
            << QByteArray("B8") << QByteArray("ST") << QList<double>{0, 0, 0, 0, 43512.345, -742.118, 312.455} << 0;
        QTest::newRow("padded name keeps its spaces")
            << QByteArray("_+B9        _ x+1_ y+2_ z+3_") << quint16(0) << int(Coordinates) << QByteArray("B9        ")
            << QByteArray() << QList<double>{0, 0, 0, 0, 0.001, 0.002, 0.003} << 0;
        QTest::newRow("code entry") << QByteArray("_:007PLOT_") << quint16(0) << int(CodeListEntry)
                                    << QByteArray("007PLOT") << QByteArray("PLOT") << none << 7;
        QTest::newRow("code entry 0") << QByteArray("_:000X_") << quint16(0) << int(CodeListEntry) << QByteArray("000X")
                                      << QByteArray("X") << none << 0;
        QTest::newRow("empty code entry")
            << QByteArray("_:_") << quint16(0) << int(CodeListEntry) << QByteArray() << QByteArray() << none << 0;
        QTest::newRow("code description cut to 10")
            << QByteArray("_:050ABCDEFGHIJKLM_") << quint16(0) << int(CodeListEntry) << QByteArray("050ABCDEFGHIJKLM")
            << QByteArray("ABCDEFGHIJ") << none << 50;
        QTest::newRow("code 51 refused") << QByteArray("_:051ROAD_") << quint16(0) << 0 << QByteArray() << QByteArray()
                                         << none << 0;
        QTest::newRow("code with a letter in its number refused")
            << QByteArray("_:7A ROAD_") << quint16(0) << 0 << QByteArray() << QByteArray() << none << 0;
        QTest::newRow("negative code refused")
            << QByteArray("_:-1X_") << quint16(0) << 0 << QByteArray() << QByteArray() << none << 0;
        QTest::newRow("sighting of no known form")
            << QByteArray("_+P3_abcdefg_") << quint16(0) << 0 << QByteArray() << QByteArray() << none << 0;
        QTest::newRow("name over 49 characters") << QByteArray("_'") + QByteArray(50, 'N') + "_(K_)1.5_" << quint16(0)
                                                 << 0 << QByteArray() << QByteArray() << none << 0;
        QTest::newRow("packed point whose x starts with a NUL is not recorded")
            << QByteArray("_+P1_U") + '\0' + "+1000+2000+300m_*AB_" << quint16(0) << 0 << QByteArray() << QByteArray()
            << none << 0;
        QTest::newRow("sighting cut short at the end of the text")
            << QByteArray("_+P1_ ?+00012345m0912345+1234567g+000") << quint16(0) << 0 << QByteArray() << QByteArray()
            << none << 0;
    }
    void readsNts350Records() {
        QFETCH(QByteArray, text);
        QFETCH(quint16, flags);
        QFETCH(int, kind);
        QFETCH(QByteArray, name);
        QFETCH(QByteArray, code);
        QFETCH(QList<double>, numbers);
        QFETCH(int, codeNumber);
        const ParsedRecords parsed = Parse(text, 0, flags);
        if (kind == 0) {
            QVERIFY(parsed.records.empty());
            return;
        }
        QCOMPARE(parsed.records.size(), std::size_t(1));
        const SurveyRecord& r = parsed.records.front();
        QCOMPARE(int(r.kind), kind);
        QCOMPARE(r.name, name);
        QCOMPARE(r.codeText, code);
        QCOMPARE(r.slopeDistance, numbers[0]);
        QCOMPARE(r.zenithAngle, numbers[1]);
        QCOMPARE(r.direction, numbers[2]);
        QCOMPARE(r.height, numbers[3]);
        QCOMPARE(r.x, numbers[4]);
        QCOMPARE(r.y, numbers[5]);
        QCOMPARE(r.z, numbers[6]);
        QCOMPARE(int(r.codeNumber), codeNumber);
        const bool counted = kind != Coordinates;
        QCOMPARE(parsed.stationAndSightingCount, counted && kind != CodeListEntry ? 1 : 0);
        QCOMPARE(parsed.codeEntryCount, kind == CodeListEntry ? 1 : 0);
    }

    void scalesOnlyDistances() {
        const ParsedRecords parsed = Parse(
            "_+P1_ ?+00100000m1000000+2000000g+0t00+00000_*A_,1.600_ _+B1_ x+1000_ y+2000_ z+3000_", 0, 0, 0.9999);
        QCOMPARE(parsed.records.size(), std::size_t(2));
        QCOMPARE(parsed.records[0].slopeDistance, 100000.0 * 0.9999 * 0.001);
        QCOMPARE(parsed.records[0].height, 1.6);
        QCOMPARE(parsed.records[1].x, 1.0);
        const ParsedRecords nts660 = Parse("SS      A,1.600,\r\nSD      1.5,100,200.000\r\n", 1, 0, 0.9999);
        QCOMPARE(nts660.records.size(), std::size_t(1));
        QCOMPARE(nts660.records[0].slopeDistance, 200.0 * 0.9999);
        QCOMPARE(nts660.records[0].direction, 1.5);
    }

    void abandonedRecordDoesNotSwallowTheNext() {
        const ParsedRecords parsed = Parse("_'" + QByteArray(50, 'N') + "_(K1_)1.5_'S2_(K2_)1.4_");
        QCOMPARE(parsed.records.size(), std::size_t(1));
        QCOMPARE(parsed.records[0].name, QByteArray("S2"));
    }

    void warnsOncePerRun_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<quint16>("deviceType");
        QTest::addColumn<quint16>("flags");
        QTest::addColumn<QList<QByteArray>>("warnings");
        const QByteArray feet("_+P1_ ?+00012345f0912345+1234527g+0t00+00000_*AB_,1.600_");
        const QByteArray degrees("_+P1_ ?+00012345m0912345+1234527d+0t00+00000_*AB_,1.600_");
        const QByteArray high("_'S1_(K_)5.001_");
        const QByteArray feetWarning = TextFilled(Texts::kWarnFeet, {Text(Texts::kFoot)});
        QTest::newRow("feet once, then degrees once") << feet + feet + degrees << quint16(0) << FLAG_WARN_UNITS
                                                      << QList<QByteArray>{feetWarning, Text(Texts::kWarnAngles)};
        QTest::newRow("degrees") << degrees << quint16(0) << FLAG_WARN_UNITS
                                 << QList<QByteArray>{Text(Texts::kWarnAngles)};
        QTest::newRow("units not checked without the bit")
            << feet + degrees << quint16(0) << quint16(0) << QList<QByteArray>{};
        QTest::newRow("packed point in feet")
            << QByteArray("_+B_ U+1+2+3f_*_") << quint16(0) << FLAG_WARN_UNITS << QList<QByteArray>{feetWarning};
        QTest::newRow("height of 6 ft is no tall height")
            << feet + "_'S1_(K_)6.000_" << quint16(0) << FLAG_WARN_HEIGHTS << QList<QByteArray>{};
        QTest::newRow("height above 5 m once") << high + "_+P_ <1+2+0_*_,6.000_" << quint16(0) << FLAG_WARN_HEIGHTS
                                               << QList<QByteArray>{Text(Texts::kWarnHeight)};
        QTest::newRow("height of exactly 5 m is silent")
            << QByteArray("_'S1_(K_)5.000_") << quint16(0) << FLAG_WARN_HEIGHTS << QList<QByteArray>{};
        QTest::newRow("both kinds, each once; 17 ft is tall")
            << high + feet + QByteArray(feet).replace("1.600", "17.000") + high << quint16(0)
            << quint16(FLAG_WARN_UNITS | FLAG_WARN_HEIGHTS) << QList<QByteArray>{feetWarning, Text(Texts::kWarnHeight)};
        const QByteArray station660("STN     A,1.5,\r\n");
        QTest::newRow("NTS-660 feet") << "UNITS   F,G\r\n" + station660 << quint16(1) << FLAG_WARN_UNITS
                                      << QList<QByteArray>{feetWarning};
        QTest::newRow("NTS-660 units lines without records say nothing")
            << QByteArray("UNITS   F,G\r\nUNITS   M,D\r\n") << quint16(1) << FLAG_WARN_UNITS << QList<QByteArray>{};
        QTest::newRow("NTS-660 degrees") << QByteArray("UNITS   M,D\r\nSS      P,1.6,\r\nHV      1,2\r\n") << quint16(1)
                                         << FLAG_WARN_UNITS << QList<QByteArray>{Text(Texts::kWarnAngles)};
        QTest::newRow("NTS-660 short units line keeps metres")
            << "UNITS\r\n" + station660 << quint16(1) << FLAG_WARN_UNITS << QList<QByteArray>{};
        QTest::newRow("NTS-660 high target") << QByteArray("SS      A,7.0,\r\nHV      1,2\r\n") << quint16(1)
                                             << FLAG_WARN_HEIGHTS << QList<QByteArray>{Text(Texts::kWarnHeight)};
    }
    void warnsOncePerRun() {
        QFETCH(QByteArray, text);
        QFETCH(quint16, deviceType);
        QFETCH(quint16, flags);
        QFETCH(QList<QByteArray>, warnings);
        ScriptedPrompter prompter;
        Parse(text, deviceType, flags, 1.0, &prompter);
        QList<QByteArray> shown;
        for (const auto& message : prompter.Of(Topic::DataWarning)) shown << message.text;
        QCOMPARE(shown, warnings);
        // A second run warns again.
        Parse(text, deviceType, flags, 1.0, &prompter);
        QCOMPARE(prompter.Count(Topic::DataWarning), 2 * warnings.size());
    }

    // Feet and degrees converted as read; a unit not known leaves its records out.
    void convertsUnits_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<quint16>("deviceType");
        QTest::addColumn<bool>("usSurveyFoot");
        QTest::addColumn<int>("index");              // the record compared
        QTest::addColumn<QList<double>>("numbers");  // distance, zenith, direction, height, x, y, z
        QTest::addColumn<QByteArray>("leftOut");     // «unit count» per unit not known
        const QByteArray degrees("_+P1_ ?+00012345m0912345+1035120d+0t00+00000_*AB_,1.600_");
        const QByteArray angles("_+P2_ <0912345+1035120+00000_*AB_,1.600_");
        const QByteArray feet("_+P3_ ?+00012345f0912345+1234527g+0t00+00000_*AB_,1.600_");
        const QList<double> inDegrees{12.345, 329025 / 3240.0, 373880 / 3240.0, 1.6, 0, 0, 0};
        const QList<double> anglesInDegrees{0, 329025 / 3240.0, 373880 / 3240.0, 1.6, 0, 0, 0};
        QTest::newRow("NTS-350: both angles of a «d» sighting from DDDMMSS")
            << degrees << quint16(0) << false << 0 << inDegrees << QByteArray();
        QTest::newRow("NTS-350: angles-only sighting after it in degrees")
            << degrees + angles << quint16(0) << false << 1 << anglesInDegrees << QByteArray();
        QTest::newRow("NTS-350: angles-only sighting before the first letter takes it")
            << angles + degrees << quint16(0) << false << 0 << anglesInDegrees << QByteArray();
        QTest::newRow("NTS-350: distance and target height in international feet")
            << feet << quint16(0) << false << 0
            << QList<double>{12.345 * 0.3048, 91.2345, 123.4527, 1.6 * 0.3048, 0, 0, 0} << QByteArray();
        QTest::newRow("NTS-350: US survey feet")
            << feet << quint16(0) << true << 0
            << QList<double>{12.345 * 1200 / 3937, 91.2345, 123.4527, 1.6 * 1200 / 3937, 0, 0, 0} << QByteArray();
        QTest::newRow("NTS-350: station before the first feet sighting in feet")
            << "_'S1_(K_)5.000_" + feet << quint16(0) << false << 0 << QList<double>{0, 0, 0, 5 * 0.3048, 0, 0, 0}
            << QByteArray();
        QTest::newRow("NTS-350: packed point in feet, all three coordinates")
            << QByteArray("_+B_ U+0001000000-0000500000+00100000f_*_") << quint16(0) << false << 0
            << QList<double>{0, 0, 0, 0, 1000 * 0.3048, -500 * 0.3048, 100 * 0.3048} << QByteArray();
        QTest::newRow("NTS-350: mixed, metres after feet")
            << feet + "_+P4_ ?+00001000m1000000+2000000g+0t00+00000_*A_,1.000_" << quint16(0) << false << 1
            << QList<double>{1, 100, 200, 1, 0, 0, 0} << QByteArray();
        QTest::newRow("NTS-350: mils not guessed, left out with their angles-only sightings")
            << QByteArray("_+P5_ ?+00012345m0912345+1234527m+0t00+00000_*AB_,1.600_") + angles << quint16(0) << false
            << -1 << QList<double>{} << QByteArray("m 2");
        QTest::newRow("NTS-350: minutes of 60 drop the sighting")
            << QByteArray("_+P6_ ?+00012345m0916045+1035120d+0t00+00000_*AB_,1.600_") << quint16(0) << false << -1
            << QList<double>{} << QByteArray();
        QTest::newRow("keyword text: UNITS M,D reads DDD.MMSSs")
            << QByteArray("UNITS   M,D\r\nSS      P,1.6,\r\nSD      103.5120,87.46350,10.000\r\n") << quint16(1)
            << false << 0 << QList<double>{10, 315995 / 3240.0, 373880 / 3240.0, 1.6, 0, 0, 0} << QByteArray();
        QTest::newRow("keyword text: UNITS F,G, heights and distances")
            << QByteArray("UNITS   F,G\r\nSS      P,1.6,\r\nSD      1,2,10\r\n") << quint16(1) << false << 0
            << QList<double>{10 * 0.3048, 2, 1, 1.6 * 0.3048, 0, 0, 0} << QByteArray();
        QTest::newRow("keyword text: each UNITS line for the lines after it")
            << QByteArray("UNITS   F,D\r\nSTN     A,1,\r\nUNITS   M,G\r\nSS      P,1.6,\r\nSD      1,2,10\r\n")
            << quint16(1) << false << 1 << QList<double>{10, 2, 1, 1.6, 0, 0, 0} << QByteArray();
        QTest::newRow("keyword text: unknown angle unit leaves sightings out, stations in")
            << QByteArray("UNITS   M,MIL\r\nSTN     A,1.5,\r\nSS      P,1.6,\r\nHV      1,2\r\n") << quint16(1) << false
            << 0 << QList<double>{0, 0, 0, 1.5, 0, 0, 0} << QByteArray("MIL 1");
        // HD: the height difference is the prism's above the instrument's axis.
        QTest::newRow("keyword text: HD, target above the axis")
            << QByteArray("SS      P,1.6,\r\nHD      50,3,4\r\n") << quint16(1) << false << 0
            << QList<double>{5, 40.96655293982669, 50, 1.6, 0, 0, 0} << QByteArray();
        QTest::newRow("keyword text: HD, target below the axis")
            << QByteArray("BS      P,1.6\r\nHD      50,3,-4\r\n") << quint16(1) << false << 0
            << QList<double>{5, 159.03344706017333, 50, 1.6, 0, 0, 0} << QByteArray();
        QTest::newRow("keyword text: HD in feet")
            << QByteArray("UNITS   F,G\r\nSS      P,0,\r\nHD      50,3,4\r\n") << quint16(1) << false << 0
            << QList<double>{5 * 0.3048, 40.96655293982669, 50, 0, 0, 0, 0} << QByteArray();
    }
    void convertsUnits() {
        QFETCH(QByteArray, text);
        QFETCH(quint16, deviceType);
        QFETCH(bool, usSurveyFoot);
        QFETCH(int, index);
        QFETCH(QList<double>, numbers);
        QFETCH(QByteArray, leftOut);
        ParseSettings settings;
        settings.deviceType = static_cast<DeviceType>(deviceType);
        settings.usSurveyFoot = usSurveyFoot;
        const ParsedRecords parsed = ParseRecords(text.constData(), text.size(), settings);
        QByteArray unknown;
        for (const UnknownUnit& unit : parsed.unknownUnits)
            unknown += (unknown.isEmpty() ? "" : ", ") + unit.unit + ' ' + QByteArray::number(unit.records);
        QCOMPARE(unknown, leftOut);
        if (index < 0) {
            QVERIFY(parsed.records.empty());
            return;
        }
        QVERIFY(std::size_t(index) < parsed.records.size());
        const SurveyRecord& r = parsed.records[std::size_t(index)];
        const QList<double> read{r.slopeDistance, r.zenithAngle, r.direction, r.height, r.x, r.y, r.z};
        for (qsizetype i = 0; i < read.size(); ++i) {
            if (numbers[i] == 0)
                QCOMPARE(read[i] + 1, 1.0);
            else
                QCOMPARE(read[i], numbers[i]);
        }
    }

    void readsNts660Lines_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QByteArray>("kinds");  // one letter per record: S station, M measurement, A angles
                                                // (m, a: the station's backsight)
        QTest::addColumn<QByteArray>("lastCode");
        QTest::addColumn<QByteArray>("unconverted");  // keyword lines left, as «JOB 1, XYZ 2»
        QTest::newRow("station with code")
            << QByteArray("STN     A1,1.500,K\r\n") << QByteArray("S") << QByteArray("K") << QByteArray();
        QTest::newRow("height as the last field, no comma after it")
            << QByteArray("STN     A1,1.500\r\nBS      1002,0.000\r\nHV      1,2\r\n") << QByteArray("Sa")
            << QByteArray() << QByteArray();
        QTest::newRow("station without its height fails")
            << QByteArray("STN     A1\r\n") << QByteArray() << QByteArray() << QByteArray();
        QTest::newRow("station with empty code")
            << QByteArray("STN     A1,1.500,\r\n") << QByteArray("S") << QByteArray() << QByteArray();
        QTest::newRow("slope sighting") << QByteArray("SS      P,1.6,AB\r\nSD      1,2,3\r\n") << QByteArray("M")
                                        << QByteArray("AB") << QByteArray();
        QTest::newRow("angles sighting") << QByteArray("SS      P,1.6,AB\r\nHV      1,2\r\n") << QByteArray("A")
                                         << QByteArray("AB") << QByteArray();
        QTest::newRow("sighting followed by a station loses both")
            << QByteArray("SS      P,1.6,AB\r\nSTN     A1,1.5,K\r\nSTN     A2,1.5,L\r\n") << QByteArray("S")
            << QByteArray("L") << QByteArray();
        QTest::newRow("other lines converted to nothing, but counted")
            << QByteArray("JOB     X\r\nSTN     A1,1.5,K\r\n") << QByteArray("S") << QByteArray("K")
            << QByteArray("JOB 1");
        QTest::newRow("CR-only line ends keep the first character of each line")
            << QByteArray("STN     A1,1.5,K\rSS      P,1.6,AB\rSD      1,2,3\r") << QByteArray("SM") << QByteArray("AB")
            << QByteArray();
        QTest::newRow("last line without CR is read")
            << QByteArray("STN     A1,1.5,K\r\nSS      P,1.6,AB\r\nHV      1,2") << QByteArray("SA") << QByteArray("AB")
            << QByteArray();
        QTest::newRow("text ending without CR: its last field is read")
            << QByteArray("STN     A1,1.5,K\r\nSTN     A2,1") << QByteArray("SS") << QByteArray() << QByteArray();
        QTest::newRow("line shorter than eight characters records nothing")
            << QByteArray("STN\r\nSS  A\r\nSD\r\nSTN  ,") << QByteArray() << QByteArray() << QByteArray();
        QTest::newRow("a NUL before the CR leaves the station without its code")
            << QByteArray("STN     A1,1.5,K") + '\0' + "X\r\n"
            << QByteArray("S") << QByteArray() << QByteArray();
        QTest::newRow("a NUL in the zenith angle of HV drops the sighting")
            << QByteArray("STN     A1,1.5,K\r\nSS      P,1.6,AB\r\nHV      123.4567,91.2345") + '\0' + "junk\r\n"
            << QByteArray("S") << QByteArray("K") << QByteArray();
        QTest::newRow("a NUL in the distance of SD drops the sighting")
            << QByteArray("STN     A1,1.5,K\r\nSS      P,1.6,AB\r\nSD      1,2,3.0") + '\0' + "5\r\n"
            << QByteArray("S") << QByteArray("K") << QByteArray();
        QTest::newRow("sighting as the last line")
            << QByteArray("SS      P,1.6,AB\r\n") << QByteArray() << QByteArray() << QByteArray();
        QTest::newRow("backsight with a distance")
            << QByteArray("BS      4000,1.800, \r\nSD      0.0000,99.1234,85.412\r\n") << QByteArray("m")
            << QByteArray(" ") << QByteArray();
        QTest::newRow("backsight of angles only") << QByteArray("BS      4000,1.800,#\r\nHV      0.0000,99.1234\r\n")
                                                  << QByteArray("a") << QByteArray("#") << QByteArray();
        QTest::newRow("backsight followed by a station loses both")
            << QByteArray("BS      4000,1.800,\r\nSTN     A1,1.5,K\r\n") << QByteArray() << QByteArray()
            << QByteArray();
        QTest::newRow("LF line ends") << QByteArray(
                                             "STN     A1,1.5,K\nBS      B,1.6,\nHV      1,2\nSS      P,1.6,AB\n"
                                             "SD      1,2,3\n")
                                      << QByteArray("SaM") << QByteArray("AB") << QByteArray();
        QTest::newRow("keyword lines counted, UNITS and blank lines not")
            << QByteArray(
                   "JOB     X\r\nUNITS   M,G\r\n\r\nSTN     A1,1.5,K\r\nXYZ     1,2,3\nXYZ\rNOTE    a\r\n"
                   "lower case\r\n")
            << QByteArray("S") << QByteArray("K") << QByteArray("JOB 1, XYZ 1, NOTE 1");
        QTest::newRow("coordinates, backsight point and scale read, stray XYZ counted")
            << QByteArray(
                   "STN     A1,1.5,K\r\nXYZ     1,2,3\r\nBKB     B,12.5\r\nXYZ     4,5,6\r\nSCALE   1.000000\r\n"
                   "XYZ     7,8,9\r\nBKB     C,1\r\n")
            << QByteArray("S") << QByteArray("K") << QByteArray("XYZ 1");
    }
    void readsNts660Lines() {
        QFETCH(QByteArray, text);
        QFETCH(QByteArray, kinds);
        QFETCH(QByteArray, lastCode);
        QFETCH(QByteArray, unconverted);
        // Parse a copy without the trailing NUL a QByteArray keeps, so that a read
        // past the end is seen by the address sanitizer.
        std::vector<char> exact(text.begin(), text.end());
        ScriptedPrompter prompter;
        const ParsedRecords parsed =
            ParseRecords(exact.data(), qsizetype(exact.size()), DeviceType::Nts660, 0, 1.0, prompter);
        QByteArray found;
        for (const SurveyRecord& r : parsed.records) {
            const char letter = r.Is(Station) ? 'S' : r.Is(Measurement) ? 'M' : r.Is(Angles) ? 'A' : '?';
            found += r.Is(Backsight) ? char(letter - 'A' + 'a') : letter;
        }
        QCOMPARE(found, kinds);
        QByteArray lines;
        for (const UnconvertedLines& keyword : parsed.unconvertedLines)
            lines += (lines.isEmpty() ? "" : ", ") + keyword.keyword + ' ' + QByteArray::number(keyword.count);
        QCOMPARE(lines, unconverted);
        QCOMPARE(parsed.stationAndSightingCount, int(kinds.size()));
        if (!parsed.records.empty()) QCOMPARE(parsed.records.back().codeText, lastCode);
    }

    void strayNulEndsOnlyItsRecord() {
        const QByteArray text("_'S1_(K\0_)1_ _'S2_(K2_)1.4_", 27);
        const ParsedRecords parsed = Parse(text);
        QCOMPARE(parsed.records.size(), std::size_t(1));
        QCOMPARE(parsed.records[0].name, QByteArray("S2"));
    }

    void nts660ReadsDirectionBeforeZenith() {
        const ParsedRecords parsed = Parse("SS      P,1.6,AB\r\nSD      123.4567,91.2345,12.345\r\n", 1);
        QCOMPARE(parsed.records.size(), std::size_t(1));
        QCOMPARE(parsed.records[0].direction, 123.4567);
        QCOMPARE(parsed.records[0].zenithAngle, 91.2345);
        QCOMPARE(parsed.records[0].slopeDistance, 12.345);
        QCOMPARE(parsed.records[0].height, 1.6);
    }

    void unknownDeviceTypeRecordsNothing() {
        const QByteArray text("_'S1_(K1_)1.550_STN     A1,1.500,K\r\n");
        for (quint16 type : {quint16(2), quint16(7), quint16(65535)}) QVERIFY(Parse(text, type).records.empty());
    }

    void nts350TextParsedAsNts660YieldsNothing() {
        QVERIFY(Parse("_'S1_(K1_)1.550_ _+P2_ <0912345+1234567+00000_*AB_,1.600_", 1).records.empty());
    }

    void randomTextNeverReadsPastItsEnd() {
        // Fragments of both syntaxes in random order and cut anywhere; run under
        // the address sanitizer this catches any read past the buffer.
        const QList<QByteArray> pieces{
            "_'", "_+", "_:",   "_",        "(",        ")",        "?",        "<",        "U",  " ", "x",   "y",
            "z",  "+",  "-",    "m",        "f",        "g",        "d",        "t",        "*",  ",", "1.5", "0912345",
            "\r", "\n", "\r\n", "STN     ", "SS      ", "SD      ", "HV      ", "UNITS   ", "A1", "\0"};
        QRandomGenerator random(660);
        ScriptedPrompter prompter;
        for (int round = 0; round < 3000; ++round) {
            QByteArray text;
            const int count = int(random.bounded(60));
            for (int i = 0; i < count; ++i) text += pieces[random.bounded(int(pieces.size()))];
            std::vector<char> exact(text.begin(), text.end());
            for (DeviceType device : {DeviceType::Nts350, DeviceType::Nts660}) {
                const ParsedRecords parsed =
                    ParseRecords(exact.data(), qsizetype(exact.size()), device, 0x3FF, 1.0, prompter);
                QVERIFY(parsed.stationAndSightingCount + parsed.codeEntryCount <= int(parsed.records.size()));
            }
        }
    }

    void countsKinds() {
        const ParsedRecords parsed = Parse("_'S_(K_)1_ _+P_ <1+2+0_*_,1_ _+B_ x+1_ y+2_ z+3_ _:001A_ _:002B_");
        QCOMPARE(parsed.records.size(), std::size_t(5));
        QCOMPARE(parsed.stationAndSightingCount, 2);
        QCOMPARE(parsed.codeEntryCount, 2);
    }
};

QTEST_GUILESS_MAIN(RecordParserTest)
#include "RecordParserTest.moc"
