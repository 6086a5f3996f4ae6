#include "check/FieldBookCheck.h"

#include "base/Numbers.h"

#include <QTest>

Q_DECLARE_METATYPE(SurveyRecordList)
Q_DECLARE_METATYPE(StationCoordinatesList)

namespace {

SurveyRecord StationRecord(const char* name, double height = 1.5) {
    SurveyRecord record;
    record.name = name;
    record.kind = Station;
    record.height = height;
    return record;
}

// A sighting; distance 0 makes it angles only.
SurveyRecord Sight(const char* name, double distance, double zenith, double direction, double target = 1.6,
                   quint16 more = 0, const char* code = "") {
    SurveyRecord record;
    record.name = name;
    record.codeText = code;
    record.kind = static_cast<quint16>((distance > 0.0 ? Measurement : Angles) | more);
    record.slopeDistance = distance;
    record.zenithAngle = zenith;
    record.direction = direction;
    record.height = target;
    return record;
}

SurveyRecord Measured(const char* name, double distance, double zenith, double direction, double target = 1.6) {
    SurveyRecord record = Sight(name, 1.0, zenith, direction, target);
    record.slopeDistance = distance;  // zero or negative stays a measurement
    return record;
}

StationCoordinates StationAt(qsizetype record, const char* name, double x, double y, int line) {
    return {record, StationCoordinates::Of::Station, name, x, y, 300.0, line};
}

StationCoordinates BacksightAt(qsizetype record, const char* name, double x, double y, int line) {
    return {record, StationCoordinates::Of::Backsight, name, x, y, 300.0, line};
}

const char* QuantityName(Quantity quantity) {
    switch (quantity) {
        case Quantity::Along:
            return "along";
        case Quantity::Across:
            return "across";
        case Quantity::Height:
            return "height";
        case Quantity::OrientationSpread:
            return "spread";
        case Quantity::Collimation:
            return "collimation";
        case Quantity::Index:
            return "index";
        case Quantity::LineDistance:
            return "line distance";
        case Quantity::LineHeight:
            return "line height";
        case Quantity::CoordinateDistance:
            return "coordinates";
        case Quantity::SharedCoordinates:
            return "shared";
        case Quantity::Zenith:
            return "zenith";
        case Quantity::Direction:
            return "direction";
        case Quantity::SlopeDistance:
            break;
    }
    return "distance";
}

// «S2:S3 height W 1.813 @3», one finding after another, "; " between them.
QByteArray Findings(const CheckReport& report) {
    QByteArray text;
    for (const Finding& finding : report.findings) {
        if (!text.isEmpty()) text += "; ";
        text += finding.stationName.ToByteArray() + ':';
        for (const RecordText& point : finding.points)
            text += point.ToByteArray() + (&point != &finding.points.back() ? "," : "");
        text += ' ';
        text += QuantityName(finding.quantity);
        text += finding.level == FindingLevel::Wrong ? " W" : " S";
        const bool gon = finding.quantity == Quantity::Collimation || finding.quantity == Quantity::Index ||
                         finding.quantity == Quantity::Zenith || finding.quantity == Quantity::Direction;
        if (!std::isnan(finding.value)) text += ' ' + Numbers::FormatFixed(finding.value, gon ? 4 : 3);
        text += " @";
        for (const qsizetype record : finding.records)
            text += QByteArray::number(record) + (record != finding.records.back() ? "," : "");
    }
    return text;
}

// The station S first, then the sightings.
CheckReport CheckAtOneStation(SurveyRecordList sightings) {
    sightings.insert(sightings.begin(), StationRecord("S"));
    return CheckFieldBook(sightings, {}, "#", CheckTolerances());
}

}  // namespace

class FieldBookCheckTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Position along (horizontal distance), across (distance × difference of
    // direction) and trigonometric height of one target sighted again.
    void repeatedSightings_data() {
        QTest::addColumn<SurveyRecordList>("sightings");
        QTest::addColumn<QByteArray>("findings");
        QTest::newRow("5 mm along at 50 m is nothing")
            << SurveyRecordList{Sight("P", 50.000, 100, 10), Sight("P", 50.005, 100, 10)} << QByteArray();
        QTest::newRow("30 mm along is suspicious")
            << SurveyRecordList{Sight("P", 50.000, 100, 10), Sight("P", 50.030, 100, 10)}
            << QByteArray("S:P along S 0.030 @1,2");
        QTest::newRow("60 mm along is wrong")
            << SurveyRecordList{Sight("P", 50.000, 100, 10), Sight("P", 50.060, 100, 10)}
            << QByteArray("S:P along W 0.060 @1,2");
        QTest::newRow("0.02 gon at 100 m is 31 mm across")
            << SurveyRecordList{Sight("P", 100, 100, 10), Sight("P", 100, 100, 10.02)}
            << QByteArray("S:P across S 0.031 @1,2");
        QTest::newRow("the same angle at 10 m is 3 mm, nothing")
            << SurveyRecordList{Sight("P", 10, 100, 10), Sight("P", 10, 100, 10.02)} << QByteArray();
        QTest::newRow("399.999 and 0.001 gon are neighbours")
            << SurveyRecordList{Sight("P", 100, 100, 399.999), Sight("P", 100, 100, 0.001)} << QByteArray();
        QTest::newRow("zenith 0.04 gon apart at 100 m is 63 mm in height")
            << SurveyRecordList{Sight("P", 100, 100, 10), Sight("P", 100, 100.04, 10)}
            << QByteArray("S:P height S 0.063 @1,2");
        QTest::newRow("a changed target height is no finding")
            << SurveyRecordList{Sight("P", 50, 100, 10, 1.5), Sight("P", 50, 99.3634, 10, 2.0)} << QByteArray();
        QTest::newRow("angles only, at the other sighting's distance")
            << SurveyRecordList{Sight("P", 100, 100, 10), Sight("P", 0, 100.1, 10)}
            << QByteArray("S:P height W 0.157 @1,2");
        QTest::newRow("of three, the one off against the median")
            << SurveyRecordList{Sight("P", 50.000, 100, 10), Sight("P", 50.002, 100, 10), Sight("P", 50.100, 100, 10)}
            << QByteArray("S:P along W 0.098 @3");
        QTest::newRow("orientation by its code: the spread of its directions")
            << SurveyRecordList{Sight("B", 100, 100, 0, 1.6, 0, "#"), Sight("B", 100, 100, 0.03, 1.6, 0, "#")}
            << QByteArray("S:B spread S 0.047 @1,2");
        QTest::newRow("second-face repeats among themselves")
            << SurveyRecordList{Sight("P", 50.000, 300, 210), Sight("P", 50.030, 300, 210)}
            << QByteArray("S:P along S 0.030 @1,2");
        QTest::newRow("other targets are not compared")
            << SurveyRecordList{Sight("P", 50, 100, 10), Sight("Q", 60, 100, 10)} << QByteArray();
    }
    void repeatedSightings() {
        QFETCH(SurveyRecordList, sightings);
        QFETCH(QByteArray, findings);
        QCOMPARE(Findings(CheckAtOneStation(sightings)), findings);
    }

    // Three targets in both faces, 200 m away; the instrument's collimation error
    // is 0.004 gon and its index error 0.002 gon, which alone are no finding.
    void twoFaces_data() {
        QTest::addColumn<double>("lastDirection");  // C in the second face
        QTest::addColumn<double>("lastZenith");
        QTest::addColumn<QByteArray>("findings");
        QTest::newRow("within the instrument's errors") << 209.992 << 300.002 << QByteArray();
        QTest::newRow("second-face zenith 0.1 gon off")
            << 209.992 << 300.102 << QByteArray("S:C index W 0.0500 @5,6; S:C height W 0.314 @5,6");
        QTest::newRow("second-face direction 0.1 gon off")
            << 210.092 << 300.002 << QByteArray("S:C collimation W 0.0500 @5,6; S:C across W 0.314 @5,6");
    }
    void twoFaces() {
        QFETCH(double, lastDirection);
        QFETCH(double, lastZenith);
        QFETCH(QByteArray, findings);
        SurveyRecordList sightings;
        for (const char* target : {"A", "B"}) {
            sightings.push_back(Sight(target, 200, 100.002, 10));
            sightings.push_back(Sight(target, 200, 300.002, 209.992));
        }
        sightings.push_back(Sight("C", 200, 100.002, 10));
        sightings.push_back(Sight("C", 200, lastZenith, lastDirection));
        const CheckReport report = CheckAtOneStation(sightings);
        QCOMPARE(Findings(report), findings);
        QCOMPARE(report.facePairs, 3);
        QCOMPARE(Numbers::FormatFixed(report.meanCollimation, 4), QByteArray("0.0040"));
        QCOMPARE(Numbers::FormatFixed(report.meanIndex, 4), QByteArray("0.0020"));
    }

    // A 700 m line rising 2.000 m from A to B, instrument and target heights 1.5:
    // each way s·cos z = ±2.000 − 0.0334 m, the Earth's curvature less refraction.
    void linesBothWays_data() {
        QTest::addColumn<double>("backDistance");
        QTest::addColumn<double>("backTarget");
        QTest::addColumn<int>("lines");
        QTest::addColumn<QByteArray>("findings");
        QTest::newRow("curvature and refraction corrected") << 700.0030 << 1.5 << 1 << QByteArray();
        QTest::newRow("one end 30 mm longer") << 700.0330 << 1.5 << 1 << QByteArray("A:B line distance S 0.030 @1,3");
        QTest::newRow("one end's target height 0.5 m off")
            << 700.0030 << 2.0 << 1 << QByteArray("A:B line height W 0.500 @1,3");
        QTest::newRow("measured one way only is no line") << 0.0 << 1.5 << 0 << QByteArray();
    }
    void linesBothWays() {
        QFETCH(double, backDistance);
        QFETCH(double, backTarget);
        QFETCH(int, lines);
        QFETCH(QByteArray, findings);
        SurveyRecordList records{StationRecord("A"), Sight("B", 700.0028, 99.821147, 50, 1.5), StationRecord("B")};
        if (backDistance > 0.0) records.push_back(Sight("A", backDistance, 100.184929, 0, backTarget, Backsight));
        const CheckReport report = CheckFieldBook(records, {}, "#", CheckTolerances());
        QCOMPARE(Findings(report), findings);
        QCOMPARE(report.lines.size(), std::size_t(lines));
    }

    // Stations given one coordinate line, and the backsight's distance against
    // its coordinates (S1 at 30, 40 from S2: 50.000 m).
    void coordinates_data() {
        QTest::addColumn<SurveyRecordList>("records");
        QTest::addColumn<StationCoordinatesList>("coordinates");
        QTest::addColumn<QByteArray>("findings");
        const SurveyRecordList threeStations{StationRecord("S2"), StationRecord("S3"), StationRecord("S4")};
        QTest::newRow("three stations on one XYZ line")
            << threeStations
            << StationCoordinatesList{StationAt(0, "S2", 10, 20, 4), StationAt(1, "S3", 10, 20, 9),
                                      StationAt(2, "S4", 10, 20, 14)}
            << QByteArray("S2:S3,S4 shared W @0,1,2");
        QTest::newRow("a station occupied again keeps its line")
            << SurveyRecordList{StationRecord("S2"), StationRecord("S2")}
            << StationCoordinatesList{StationAt(0, "S2", 10, 20, 4), StationAt(1, "S2", 10, 20, 9)} << QByteArray();
        const SurveyRecordList backsight{StationRecord("S2"), Sight("S1", 50.030, 100, 0, 1.8, Backsight)};
        const StationCoordinatesList lines{StationAt(0, "S2", 0, 0, 4), BacksightAt(0, "S1", 30, 40, 6)};
        QTest::newRow("backsight 30 mm off its coordinates")
            << backsight << lines << QByteArray("S2:S1 coordinates S 0.030 @1");
        QTest::newRow("backsight on its coordinates")
            << SurveyRecordList{StationRecord("S2"), Sight("S1", 50.004, 100, 0, 1.8, Backsight)} << lines
            << QByteArray();
    }
    void coordinates() {
        QFETCH(SurveyRecordList, records);
        QFETCH(StationCoordinatesList, coordinates);
        QFETCH(QByteArray, findings);
        QCOMPARE(Findings(CheckFieldBook(records, coordinates, "#", CheckTolerances())), findings);
    }

    void valuesNoInstrumentGives_data() {
        QTest::addColumn<SurveyRecordList>("sightings");
        QTest::addColumn<QByteArray>("findings");
        QTest::newRow("zenith above 400 gon")
            << SurveyRecordList{Sight("P", 10, 400.5, 10)} << QByteArray("S:P zenith W 400.5000 @1");
        QTest::newRow("direction of 400 gon")
            << SurveyRecordList{Sight("P", 10, 100, 400)} << QByteArray("S:P direction W 400.0000 @1");
        QTest::newRow("negative direction")
            << SurveyRecordList{Sight("P", 10, 100, -0.1)} << QByteArray("S:P direction W -0.1000 @1");
        QTest::newRow("zero distance") << SurveyRecordList{Measured("P", 0, 100, 10)}
                                       << QByteArray("S:P distance W 0.000 @1");
        QTest::newRow("beyond the range")
            << SurveyRecordList{Measured("P", 5000.001, 100, 10)} << QByteArray("S:P distance W 5000.001 @1");
        QTest::newRow("within the range") << SurveyRecordList{Measured("P", 4999.999, 100, 10)} << QByteArray();
        QTest::newRow("an impossible sighting takes no part in the repeats")
            << SurveyRecordList{Measured("P", 50, 100, 10), Measured("P", 0, 100, 10)}
            << QByteArray("S:P distance W 0.000 @2");
    }
    void valuesNoInstrumentGives() {
        QFETCH(SurveyRecordList, sightings);
        QFETCH(QByteArray, findings);
        QCOMPARE(Findings(CheckAtOneStation(sightings)), findings);
    }

    void beforeTheFirstStation() {
        const CheckReport report = CheckFieldBook({Sight("P", 10, 500, 10)}, {}, "#", CheckTolerances());
        QCOMPARE(Findings(report), QByteArray(":P zenith W 500.0000 @0"));
        QCOMPARE(report.findings.front().station, std::ptrdiff_t(-1));
    }

    // A real keyword export of an NTS-350: the backsight from S2 to S1 measured
    // twice 32 mm apart (58.876 and 58.908 m at zenith 96.9854 gon: 0.032 ×
    // sin z = 0.0320 m along); S3 sighted at zenith 114.1796 gon as angles only
    // and twice with 13.301 m at 105.6898 and 105.6873 gon. At their horizontal
    // distance 13.2479 m the angles-only sighting lies 13.2479 × cot(114.1796g) =
    // −3.0005 m below the instrument against −1.1872 m: 1.813 m lower, the target
    // height of 1.800 — the pole's foot was sighted. S2, S3 and S4 share one XYZ line.
    void realJobFaults() {
        const SurveyRecordList records{
            StationRecord("S2", 1.55),
            Sight("S1", 58.876, 96.9854, 0.0000, 1.8, Backsight),
            Sight("S1", 58.908, 96.9854, 0.0003, 1.8, Backsight),
            Sight("S3", 0, 114.1796, 25.4567, 1.8),
            Sight("S3", 13.301, 105.6898, 25.4570, 1.8),
            Sight("S3", 13.301, 105.6873, 25.4565, 1.8),
            StationRecord("S3", 1.60),
            StationRecord("S4", 1.58),
        };
        const StationCoordinatesList coordinates{StationAt(0, "S2", 1043210.94, 742120.31, 5),
                                                 StationAt(6, "S3", 1043210.94, 742120.31, 13),
                                                 StationAt(7, "S4", 1043210.94, 742120.31, 16)};
        const CheckReport report = CheckFieldBook(records, coordinates, "#", CheckTolerances());
        QCOMPARE(Findings(report), QByteArray("S2:S3,S4 shared W @0,6,7; S2:S1 along S 0.032 @1,2; "
                                              "S2:S3 height W 1.813 @3"));
        QCOMPARE(report.findings[1].check, CheckKind::Orientation);
        QCOMPARE(report.findings[0].line, 5);
    }
};

QTEST_GUILESS_MAIN(FieldBookCheckTest)
#include "FieldBookCheckTest.moc"
