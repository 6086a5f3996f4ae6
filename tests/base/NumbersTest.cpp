#include "base/Numbers.h"

#include <QTest>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <string>

class NumbersTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void parsesAsStrtodWithPoint_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("length");
        QTest::newRow("plain") << QByteArray("1001000") << 1001000.0 << 7;
        QTest::newRow("comma ends the number") << QByteArray("1001000,5") << 1001000.0 << 7;
        QTest::newRow("point is the decimal point") << QByteArray("2.5") << 2.5 << 3;
        QTest::newRow("leading white space and sign") << QByteArray(" \t-12.25x") << -12.25 << 8;
        QTest::newRow("plus sign") << QByteArray("+7") << 7.0 << 2;
        QTest::newRow("no number gives 0") << QByteArray("abc") << 0.0 << 0;
        QTest::newRow("lone sign gives 0") << QByteArray("-") << 0.0 << 0;
        QTest::newRow("lone point gives 0") << QByteArray(".") << 0.0 << 0;
        QTest::newRow("fraction without integer part") << QByteArray(".5") << 0.5 << 2;
        QTest::newRow("point without fraction") << QByteArray("5.") << 5.0 << 2;
        QTest::newRow("exponent") << QByteArray("1.5e3m") << 1500.0 << 5;
        QTest::newRow("exponent without digits stops before e") << QByteArray("1e+") << 1.0 << 1;
        QTest::newRow("no hexadecimal") << QByteArray("0x1A") << 0.0 << 1;
        QTest::newRow("no inf") << QByteArray("inf") << 0.0 << 0;
        QTest::newRow("no nan") << QByteArray("nan") << 0.0 << 0;
        QTest::newRow("millimetres with zeros") << QByteArray("+00012345") << 12345.0 << 9;
    }
    void parsesAsStrtodWithPoint() {
        QFETCH(QByteArray, text);
        QFETCH(double, value);
        QFETCH(int, length);
        const auto parsed = Numbers::ParseDouble(std::string_view(text.constData(), text.size()));
        QCOMPARE(parsed.value, value);
        QCOMPARE(int(parsed.length), length);
    }

    void hugeExponentsOverflowLikeStrtod() {
        QVERIFY(std::isinf(Numbers::ToDouble("1e400")));
        QCOMPARE(Numbers::ToDouble("1e-400"), 0.0);
    }

    void integersClampToTheirRange_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<qint64>("value");
        QTest::newRow("plain") << QByteArray("  42abc") << qint64(42);
        QTest::newRow("negative") << QByteArray("-3,A") << qint64(-3);
        QTest::newRow("beyond 32 bits clamps high") << QByteArray("99999999999") << qint64(INT32_MAX);
        QTest::newRow("beyond 32 bits clamps low") << QByteArray("-99999999999") << qint64(INT32_MIN);
        QTest::newRow("beyond 64 bits") << QByteArray("999999999999999999999999") << qint64(INT32_MAX);
        QTest::newRow("no digits") << QByteArray("x1") << qint64(0);
    }
    void integersClampToTheirRange() {
        QFETCH(QByteArray, text);
        QFETCH(qint64, value);
        QCOMPARE(Numbers::ParseInteger(std::string_view(text.constData(), text.size()), INT32_MIN, INT32_MAX).value,
                 value);
    }

    void formatsWithPointWhateverTheLocale() {
        // Also under a Czech C-library locale taken by the program itself, where
        // printf writes a decimal comma (the Windows C library never takes the
        // user's locale on its own).
        const std::string previous = std::setlocale(LC_ALL, nullptr);
        bool czech = false;
        for (const char* name : {"cs_CZ.UTF-8", "Czech_Czechia.1250", "Czech_Czech Republic.1250"}) {
            if (std::setlocale(LC_ALL, name)) {
                czech = true;
                break;
            }
        }
        char written[16];
        std::snprintf(written, sizeof written, "%.1f", 1.5);
        const QByteArray fixed = Numbers::FormatFixed(1001000, 3);
        const QByteArray reduction = Numbers::Format("%.1f mm/km", -52.94);
        const QByteArray padded = Numbers::Format("%+010.0f", -12500.0);
        const QByteArray rounded = Numbers::Format("%.3f", 2.0005);
        std::setlocale(LC_ALL, previous.c_str());
        if (czech) QCOMPARE(QByteArray(written), QByteArray("1,5"));
        QCOMPARE(fixed, QByteArray("1001000.000"));
        QCOMPARE(reduction, QByteArray("-52.9 mm/km"));
        QCOMPARE(padded, QByteArray("-000012500"));
        QCOMPARE(rounded, QByteArray("2.001"));
    }

    void formatsTextsLongerThanAnyBuffer() {
        const QByteArray longName(5000, 'N');
        const QByteArray line = Numbers::Format("%s  %.3f", longName.constData(), 1.5);
        QCOMPARE(line.size(), 5000 + 2 + 5);
        QVERIFY(line.endsWith("  1.500"));
        QByteArray appended("x");
        Numbers::AppendFormat(appended, "%s|", longName.constData());
        QCOMPARE(appended.size(), 5002);
    }
};

QTEST_GUILESS_MAIN(NumbersTest)
#include "NumbersTest.moc"
