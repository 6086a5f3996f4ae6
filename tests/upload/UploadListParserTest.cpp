#include "upload/UploadListParser.h"

#include "base/ConversionSettings.h"

#include <QTest>

class UploadListParserTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void pointLines_data() {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<quint16>("flag");
        QTest::addColumn<bool>("taken");
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<double>("y");
        QTest::addColumn<double>("x");
        QTest::addColumn<double>("z");
        const quint16 plain = 0;
        QTest::newRow("decimal commas, no height") << QByteArray("P1 680000,12 1045000,5") << plain << true
                                                   << QByteArray("P1") << 680000.12 << 1045000.5 << 0.0;
        QTest::newRow("height comma replaced by the first number's search")
            << QByteArray("P1;680000.12;1045000.5;245,7") << plain << true << QByteArray("P1") << 680000.12 << 1045000.5
            << 245.7;
        QTest::newRow("two commas used up, height read to its comma")
            << QByteArray("P1 12,5 13,7 2,1") << plain << true << QByteArray("P1") << 12.5 << 13.7 << 2.0;
        QTest::newRow("comma of the height taken by the second number")
            << QByteArray("P1 12,5 13 2,1") << plain << true << QByteArray("P1") << 12.5 << 13.0 << 2.1;
        QTest::newRow("only one number") << QByteArray("P1 100") << plain << false << QByteArray() << 0.0 << 0.0 << 0.0;
        QTest::newRow("no separator") << QByteArray("P1") << plain << false << QByteArray() << 0.0 << 0.0 << 0.0;
        QTest::newRow("one number and a trailing separator")
            << QByteArray("P1 100 ") << plain << false << QByteArray() << 0.0 << 0.0 << 0.0;
        QTest::newRow("letters before a number are skipped")
            << QByteArray("P1 abc12 13") << plain << true << QByteArray("P1") << 12.0 << 13.0 << 0.0;
        QTest::newRow("leading point skipped, .5 reads 5")
            << QByteArray("P1 .5 2") << plain << true << QByteArray("P1") << 5.0 << 2.0 << 0.0;
        QTest::newRow("tab first: empty name, first digits after it")
            << QByteArray("\tP9 12 13 4") << plain << true << QByteArray() << 9.0 << 12.0 << 13.0;
        QTest::newRow("semicolon first: empty name")
            << QByteArray(";1;2") << plain << true << QByteArray() << 1.0 << 2.0 << 0.0;
        QTest::newRow("leading spaces removed")
            << QByteArray("   P7 1 2 3") << plain << true << QByteArray("P7") << 1.0 << 2.0 << 3.0;
        QTest::newRow("a lone sign reads 0")
            << QByteArray("P1 - 2 3") << plain << true << QByteArray("P1") << 0.0 << 2.0 << 3.0;
        QTest::newRow("height missing after a trailing separator")
            << QByteArray("P1 1 2 x") << plain << true << QByteArray("P1") << 1.0 << 2.0 << 0.0;
        QTest::newRow("long name kept whole")
            << QByteArray("ABCDEFGHIJKL 1 2") << plain << true << QByteArray("ABCDEFGHIJKL") << 1.0 << 2.0 << 0.0;
        QTest::newRow("X/Y swap: first number is X")
            << QByteArray("P1 100 200 5") << FLAG_SWAP_XY << true << QByteArray("P1") << 200.0 << 100.0 << 5.0;
    }
    void pointLines() {
        QFETCH(QByteArray, line);
        QFETCH(quint16, flag);
        QFETCH(bool, taken);
        const SurveyRecordList list = ParseUploadList({line}, UploadKind::Points, flag);
        QCOMPARE(list.size(), taken ? 1u : 0u);
        if (!taken) return;
        QTEST(list[0].name.ToByteArray(), "name");
        QTEST(list[0].y, "y");
        QTEST(list[0].x, "x");
        QTEST(list[0].z, "z");
        QCOMPARE(list[0].codeNumber, quint16(0));
        QVERIFY(list[0].codeText.isEmpty());
    }

    void codeLines_data() {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<int>("number");  // 0: the line is skipped
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("plain") << QByteArray("5,STROM") << 5 << QByteArray("STROM");
        QTest::newRow("text keeps spaces and commas") << QByteArray("05, plot, old") << 5 << QByteArray(" plot, old");
        QTest::newRow("zero") << QByteArray("0,A") << 0 << QByteArray();
        QTest::newRow("above 50") << QByteArray("51,A") << 0 << QByteArray();
        QTest::newRow("50 is the last") << QByteArray("50,A") << 50 << QByteArray("A");
        QTest::newRow("negative") << QByteArray("-3,A") << 0 << QByteArray();
        QTest::newRow("low 16 bits") << QByteArray("65537,A") << 1 << QByteArray("A");
        QTest::newRow("beyond 32 bits clamps, does not wrap") << QByteArray("4294967297,A") << 0 << QByteArray();
        QTest::newRow("no comma") << QByteArray("12") << 0 << QByteArray();
        QTest::newRow("no digits") << QByteArray(",A") << 0 << QByteArray();
        QTest::newRow("leading spaces removed") << QByteArray("   8,A") << 8 << QByteArray("A");
        QTest::newRow("leading tab read as white space") << QByteArray("\t9,A") << 9 << QByteArray("A");
    }
    void codeLines() {
        QFETCH(QByteArray, line);
        QFETCH(int, number);
        const SurveyRecordList list = ParseUploadList({line}, UploadKind::Codes, 0);
        QCOMPARE(list.size(), number ? 1u : 0u);
        if (!number) return;
        QCOMPARE(int(list[0].codeNumber), number);
        QTEST(list[0].codeText.ToByteArray(), "text");
        QVERIFY(list[0].name.isEmpty());
    }

    void listLineEnds_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QList<QByteArray>>("names");
        QTest::newRow("CR LF") << QByteArray("P1 1 2\r\nP2 3 4\r\n") << QList<QByteArray>{"P1", "P2"};
        QTest::newRow("LF") << QByteArray("P1 1 2\nP2 3 4") << QList<QByteArray>{"P1", "P2"};
        QTest::newRow("lone CR") << QByteArray("P1 1 2\rP2 3 4\rP3 5 6") << QList<QByteArray>{"P1", "P2", "P3"};
        QTest::newRow("LF CR is two line ends") << QByteArray("a 1 2\n\rb 3 4") << QList<QByteArray>{"a", "b"};
        QTest::newRow("NUL ends its line only")
            << QByteArray("P1 1 2\rP2\0 3 4\rP3 5 6", 21) << QList<QByteArray>{"P1", "P3"};
        QTest::newRow("line read up to its NUL")
            << QByteArray("P1 1 2\0 9\nP2 3 4", 16) << QList<QByteArray>{"P1", "P2"};
        QTest::newRow("empty") << QByteArray() << QList<QByteArray>{};
    }
    void listLineEnds() {
        QFETCH(QByteArray, text);
        QList<QByteArray> names;
        for (const SurveyRecord& point : ParseUploadList(text, UploadKind::Points, 0))
            names.append(point.name.ToByteArray());
        QTEST(names, "names");
    }

    void listKeepsLineOrderAndSkipsSilently() {
        const QList<QByteArray> lines{"B 1 2", "nothing here", "", "A 3 4 5", "C 6"};
        const SurveyRecordList list = ParseUploadList(lines.join('\n'), UploadKind::Points, 0);
        QCOMPARE(list.size(), 2u);
        QCOMPARE(list[0].name, QByteArray("B"));
        QCOMPARE(list[1].name, QByteArray("A"));
        QCOMPARE(list[1].z, 5.0);
        // A point line is not a code line and the other way round.
        QVERIFY(ParseUploadList({"5,STROM"}, UploadKind::Points, 0).empty());
        QVERIFY(ParseUploadList({"P1 1 2"}, UploadKind::Codes, 0).empty());
    }
};

QTEST_GUILESS_MAIN(UploadListParserTest)
#include "UploadListParserTest.moc"
