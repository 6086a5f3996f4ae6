#pragma once
// The platform side of a serial port, as small as the serial link needs it. One
// backend per platform: PosixSerialDevice (termios) on Linux, WinSerialDevice
// ("\\.\COMn" and the Comm functions) on Windows.
//
// Threads: WaitReadable runs on the reader thread while the window thread may
// call Wake; Read runs on whichever thread reads (never both at once); everything
// else runs on the window thread.

#include "serial/LineSettings.h"
#include "serial/PortError.h"

#include <QString>
#include <QtGlobal>

#include <memory>

// Parity, framing and overrun errors the port saw on the line since it was opened;
// -1 where the port cannot tell (a pseudo-terminal keeps no counters). A port whose
// driver keeps no counters may still mark damaged bytes in the stream: those count
// in parityOrFraming, as the mark does not say which of the two it was.
struct LineErrorCounts {
    qint64 parity = -1;
    qint64 framing = -1;
    qint64 overrun = -1;  // the port's and its driver's buffers both
    qint64 parityOrFraming = -1;

    bool Any() const { return parity > 0 || framing > 0 || overrun > 0 || parityOrFraming > 0; }
};

class SerialDevice {
public:
    enum class WaitResult {
        Readable,  // bytes are waiting
        Woken,     // Wake was called
        HungUp,    // the device is gone or the far side hung up
    };

    virtual ~SerialDevice() = default;

    // Opens the device for exclusive reading and writing; only an existing device.
    virtual bool Open(const QString& device) = 0;
    // Sets the line (raw bytes, no flow control, no character translation). False
    // when the driver refuses any part of it or would silently change it.
    virtual bool Configure(const LineSettings& line) = 0;
    // Why the last Open or Configure failed; the link fills in the device.
    virtual PortError LastError() const { return {PortError::Kind::System, {}, 0, {}}; }
    // Drops whatever waits in the input and output queues.
    virtual void Purge() = 0;
    // Drops only what was received and not read; bytes written stay on their way.
    virtual void DropInput() = 0;
    virtual void SetDtr(bool raised) = 0;
    // Reads at most capacity of the bytes the driver holds now; never waits.
    // Returns the count (0 when none), or -1 when the device is gone.
    virtual qint64 Read(char* buffer, qint64 capacity) = 0;
    // Blocks until bytes wait, Wake is called, or the device hangs up.
    virtual WaitResult WaitReadable() = 0;
    virtual void Wake() = 0;
    // Writes all bytes and waits until they have left the port. With timeoutMs > 0
    // gives up (returning false, the unsent rest dropped) when that time has
    // passed; 0 means no limit.
    virtual bool Write(const char* bytes, qint64 size, int timeoutMs) = 0;
    virtual void Close() = 0;
    // The line errors since Open; asked before Close. A device that cannot tell
    // says so (every count -1).
    virtual LineErrorCounts LineErrors() const { return {}; }
};

// The backend of the platform the program was built for.
std::unique_ptr<SerialDevice> CreatePlatformSerialDevice();
