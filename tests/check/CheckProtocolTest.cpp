#include "check/CheckProtocol.h"

#include "base/Cp1250.h"

#include <QTest>

namespace {

Finding MadeFinding(FindingLevel level, CheckKind check, Quantity quantity, const char* station,
                    std::vector<RecordText> points, double value, double limit, qsizetype record) {
    Finding finding;
    finding.level = level;
    finding.check = check;
    finding.quantity = quantity;
    finding.station = 0;
    finding.stationName = station;
    finding.points = std::move(points);
    finding.value = value;
    finding.limit = limit;
    finding.records = {record};
    return finding;
}

// The findings of the real job of FieldBookCheckTest, one of them with a name
// holding the CSV's separator.
CheckReport RealJobReport() {
    CheckReport report;
    report.stations.push_back({"S2", 0, 0, 0});
    report.findings = {
        MadeFinding(FindingLevel::Wrong, CheckKind::Coordinates, Quantity::SharedCoordinates, "S2", {"S3", "S4"},
                    kNotCompared, kNotCompared, 0),
        MadeFinding(FindingLevel::Suspicious, CheckKind::Orientation, Quantity::Along, "S2", {"S1"}, 0.031964, 0.02, 1),
        MadeFinding(FindingLevel::Wrong, CheckKind::Repeat, Quantity::Height, "S2", {"S3"}, 1.813334, 0.08, 3),
        MadeFinding(FindingLevel::Suspicious, CheckKind::Faces, Quantity::Index, "S2", {"A;B"}, 0.00612, 0.005, 4),
    };
    return report;
}

}  // namespace

class CheckProtocolTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // The summary's adjective and noun agree with each count.
    void summaryAgreesWithCounts_data() {
        QTest::addColumn<int>("wrong");
        QTest::addColumn<int>("suspicious");
        QTest::addColumn<QString>("summary");
        QTest::newRow("nothing found") << 0 << 0 << "Kontrola zápisníku: bez zjištění";
        QTest::newRow("one of each") << 1 << 1 << "Kontrola zápisníku: 1 chybné zjištění, 1 podezřelé zjištění";
        QTest::newRow("two and four") << 2 << 4 << "Kontrola zápisníku: 2 chybná zjištění, 4 podezřelá zjištění";
        QTest::newRow("five suspicious only") << 0 << 5 << "Kontrola zápisníku: 5 podezřelých zjištění";
    }
    void summaryAgreesWithCounts() {
        QFETCH(int, wrong);
        QFETCH(int, suspicious);
        QFETCH(QString, summary);
        CheckReport report;
        for (int i = 0; i < wrong + suspicious; ++i) {
            report.findings.push_back(MadeFinding(i < wrong ? FindingLevel::Wrong : FindingLevel::Suspicious,
                                                  CheckKind::Repeat, Quantity::Along, "S", {"P"}, 0.1, 0.05, i));
        }
        const QByteArray protocol = CheckProtocol(report, CheckTolerances());
        QCOMPARE(Cp1250::ToUnicode(protocol.left(protocol.indexOf("\r\n"))), summary);
    }

    void findingsAsCsv() {
        QCOMPARE(CheckFindingsCsv(RealJobReport()),
                 Cp1250::FromUtf8("úroveň;stanovisko;body;kontrola;hodnota;mez\n"
                                  "chybné;S2;S3,S4;souřadnice stanovisek – stanoviska se stejným řádkem XYZ;;\n"
                                  "podezřelé;S2;S1;opakovaná orientace – poloha podél záměry;0.032;0.020\n"
                                  "chybné;S2;S3;opakovaná záměra – výška;1.813;0.080\n"
                                  "podezřelé;S2;\"A;B\";obě polohy dalekohledu – indexová chyba proti průměru;"
                                  "0.0061;0.0050\n"));
    }

    // The file opens as UTF-8 in Notepad and in the editors of Linux alike, and
    // prints line by line: a byte-order mark, CR LF and no lone line end.
    void protocolFileIsUtf8WithCrLf() {
        const QByteArray file = CheckProtocolFile(CheckProtocol(RealJobReport(), CheckTolerances()));
        QVERIFY(
            file.startsWith("\xEF\xBB\xBF"
                            "Kontrola zápisníku: 2 chybná zjištění, 2 podezřelá zjištění\r\n"));
        QVERIFY(file.contains("  CHYBNÉ: opakovaná záměra – výška, S3: 1.813 m (mez 0.080 m); záznam 4\r\n"));
        QCOMPARE(file.count('\n'), file.count("\r\n"));
        QCOMPARE(file.count('\r'), file.count("\r\n"));
    }
};

QTEST_GUILESS_MAIN(CheckProtocolTest)
#include "CheckProtocolTest.moc"
