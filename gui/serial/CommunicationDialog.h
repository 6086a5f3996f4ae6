#pragma once
// The dialog of the serial line: port COM1..COM9, speed, data bits, parity and
// stop bits. On OK it takes the chosen values into the link and opens the port
// with them, reader and all, as a reception would; only when that succeeds are
// the values that changed stored, and the dialog closes. A failure keeps the
// dialog open and stores nothing. Esc and the close box leave without storing,
// and the link keeps the values it had when the dialog opened.
//
// Beside the port list the dialog names the device that the chosen port opens
// (profile section "Ports", for example COM1 = /dev/ttyUSB0), editable, with the
// serial devices present offered in its list; it is stored with the five values.
// On Windows the port is the device itself: the list offers COM1..COM9 and the
// ports present above them, and names a port the system does not report as not
// found; there is no device field.
// A profile that cannot be written is reported; the dialog still closes.
// A list without a selection (a stored value the list does not offer) fails the
// test without the port being opened.

#include "base/ConversionSettings.h"
#include "base/Texts.h"

#include <QDialog>
#include <QList>
#include <QMap>
#include <QString>

#include <functional>

class Prompter;
class QComboBox;
struct PortError;
class QGridLayout;
class SerialLink;
class SettingsStore;

class CommunicationDialog : public QDialog {
    Q_OBJECT
public:
    // The numbers of the serial ports present on this machine.
    using PortLister = std::function<QList<int>()>;

    // The ports present come from the system's list of serial ports.
    CommunicationDialog(SerialLink& link, SettingsStore& store, Prompter& prompter, QWidget* parent = nullptr);
    CommunicationDialog(SerialLink& link, SettingsStore& store, Prompter& prompter, const PortLister& presentPorts,
                        QWidget* parent = nullptr);

    // OK: the test opening and, when it passes, the storing.
    void accept() override;
    // Esc, the close box: the link's values as they were.
    void reject() override;

private:
    // "Nastavení komunikace selhalo!", why, and what to change.
    void TellTestFailed(const PortError& error);
    void ShowDeviceOfPort();
    void KeepTypedDevice();
    QComboBox* AddList(QGridLayout* grid, int row, const char* name, const UserText& label, const QStringList& items,
                       int selected);
    // The port list: each item carries its port number.
    QComboBox* AddPortList(QGridLayout* grid, int current, const PortLister& presentPorts);
    // The port number of the selected item; 0 when nothing is selected.
    int ChosenPort() const;

    SerialLink& m_link;
    SettingsStore& m_store;
    Prompter& m_prompter;
    QComboBox* m_port;
    QComboBox* m_speed;
    QComboBox* m_dataBits;
    QComboBox* m_parity;
    QComboBox* m_stopBits;
    QComboBox* m_device = nullptr;
    // The device of each port as the dialog shows it: the stored one until edited.
    QMap<int, QString> m_devices;
    int m_shownPort = 0;
    SerialSettings m_before;  // the link's values when the dialog opened
};
