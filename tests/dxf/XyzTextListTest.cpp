#include "dxf/XyzTextList.h"

#include "app/Cp1250.h"
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

}  // namespace

class XyzTextListTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void lines_data() {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<double>("y");
        QTest::addColumn<double>("x");
        QTest::addColumn<bool>("hasHeight");
        QTest::addColumn<double>("z");
        QTest::addColumn<QByteArray>("code");

        QTest::newRow("all four fields") << QByteArray("P1 512.12 745.5 245.3") << true << QByteArray("P1") << 512.12
                                         << 745.5 << true << 245.3 << QByteArray();
        QTest::newRow("decimal commas; the height keeps its own")
            << QByteArray("P1 512,12 745,5 245,3") << true << QByteArray("P1") << 512.12 << 745.5 << true << 245.0
            << QByteArray();
        QTest::newRow("height comma replaced by the search from Y")
            << QByteArray("P1 512 745 245,3") << true << QByteArray("P1") << 512.0 << 745.0 << true << 245.3
            << QByteArray();
        QTest::newRow("empty height field before a code")
            << QByteArray("P1;512;745;;hranice") << true << QByteArray("P1") << 512.0 << 745.0 << false << 0.0
            << QByteArray("hranice");
        QTest::newRow("code text with spaces")
            << QByteArray("P1 512 745 250 mezn\xEDk u cesty") << true << QByteArray("P1") << 512.0 << 745.0 << true
            << 250.0 << QByteArray("mezn\xEDk u cesty");
        QTest::newRow("no height") << QByteArray("P1 512 745") << true << QByteArray("P1") << 512.0 << 745.0 << false
                                   << 0.0 << QByteArray();
        QTest::newRow("letters where the height goes are passed over")
            << QByteArray("P1 512 745 roh") << true << QByteArray("P1") << 512.0 << 745.0 << false << 0.0
            << QByteArray();
        QTest::newRow("digits of a code taken as the height")
            << QByteArray("P1 512 745 k12") << true << QByteArray("P1") << 512.0 << 745.0 << true << 12.0
            << QByteArray();
        QTest::newRow("commas of the code text turned into points by Y and X")
            << QByteArray("P1 512 745 250 A,B,C,D") << true << QByteArray("P1") << 512.0 << 745.0 << true << 250.0
            << QByteArray("A.B.C,D");
        QTest::newRow("one number only") << QByteArray("P1 512") << false << QByteArray() << 0.0 << 0.0 << false << 0.0
                                         << QByteArray();
        QTest::newRow("no separator") << QByteArray("P1") << false << QByteArray() << 0.0 << 0.0 << false << 0.0
                                      << QByteArray();
        QTest::newRow("leading spaces give an empty name")
            << QByteArray("  P7 1 2 3") << true << QByteArray() << 7.0 << 1.0 << true << 2.0 << QByteArray("3");
        QTest::newRow("tabs separate") << QByteArray("P2\t-1.5\t+2e3\t\tkrajnice") << true << QByteArray("P2") << -1.5
                                       << 2000.0 << false << 0.0 << QByteArray("krajnice");
        QTest::newRow("a lone sign is no height, the code text stays")
            << QByteArray("P3 1 2 - sloup") << true << QByteArray("P3") << 1.0 << 2.0 << false << 0.0
            << QByteArray("sloup");
        QTest::newRow("separator after the height leaves an empty code")
            << QByteArray("P4 1 2 3 ") << true << QByteArray("P4") << 1.0 << 2.0 << true << 3.0 << QByteArray();
        QTest::newRow("only separators before the end")
            << QByteArray("P5 abc") << false << QByteArray() << 0.0 << 0.0 << false << 0.0 << QByteArray();
    }
    void lines() {
        QFETCH(QByteArray, line);
        QFETCH(bool, accepted);
        // The same line with either line end, and as the last line without one.
        for (const char* end : {"\r\n", "\n", ""}) {
            ScriptedPrompter prompter;
            int returned = -1;
            const SurveyRecordList list = ReadBytes(line + end, prompter, &returned);
            QVERIFY(prompter.messages.isEmpty() && prompter.fileErrors.isEmpty());
            QCOMPARE(returned, accepted ? 1 : 0);
            QCOMPARE(list.size(), accepted ? 1u : 0u);
            if (!accepted) continue;
            QFETCH(QByteArray, name);
            QFETCH(double, y);
            QFETCH(double, x);
            QFETCH(bool, hasHeight);
            QFETCH(double, z);
            QFETCH(QByteArray, code);
            const SurveyRecord& record = list.front();
            QCOMPARE(record.name, name);
            QCOMPARE(record.y, y);
            QCOMPARE(record.x, x);
            QCOMPARE(record.Is(NoHeight), !hasHeight);
            QVERIFY(record.Is(Coordinates));
            QCOMPARE(record.z, z);
            QCOMPARE(record.codeText, code);
        }
    }

    void keepsFileOrderAndSkipsBadLines() {
        ScriptedPrompter prompter;
        int returned = 0;
        const SurveyRecordList list =
            ReadBytes("A 1 2 3\r\nnothing\r\n\r\nB 4 5\r\nC;6;7;8;k\r\n", prompter, &returned);
        QCOMPARE(returned, 3);
        QCOMPARE(list.size(), 3u);
        QCOMPARE(list[0].name, QByteArray("A"));
        QCOMPARE(list[1].name, QByteArray("B"));
        QCOMPARE(list[2].codeText, QByteArray("k"));
    }

    // A line longer than 511 characters is read in pieces, each taken as a line.
    void longLineIsReadInPieces() {
        ScriptedPrompter prompter;
        QByteArray first = "P1 1 2 3 ";
        first += QByteArray(511 - first.size(), 'c');
        const SurveyRecordList list = ReadBytes(first + "Q 5 6 7 tail\r\n", prompter);
        QCOMPARE(list.size(), 2u);
        QCOMPARE(list[0].codeText, QByteArray(511 - 9, 'c'));
        QCOMPARE(list[1].name, QByteArray("Q"));
        QCOMPARE(list[1].codeText, QByteArray("tail"));

        // CR LF counts as one character: a 511-character line ends its piece before
        // the line end, which then makes an empty piece of its own.
        const SurveyRecordList exact = ReadBytes(first + "\r\nR 1 2\r\n", prompter);
        QCOMPARE(exact.size(), 2u);
        QCOMPARE(exact[1].name, QByteArray("R"));
    }

    void bareCarriageReturnIsNoLineEnd() {
        ScriptedPrompter prompter;
        const SurveyRecordList list = ReadBytes("A 1 2 3 x\ry\r\n", prompter);
        QCOMPARE(list.size(), 1u);
        QCOMPARE(list[0].codeText, QByteArray("xy"));
    }

    void emptyListGivesNothing() {
        ScriptedPrompter prompter;
        int returned = -1;
        QVERIFY(ReadBytes("", prompter, &returned).empty());
        QCOMPARE(returned, 0);
        QVERIFY(prompter.fileErrors.isEmpty());
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

    void directoryIsReportedNotRead() {
        QTemporaryDir dir;
        ScriptedPrompter prompter;
        SurveyRecordList list;
        QCOMPARE(ReadXyzTextList(dir.path(), list, prompter), 0);
        QCOMPARE(prompter.fileErrors.size(), 1);
    }
};

QTEST_GUILESS_MAIN(XyzTextListTest)
#include "XyzTextListTest.moc"
