// The commands end to end: the controller runs the real conversion and DXF cores,
// the user answers through the program's own message boxes and output windows,
// which a script closes as they open.

#include "gui/commands/CommandController.h"

#include "base/Cp1250.h"
#include "base/FileChooser.h"
#include "base/SettingsStore.h"
#include "gui/check/ProtocolWindow.h"
#include "gui/commands/DialogPrompter.h"
#include "gui/commands/OutputWindow.h"
#include "tests/gui/commands/CommandFixture.h"
#include "tests/support/TestFiles.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

class CommandFlowTest : public QObject, protected CommandFixture {
    Q_OBJECT

    CommandController& Controller(quint16 flag) { return MakeController(flag); }

    QString Copy(const char* folder, const QString& name, const QString& as) {
        const QString path = m_dir.filePath(as);
        TestFiles::Write(path, TestFiles::Read(TestFiles::DataDir(folder) + QLatin1Char('/') + name));
        return path;
    }

    // A shown top-level window by its object name.
    static QWidget* NamedTopLevel(const char* name) {
        for (QWidget* window : QApplication::topLevelWidgets())
            if (window->objectName() == QLatin1String(name) && window->isVisible()) return window;
        return nullptr;
    }

private Q_SLOTS:
    void cleanup() { Reset(); }

    void f3WritesTheMapa2FilesAndShowsThem() {
        CommandController& controller = Controller(FLAG_USE_HEADER | FLAG_KEEP_200 | FLAG_SHOW_OUTPUT);
        m_chooser.answers = {Copy("convert", QStringLiteral("nts350-job.sdt"), QStringLiteral("nts350-job.sdt"))};
        ModalCloser closer;
        controller.Execute(CommandId::ConvertFile);
        for (const char* extension : {".zap", ".asc", ".cod"}) {
            QCOMPARE(TestFiles::Read(m_dir.filePath(QStringLiteral("nts350-job") + QLatin1String(extension))),
                     Golden(extension));
        }
        QVERIFY(closer.messages.contains(QStringLiteral("Použít současné nastavení korekcí?")));
        QVERIFY(closer.outputTitles.contains(QStringLiteral("Výstupní soubor konverze nts350-job.zap")));
        QVERIFY(closer.outputTitles.contains(QStringLiteral("Výstupní soubor konverze nts350-job.asc")));
        const qsizetype zap = closer.outputTitles.indexOf(QStringLiteral("Výstupní soubor konverze nts350-job.zap"));
        QVERIFY(closer.outputTexts[zap].startsWith(QStringLiteral("Měřeno přístrojem")));
    }

    // The reports of F3 in the window program: each message box once, where it
    // belongs, and the receipt handed to the main window after every run.
    void f3Reports_data() {
        QTest::addColumn<QString>("example");
        QTest::addColumn<int>("flippedByte");  // -1: the file as it is
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("receiptEnd");
        QTest::addColumn<bool>("findings");  // the warning goes along with the receipt, for showing again
        QTest::newRow("damaged block: warning, converted all the same, counted in the receipt")
            << "nts350-job" << 140
            << QStringLiteral(
                   "Upozornění!\nPřenos dat z přístroje neprošel kontrolou bloků:\n"
                   "• blok 2 (bajty 136–269): nesouhlasí kontrolní součet")
            << QStringLiteral(
                   "Kontrola bloků: 1 chyba. Kontrola zápisníku: bez zjištění. Zapsáno: job.zap, "
                   "job.asc, job.cod, job_kontrola.txt.")
            << true;
        QTest::newRow("other instrument: asked, Yes converts as that one")
            << "nts660-job" << -1
            << QStringLiteral(
                   "Soubor job.sdt obsahuje podle všeho data ve tvaru NTS-660, v parametrech konverze "
                   "je ale nastaven přístroj NTS-350.")
            << QStringLiteral("Zapsáno: job.zap, job_kontrola.txt.") << false;
        QTest::newRow("nothing recognised: said instead of silence")
            << "" << -1 << QStringLiteral("Nebyl zapsán žádný soubor: v datech není žádný záznam ve tvaru NTS-350.")
            << QStringLiteral("Nebyl zapsán žádný soubor: v datech není žádný záznam ve tvaru NTS-350.") << false;
    }
    void f3Reports() {
        QFETCH(QString, example);
        QFETCH(int, flippedByte);
        QFETCH(QString, message);
        QFETCH(QString, receiptEnd);
        QFETCH(bool, findings);
        CommandController& controller = Controller(0);
        QByteArray measured =
            example.isEmpty() ? QByteArray("Zakázka 12\r\n") : TestFiles::Example(qPrintable(example));
        if (flippedByte >= 0) measured[flippedByte] = static_cast<char>(measured[flippedByte] ^ 0x01);
        const QString path = m_dir.filePath(QStringLiteral("job.sdt"));
        TestFiles::Write(path, measured);
        m_chooser.answers = {path};
        QStringList receipts;
        QStringList warnings;
        connect(&controller, &CommandController::ConversionReported, this,
                [&](const QByteArray& receipt, const QByteArray& warning) {
                    receipts << Cp1250::ToUnicode(receipt);
                    warnings << Cp1250::ToUnicode(warning);
                });
        ModalCloser closer;
        controller.Execute(CommandId::ConvertFile);
        QCOMPARE(closer.messages.filter(message.left(40)).size(), 1);
        QVERIFY2(closer.messages.filter(message.left(40)).first().startsWith(message),
                 qPrintable(closer.messages.join('|')));
        QCOMPARE(receipts.size(), 1);
        QVERIFY2(receipts.first().endsWith(receiptEnd), qPrintable(receipts.first()));
        QVERIFY(findings ? warnings.first().startsWith(message) : warnings.first().isEmpty());
        QCOMPARE(controller.Settings().deviceType, DeviceType::Nts350);
    }

    // A job with a backsight measured twice 32 mm apart and a point sighted three
    // times, once at another zenith angle: F3 writes the protocol beside the
    // field book and counts the findings, a click on the receipt opens the window,
    // which shows a finding's observations; the tool checks without writing.
    void fieldBookCheckInTheWindows() {
        CommandController& controller = Controller(0);
        const QString path = Copy("check", QStringLiteral("blunders-keyword.sdt"), QStringLiteral("job.sdt"));
        m_chooser.answers = {path, path};
        QStringList receipts;
        QList<CheckCounts> counts;
        connect(&controller, &CommandController::ConversionReported, this,
                [&](const QByteArray& receipt, const QByteArray&) { receipts << Cp1250::ToUnicode(receipt); });
        connect(&controller, &CommandController::FieldBookChecked, this,
                [&](const CheckCounts& checked) { counts << checked; });
        ModalCloser closer;

        controller.Execute(CommandId::ConvertFile);
        QVERIFY2(receipts.value(0).endsWith(
                     QStringLiteral("Kontrola zápisníku: 2 chybné, 1 podezřelé. Zapsáno: job.zap, job_kontrola.txt.")),
                 qPrintable(receipts.value(0)));
        QCOMPARE(counts.size(), 1);
        QCOMPARE(counts[0].wrong, 2);
        QCOMPARE(counts[0].suspicious, 1);
        QVERIFY(TestFiles::Read(m_dir.filePath(QStringLiteral("job_kontrola.txt"))).startsWith("\xEF\xBB\xBFKontrola"));
        QVERIFY(controller.HasCheckProtocol());

        controller.ShowLastCheck();
        auto* window = qobject_cast<ProtocolWindow*>(NamedTopLevel("protocolWindow"));
        QVERIFY(window);
        auto* findings = Widget<QTreeWidget>(window, "findingList");
        auto* observations = Widget<QTreeWidget>(window, "observationList");
        QCOMPARE(findings->topLevelItemCount(), 3);
        // The stations sharing one XYZ line come first.
        QCOMPARE(findings->topLevelItem(0)->text(0), QStringLiteral("chybné"));
        QVERIFY(findings->topLevelItem(0)->text(3).startsWith(QStringLiteral("souřadnice stanovisek")));
        QCOMPARE(findings->topLevelItem(1)->text(0), QStringLiteral("podezřelé"));
        QCOMPARE(findings->topLevelItem(1)->text(4), QStringLiteral("0.032 m"));
        // The two backsights to S1.
        findings->setCurrentItem(findings->topLevelItem(1));
        QCOMPARE(observations->topLevelItemCount(), 2);
        QCOMPARE(observations->topLevelItem(1)->text(0), QStringLiteral("3"));
        QCOMPARE(observations->topLevelItem(1)->text(2), QStringLiteral("orientace"));
        findings->setCurrentItem(findings->topLevelItem(2));
        QCOMPARE(findings->topLevelItem(2)->text(3), QStringLiteral("opakovaná záměra – výška"));
        QCOMPARE(observations->topLevelItemCount(), 1);
        QCOMPARE(observations->topLevelItem(0)->text(1), QStringLiteral("S3"));
        QCOMPARE(observations->topLevelItem(0)->text(4), QStringLiteral("114.1796"));
        window->close();

        // The tool: the same findings, no file written, the window at once.
        for (const QString& name : QDir(m_dir.path()).entryList({QStringLiteral("job?*")}))
            if (name != QLatin1String("job.sdt")) QVERIFY(QFile::remove(m_dir.filePath(name)));
        controller.Execute(CommandId::CheckFieldBook);
        QCOMPARE(QDir(m_dir.path()).entryList({QStringLiteral("job*")}), QStringList{QStringLiteral("job.sdt")});
        QVERIFY2(receipts.value(1).endsWith(QStringLiteral("Kontrola zápisníku: 2 chybné, 1 podezřelé.")),
                 qPrintable(receipts.value(1)));
        QCOMPARE(counts.size(), 2);
        window = qobject_cast<ProtocolWindow*>(NamedTopLevel("protocolWindow"));
        QVERIFY(window);
        QCOMPARE(Widget<QTreeWidget>(window, "findingList")->topLevelItemCount(), 3);
        window->close();
    }

    void toolsWithAndWithoutTheCurrentFile() {
        CommandController& controller = Controller(0);
        Copy("convert", QStringLiteral("nts350-job.sdt"), QStringLiteral("nts350-job.sdt"));
        // Choosing job.txt converts job.sdt.
        m_chooser.answers = {m_dir.filePath(QStringLiteral("nts350-job.txt"))};
        ModalCloser closer;
        controller.Execute(CommandId::HorizontalDistances);
        QCOMPARE(TestFiles::Read(m_dir.filePath(QStringLiteral("nts350-job.vod"))), Golden(".vod"));
        QCOMPARE(m_chooser.requests.size(), 1);

        controller.Execute(CommandId::UseCurrent);
        controller.Execute(CommandId::Headers);
        QCOMPARE(m_chooser.requests.size(), 1);
        QCOMPARE(TestFiles::Read(m_dir.filePath(QStringLiteral("nts350-job.pol"))), Golden(".pol"));
    }

    void dxfFromATextListAndFromTheCurrentMeasuredData() {
        CommandController& controller = Controller(0);
        m_chooser.answers = {Copy("dxf", QStringLiteral("several.txt"), QStringLiteral("body.txt"))};
        ModalCloser closer;
        controller.Execute(CommandId::ExportXyzDxf);
        const QByteArray fromList = TestFiles::Read(m_dir.filePath(QStringLiteral("body.dxf")));
        QVERIFY(fromList.contains("AC1009"));
        QVERIFY(fromList.contains("hranice"));

        Copy("convert", QStringLiteral("nts350-job.sdt"), QStringLiteral("nts350-job.sdt"));
        controller.File().RememberChosenFile(m_dir.filePath(QStringLiteral("nts350-job.sdt")));
        controller.Execute(CommandId::UseCurrent);
        controller.Execute(CommandId::ExportXyzDxf);
        QCOMPARE(m_chooser.requests.size(), 1);
        QVERIFY(TestFiles::Read(m_dir.filePath(QStringLiteral("nts350-job.dxf"))).contains("AC1009"));
    }
};

QTEST_MAIN(CommandFlowTest)
#include "CommandFlowTest.moc"
