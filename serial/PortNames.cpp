#include "serial/PortNames.h"

#include "base/SettingsStore.h"

#include <algorithm>

namespace PortNames {

QString KeyOf(int commPort) { return QStringLiteral("COM%1").arg(commPort); }

int NumberOf(const QString& portName) {
    if (portName.size() < 4 || !portName.startsWith(QLatin1String("COM"), Qt::CaseInsensitive)) return 0;
    bool ok = false;
    const QString digits = portName.mid(3);
    const int number = digits.toInt(&ok);
    if (!ok || digits.front() == QLatin1Char('0') || !digits.front().isDigit()) return 0;
    return number >= 1 && number <= kLargestPort ? number : 0;
}

QString DefaultDevice(int commPort) {
    if (commPort < 1) return {};
#ifdef _WIN32
    return KeyOf(commPort);  // the serial device opens it as «\\.\COMn»
#else
    return QStringLiteral("/dev/ttyS%1").arg(commPort - 1);
#endif
}

QString DeviceOf(const SettingsStore& store, int commPort) {
    if (commPort < 1) return {};
#ifdef _WIN32
    (void)store;
    return DefaultDevice(commPort);
#else
    const QString named = store.ReadString(QString::fromLatin1(kSection), KeyOf(commPort)).trimmed();
    return named.isEmpty() ? DefaultDevice(commPort) : named;
#endif
}

QList<int> OfferedPorts(const QList<int>& present, int current) {
    QList<int> ports;
    for (int port = 1; port <= kListedPorts; ++port) ports << port;
    QList<int> more = present;
    if (current > kListedPorts && current <= kLargestPort) more << current;
    std::sort(more.begin(), more.end());
    for (int port : more) {
        if (port > kListedPorts && port <= kLargestPort && ports.last() != port) ports << port;
    }
    return ports;
}

}  // namespace PortNames
