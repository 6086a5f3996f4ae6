#pragma once
// Why a serial port did not open, as a value: the backend says what the system
// reported, the link adds the device it tried. The window program and tarvo-cli
// both turn it into the same Czech sentence, each with its own advice.

#include "base/Texts.h"

#include <QByteArray>
#include <QString>

struct PortError {
    enum class Kind {
        None,
        NotChosen,     // no port, or a line setting outside its table; nothing was opened
        Missing,       // the device does not exist
        NoAccess,      // the user may not open the device
        Busy,          // another program holds the port
        NotSerial,     // the device exists but is no serial port
        LineRefused,   // the driver refused the line settings
        ReaderFailed,  // the reader thread could not start
        System,        // any other failure; systemCode tells which
    };
    Kind kind = Kind::None;
    QString device;      // what the link tried to open ("/dev/ttyUSB0", "COM3")
    int systemCode = 0;  // errno, or the Windows error code
    QString group;       // Linux: the group that owns the device (NoAccess)
};

// Whether a group is one the usual Linux systems give serial devices to (dialout,
// uucp, tty): the one group a user may be told to join for a port.
bool IsSerialDeviceGroup(const QString& group);

// The reason as one sentence (Windows-1250), naming the device in the system's
// own spelling.
QByteArray PortErrorReason(const PortError& error);

// The reason and, on the next line, the advice where other settings can help
// (not where the user lacks access or another program holds the port).
QByteArray PortErrorText(const PortError& error, const UserText& advice);
