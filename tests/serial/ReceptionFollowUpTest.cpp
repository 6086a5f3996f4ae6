#include "serial/ReceptionFollowUp.h"

#include "base/Cp1250.h"
#include "tests/support/ScriptedPrompter.h"
#include "tests/support/TestFiles.h"

#include <QTemporaryDir>
#include <QTest>

class ReceptionFollowUpTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Whole data are converted; what a lost connection broke off only after a Yes
    // to a question naming its bytes and the outputs it would replace.
    void whatFollowsAReception_data() {
        QTest::addColumn<ReceivedData>("received");
        QTest::addColumn<bool>("convertWanted");
        QTest::addColumn<Answer>("answer");
        QTest::addColumn<int>("questions");
        QTest::addColumn<int>("conversions");
        QTest::newRow("whole: converted, nothing asked") << ReceivedData::Whole << true << Answer::No << 0 << 1;
        QTest::newRow("broken, Yes: converted") << ReceivedData::Broken << true << Answer::Yes << 1 << 1;
        QTest::newRow("broken, No: kept, not converted") << ReceivedData::Broken << true << Answer::No << 1 << 0;
        QTest::newRow("broken, no conversion wanted: nothing asked")
            << ReceivedData::Broken << false << Answer::Yes << 0 << 0;
        QTest::newRow("nothing received: nothing follows") << ReceivedData::None << true << Answer::Yes << 0 << 0;
    }
    void whatFollowsAReception() {
        QFETCH(ReceivedData, received);
        QFETCH(bool, convertWanted);
        QFETCH(Answer, answer);
        QFETCH(int, questions);
        QFETCH(int, conversions);
        QTemporaryDir dir;
        const QString target = dir.filePath("job.sdt");
        TestFiles::Write(target, QByteArray(600, 'x'));
        TestFiles::Write(dir.filePath("job.cod"), "the job's good codes");
        ScriptedPrompter prompter;
        prompter.defaultAnswer = answer;
        int converted = 0;
        const std::function<void()> convert = [&converted] { ++converted; };
        FollowReception(received, target, prompter, convertWanted ? convert : nullptr);
        QCOMPARE(converted, conversions);
        QCOMPARE(prompter.Count(Topic::PartialTransfer), questions);
        if (questions == 0) return;
        const QString text = Cp1250::ToUnicode(prompter.Of(Topic::PartialTransfer)[0].text);
        QVERIFY2(text.contains(DisplayPathText(target)) && text.contains(QStringLiteral("600 bajtů")) &&
                     text.contains(QStringLiteral("job.cod")),
                 qPrintable(text));
    }
};

QTEST_GUILESS_MAIN(ReceptionFollowUpTest)
#include "ReceptionFollowUpTest.moc"
