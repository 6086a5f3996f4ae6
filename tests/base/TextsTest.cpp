#include "base/Cp1250.h"
#include "base/Texts.h"

#include <QTest>

class TextsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Czech takes the noun's form from the count: 1 bod, 2 až 4 body, 0 and from 5
    // on bodů (11 to 14, 21, 22 and 104 likewise; only 2, 3 and 4 themselves are few).
    void countedNouns_data() {
        QTest::addColumn<qint64>("count");
        QTest::addColumn<QString>("points");
        QTest::addColumn<QString>("codes");
        QTest::newRow("none is many") << qint64(0) << "0 bodů"
                                      << "0 kódů";
        QTest::newRow("one") << qint64(1) << "1 bod"
                             << "1 kód";
        QTest::newRow("two") << qint64(2) << "2 body"
                             << "2 kódy";
        QTest::newRow("four") << qint64(4) << "4 body"
                              << "4 kódy";
        QTest::newRow("five") << qint64(5) << "5 bodů"
                              << "5 kódů";
        QTest::newRow("eleven is not one") << qint64(11) << "11 bodů"
                                           << "11 kódů";
        QTest::newRow("twenty-two is not few") << qint64(22) << "22 bodů"
                                               << "22 kódů";
        QTest::newRow("large") << qint64(1234567) << "1234567 bodů"
                               << "1234567 kódů";
    }
    void countedNouns() {
        QFETCH(qint64, count);
        QFETCH(QString, points);
        QFETCH(QString, codes);
        QCOMPARE(Cp1250::ToUnicode(Counted(count, Texts::kPointsNoun)), points);
        QCOMPARE(Cp1250::ToUnicode(Counted(count, Texts::kCodesNoun)), codes);
    }
};

QTEST_GUILESS_MAIN(TextsTest)
#include "TextsTest.moc"
