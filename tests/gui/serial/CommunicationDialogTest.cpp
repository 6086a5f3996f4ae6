#include "gui/serial/CommunicationDialog.h"

#include "base/Cp1250.h"
#include "base/SettingsStore.h"
#include "serial/PortNames.h"
#include "tests/gui/NamedWidget.h"
#include "tests/serial/SerialTestSupport.h"
#include "tests/support/ScriptedPrompter.h"
#include "tests/support/TestFiles.h"

#include <QComboBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using SerialTest::PtyLink;

namespace {

struct Setup {
    QTemporaryDir dir;
    SettingsStore store{dir.filePath("profile.ini")};
    ScriptedPrompter prompter;
    PtyLink pty;

    void PressOk(CommunicationDialog& dialog) {
        QTest::mouseClick(Widget<QPushButton>(dialog, "okButton"), Qt::LeftButton);
    }
    bool AnythingStored() const {
        return store.ReadInt("CommPort", -1) != -1 || store.ReadInt("BaudRate", -1) != -1 ||
               store.ReadInt("ByteSize", -1) != -1 || store.ReadInt("Parity", -1) != -1 ||
               store.ReadInt("StopBits", -1) != -1 || !store.ReadString("Ports", "COM3").isEmpty();
    }
};

}  // namespace

class CommunicationDialogTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void listsShowTheSettingsInUse() {
        Setup setup;
        setup.pty.link.SetSettings(SerialTest::Stored(3, 6, 7, 1, 2));
        CommunicationDialog dialog(setup.pty.link, setup.store, setup.prompter);
        QCOMPARE(Widget<QComboBox>(dialog, "portCombo")->currentText(), QStringLiteral("COM3"));
        QCOMPARE(Widget<QComboBox>(dialog, "baudRateCombo")->currentText(), QStringLiteral("9600"));
        QCOMPARE(Widget<QComboBox>(dialog, "dataBitsCombo")->currentText(), QStringLiteral("7 bitů"));
        QCOMPARE(Widget<QComboBox>(dialog, "parityCombo")->currentText(), QStringLiteral("lichá"));
        QCOMPARE(Widget<QComboBox>(dialog, "stopBitsCombo")->currentText(), QStringLiteral("2  bity"));
        QCOMPARE(Widget<QComboBox>(dialog, "baudRateCombo")->count(), 14);
        QCOMPARE(Widget<QComboBox>(dialog, "deviceCombo")->currentText(), PortNames::DefaultDevice(3));
    }

    void successStoresTheFiveValuesAndTheDevice() {
        Setup setup;
        QVERIFY(setup.pty.Open());
        CommunicationDialog dialog(setup.pty.link, setup.store, setup.prompter);
        dialog.show();
        Widget<QComboBox>(dialog, "portCombo")->setCurrentIndex(2);
        Widget<QComboBox>(dialog, "deviceCombo")->setEditText(setup.pty.instrument.DevicePath());
        Widget<QComboBox>(dialog, "baudRateCombo")->setCurrentIndex(6);
        // A pseudo-terminal keeps only eight data bits without parity.
        Widget<QComboBox>(dialog, "dataBitsCombo")->setCurrentIndex(3);
        Widget<QComboBox>(dialog, "parityCombo")->setCurrentIndex(0);
        Widget<QComboBox>(dialog, "stopBitsCombo")->setCurrentIndex(2);
        setup.PressOk(dialog);

        QVERIFY(setup.prompter.messages.isEmpty());
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        // The profile gives the five values; those already in use are not written again.
        ConversionSettings settings;
        SerialSettings stored;
        LoadRemainingSettings(setup.store, settings, stored);
        QCOMPARE(QList<int>({stored.commPort, stored.baudRate, stored.byteSize, stored.parity, stored.stopBits}),
                 QList<int>({3, 6, 8, 0, 2}));
        QCOMPARE(setup.store.ReadString("Ports", "COM3"), setup.pty.instrument.DevicePath());
        QCOMPARE(PortNames::DeviceOf(setup.store, 3), setup.pty.instrument.DevicePath());
        const SerialSettings inUse = setup.pty.link.Settings();
        QCOMPARE(inUse.commPort, 3);
        QCOMPARE(inUse.baudRate, 6);
        QVERIFY(!setup.pty.link.IsOpen());
    }

    void unwritableProfileIsReportedAndTheValuesStayInUse() {
        Setup setup;
        QVERIFY(setup.pty.Open());
        // The profile's folder is a file: nobody can write there, not even root.
        TestFiles::Write(setup.dir.filePath("blocked"), {});
        SettingsStore store(setup.dir.filePath("blocked/profile.ini"));
        setup.pty.link.SetSettings(SerialTest::Stored(3, 6, 8, 0, 0));
        CommunicationDialog dialog(setup.pty.link, store, setup.prompter);
        dialog.show();
        Widget<QComboBox>(dialog, "deviceCombo")->setEditText(setup.pty.instrument.DevicePath());
        setup.PressOk(dialog);

        QCOMPARE(setup.prompter.messages.size(), 1);
        QCOMPARE(setup.prompter.messages.first().text, UnsavedSettingsText(store));
        QVERIFY(!dialog.isVisible());
        QCOMPARE(int(setup.pty.link.Settings().baudRate), 6);
    }

    void failureKeepsTheDialogOpenAndStoresNothing_data() {
        QTest::addColumn<int>("storedBaudRate");
        QTest::addColumn<QString>("device");
        QTest::addColumn<QString>("reason");  // the message's line between headline and advice
        QTest::newRow("device missing: says so, naming it")
            << 5 << QStringLiteral("/nonexistent/ttyS8")
            << QStringLiteral("Zařízení /nonexistent/ttyS8 neexistuje (převodník není připojen nebo má jiný název).");
        QTest::newRow("speed list without a selection")
            << 14 << QString() << QStringLiteral("Některý parametr komunikace není zvolen nebo není v nabídce.");
    }
    void failureKeepsTheDialogOpenAndStoresNothing() {
        QFETCH(int, storedBaudRate);
        QFETCH(QString, device);
        QFETCH(QString, reason);
        Setup setup;
        QVERIFY(setup.pty.Open());
        if (device.isEmpty()) device = setup.pty.instrument.DevicePath();
        setup.pty.link.SetSettings(SerialTest::Stored(3, storedBaudRate, 8, 0, 0));
        CommunicationDialog dialog(setup.pty.link, setup.store, setup.prompter);
        dialog.show();
        Widget<QComboBox>(dialog, "deviceCombo")->setEditText(device);
        setup.PressOk(dialog);

        QCOMPARE(setup.prompter.messages.size(), 1);
        QCOMPARE(Cp1250::ToUnicode(setup.prompter.messages.first().text),
                 QStringLiteral("Nastavení komunikace selhalo!\n") + reason +
                     QStringLiteral("\nZměňte nastavení komunikace."));
        QCOMPARE(setup.prompter.messages.first().icon, MessageIcon::Exclamation);
        QVERIFY(dialog.isVisible());
        QVERIFY(!setup.AnythingStored());
        QVERIFY(!setup.pty.link.IsOpen());
        // A list without a selection gives the link nothing of its own.
        QCOMPARE(int(setup.pty.link.Settings().baudRate), storedBaudRate);

        // Esc after the failed test: the port and values in use before come back.
        Widget<QComboBox>(dialog, "portCombo")->setCurrentIndex(4);
        Widget<QComboBox>(dialog, "deviceCombo")->setEditText(QStringLiteral("/nonexistent/ttyS9"));
        setup.PressOk(dialog);
        QCOMPARE(setup.prompter.messages.size(), 2);
        QTest::keyClick(&dialog, Qt::Key_Escape);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(int(setup.pty.link.Settings().commPort), 3);
        QCOMPARE(int(setup.pty.link.Settings().baudRate), storedBaudRate);
        QVERIFY(!setup.AnythingStored());
    }
};

QTEST_MAIN(CommunicationDialogTest)
#include "CommunicationDialogTest.moc"
