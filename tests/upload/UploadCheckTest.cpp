#include "upload/UploadCheck.h"

#include "base/Cp1250.h"

#include <QTest>

Q_DECLARE_METATYPE(UploadKind)

namespace {

QList<QByteArray> Utf8Lines(std::initializer_list<const char*> texts) {
    QList<QByteArray> lines;
    for (const char* text : texts) lines.append(Cp1250::FromUtf8(text));
    return lines;
}

// The lines as a list file, LF between them.
UploadFindings Check(const QList<QByteArray>& lines, UploadKind kind) {
    const QByteArray file = lines.join('\n');
    const Cp1250::ListText list = Cp1250::FromListFile(file);
    return CheckUploadList(list, ParseUploadList(list.bytes, kind, 0), kind);
}

}  // namespace

class UploadCheckTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // One row per kind of finding, each as the user reads it.
    void findings_data() {
        QTest::addColumn<UploadKind>("kind");
        QTest::addColumn<QList<QByteArray>>("lines");
        QTest::addColumn<QList<QByteArray>>("expected");

        QTest::newRow("clean point list: short names, usual million, small negatives")
            << UploadKind::Points
            << Utf8Lines({"4001 744120.35 1045230.12 312.45", "HRANICE_12 744131,20 1045218,77",
                          "P3 999999.9996 -744150.5 -12.5", "L1 12.5 13.7"})
            << QList<QByteArray>{};
        QTest::newRow("clean code list: padding past 10 and blank lines are no findings")
            << UploadKind::Codes << Utf8Lines({"1,HRANICE", "2,PLOT        ", "", " \t", "50,STROM"})
            << QList<QByteArray>{};
        QTest::newRow("lines that are no point are not sent; blank ones are nothing")
            << UploadKind::Points << Utf8Lines({"Seznam bodů", "P1 100", "", " \t ", "P2", "P3 1 2"})
            << Utf8Lines({"Řádek 1 „Seznam bodů“ se neodešle: nejsou v něm název bodu a dvě souřadnice.",
                          "Řádek 2 „P1 100“ se neodešle: nejsou v něm název bodu a dvě souřadnice.",
                          "Řádek 5 „P2“ se neodešle: nejsou v něm název bodu a dvě souřadnice."});
        QTest::newRow("code lines without a comma or a number are not sent, in list order")
            << UploadKind::Codes << Utf8Lines({"Kód,Popis", "12 STROM", "51,A", "5,PLOT"})
            << Utf8Lines({"Řádek 1 „Kód,Popis“ se neodešle: před čárkou není číslo kódu.",
                          "Řádek 2 „12 STROM“ se neodešle: chybí v něm čárka za číslem kódu.",
                          "Řádek 3 „51,A“ se neodešle: číslo kódu 51 není v rozsahu 1 až 50."});
        QTest::newRow("a height keeps its own comma when Y and X used theirs")
            << UploadKind::Points << Utf8Lines({"P1 12,5 13,7 2,1", "P2 12 13,7 2,1", "P3 12,5 13 2,1"})
            << Utf8Lines({"Bod P1 (řádek 1): výška 2,1 přijde do přístroje jako 2.000; napište ji s desetinnou "
                          "tečkou."});

        QTest::newRow("names that the cut makes one")
            << UploadKind::Points
            << Utf8Lines({"S1_HRANA_001 1 2", "S2_HRANA_001 3 4", "1HRANICE_12 5 6", "HRANICE_12 7 8"})
            << Utf8Lines({"Body S1_HRANA_001, S2_HRANA_001 budou mít v přístroji stejný název _HRANA_001.",
                          "Body 1HRANICE_12, HRANICE_12 budou mít v přístroji stejný název HRANICE_12.",
                          "Název bodu S1_HRANA_001 se zkrátí na _HRANA_001.",
                          "Název bodu S2_HRANA_001 se zkrátí na _HRANA_001.",
                          "Název bodu 1HRANICE_12 se zkrátí na HRANICE_12."});
        QTest::newRow("folding takes more than the usual million")
            << UploadKind::Points
            << Utf8Lines({"A 2744120.35 1045230.12 312.45", "B 744120.35 -1045230.12 1000312.45", "\t1e400 1 2"})
            << Utf8Lines({"Bod A: Y 2744120.350 přijde do přístroje jako 744120.350.",
                          "Bod B: X -1045230.120 přijde do přístroje jako -45230.120.",
                          "Bod B: Z 1000312.450 přijde do přístroje jako 312.450.",
                          "Bod bez názvu: Y inf přijde do přístroje jako 0.000."});
        QTest::newRow("code lines with a number outside 1..50 are not sent")
            << UploadKind::Codes << Utf8Lines({"5,STROM", "51,A", "0,NULA", "  -3,A"})
            << Utf8Lines({"Řádek 2 „51,A“ se neodešle: číslo kódu 51 není v rozsahu 1 až 50.",
                          "Řádek 3 „0,NULA“ se neodešle: číslo kódu 0 není v rozsahu 1 až 50.",
                          "Řádek 4 „  -3,A“ se neodešle: číslo kódu -3 není v rozsahu 1 až 50."});
        QTest::newRow("a number outside 1..50 sent as another code")
            << UploadKind::Codes << Utf8Lines({"65537,HRANICE"})
            << Utf8Lines({"Řádek 1 „65537,HRANICE“: číslo kódu 65537 není v rozsahu 1 až 50, odešle se jako kód 1."});
        QTest::newRow("repeated code number") << UploadKind::Codes << Utf8Lines({"5,STROM", "6,KEŘ", "05, plot, old"})
                                              << Utf8Lines({"Kód 5 je v seznamu vícekrát: „STROM“, „ plot, old“."});
        QTest::newRow("name cut keeps the last 10, told once, a %2 in it stays")
            << UploadKind::Points << Utf8Lines({"HRANICNI_BOD_4001 1 2", "HRANICNI_BOD_4001 1 2", "BOD%2_HRANICE 3 4"})
            << Utf8Lines({"Název bodu HRANICNI_BOD_4001 se zkrátí na I_BOD_4001.",
                          "Název bodu BOD%2_HRANICE se zkrátí na %2_HRANICE."});
        QTest::newRow("code text cut keeps the first 10")
            << UploadKind::Codes << Utf8Lines({"12,ABCDEFGHIJKL"})
            << Utf8Lines({"Text kódu 12 „ABCDEFGHIJKL“ se zkrátí na „ABCDEFGHIJ“."});
        QTest::newRow("UTF-8 names in Windows-1250 are nothing to tell")
            << UploadKind::Points << QList<QByteArray>{"Měřický1 744120.35 1045230.12", "Žďár 1 2"}
            << QList<QByteArray>{};
        QTest::newRow("a NUL ends what is read of its line")
            << UploadKind::Points << QList<QByteArray>{"P1 1 2", QByteArray("P2\0 3 4", 7), QByteArray("P3 5 6\0 7", 9)}
            << Utf8Lines({"Řádek 2: za „P2“ je nulový bajt, zbytek řádku se neodešle.",
                          "Řádek 2 „P2“ se neodešle: nejsou v něm název bodu a dvě souřadnice.",
                          "Řádek 3: za „P3 5 6“ je nulový bajt, zbytek řádku se neodešle."});
        QTest::newRow("characters Windows-1250 lacks, in what the instrument keeps")
            << UploadKind::Points << QList<QByteArray>{"Peña 1 2", "ñABCDEFGHIJ 3 4", "Ř中ñ中 5 6"}
            << Utf8Lines({"Bod Pe?a (řádek 1): Windows-1250 nemá znak U+00F1, název přijde do přístroje jako Pe?a.",
                          "Bod Ř??? (řádek 3): Windows-1250 nemá znaky U+4E2D, U+00F1, název přijde do přístroje "
                          "jako Ř???.",
                          "Název bodu ?ABCDEFGHIJ se zkrátí na ABCDEFGHIJ."});
        QTest::newRow("a code text with characters Windows-1250 lacks")
            << UploadKind::Codes << QList<QByteArray>{"5,Kůl 中", "6,ABCDEFGHIJñ"}
            << Utf8Lines({"Kód 5 (řádek 1): Windows-1250 nemá znak U+4E2D, text přijde do přístroje jako „Kůl ?“.",
                          "Text kódu 6 „ABCDEFGHIJ?“ se zkrátí na „ABCDEFGHIJ“."});
    }
    void findings() {
        QFETCH(UploadKind, kind);
        QFETCH(QList<QByteArray>, lines);
        QList<QByteArray> texts;
        for (const UploadFinding& finding : Check(lines, kind).kept) texts.append(FindingText(finding));
        QTEST(texts, "expected");
    }

    void longListShowsTheFirstAndCountsAll() {
        QList<QByteArray> lines;
        for (int i = 1; i <= 15; ++i) lines.append("HRANICNI_" + QByteArray::number(1000 + i) + " 1 2");
        const UploadFindings findings = Check(lines, UploadKind::Points);
        const QList<QByteArray> shown = FindingsText(findings, kFindingsShown).split('\n');
        QCOMPARE(shown.size(), 1 + kFindingsShown + 1);
        QCOMPARE(shown.first(), Cp1250::FromUtf8("Seznam nepřijde do přístroje přesně tak, jak je napsán:"));
        QCOMPARE(shown[1], Cp1250::FromUtf8("• Název bodu HRANICNI_1001 se zkrátí na NICNI_1001."));
        QCOMPARE(shown.last(), Cp1250::FromUtf8("… a další, celkem 15 zjištění."));
        QCOMPARE(FindingsText(findings, 0).count('\n'), 15);
    }
};

QTEST_GUILESS_MAIN(UploadCheckTest)
#include "UploadCheckTest.moc"
