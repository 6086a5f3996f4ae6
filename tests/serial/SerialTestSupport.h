#pragma once
// The one helper of the serial tests for the line: its settings as the port gets
// them or as the profile stores them, the bytes the tests send on it, and the
// simulated instrument's pseudo-terminal with a link on it; besides, the process's
// open descriptors and threads.

#include "base/ConversionSettings.h"
#include "serial/LineSettings.h"
#include "serial/SerialLink.h"
#ifndef _WIN32
#include "tools/simulator/InstrumentSimulator.h"
#endif

#include <QDir>
#include <QTest>

namespace SerialTest {

// A line as the port is configured.
inline LineSettings Line(qint32 bitsPerSecond, int dataBits, LineParity parity, LineStopBits stopBits) {
    LineSettings line;
    line.bitsPerSecond = bitsPerSecond;
    line.dataBits = dataBits;
    line.parity = parity;
    line.stopBits = stopBits;
    return line;
}

// The five values as the profile stores them, in or out of their tables.
inline SerialSettings Stored(int commPort, int baudRate, int byteSize, int parity, int stopBits) {
    return SerialSettings{static_cast<quint8>(commPort), static_cast<quint8>(baudRate), static_cast<quint8>(byteSize),
                          static_cast<quint8>(parity), static_cast<quint8>(stopBits)};
}

// Entries of a /proc/self directory (fd, task).
inline int CountEntries(const char* directory) {
    return static_cast<int>(
        QDir(QString::fromLatin1(directory)).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::System).size());
}

// Bytes of every value, CR, LF, XON and XOFF among them, so that any translation
// on the line shows.
inline QByteArray AllByteValues(qsizetype size, quint32 seed = 1) {
    QByteArray bytes(size, '\0');
    quint32 state = seed;
    for (qsizetype i = 0; i < size; ++i) {
        state = state * 1664525u + 1013904223u;
        bytes[i] = static_cast<char>(state >> 24);
    }
    return bytes;
}

#ifndef _WIN32
// The simulated instrument lives on a Linux pseudo-terminal; a Windows build meets
// it through a COM port of Wine (tests/windows).

// An NTS-350 transfer of that many measurements, framed as the instrument sends it.
inline QByteArray MeasuredTransfer(int measurements) {
    QByteArray records;
    for (int i = 0; i < measurements; ++i)
        records += "_+P" + QByteArray::number(i) + "_ ?+00012345m+0912345++1234567d+00012300t00+00000_*AB_,1.600_";
    return InstrumentSimulator::FrameAsNts350(records);
}

// Opens the instrument's pseudo-terminal; false, with the reason as a warning, when
// there is none to be had.
inline bool OpenInstrument(InstrumentSimulator& instrument) {
    QString error;
    if (instrument.Open(error)) return true;
    qWarning("%s", qPrintable(error));
    return false;
}

// A link at 4800 bit/s, 8N1, on the simulator's device.
struct PtyLink {
    PtyLink() = default;
    explicit PtyLink(SerialLink::DeviceFactory factory) : link(std::move(factory)) {}

    InstrumentSimulator instrument;
    SerialLink link{CreatePlatformSerialDevice};

    bool Open() {
        if (!OpenInstrument(instrument)) return false;
        link.SetDevice(instrument.DevicePath());
        return true;
    }
};
#endif

}  // namespace SerialTest
