#pragma once
// The Linux serial port through termios2: any speed (BOTHER), mark and space
// parity (CMSPAR), DTR through the modem-line calls, a wait on poll() that a
// wake-up pipe releases, and writes that give up after their time-out and then
// wait until the bytes have left the port. Linux has no driver queue sizes to
// set; the read time-outs become reads that take what is there and never wait.
//
// Line errors: the driver's own counters (TIOCGICOUNT) where it keeps them;
// otherwise the line marks every byte with a parity or framing error in the stream
// (PARMRK: 0xFF 0x00 and the byte), and Read takes the marks out again, counting
// them, and undoubles the 0xFF bytes the marking doubles: what Read hands out is
// exactly what came on the line. A pseudo-terminal has no counters.
//
// Every control call goes through one ioctl function, which a test may replace to
// see the line settings and the DTR calls (a pseudo-terminal ignores parity and
// data bits and refuses DTR).

#include "serial/SerialDevice.h"

#include <asm/termbits.h>
#include <linux/serial.h>

#include <functional>

class PosixSerialDevice : public SerialDevice {
public:
    using IoctlFunction = std::function<int(int fd, unsigned long request, void* argument)>;

    // Without a function the system's ioctl is used.
    explicit PosixSerialDevice(IoctlFunction ioctl = {});
    ~PosixSerialDevice() override;
    PosixSerialDevice(const PosixSerialDevice&) = delete;
    PosixSerialDevice& operator=(const PosixSerialDevice&) = delete;

    bool Open(const QString& device) override;
    bool Configure(const LineSettings& line) override;
    PortError LastError() const override { return m_error; }
    void Purge() override;
    void DropInput() override;
    void SetDtr(bool raised) override;
    qint64 Read(char* buffer, qint64 capacity) override;
    WaitResult WaitReadable() override;
    void Wake() override;
    bool Write(const char* bytes, qint64 size, int timeoutMs) override;
    void Close() override;
    LineErrorCounts LineErrors() const override;

    // The port's configuration turned into the line: raw bytes, receiver on, modem
    // lines ignored, no flow control, reads that never wait; with markErrors,
    // damaged bytes marked in the stream. False for a framing the hardware cannot
    // make (StopBitsFit).
    static bool MakeTermios(const termios2& current, const LineSettings& line, termios2& out, bool markErrors = false);

    // Takes the line's marks out of bytes read from a marking line, in place:
    // 0xFF 0xFF is one 0xFF, 0xFF 0x00 x is the damaged byte x (counted in marked).
    // A mark cut by the end of a read is finished by the next (state carries it).
    // Returns the count of bytes left, never more than were given.
    static qint64 Unmark(char* bytes, qint64 size, int& state, qint64& marked);
    // Whether the driver kept the framing that was asked for, and a speed within
    // 3 % of it (a UART's divisor rounds custom speeds).
    static bool DriverKept(const termios2& wanted, const termios2& actual);

private:
    int Ioctl(unsigned long request, void* argument) const;
    void CloseDescriptors();

    IoctlFunction m_ioctl;
    bool m_counters = false;  // the driver counts line errors (TIOCGICOUNT)
    serial_icounter_struct m_countsAtOpen{};
    bool m_marking = false;  // the line marks damaged bytes in the stream
    int m_markState = 0;
    qint64 m_marked = 0;
    int m_fd = -1;
    int m_wakeRead = -1;
    int m_wakeWrite = -1;
    PortError m_error;
};
