#include "serial/PortError.h"

#include "base/Cp1250.h"
#include "base/FileError.h"

bool IsSerialDeviceGroup(const QString& group) {
    return group == QLatin1String("dialout") || group == QLatin1String("uucp") || group == QLatin1String("tty");
}

QByteArray PortErrorReason(const PortError& error) {
    switch (error.kind) {
        case PortError::Kind::None:
        case PortError::Kind::NotChosen:
            return Text(Texts::kPortNotChosen);
        case PortError::Kind::Missing:
#ifdef _WIN32
            return TextFilled(Texts::kPortMissingWindows, {DisplayPath(error.device)});
#else
            return TextFilled(Texts::kPortMissing, {DisplayPath(error.device)});
#endif
        case PortError::Kind::NoAccess:
            // Joining a group of serial devices gives the ports and no more; any other
            // owner (root, disk, a group nobody knows) is for the administrator to open.
            if (IsSerialDeviceGroup(error.group))
                return TextFilled(Texts::kPortNoAccess, {DisplayPath(error.device), Cp1250::FromUnicode(error.group)});
            return TextFilled(Texts::kPortNoAccessAskAdministrator, {DisplayPath(error.device)});
        case PortError::Kind::Busy:
            return TextFilled(Texts::kPortBusy, {DisplayPath(error.device)});
        case PortError::Kind::NotSerial:
            return TextFilled(Texts::kPortNotSerial, {DisplayPath(error.device)});
        case PortError::Kind::LineRefused:
            return TextFilled(Texts::kPortLineRefused, {DisplayPath(error.device)});
        case PortError::Kind::ReaderFailed:
            return TextFilled(Texts::kPortReaderFailed, {DisplayPath(error.device)});
        case PortError::Kind::System:
            break;
    }
    return TextFilled(Texts::kPortSystemError, {DisplayPath(error.device), QByteArray::number(error.systemCode)});
}

QByteArray PortErrorText(const PortError& error, const UserText& advice) {
    QByteArray text = PortErrorReason(error);
    if (error.kind != PortError::Kind::NoAccess && error.kind != PortError::Kind::Busy) text += '\n' + Text(advice);
    return text;
}
