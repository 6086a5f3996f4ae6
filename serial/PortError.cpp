#include "serial/PortError.h"

#include "base/Cp1250.h"
#include "base/FileError.h"

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
        case PortError::Kind::NoAccess: {
            // Serial devices belong to the group "dialout" on the usual Linux systems.
            const QByteArray group = error.group.isEmpty() ? QByteArray("dialout") : Cp1250::FromUnicode(error.group);
            return TextFilled(Texts::kPortNoAccess, {DisplayPath(error.device), group});
        }
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
