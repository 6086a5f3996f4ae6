#include "gui/serial/CommunicationDialog.h"

#include "base/Prompter.h"
#include "base/SettingsStore.h"
#include "base/Texts.h"
#include "gui/common/DialogUnits.h"
#include "gui/common/UiText.h"
#include "gui/common/WindowTexts.h"
#include "serial/LineSettings.h"
#include "serial/PortError.h"
#include "serial/PortNames.h"
#include "serial/SerialLink.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSerialPortInfo>
#include <QStyle>
#include <QVBoxLayout>

namespace {

constexpr int kOfferedSpeeds = 14;  // the last entry of the speed table is not offered
constexpr int kFirstDataBits = 5;
constexpr int kCaptionExtraWidth = 96;  // pixels of the title bar beside its text

// The item of a stored value, or -1 (no selection) when the list does not offer it.
int ItemOf(int value, int count) { return value >= 0 && value < count ? value : -1; }

#ifndef Q_OS_WIN
// The serial devices present on this machine, as paths to open.
QStringList PresentDevices() {
    QStringList devices;
    const QList<QSerialPortInfo> ports = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo& port : ports) devices << port.systemLocation();
    devices.sort();
    return devices;
}
#endif

// The COMn ports of the system's list of serial ports.
QList<int> PresentPortNumbers() {
    QList<int> numbers;
    const QList<QSerialPortInfo> ports = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo& port : ports) {
        if (const int number = PortNames::NumberOf(port.portName())) numbers << number;
    }
    return numbers;
}

}  // namespace

CommunicationDialog::CommunicationDialog(SerialLink& link, SettingsStore& store, Prompter& prompter, QWidget* parent)
    : CommunicationDialog(link, store, prompter, PresentPortNumbers, parent) {}

CommunicationDialog::CommunicationDialog(SerialLink& link, SettingsStore& store, Prompter& prompter,
                                         const PortLister& presentPorts, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      m_link(link),
      m_store(store),
      m_prompter(prompter),
      m_before(link.Settings()) {
    setWindowTitle(UiText(WindowTexts::kCommDialogCaption));
    setModal(true);
    const SerialSettings& current = m_link.Settings();

    auto* group = new QGroupBox(UiText(WindowTexts::kCommGroup), this);
    auto* grid = new QGridLayout(group);
    // The labels keep a gap from their lists whatever the style and the text size.
    grid->setHorizontalSpacing(DialogUnits(font()).X(8));
    QStringList speeds;
    for (int index = 0; index < kOfferedSpeeds; ++index) speeds << QString::number(SpeedOfIndex(index));
    m_port = AddPortList(grid, current.commPort, presentPorts);
    int row = 1;
#ifndef Q_OS_WIN
    // Which device the chosen port opens on this machine.
    m_device = new QComboBox(group);
    m_device->setObjectName(QStringLiteral("deviceCombo"));
    m_device->setEditable(true);
    m_device->setMinimumContentsLength(14);
    m_device->setInsertPolicy(QComboBox::NoInsert);
    m_device->addItems(PresentDevices());
    m_device->setToolTip(UiText(WindowTexts::kCommDeviceTip));
    auto* deviceLabel = new QLabel(UiText(WindowTexts::kCommDeviceLabel), group);
    deviceLabel->setBuddy(m_device);
    grid->addWidget(deviceLabel, row, 0);
    grid->addWidget(m_device, row, 1);
    ++row;
#endif
    m_speed = AddList(grid, row++, "baudRateCombo", WindowTexts::kCommSpeedLabel, speeds,
                      ItemOf(current.baudRate, kOfferedSpeeds));
    m_dataBits = AddList(grid, row++, "dataBitsCombo", WindowTexts::kCommDataBitsLabel,
                         {UiText(WindowTexts::kCommDataBits5), UiText(WindowTexts::kCommDataBits6),
                          UiText(WindowTexts::kCommDataBits7), UiText(WindowTexts::kCommDataBits8)},
                         ItemOf(current.byteSize - kFirstDataBits, 4));
    m_parity = AddList(grid, row++, "parityCombo", WindowTexts::kCommParityLabel,
                       {UiText(WindowTexts::kCommParityNone), UiText(WindowTexts::kCommParityOdd),
                        UiText(WindowTexts::kCommParityEven)},
                       ItemOf(current.parity, 3));
    m_stopBits = AddList(grid, row++, "stopBitsCombo", WindowTexts::kCommStopBitsLabel,
                         {UiText(WindowTexts::kCommStopBits1), UiText(WindowTexts::kCommStopBits15),
                          UiText(WindowTexts::kCommStopBits2)},
                         ItemOf(current.stopBits, 3));
    grid->addWidget(new QLabel(UiText(WindowTexts::kCommFlowNote), group), row, 0, 1, 2);
    grid->setColumnStretch(1, 1);

    auto* icon = new QLabel(this);
    const QIcon windowIcon = QApplication::windowIcon().isNull() ? style()->standardIcon(QStyle::SP_ComputerIcon)
                                                                 : QApplication::windowIcon();
    icon->setPixmap(windowIcon.pixmap(32, 32));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("okButton"));
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &CommunicationDialog::accept);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(icon);
    bottom->addStretch(1);
    bottom->addWidget(buttons);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addLayout(bottom);
    // Wide enough for the whole caption: a title bar's font is often bolder than
    // the dialog's, and the bar holds the window's icon and close button besides.
    QFont captionFont = font();
    captionFont.setBold(true);
    const int captionWidth = QFontMetrics(captionFont).horizontalAdvance(windowTitle()) * 5 / 4 + kCaptionExtraWidth;
    resize(sizeHint().expandedTo(DialogUnits(font()).Size(146, 154)).expandedTo(QSize(captionWidth, 0)));

    if (m_device) {
        m_shownPort = ChosenPort();
        ShowDeviceOfPort();
        connect(m_port, &QComboBox::currentIndexChanged, this, [this] {
            KeepTypedDevice();
            m_shownPort = ChosenPort();
            ShowDeviceOfPort();
        });
    }
}

QComboBox* CommunicationDialog::AddList(QGridLayout* grid, int row, const char* name, const UserText& label,
                                        const QStringList& items, int selected) {
    auto* list = new QComboBox(grid->parentWidget());
    list->setObjectName(QLatin1String(name));
    list->addItems(items);
    list->setCurrentIndex(selected);
    auto* caption = new QLabel(UiText(label), grid->parentWidget());
    caption->setBuddy(list);
    grid->addWidget(caption, row, 0);
    grid->addWidget(list, row, 1);
    return list;
}

QComboBox* CommunicationDialog::AddPortList(QGridLayout* grid, int current, const PortLister& presentPorts) {
#ifdef Q_OS_WIN
    const QList<int> present = presentPorts ? presentPorts() : QList<int>();
    const QList<int> ports = PortNames::OfferedPorts(present, current);
#else
    // The device field says what a port opens; the list stays COM1..COM9.
    (void)presentPorts;
    QList<int> ports;
    for (int port = 1; port <= PortNames::kListedPorts; ++port) ports << port;
#endif
    QStringList names;
    for (int port : ports) {
        QString name = PortNames::KeyOf(port);
#ifdef Q_OS_WIN
        if (!present.contains(port)) name = UiText(WindowTexts::kCommPortAbsent).arg(name);
#endif
        names << name;
    }
    QComboBox* list = AddList(grid, 0, "portCombo", WindowTexts::kCommPortLabel, names, ports.indexOf(current));
    for (int item = 0; item < ports.size(); ++item) list->setItemData(item, ports[item]);
    return list;
}

int CommunicationDialog::ChosenPort() const { return m_port->currentIndex() < 0 ? 0 : m_port->currentData().toInt(); }

void CommunicationDialog::ShowDeviceOfPort() {
    if (!m_device) return;
    if (m_shownPort < 1) {
        m_device->setEditText({});
        m_device->setEnabled(false);
        return;
    }
    m_device->setEnabled(true);
    if (!m_devices.contains(m_shownPort)) m_devices[m_shownPort] = PortNames::DeviceOf(m_store, m_shownPort);
    m_device->setEditText(m_devices[m_shownPort]);
}

void CommunicationDialog::KeepTypedDevice() {
    if (m_device && m_shownPort >= 1) m_devices[m_shownPort] = m_device->currentText().trimmed();
}

void CommunicationDialog::TellTestFailed(const PortError& error) {
    m_prompter.Tell(Text(WindowTexts::kCommTestFailed) + '\n' + PortErrorText(error, WindowTexts::kCommTestAdvice));
}

void CommunicationDialog::accept() {
    if (m_link.IsOpen()) m_link.Close();

    // A list without a selection has no value of the tables; the port is not
    // opened with a guess.
    const QComboBox* lists[] = {m_port, m_speed, m_dataBits, m_parity, m_stopBits};
    for (const QComboBox* list : lists) {
        if (list->currentIndex() < 0) {
            TellTestFailed(PortError{PortError::Kind::NotChosen, {}, 0, {}});
            return;
        }
    }

    SerialSettings chosen;
    chosen.commPort = static_cast<quint8>(ChosenPort());
    chosen.baudRate = static_cast<quint8>(m_speed->currentIndex());
    chosen.byteSize = static_cast<quint8>(m_dataBits->currentIndex() + kFirstDataBits);
    chosen.parity = static_cast<quint8>(m_parity->currentIndex());
    chosen.stopBits = static_cast<quint8>(m_stopBits->currentIndex());
    // From here on these are the settings in use, whatever the test says.
    m_link.SetSettings(chosen);

    // The test opens the device the dialog shows, before anything is stored.
    QString device;
    if (m_device) {
        KeepTypedDevice();
        device = m_devices.value(chosen.commPort);
        if (device.isEmpty()) device = PortNames::DefaultDevice(chosen.commPort);
        m_link.SetDevice(device);
    }
    const bool opened = m_link.Open(true);
    const PortError error = m_link.OpenError();
    if (opened) m_link.Close();
    if (m_device) m_link.SetDevice({});
    if (!opened) {
        TellTestFailed(error);
        return;
    }

    // Only what changed is written: values another copy of the program stored
    // meanwhile stay. The values are in use either way; a profile that cannot be
    // written loses them at the next start, and the user hears of it.
    bool saved = true;
    if (m_device && device != PortNames::DeviceOf(m_store, chosen.commPort)) {
        m_store.WriteString(QString::fromLatin1(PortNames::kSection), PortNames::KeyOf(chosen.commPort), device);
        saved = m_store.Sync();
    }
    if (saved) saved = SaveChangedSerialSettings(m_store, m_before, chosen);
    if (!saved) m_prompter.Tell(UnsavedSettingsText(m_store));
    QDialog::accept();
}

void CommunicationDialog::reject() {
    // A failed test left its values in the link: Esc brings back those in use before.
    m_link.SetSettings(m_before);
    QDialog::reject();
}
