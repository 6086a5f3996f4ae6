#include "dxf/XyzTextList.h"

#include "base/Numbers.h"
#include "tests/support/ScriptedPrompter.h"
#include "tests/support/TestFiles.h"

#include <QTemporaryDir>
#include <QTest>

namespace {

SurveyRecordList ReadBytes(const QByteArray& bytes, ScriptedPrompter& prompter, int* returned = nullptr) {
    QTemporaryDir dir;
    const QString path = dir.filePath("body.txt");
    TestFiles::Write(path, bytes);
    SurveyRecordList list;
    const int count = ReadXyzTextList(path, list, prompter);
    if (returned) *returned = count;
    return list;
}

// «name|Y|X|Z|code», Z «-» for a point without height.
QByteArray Describe(const SurveyRecord& r) {
    const QByteArray z = r.Is(NoHeight) ? QByteArray("-") : Numbers::Format("%g", r.z);
    return r.name.ToByteArray() + Numbers::Format("|%g|%g|", r.y, r.x) + z + "|" + r.codeText.ToByteArray();
}

}  // namespace

class XyzTextListTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void lines_data() {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QByteArray>("point");  // empty: the line is skipped
        QTest::newRow("all four fields") << QByteArray("P1 512.12 745.5 245.3") << QByteArray("P1|512.12|745.5|245.3|");
        QTest::newRow("decimal commas; the height keeps its own")
            << QByteArray("P1 512,12 745,5 245,3") << QByteArray("P1|512.12|745.5|245|");
        QTest::newRow("height comma replaced by the search from Y")
            << QByteArray("P1 512 745 245,3") << QByteArray("P1|512|745|245.3|");
        QTest::newRow("empty height field before a code")
            << QByteArray("P1;512;745;;hranice") << QByteArray("P1|512|745|-|hranice");
        QTest::newRow("code text with spaces")
            << QByteArray("P1 512 745 250 mezn\xEDk u cesty") << QByteArray("P1|512|745|250|mezn\xEDk u cesty");
        QTest::newRow("no height") << QByteArray("P1 512 745") << QByteArray("P1|512|745|-|");
        QTest::newRow("letters where the height goes are passed over")
            << QByteArray("P1 512 745 roh") << QByteArray("P1|512|745|-|");
        QTest::newRow("digits of a code taken as the height")
            << QByteArray("P1 512 745 k12") << QByteArray("P1|512|745|12|");
        QTest::newRow("commas of the code text turned into points by Y and X")
            << QByteArray("P1 512 745 250 A,B,C,D") << QByteArray("P1|512|745|250|A.B.C,D");
        QTest::newRow("one number only") << QByteArray("P1 512") << QByteArray();
        QTest::newRow("no separator") << QByteArray("P1") << QByteArray();
        QTest::newRow("letters only after the name") << QByteArray("P5 abc") << QByteArray();
        QTest::newRow("leading spaces give an empty name") << QByteArray("  P7 1 2 3") << QByteArray("|7|1|2|3");
        QTest::newRow("tabs separate") << QByteArray("P2\t-1.5\t+2e3\t\tkrajnice")
                                       << QByteArray("P2|-1.5|2000|-|krajnice");
        QTest::newRow("a lone sign is no height, the code text stays")
            << QByteArray("P3 1 2 - sloup") << QByteArray("P3|1|2|-|sloup");
        QTest::newRow("a lone CR ends a line: no CR reaches a name or code")
            << QByteArray("P\r0\rCIRCLE 742888 43086 250 kod") << QByteArray("CIRCLE|742888|43086|250|kod");
    }
    void lines() {
        QFETCH(QByteArray, line);
        QFETCH(QByteArray, point);
        // The same line with any line end, and as the last line without one.
        for (const char* end : {"\r\n", "\n", "\r", ""}) {
            ScriptedPrompter prompter;
            int returned = -1;
            const SurveyRecordList list = ReadBytes(line + end, prompter, &returned);
            QVERIFY(prompter.messages.isEmpty() && prompter.fileErrors.isEmpty());
            QCOMPARE(returned, point.isEmpty() ? 0 : 1);
            QCOMPARE(list.size(), point.isEmpty() ? 0u : 1u);
            if (point.isEmpty()) continue;
            QVERIFY(list.front().Is(Coordinates));
            QCOMPARE(Describe(list.front()), point);
        }
    }

    // UTF-8 lists come in Windows-1250; what the code page lacks is drawn as "?" and told.
    void encodings_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QByteArray>("points");
        QTest::addColumn<QByteArray>("told");
        QTest::newRow("UTF-8 name and code") << QByteArray("M\u011B\u0159ick\u00FD1 1 2 3 mezn\u00EDk\n")
                                             << QByteArray(
                                                    "M\xEC\xF8ick\xFD"
                                                    "1|1|2|3|mezn\xEDk")
                                             << QByteArray();
        QTest::newRow("byte-order mark is no part of the first name")
            << QByteArray("\xEF\xBB\xBFP1 1 2\n") << QByteArray("P1|1|2|-|") << QByteArray();
        QTest::newRow("characters Windows-1250 lacks, by line")
            << QByteArray("\u017D1 1 2\r\nx\r\nPe\u00F1a 3 4 5 \u4E2D\u00F1\r\n")
            << QByteArray(
                   "\x8E"
                   "1|1|2|-|Pe?a|3|4|5|??")
            << QByteArray(
                   "\n\x95 bod Pe?a (\xF8\xE1"
                   "dek 3): znaky U+00F1, U+4E2D");
    }
    void encodings() {
        QFETCH(QByteArray, file);
        QFETCH(QByteArray, told);
        ScriptedPrompter prompter;
        QByteArray points;
        for (const SurveyRecord& point : ReadBytes(file, prompter)) points += Describe(point);
        QTEST(points, "points");
        QCOMPARE(prompter.messages.size(), told.isEmpty() ? 0 : 1);
        if (!told.isEmpty()) QVERIFY2(prompter.messages[0].text.endsWith(told), prompter.messages[0].text);
    }

    void keepsFileOrderAndSkipsBadLines() {
        ScriptedPrompter prompter;
        int returned = 0;
        const SurveyRecordList list =
            ReadBytes("A 1 2 3\r\nnothing\r\n\r\nB 4 5\r\nC;6;7;8;k\r\n", prompter, &returned);
        QCOMPARE(returned, 3);
        QCOMPARE(list.size(), 3u);
        QCOMPARE(Describe(list[0]) + Describe(list[1]) + Describe(list[2]), QByteArray("A|1|2|3|B|4|5|-|C|6|7|8|k"));
    }

    // A line longer than 511 characters is read in pieces, each taken as a line.
    void longLineIsReadInPieces() {
        ScriptedPrompter prompter;
        QByteArray first = "P1 1 2 3 ";
        first += QByteArray(511 - first.size(), 'c');
        const SurveyRecordList list = ReadBytes(first + "Q 5 6 7 tail\r\n", prompter);
        QCOMPARE(list.size(), 2u);
        QCOMPARE(list[0].codeText, QByteArray(511 - 9, 'c'));
        QCOMPARE(Describe(list[1]), QByteArray("Q|5|6|7|tail"));

        // CR LF counts as one character: a 511-character line ends its piece before
        // the line end, which then makes an empty piece of its own.
        const SurveyRecordList exact = ReadBytes(first + "\r\nR 1 2\r\n", prompter);
        QCOMPARE(exact.size(), 2u);
        QCOMPARE(exact[1].name, QByteArray("R"));
    }

    void missingListIsReportedNamingIt() {
        ScriptedPrompter prompter;
        SurveyRecordList list;
        QCOMPARE(ReadXyzTextList("/nonexistent/body.txt", list, prompter), 0);
        QVERIFY(list.empty());
        QCOMPARE(prompter.fileErrors.size(), 1);
        QCOMPARE(prompter.fileErrors[0].kind, FileErrorKind::NotFound);
        QCOMPARE(prompter.fileErrors[0].path, QStringLiteral("/nonexistent/body.txt"));
    }
};

QTEST_GUILESS_MAIN(XyzTextListTest)
#include "XyzTextListTest.moc"
