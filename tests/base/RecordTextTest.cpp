#include "base/RecordText.h"

#include <QTest>

class RecordTextTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Inside the record or on the heap, copied, moved and reassigned: every byte
    // stays, a NUL follows, and copies outlive the text they were taken from.
    void keepsEveryByte_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("13 bytes, the most that fit inside") << QByteArray("ABCDEFGHIJKLM");
        QTest::newRow("14 bytes, the fewest on the heap") << QByteArray("ABCDEFGHIJKLMN");
        QTest::newRow("inner NUL and Czech letters") << QByteArray("a\0\xE8\xF8", 4);
        QTest::newRow("long text") << QByteArray(5000, 'k');
    }
    void keepsEveryByte() {
        QFETCH(QByteArray, bytes);
        RecordText copy;
        RecordText moved;
        {
            RecordText original(bytes);
            copy = original;
            moved = std::move(original);
        }
        moved = RecordText(moved);
        for (const RecordText* text : {&copy, &moved}) {
            QCOMPARE(text->ToByteArray(), bytes);
            QCOMPARE(text->constData()[bytes.size()], '\0');
        }
    }
};

QTEST_GUILESS_MAIN(RecordTextTest)
#include "RecordTextTest.moc"
