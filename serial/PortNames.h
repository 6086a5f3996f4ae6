#pragma once
// Which device a port number opens. On Windows port n is the device "\\.\COMn".
// On Linux the profile section "Ports" may name the device of each port (key
// "COM1" = "/dev/ttyUSB0", ...); without an entry port n is /dev/ttyS(n-1).
// Port 0 names no device (an empty string).

#include <QString>
#include <QStringList>

class SettingsStore;

namespace PortNames {

inline constexpr char kSection[] = "Ports";

// "COM3" for 3.
QString KeyOf(int commPort);
// The platform's device of a port when the profile names none.
QString DefaultDevice(int commPort);
// The device of a port as the profile maps it.
QString DeviceOf(const SettingsStore& store, int commPort);

}  // namespace PortNames
