#include "serial/PortError.h"

#include "base/Cp1250.h"
#include "base/FileIo.h"

namespace {

// The device as the user knows it: on Windows the link opens «\\.\COM17», which the
// user knows as COM17.
QByteArray Device(const PortError& error) {
    const QString prefix = QStringLiteral("\\\\.\\");
    return DisplayPath(error.device.startsWith(prefix) ? error.device.mid(prefix.size()) : error.device);
}

}  // namespace

QByteArray PortErrorReason(const PortError& error) {
    switch (error.kind) {
        case PortError::Kind::None:
        case PortError::Kind::NotChosen:
            return Text(Texts::kPortNotChosen);
        case PortError::Kind::Missing:
#ifdef _WIN32
            return TextFilled(Texts::kPortMissingWindows, {Device(error)});
#else
            return TextFilled(Texts::kPortMissing, {Device(error)});
#endif
        case PortError::Kind::NoAccess: {
            // Serial devices belong to the group "dialout" on the usual Linux systems.
            const QByteArray group = error.group.isEmpty() ? QByteArray("dialout") : Cp1250::FromUnicode(error.group);
            return TextFilled(Texts::kPortNoAccess, {Device(error), group});
        }
        case PortError::Kind::Busy:
            return TextFilled(Texts::kPortBusy, {Device(error)});
        case PortError::Kind::NotSerial:
            return TextFilled(Texts::kPortNotSerial, {Device(error)});
        case PortError::Kind::LineRefused:
            return TextFilled(Texts::kPortLineRefused, {Device(error)});
        case PortError::Kind::ReaderFailed:
            return TextFilled(Texts::kPortReaderFailed, {Device(error)});
        case PortError::Kind::System:
            break;
    }
    return TextFilled(Texts::kPortSystemError, {Device(error), QByteArray::number(error.systemCode)});
}

QByteArray PortErrorText(const PortError& error, const UserText& advice) {
    QByteArray text = PortErrorReason(error);
    if (error.kind != PortError::Kind::NoAccess && error.kind != PortError::Kind::Busy) text += '\n' + Text(advice);
    return text;
}
