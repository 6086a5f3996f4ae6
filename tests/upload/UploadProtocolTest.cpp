#include "upload/UploadProtocol.h"

#include "tests/support/PointYXZ.h"

#include <QTest>

class UploadProtocolTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void folding_data() {
        QTest::addColumn<double>("metres");
        QTest::addColumn<QByteArray>("field");
        QTest::newRow("above a million") << 1045678.123 << QByteArray("+045678123");
        QTest::newRow("a whole million") << 1000000.0 << QByteArray("+000000000");
        QTest::newRow("negative keeps its sign") << -12.5 << QByteArray("-000012500");
        QTest::newRow("two millions and a millimetre") << 2000000.001 << QByteArray("+000000001");
        QTest::newRow("just below a million would print 11 characters") << 999999.9996 << QByteArray("+000000000");
        QTest::newRow("just above minus a million would print 11 characters")
            << -999999.9996 << QByteArray("+000000000");
    }
    void folding() {
        QFETCH(double, metres);
        QTEST(FoldedMillimetres(metres), "field");
    }

    void coordinateNearAMillionKeepsTheStreamAligned() {
        // A field of 11 characters would shift every later byte on the line.
        const QByteArray stream = RecordStream(
            {PointYXZ("A", -999999.9996, 999999.9996, 1999999.9999), PointYXZ("B", 2, 1, 3)}, UploadKind::Points);
        QCOMPARE(stream.size(), 2 * kPointRecordSize);
        QCOMPARE(stream.mid(0, 51), QByteArray("_+A         _ x+000000000_ y+000000000_ z+000000000"));
        QCOMPARE(stream.mid(51, 3), QByteArray("_+B"));
    }

    void blocks_data() {
        QTest::addColumn<QByteArray>("payload");
        QTest::addColumn<unsigned>("counter");
        QTest::addColumn<QByteArray>("tail");  // block digit, checksum, ETX CR LF
        QTest::newRow("last block padded") << QByteArray("abc") << 0u << QByteArray("0112\x03\r\n");
        QTest::newRow("counter 10 gives 0") << QByteArray("abc") << 10u << QByteArray("0112\x03\r\n");
        QTest::newRow("counter 256 gives 0, not 6") << QByteArray("abc") << 256u << QByteArray("0112\x03\r\n");
        QTest::newRow("counter 266 gives 0") << QByteArray("abc") << 266u << QByteArray("0112\x03\r\n");
        QTest::newRow("counter 7") << QByteArray("abc") << 7u << QByteArray("7119\x03\r\n");
    }
    void blocks() {
        QFETCH(QByteArray, payload);
        QFETCH(unsigned, counter);
        QFETCH(QByteArray, tail);
        const QByteArray block = BuildBlock(payload, counter);
        QCOMPARE(block.size(), 136);
        QCOMPARE(block[0], '\x02');
        QCOMPARE(block.mid(1, 3), payload);
        QCOMPARE(block.mid(4, 125), QByteArray(125, ' '));
        QCOMPARE(block.mid(129), tail);
    }

    void fullBlockTakesExactly128Characters() {
        const QByteArray stream(200, 'x');
        const QByteArray block = BuildBlock(QByteArrayView(stream).first(128), 0);
        QCOMPARE(block.mid(1, 128), QByteArray(128, 'x'));
        QCOMPARE(BuildBlock(stream, 0), block);
    }

    void controlRecords() {
        QCOMPARE(Preamble1(), QByteArray("\x02"
                                         "F00F000\x03\r\n"));
        QCOMPARE(Preamble2(), QByteArray("\x02"
                                         "GC\x03\r\n"));
        QCOMPARE(EndRecord(), QByteArray("\x02\x04\r\n"));
    }
};

QTEST_GUILESS_MAIN(UploadProtocolTest)
#include "UploadProtocolTest.moc"
