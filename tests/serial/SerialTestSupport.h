#pragma once
// Shared by the serial tests: a link on the simulated instrument's pseudo-terminal,
// and the process's open descriptors and threads.

#include "serial/SerialLink.h"
#include "tools/simulator/InstrumentSimulator.h"

#include <QDir>
#include <QTest>

#include <vector>

namespace SerialTest {

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

// A link at 4800 bit/s, 8N1, on the simulator's device.
struct PtyLink {
    PtyLink() = default;
    explicit PtyLink(SerialLink::DeviceFactory factory) : link(std::move(factory)) {}

    InstrumentSimulator instrument;
    SerialLink link{CreatePlatformSerialDevice};

    bool Open() {
        QString error;
        if (!instrument.Open(error)) {
            qWarning("%s", qPrintable(error));
            return false;
        }
        link.SetDevice(instrument.DevicePath());
        return true;
    }
};

}  // namespace SerialTest
