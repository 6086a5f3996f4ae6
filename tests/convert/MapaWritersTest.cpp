#include "convert/MapaWriters.h"

#include "base/FixedNumber.h"
#include "base/Numbers.h"
#include "tests/support/MemorySink.h"
#include "tests/support/PointYXZ.h"

#include <QRandomGenerator>
#include <QTest>

#include <cmath>
#include <limits>

namespace {

SurveyRecord Record(quint16 kind, const char* name, const char* code) {
    SurveyRecord record;
    record.kind = kind;
    record.name = name;
    record.codeText = code;
    return record;
}

SurveyRecord MakeStation(const char* name, double height, const char* code) {
    SurveyRecord record = Record(Station, name, code);
    record.height = height;
    return record;
}

SurveyRecord MakeSighting(quint16 kind, const char* name, double distance, double height, double direction,
                          double zenith, const char* code) {
    SurveyRecord record = Record(kind, name, code);
    record.slopeDistance = distance;
    record.height = height;
    record.direction = direction;
    record.zenithAngle = zenith;
    return record;
}

SurveyRecord MakeCodeEntry(quint16 number, const char* name, const char* description) {
    SurveyRecord record = Record(CodeListEntry, name, description);
    record.codeNumber = number;
    return record;
}

// A job with every kind of record: a station with an orientation and two
// sightings (one of angles only), a point and a code entry that only the lists
// take, a second station whose orientation sighting ends the job.
const SurveyRecordList kJob{MakeStation("S1", 1.5, "K1"),
                            MakeSighting(Measurement, "O1", 100, 1.6, 0, 100, "#"),
                            MakeSighting(Measurement, "P1", 12.345, 1.6, 123.4567, 91.2345, "AB"),
                            PointYXZ("B1", 654321, 12345.678, 320.5),
                            MakeSighting(Angles, "A1", 0, 1.7, 50, 99.5, "X"),
                            MakeCodeEntry(7, "007PLOT", "PLOT"),
                            MakeStation("S2", 1.45, ""),
                            PointYXZ("B2", -1.5, 2.25, 0, "K"),
                            MakeSighting(Angles, "O2", 0, 0, 300, 100, "#"),
                            MakeCodeEntry(0, "000", "")};

const QByteArray kPreambleFull("9999\r\n999999999\r\n0\r\n1\r\n3\r\n0\r\n2\r\n\r\n");
const QByteArray kPreambleTools("9999\r\n999999999\r\n0\r\n1\r\n3\r\n0\r\n0\r\n\r\n");

const QByteArray kSlopeDistances(
    "1 S1  1.500 *K1\r\nO1  100.000 1.600 0.0000 100.0000\r\n-1\r\nP1  12.345 1.600 123.4567 91.2345 *AB\r\n"
    "A1  0.000 1.700 50.0000 99.5000 *X\r\n/\r\n1 S2  1.450 *\r\nO2  0.000 0.000 300.0000 100.0000\r\n/\r\n-2\r\n");

ConversionSettings Settings(quint16 flag) {
    ConversionSettings settings;
    settings.flag = flag;
    settings.head = "H";
    return settings;
}

}  // namespace

class MapaWritersTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void fieldBook_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<quint16>("flag");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("slope distances (.zap)")
            << int(ConversionMode::Full) << quint16(0) << kPreambleFull + kSlopeDistances;
        QTest::newRow("horizontal distances (.vod)")
            << int(ConversionMode::HorizontalDistances) << quint16(0)
            << kPreambleTools +
                   "1 S1  1.500 *K1\r\nO1\t100.000\t0.0000\t\r\n-1\r\nP1\t12.228\t123.4567\t *AB\r\n"
                   "A1\t0.000\t50.0000\t *X\r\n/\r\n1 S2  1.450 *\r\nO2\t0.000\t300.0000\t\r\n/\r\n-2\r\n";
        QTest::newRow("stations and orientations (.pol) keep the -1 of a left-out sighting")
            << int(ConversionMode::StationHeaders) << quint16(0)
            << kPreambleTools +
                   "1 S1  1.500 *K1\r\nO1\t100.000\t0.0000\t\r\n-1\r\n/\r\n1 S2  1.450 *\r\n"
                   "O2\t0.000\t300.0000\t\r\n/\r\n-2\r\n";
        QTest::newRow("header and correction line")
            << int(ConversionMode::Full) << FLAG_USE_HEADER
            << "H\r\nKorekce: -52.9 mm/km\r\n" + kPreambleFull + kSlopeDistances;
    }
    void fieldBook() {
        QFETCH(int, mode);
        QFETCH(quint16, flag);
        QFETCH(QByteArray, expected);
        MemorySink sink;
        WriteFieldBook(kJob, ConversionMode(mode), Settings(flag), -52.94, sink);
        QCOMPARE(sink.bytes, expected);
    }

    void coordinateList_data() {
        QTest::addColumn<quint16>("flag");
        QTest::addColumn<bool>("million");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("y, x, z") << quint16(0) << false
                                 << QByteArray("B1  654321.000 12345.678 320.500\r\nB2  -1.500 2.250 0.000 *K\r\n");
        QTest::newRow("million added to x")
            << quint16(0) << true
            << QByteArray("B1  654321.000 1012345.678 320.500\r\nB2  -1.500 1000002.250 0.000 *K\r\n");
        QTest::newRow("x before y") << FLAG_SWAP_XY << true
                                    << QByteArray(
                                           "B1  1012345.678 654321.000 320.500\r\nB2  1000002.250 -1.500 0.000 *K\r\n");
        QTest::newRow("header without correction line")
            << FLAG_USE_HEADER << false
            << QByteArray("H\r\n\r\nB1  654321.000 12345.678 320.500\r\nB2  -1.500 2.250 0.000 *K\r\n");
    }
    void coordinateList() {
        QFETCH(quint16, flag);
        QFETCH(bool, million);
        QFETCH(QByteArray, expected);
        MemorySink sink;
        WriteCoordinateList(kJob, Settings(flag), million, sink);
        QCOMPARE(sink.bytes, expected);
    }

    void codeList() {
        MemorySink sink;
        WriteCodeList(kJob, sink);
        QCOMPARE(sink.bytes, QByteArray("7,PLOT\r\n0,\r\n"));
    }

    // The writers' fast number text must be printf's, digit for digit, or MAPA2
    // files would change with the writer.
    void fixedNumbersMatchPrintf() {
        QList<double> values{0.0,
                             -0.0,
                             0.0005,
                             0.00015,
                             1.0005,
                             2.5,
                             -2.5,
                             0.125,
                             12.3455,
                             123.45675,
                             1e-9,
                             -1e-9,
                             1e15,
                             -987654.321,
                             399.99995,
                             std::numeric_limits<double>::max(),
                             std::numeric_limits<double>::denorm_min(),
                             std::numeric_limits<double>::infinity()};
        QRandomGenerator random(2026);
        for (int i = 0; i < 20000; ++i) {
            values << (random.generateDouble() - 0.5) * std::pow(10.0, random.bounded(-4, 8));
            // Values on a tie of the last decimal, as measured data produce them.
            values << double(random.bounded(1000000)) / 10000.0 + 0.00005;
            values << double(random.bounded(1000000)) / 1000.0 * 0.9999471;
        }
        for (double value : values) {
            for (int decimals : {1, 3, 4}) {
                QByteArray fast;
                FixedNumber::Append(fast, value, decimals);
                QCOMPARE(fast, Numbers::Format("%.*f", decimals, value));
            }
        }
    }
};

QTEST_GUILESS_MAIN(MapaWritersTest)
#include "MapaWritersTest.moc"
