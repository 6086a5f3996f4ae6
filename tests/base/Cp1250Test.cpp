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
};

QTEST_GUILESS_MAIN(Cp1250Test)
#include "Cp1250Test.moc"
