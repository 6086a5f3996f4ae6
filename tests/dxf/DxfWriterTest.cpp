#include "dxf/DxfWriter.h"

#include "base/Cp1250.h"
#include "base/InputFile.h"
#include "base/Numbers.h"
#include "base/Texts.h"
#include "dxf/DxfDrawing.h"
#include "tests/support/PointYXZ.h"
#include "tests/support/MemorySink.h"
#include "tests/support/ScriptedPrompter.h"
#include "tests/support/TestFiles.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <array>
#include <cmath>

namespace {

ConversionSettings Settings(quint16 flag = 0, quint8 ratio = 4) {
    ConversionSettings settings;
    settings.flag = flag;
    settings.dxfRatio = ratio;
    return settings;
}

// The drawing as the writer hands it to its sink.
QByteArray Drawn(const SurveyRecordList& records, const ConversionSettings& settings) {
    MemorySink sink;
    WriteDxfDrawing(records, settings, sink);
    return sink.bytes;
}

// The LINE entity of the horizontal arm of a cross at (x, y) with mark size s.
QByteArray HorizontalArm(double x, double y, double s) {
    return Numbers::Format(
        "0\r\nLINE\r\n8\r\n0\r\n10\r\n%.5f\r\n20\r\n%.5f\r\n30\r\n0.0\r\n11\r\n%.5f\r\n21\r\n%.5f\r\n"
        "31\r\n0.0\r\n",
        x - 0.5 * s, y, x + 0.5 * s, y);
}

// A screen colour in CIELAB (D65), where a distance is how different two colours look.
std::array<double, 3> Lab(quint32 rgb) {
    const auto linear = [](quint32 channel) {
        const double c = channel / 255.0;
        return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    const double r = linear(rgb >> 16 & 0xFF), g = linear(rgb >> 8 & 0xFF), b = linear(rgb & 0xFF);
    const auto f = [](double t) { return t > 0.008856 ? std::cbrt(t) : 7.787 * t + 16.0 / 116; };
    const double x = f((0.4124 * r + 0.3576 * g + 0.1805 * b) / 0.95047);
    const double y = f(0.2126 * r + 0.7152 * g + 0.0722 * b);
    const double z = f((0.0193 * r + 0.1192 * g + 0.9505 * b) / 1.08883);
    return {116 * y - 16, 500 * (x - y), 200 * (y - z)};
}

}  // namespace

class DxfWriterTest : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    QString Base() const { return m_dir.filePath("job"); }
    QString Drawing() const { return m_dir.filePath("job.dxf"); }

private Q_SLOTS:
    void init() { QFile::remove(Drawing()); }

    void onePointByteForByte() {
        QCOMPARE(Drawn({PointYXZ("P1", 100, 200, 50, "K")}, Settings()),
                 TestFiles::Read(TestFiles::DataDir("dxf") + "/one-point.dxf"));
    }

    void markSize_data() {
        QTest::addColumn<bool>("swap");
        QTest::addColumn<int>("ratio");
        QTest::addColumn<double>("y");
        QTest::addColumn<double>("x");
        QTest::addColumn<QList<double>>("others");  // Y, X of further points
        QTest::addColumn<double>("size");
        // The point Y 100, X 200 with a second one at Y 200, X 400: ranges 100 and
        // 200, S = 10 at 1:1.
        const QList<double> second{200, 400};
        QTest::newRow("1:1") << false << 4 << 100.0 << 200.0 << second << 10.0;
        QTest::newRow("swapped axes keep the larger range") << true << 4 << 100.0 << 200.0 << second << 10.0;
        QTest::newRow("20:1") << false << 0 << 100.0 << 200.0 << second << 0.5;
        QTest::newRow("1:20") << false << 8 << 100.0 << 200.0 << second << 200.0;
        QTest::newRow("ratio 9 outside the list is 1:1") << false << 9 << 100.0 << 200.0 << second << 10.0;
        QTest::newRow("ratio 255 outside the list is 1:1") << false << 255 << 100.0 << 200.0 << second << 10.0;
        QTest::newRow("points far from the origin sized by their extent")
            << false << 4 << -600000.0 << -1100000.0 << QList<double>{-600100.0, -1100050.0} << 5.0;
        QTest::newRow("single S-JTSK point gets 1 m, not 52 km")
            << false << 4 << 742118.903 << 1043512.345 << QList<double>{} << 1.0;
        QTest::newRow("single point at 1:20 gets 20 m") << false << 8 << 100.0 << 200.0 << QList<double>{} << 20.0;
        QTest::newRow("all at one place are not drawn with size 0")
            << false << 4 << 0.0 << 0.0 << QList<double>{0, 0} << 1.0;
        QTest::newRow("an infinite coordinate does not make every mark infinite")
            << false << 4 << 100.0 << 200.0 << QList<double>{qInf(), 200} << 1.0;
    }
    void markSize() {
        QFETCH(bool, swap);
        QFETCH(int, ratio);
        QFETCH(double, y);
        QFETCH(double, x);
        QFETCH(QList<double>, others);
        QFETCH(double, size);
        SurveyRecordList records{PointYXZ("A", y, x, 1)};
        for (qsizetype i = 0; i + 1 < others.size(); i += 2)
            records.push_back(PointYXZ("B", others[i], others[i + 1], 1));
        const QByteArray drawing = Drawn(records, Settings(swap ? FLAG_SWAP_XY : 0, quint8(ratio)));
        const double drawingX = swap ? x : y;
        const double drawingY = swap ? y : x;
        QVERIFY2(drawing.contains(HorizontalArm(drawingX, drawingY, size)), drawing.constData());
        QVERIFY(drawing.contains(Numbers::Format("40\r\n%.5f\r\n1\r\nA\r\n", 0.2 * size)));
    }

    // The drawing's axes, layers and heights over four points (S = 3 at 1:1): the
    // byte runs each combination holds and those it must not.
    void drawingOptions_data() {
        QTest::addColumn<quint16>("flag");
        QTest::addColumn<QByteArray>("options");  // A: EPSG:5514 axes, L: layers, 3: heights
        QTest::addColumn<QByteArrayList>("present");
        QTest::addColumn<QByteArrayList>("absent");
        // P1's name (its height is S-sized in every axes) and horizontal arm.
        const QByteArray name = "40\r\n0.60000\r\n1\r\nP1\r\n";
        const QByteArray arm = "10\r\n98.50000\r\n20\r\n200.00000\r\n30\r\n0.0\r\n11\r\n101.50000\r\n";
        const QByteArray epsgArm = "10\r\n-101.50000\r\n20\r\n-200.00000\r\n30\r\n0.0\r\n11\r\n-98.50000\r\n";
        QTest::newRow("all off: layer 0, z 0, no tables")
            << quint16(0) << QByteArray() << QByteArrayList{name, "0\r\nLINE\r\n8\r\n0\r\n" + arm}
            << QByteArrayList{"TABLES", "30\r\n250.5"};
        QTest::newRow("EPSG:5514: x = -Y, y = -X, marks as large")
            << quint16(0) << QByteArray("A") << QByteArrayList{name, "0\r\nLINE\r\n8\r\n0\r\n" + epsgArm}
            << QByteArrayList{arm, "TABLES"};
        QTest::newRow("EPSG:5514 ignores the X/Y swap")
            << FLAG_SWAP_XY << QByteArray("A") << QByteArrayList{epsgArm} << QByteArrayList{};
        QTest::newRow("layers from codes, declared with colours in their order")
            << quint16(0) << QByteArray("L")
            << QByteArrayList{"0\r\nSECTION\r\n2\r\nTABLES\r\n",
                              "0\r\nTABLE\r\n2\r\nLAYER\r\n70\r\n3\r\n",
                              "0\r\nLAYER\r\n2\r\nMEZNIK\r\n70\r\n0\r\n62\r\n180\r\n6\r\nCONTINUOUS\r\n",
                              "0\r\nLAYER\r\n2\r\nBEZ_KODU\r\n",
                              "0\r\nLAYER\r\n2\r\nX_Y\r\n",
                              "0\r\nTEXT\r\n8\r\nMEZNIK\r\n62\r\n1\r\n",
                              "0\r\nLINE\r\n8\r\nMEZNIK\r\n" + arm,
                              "0\r\nTEXT\r\n8\r\nBEZ_KODU\r\n62\r\n1\r\n10\r\n118.50000\r\n"}
            << QByteArrayList{"TEXT\r\n8\r\n0\r\n", "LINE\r\n8\r\n0\r\n", "2\r\nMEZNIK_\r\n"};
        QTest::newRow("heights as z; none gives 0")
            << quint16(0) << QByteArray("3")
            << QByteArrayList{"20\r\n202.10000\r\n30\r\n250.50000\r\n", "21\r\n200.00000\r\n31\r\n250.50000\r\n",
                              "20\r\n260.00000\r\n30\r\n0.00000\r\n"}
            << QByteArrayList{"30\r\n0.0\r\n", "31\r\n0.0\r\n"};
        QTest::newRow("all three")
            << quint16(0) << QByteArray("AL3")
            << QByteArrayList{"0\r\nLINE\r\n8\r\nMEZNIK\r\n10\r\n-101.50000\r\n20\r\n-200.00000\r\n30\r\n250.50000\r\n"}
            << QByteArrayList{"TEXT\r\n8\r\n0\r\n", "LINE\r\n8\r\n0\r\n"};
        QTest::newRow("a control byte in a name or a code is a space, in every mode")
            << quint16(0) << QByteArray("L") << QByteArrayList{"\r\n1\r\nP 4\r\n", "\r\n1\r\nx y \r\n"}
            << QByteArrayList{"P\r4", "x\ny", "\x7f"};
    }
    void drawingOptions() {
        QFETCH(quint16, flag);
        QFETCH(QByteArray, options);
        QFETCH(QByteArrayList, present);
        QFETCH(QByteArrayList, absent);
        ConversionSettings settings = Settings(flag);
        settings.dxfEpsgAxes = options.contains('A');
        settings.dxfLayers = options.contains('L');
        settings.dxf3d = options.contains('3');
        const SurveyRecordList points = {
            PointYXZ("P1", 100, 200, 250.5, Cp1250::FromUtf8("mezník")),
            PointYXZ("P2", 140, 260, 0, Cp1250::FromUtf8(" Mezník "), Coordinates | NoHeight),
            PointYXZ("P3", 120, 220, 7), PointYXZ("P\r4", 110, 210, 1, "x\ny\x7f")};
        const QByteArray drawing = Drawn(points, settings);
        for (const QByteArray& run : present) QVERIFY2(drawing.contains(run), run.constData());
        for (const QByteArray& run : absent) QVERIFY2(!drawing.contains(run), run.constData());
        QVERIFY(drawing.startsWith("0\r\nSECTION\r\n2\r\nHEADER\r\n") && drawing.endsWith("0\r\nEOF\r\n"));
    }

    void layerNames_data() {
        QTest::addColumn<QByteArray>("code");  // UTF-8
        QTest::addColumn<QByteArray>("layer");
        QTest::newRow("Czech letters lose their accents")
            << QByteArray("mezník žluťoučký kůň") << QByteArray("MEZNIK_ZLUTOUCKY_KUN");
        QTest::newRow("characters but $, - and _ become _")
            << QByteArray("a$b-c_9.x/(y)") << QByteArray("A$B-C_9_X__Y_");
        QTest::newRow("at most 31 characters") << QByteArray(40, 'k') << QByteArray(31, 'K');
        QTest::newRow("no code, or blanks alone") << QByteArray(" \t ") << QByteArray("BEZ_KODU");
        QTest::newRow("blanks around a code go") << QByteArray("  hranice\t") << QByteArray("HRANICE");
    }
    void layerNames() {
        QFETCH(QByteArray, code);
        QTEST(DxfLayerName(Cp1250::FromUtf8(code.constData())), "layer");
    }

    // Layers get their colours in the order of their first points: any two of the
    // first fifteen look clearly different, however alike their names.
    void layerColoursDiffer_data() {
        QTest::addColumn<QByteArrayList>("codes");
        QTest::newRow("MEZNIK beside HYDRANT") << QByteArrayList{"mezník", "hydrant"};
        QByteArrayList numbered, mixed;
        for (int i = 1; i <= 15; ++i) numbered << "bod" + QByteArray::number(i);
        QTest::newRow("fifteen names a letter apart") << numbered;
        mixed = {"hranice", "plot",  "strom",    "roh budovy", "zeď", "šachta", "hydrant", "mezník",
                 "sloup",   "lampa", "obrubník", "vpust",      "keř", "schod",  ""};
        QTest::newRow("fifteen codes of a job, one point without a code") << mixed;
    }
    void layerColoursDiffer() {
        QFETCH(QByteArrayList, codes);
        ConversionSettings settings = Settings();
        settings.dxfLayers = true;
        SurveyRecordList points;
        for (qsizetype i = 0; i < codes.size(); ++i)
            points.push_back(PointYXZ("P" + QByteArray::number(i), 100 + i, 200, 0, Cp1250::FromUtf8(codes[i])));
        const DxfDrawing drawing(points, settings);
        const std::vector<DxfLayer>& layers = drawing.Layers();
        QCOMPARE(layers.size(), std::size_t(codes.size()));
        for (std::size_t i = 0; i < layers.size(); ++i) {
            for (std::size_t j = i + 1; j < layers.size(); ++j) {
                const auto a = Lab(DxfColourRgb(layers[i].colour)), b = Lab(DxfColourRgb(layers[j].colour));
                const double apart = std::hypot(a[0] - b[0], a[1] - b[1], a[2] - b[2]);
                QVERIFY2(apart >= 25,
                         qPrintable(QStringLiteral("%1 and %2: %3")
                                        .arg(QString::fromLatin1(layers[i].name), QString::fromLatin1(layers[j].name))
                                        .arg(apart)));
            }
        }
    }

    void onlyCoordinateRecordsAreDrawnAndMeasured() {
        const SurveyRecordList records = {
            PointYXZ("S1", 1e6, 1e6, 0, "stanovisko", Station), PointYXZ("P1", 100, 200, 50, {}, Coordinates),
            PointYXZ("Q", 1e6, 1e6, 0, {}, Measurement), PointYXZ("", 1, 2, 7, {}, Coordinates | NoHeight)};
        const QByteArray drawing = Drawn(records, Settings());
        QCOMPARE(drawing.count("0\r\nLINE\r\n"), 4);
        // P1's name and height; the second point's empty name only.
        QCOMPARE(drawing.count("0\r\nTEXT\r\n"), 3);
        QVERIFY(drawing.contains("\r\n1\r\n\r\n72\r\n1\r\n"));
        QVERIFY(!drawing.contains("\r\n1\r\n7.000\r\n"));
        QVERIFY(drawing.contains(HorizontalArm(100, 200, 0.05 * (200 - 2))));
    }

    void longTextsAreWrittenWhole() {
        const QByteArray name(5000, 'n');
        const QByteArray code = QByteArray(20000, 'k') + "\xE8";
        const QByteArray drawing = Drawn({PointYXZ(name, 1, 2, 3, code)}, Settings());
        QVERIFY(drawing.contains("\r\n1\r\n" + name + "\r\n72\r\n"));
        QVERIFY(drawing.contains("\r\n1\r\n" + code + "\r\n11\r\n"));
    }

    void noDrawablePoint_data() {
        QTest::addColumn<int>("records");
        QTest::newRow("empty list") << 0;
        QTest::newRow("stations and sightings only") << 2;
    }
    void noDrawablePoint() {
        QFETCH(int, records);
        SurveyRecordList list;
        if (records > 0) list = {PointYXZ("S", 1, 2, 3, {}, Station), PointYXZ("T", 1, 2, 3, {}, Angles)};
        ScriptedPrompter prompter;
        QCOMPARE(WriteDxf(Base(), list, Settings(), prompter), DrawingOutcome::NoPoints);
        QCOMPARE(prompter.messages.size(), 1);
        QCOMPARE(prompter.messages[0].text, Text(Texts::kNoXyzPoints));
        QCOMPARE(prompter.messages[0].icon, MessageIcon::Exclamation);
        QVERIFY(!QFile::exists(Drawing()));
    }

    void overwrite_data() {
        QTest::addColumn<bool>("ask");
        QTest::addColumn<Answer>("answer");
        QTest::addColumn<bool>("replaced");
        QTest::newRow("asked, No keeps the file") << true << Answer::No << false;
        QTest::newRow("asked, Yes replaces") << true << Answer::Yes << true;
        QTest::newRow("not asked, replaced silently") << false << Answer::No << true;
    }
    void overwrite() {
        QFETCH(bool, ask);
        QFETCH(Answer, answer);
        QFETCH(bool, replaced);
        TestFiles::Write(Drawing(), "old");
        ScriptedPrompter prompter;
        prompter.overwrite = {answer};
        QCOMPARE(WriteDxf(Base(), {PointYXZ("A", 1, 2, 3)}, Settings(ask ? FLAG_ASK_OVERWRITE : 0), prompter),
                 replaced ? DrawingOutcome::Written : DrawingOutcome::Refused);
        QCOMPARE(TestFiles::Read(Drawing()) == "old", !replaced);
        QCOMPARE(prompter.Count(Topic::Overwrite), ask ? 1 : 0);
        QCOMPARE(prompter.messages.size(), ask ? 1 : 0);
        if (ask) {
            const ScriptedPrompter::Message question = prompter.messages[0];
            QCOMPARE(question.text, TextWith(Texts::kFileExists, DisplayPath(Drawing())));
            QCOMPARE(question.buttons, MessageButtons::YesNo);
            QCOMPARE(question.icon, MessageIcon::Exclamation);
        }
    }

    void fullDiskIsAFailureNotSuccess() {
        if (!QFile::exists("/dev/full")) QSKIP("no /dev/full here");
        QVERIFY(QFile::link("/dev/full", Drawing()));
        SurveyRecordList many(20000, PointYXZ("A", 1, 2, 3, "kod"));
        ScriptedPrompter prompter;
        QCOMPARE(WriteDxf(Base(), many, Settings(), prompter), DrawingOutcome::Failed);
        QCOMPARE(prompter.fileErrors.size(), 1);
        QCOMPARE(prompter.fileErrors[0].kind, FileErrorKind::DiskFull);
    }
};

QTEST_GUILESS_MAIN(DxfWriterTest)
#include "DxfWriterTest.moc"
