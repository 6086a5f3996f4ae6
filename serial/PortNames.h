#pragma once
// Which device a port number opens. On Windows port n is the device "\\.\COMn"
// itself. On Linux the profile section "Ports" may name the device of each port
// (key "COM1" = "/dev/ttyUSB0", ...); without an entry port n is /dev/ttyS(n-1).
// Port 0 names no device (an empty string).

#include <QList>
#include <QString>
#include <QStringList>

class SettingsStore;

namespace PortNames {

inline constexpr char kSection[] = "Ports";
// The communication dialog always offers COM1..COM9.
inline constexpr int kListedPorts = 9;
// The largest port number the stored "CommPort" (8 bits) can hold.
inline constexpr int kLargestPort = 255;

// "COM3" for 3.
QString KeyOf(int commPort);
// 3 for "COM3" (any case); 0 for a name that is not COMn with n in 1..255.
int NumberOf(const QString& portName);
// The platform's device of a port when the profile names none.
QString DefaultDevice(int commPort);
// The device of a port as the profile maps it (on Windows the port itself).
QString DeviceOf(const SettingsStore& store, int commPort);

// The ports a port list offers, in ascending order: COM1..COM9 always, then the
// ports present above COM9 (a USB adapter often gets one), and the current port
// wherever it lies, so that the list can show what is in use.
QList<int> OfferedPorts(const QList<int>& present, int current);

}  // namespace PortNames
