#include "upload/UploadProtocol.h"

#include <QTest>

class UploadProtocolTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
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
