// The communication dialog on Windows, where the port is the device itself: the
// list offers COM1..COM9 and the ports present above them, names the ports the
// system does not report, and has no device field. The test opening goes to a
// real COM port when the suite provides one (TARVO_TEST_COM_PORT, a port the
// system lists, with the simulated instrument at its far end).

#include "gui/serial/CommunicationDialog.h"

#include "base/Cp1250.h"
#include "base/SettingsStore.h"
#include "serial/SerialLink.h"
#include "tests/gui/NamedWidget.h"
#include "tests/serial/SerialTestSupport.h"
#include "tests/support/ScriptedPrompter.h"

#include <QComboBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct Setup {
    QTemporaryDir dir;
    SettingsStore store{dir.filePath("profile.ini")};
    ScriptedPrompter prompter;
    SerialLink link{CreatePlatformSerialDevice};

    void PressOk(CommunicationDialog& dialog) {
        QTest::mouseClick(Widget<QPushButton>(dialog, "okButton"), Qt::LeftButton);
    }
    QStringList Items(const QComboBox* list) {
        QStringList items;
        for (int i = 0; i < list->count(); ++i) items << list->itemText(i);
        return items;
    }
};

}  // namespace

class CommunicationDialogWindowsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void listNamesThePortsNotFound() {
        Setup setup;
        setup.link.SetSettings(SerialTest::Stored(3, 5, 8, 0, 0));
        CommunicationDialog dialog(setup.link, setup.store, setup.prompter, [] { return QList<int>{3, 12}; });
        const QStringList expected{"COM1 (nenalezen)",
                                   "COM2 (nenalezen)",
                                   "COM3",
                                   "COM4 (nenalezen)",
                                   "COM5 (nenalezen)",
                                   "COM6 (nenalezen)",
                                   "COM7 (nenalezen)",
                                   "COM8 (nenalezen)",
                                   "COM9 (nenalezen)",
                                   "COM12"};
        QCOMPARE(setup.Items(Widget<QComboBox>(dialog, "portCombo")), expected);
        QCOMPARE(Widget<QComboBox>(dialog, "portCombo")->currentText(), QStringLiteral("COM3"));
        QVERIFY(!HasWidget<QComboBox>(dialog, "deviceCombo"));
    }

    void portNotFoundFailsTheTestAndStoresNothing() {
        Setup setup;
        setup.link.SetSettings(SerialTest::Stored(17, 5, 8, 0, 0));
        CommunicationDialog dialog(setup.link, setup.store, setup.prompter, [] { return QList<int>{}; });
        dialog.show();
        QCOMPARE(Widget<QComboBox>(dialog, "portCombo")->currentText(), QStringLiteral("COM17 (nenalezen)"));
        setup.PressOk(dialog);

        QCOMPARE(setup.prompter.messages.size(), 1);
        const QString told = Cp1250::ToUnicode(setup.prompter.messages.first().text);
        QVERIFY2(told.startsWith(QStringLiteral("Nastavení komunikace selhalo!\nPort COM17 ")), qPrintable(told));
        QVERIFY(dialog.isVisible());
        QCOMPARE(setup.store.ReadInt("CommPort", -1), -1);
        QVERIFY(!setup.link.IsOpen());
    }

    void presentPortAboveNinePassesAndIsStored() {
        const int port = qEnvironmentVariableIntValue("TARVO_TEST_COM_PORT");
        if (port <= 9) QSKIP("no COM port above COM9 with an instrument behind it (TARVO_TEST_COM_PORT)");
        Setup setup;
        // The system's own list of serial ports finds it.
        CommunicationDialog dialog(setup.link, setup.store, setup.prompter);
        dialog.show();
        const int item = Widget<QComboBox>(dialog, "portCombo")->findText(QStringLiteral("COM%1").arg(port));
        QVERIFY(item >= 9);
        Widget<QComboBox>(dialog, "portCombo")->setCurrentIndex(item);
        Widget<QComboBox>(dialog, "baudRateCombo")->setCurrentIndex(6);
        setup.PressOk(dialog);

        QVERIFY(setup.prompter.messages.isEmpty());
        QVERIFY(!dialog.isVisible());
        QCOMPARE(setup.store.ReadInt("CommPort", -1), port);
        QCOMPARE(setup.store.ReadInt("BaudRate", -1), 6);
        QCOMPARE(int(setup.link.Settings().commPort), port);
        QVERIFY(!setup.link.IsOpen());
    }
};

QTEST_MAIN(CommunicationDialogWindowsTest)
#include "CommunicationDialogWindowsTest.moc"
