#include "base/Cp1250.h"

#include <QStringDecoder>
#include <QTest>

class Cp1250Test : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void allBytesSurviveRoundTrip() {
        QByteArray all;
        for (int b = 0; b < 256; ++b) all.append(static_cast<char>(b));
        QCOMPARE(Cp1250::FromUnicode(Cp1250::ToUnicode(all)), all);
    }

    void definedBytesMatchTheSystemCodec() {
        QStringDecoder decoder("windows-1250");
        if (!decoder.isValid()) QSKIP("this Qt has no Windows-1250 codec to compare with");
        const QList<int> undefined = {0x81, 0x83, 0x88, 0x90, 0x98};
        for (int b = 0x80; b < 256; ++b) {
            if (undefined.contains(b)) continue;
            const QByteArray byte(1, static_cast<char>(b));
            QStringDecoder fresh("windows-1250");
            QCOMPARE(Cp1250::ToUnicode(byte), QString(fresh(byte)));
        }
    }

    void czechLettersMapBothWays() {
        const QString czech = QStringLiteral("Měřeno přístrojem ŽŠČŘĎŤŇ ůú");
        const QByteArray bytes = Cp1250::FromUnicode(czech);
        QCOMPARE(bytes.size(), czech.size());
        QCOMPARE(static_cast<unsigned char>(Cp1250::FromUtf8("č")[0]), 0xE8u);
        QCOMPARE(Cp1250::ToUnicode(bytes), czech);
    }

    void charactersOutsideTheCodePageBecomeQuestionMarks() {
        QCOMPARE(Cp1250::FromUnicode(QStringLiteral("a\u4e2db\u00f1")), QByteArray("a?b?"));
    }

    // A list file: UTF-8 (valid, beyond ASCII, or with its byte-order mark) is
    // converted, anything else is Windows-1250 already.
    void listFiles_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("fromUtf8");
        QTest::addColumn<QList<QByteArray>>("foreign");  // offset:character
        QTest::newRow("UTF-8 Czech") << QByteArray("M\u011B\u0159ick\u00FD1 1 2\n")
                                     << QByteArray(
                                            "M\xEC\xF8ick\xFD"
                                            "1 1 2\n")
                                     << true << QList<QByteArray>{};
        QTest::newRow("byte-order mark on ASCII")
            << QByteArray("\xEF\xBB\xBFP1 1 2") << QByteArray("P1 1 2") << true << QList<QByteArray>{};
        QTest::newRow("Windows-1250 Czech")
            << QByteArray("M\xEC\xF8ick\xFD") << QByteArray("M\xEC\xF8ick\xFD") << false << QList<QByteArray>{};
        QTest::newRow("UTF-8 and one bad byte is Windows-1250")
            << QByteArray("\u017D\xFF") << QByteArray("\xC5\xBD\xFF") << false << QList<QByteArray>{};
        QTest::newRow("overlong form and surrogate are no UTF-8")
            << QByteArray("\xC0\xAF\xED\xA0\x80") << QByteArray("\xC0\xAF\xED\xA0\x80") << false << QList<QByteArray>{};
        QTest::newRow("characters outside the code page")
            << QByteArray("Pe\u00F1a \u4E2D\U0001F600;") << QByteArray("Pe?a ??;") << true
            << QList<QByteArray>{"2:U+00F1", "5:U+4E2D", "6:U+1F600"};
        QTest::newRow("NUL and line ends stay")
            << QByteArray("\u017D\0\r\n\r", 6) << QByteArray("\x8E\0\r\n\r", 5) << true << QList<QByteArray>{};
    }
    void listFiles() {
        QFETCH(QByteArray, file);
        const Cp1250::ListText text = Cp1250::FromListFile(file);
        QTEST(text.bytes, "bytes");
        QTEST(text.fromUtf8, "fromUtf8");
        QList<QByteArray> foreign;
        for (const Cp1250::ListText::Foreign& f : text.foreign)
            foreign.append(QByteArray::number(f.offset) + ':' + Cp1250::CharacterCode(f.character));
        QTEST(foreign, "foreign");
        // The editor shows the same characters the list sends.
        QCOMPARE(Cp1250::FromTypedText(Cp1250::ListFileToUnicode(file)).bytes, text.bytes);
    }
};

QTEST_GUILESS_MAIN(Cp1250Test)
#include "Cp1250Test.moc"
