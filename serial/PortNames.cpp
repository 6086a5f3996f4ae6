#include "serial/PortNames.h"

#include "base/SettingsStore.h"

namespace PortNames {

QString KeyOf(int commPort) { return QStringLiteral("COM%1").arg(commPort); }

QString DefaultDevice(int commPort) {
    if (commPort < 1) return {};
#ifdef _WIN32
    return QStringLiteral("\\\\.\\COM%1").arg(commPort);
#else
    return QStringLiteral("/dev/ttyS%1").arg(commPort - 1);
#endif
}

QString DeviceOf(const SettingsStore& store, int commPort) {
    if (commPort < 1) return {};
    const QString named = store.ReadString(QString::fromLatin1(kSection), KeyOf(commPort)).trimmed();
    return named.isEmpty() ? DefaultDevice(commPort) : named;
}

}  // namespace PortNames
