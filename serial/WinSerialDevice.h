#pragma once
// The Windows serial port through the Comm functions on an overlapped handle of
// "\\.\COMn" (any n, COM10 and above too). Queues of 1024 bytes each way; reads
// and writes wait for their whole count unless a write has a time-out.
//
// The reader waits on an overlapped ReadFile of one byte together with the wake
// event; the byte is kept for the next Read, which takes it and then what
// ClearCommError reports as queued. Reading the queued count completes at once.
// (WaitCommEvent would serve on a real port, but Wine ends it at once on a port
// that is a pseudo-terminal, and the tests run there.) Any failure of the wait or
// of a read means the port is gone: a USB adapter pulled out fails with one of
// several codes, depending on its driver.
//
// Modem lines: DTR follows SetDtr where the port has one; a port without modem
// lines (a pseudo-terminal under Wine) refuses it, and the link carries on.
//
// Line errors: every ClearCommError of the reader reports the parity, framing and
// overrun errors since the one before; each call that reports a kind counts one of
// it, so the counts are at least as many as there were occasions.

#include "serial/SerialDevice.h"

#include <QString>

#include <windows.h>

#include <atomic>

class WinSerialDevice : public SerialDevice {
public:
    static constexpr DWORD kQueueBytes = 1024;

    WinSerialDevice();
    ~WinSerialDevice() override;
    WinSerialDevice(const WinSerialDevice&) = delete;
    WinSerialDevice& operator=(const WinSerialDevice&) = delete;

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

    // The path CreateFile takes: "COM12" (any case) becomes "\\.\COM12", which
    // reaches ports above COM9 too; anything else stays as given.
    static QString DevicePath(const QString& device);
    // The port's configuration turned into the line: binary, no flow control of
    // any kind, no NUL stripping or error-character replacement, no abort on
    // error, DTR and RTS on. False for a framing a UART cannot make (StopBitsFit).
    static bool MakeDcb(const DCB& current, const LineSettings& line, DCB& out);
    // Whether the driver kept the framing asked for, and a speed within 3 %.
    static bool DriverKept(const DCB& wanted, const DCB& actual);

private:
    // Waits for an overlapped operation of the port; true when it completed.
    bool Finish(OVERLAPPED& overlapped, DWORD& transferred);
    bool SetTimeouts(DWORD writeTotalMs);
    // ClearCommError, counting the line errors it reports.
    bool ClearErrors(COMSTAT& status);

    HANDLE m_port = INVALID_HANDLE_VALUE;
    HANDLE m_wake = nullptr;       // manual reset: Wake sets it, the woken wait clears it
    HANDLE m_readDone = nullptr;   // event of the reads
    HANDLE m_writeDone = nullptr;  // event of the writes
    bool m_held = false;           // a byte taken by WaitReadable, not yet handed out by Read
    char m_heldByte = 0;
    PortError m_error;
    // Line errors since Open, counted on the reader's thread.
    std::atomic<qint64> m_parityErrors{0};
    std::atomic<qint64> m_framingErrors{0};
    std::atomic<qint64> m_overruns{0};
};
