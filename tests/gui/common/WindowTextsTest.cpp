// Every user text reaches the screen whole on both systems: the core's texts and
// the messages of the windows travel as Windows-1250 bytes, so each one must come
// back from Windows-1250 as it was written (an arrow or a mathematical minus
// would come out as "?"). The texts are read from the two tables' sources, so a
// text added later is checked too.

#include "base/Cp1250.h"

#include <QFile>
#include <QRegularExpression>
#include <QTest>

namespace {

// A C++ string literal, and a text's definition in a table.
const char* const kLiteralPattern = "\"((?:[^\"\\\\]|\\\\.)*)\"";
const char* const kDefinitionPattern = "inline constexpr (?:UserText|CzechNoun) (\\w+)\\{(.*?)\\};";

// The C++ string literals of a definition, joined as the compiler joins them.
QString Literals(const QString& definition) {
    static const QRegularExpression literal(QString::fromLatin1(kLiteralPattern));
    QString text;
    for (const QRegularExpressionMatch& match : literal.globalMatch(definition)) {
        const QString body = match.captured(1);
        for (qsizetype i = 0; i < body.size(); ++i) {
            if (body[i] != QLatin1Char('\\') || i + 1 == body.size()) {
                text += body[i];
                continue;
            }
            const QChar escaped = body[++i];
            text += escaped == QLatin1Char('n')   ? QChar(u'\n')
                    : escaped == QLatin1Char('r') ? QChar(u'\r')
                    : escaped == QLatin1Char('t') ? QChar(u'\t')
                                                  : escaped;
        }
    }
    return text;
}

}  // namespace

class WindowTextsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void everyTextSurvivesWindows1250_data() {
        QTest::addColumn<QString>("text");
        static const QRegularExpression definition(QString::fromLatin1(kDefinitionPattern),
                                                   QRegularExpression::DotMatchesEverythingOption);
        int texts = 0;
        for (const char* source : {"base/Texts.h", "gui/common/WindowTexts.h"}) {
            QFile file(QStringLiteral(TARVO_SOURCE_DIR "/") + QLatin1String(source));
            QVERIFY2(file.open(QIODevice::ReadOnly), source);
            const QString code = QString::fromUtf8(file.readAll());
            for (const QRegularExpressionMatch& match : definition.globalMatch(code)) {
                const QByteArray name = match.captured(1).toLatin1();
                QTest::newRow(name.constData()) << Literals(match.captured(2));
                ++texts;
            }
        }
        QVERIFY(texts > 100);
    }
    void everyTextSurvivesWindows1250() {
        QFETCH(QString, text);
        QCOMPARE(Cp1250::ToUnicode(Cp1250::FromUnicode(text)), text);
    }
};

QTEST_GUILESS_MAIN(WindowTextsTest)
#include "WindowTextsTest.moc"
