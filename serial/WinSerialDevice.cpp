#include "serial/WinSerialDevice.h"

#include <QRegularExpression>

std::unique_ptr<SerialDevice> CreatePlatformSerialDevice() { return std::make_unique<WinSerialDevice>(); }

WinSerialDevice::WinSerialDevice()
    : m_wake(CreateEventW(nullptr, TRUE, FALSE, nullptr)),
      m_readDone(CreateEventW(nullptr, TRUE, FALSE, nullptr)),
      m_writeDone(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}

WinSerialDevice::~WinSerialDevice() {
    Close();
    for (HANDLE event : {m_wake, m_readDone, m_writeDone}) {
        if (event) CloseHandle(event);
    }
}

QString WinSerialDevice::DevicePath(const QString& device) {
    static const QRegularExpression portName(QStringLiteral("^COM[1-9][0-9]*$"),
                                             QRegularExpression::CaseInsensitiveOption);
    return portName.match(device).hasMatch() ? QStringLiteral("\\\\.\\") + device.toUpper() : device;
}

bool WinSerialDevice::Open(const QString& device) {
    Close();
    m_error = {PortError::Kind::System, device, 0, {}};
    if (!m_wake || !m_readDone || !m_writeDone) return false;
    // No sharing: the instrument's port serves one program at a time.
    const std::wstring path = DevicePath(device).toStdWString();
    HANDLE port = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OVERLAPPED, nullptr);
    if (port == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        m_error.systemCode = static_cast<int>(error);
        // A port that another program holds answers "access denied".
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
            m_error.kind = PortError::Kind::Missing;
        else if (error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION)
            m_error.kind = PortError::Kind::Busy;
        return false;
    }
    // Only a serial port has a line state; a file or another device is refused.
    DCB state{};
    state.DCBlength = sizeof state;
    if (!GetCommState(port, &state)) {
        CloseHandle(port);
        m_error.kind = PortError::Kind::NotSerial;
        return false;
    }
    m_port = port;
    if (!SetTimeouts(0)) {
        m_error.systemCode = static_cast<int>(GetLastError());
        Close();
        return false;
    }
    m_error = {};
    SetupComm(m_port, kQueueBytes, kQueueBytes);
    SetCommMask(m_port, 0);
    m_held = false;
    m_parityErrors = 0;
    m_framingErrors = 0;
    m_overruns = 0;
    ResetEvent(m_wake);
    return true;
}

bool WinSerialDevice::MakeDcb(const DCB& current, const LineSettings& line, DCB& out) {
    out = current;
    out.DCBlength = sizeof out;
    if (line.bitsPerSecond <= 0 || line.dataBits < 5 || line.dataBits > 8 || !StopBitsFit(line)) return false;
    out.BaudRate = static_cast<DWORD>(line.bitsPerSecond);
    out.ByteSize = static_cast<BYTE>(line.dataBits);
    switch (line.parity) {
        case LineParity::None:
            out.Parity = NOPARITY;
            break;
        case LineParity::Odd:
            out.Parity = ODDPARITY;
            break;
        case LineParity::Even:
            out.Parity = EVENPARITY;
            break;
        case LineParity::Mark:
            out.Parity = MARKPARITY;
            break;
        case LineParity::Space:
            out.Parity = SPACEPARITY;
            break;
    }
    switch (line.stopBits) {
        case LineStopBits::One:
            out.StopBits = ONESTOPBIT;
            break;
        case LineStopBits::OneAndHalf:
            out.StopBits = ONE5STOPBITS;
            break;
        case LineStopBits::Two:
            out.StopBits = TWOSTOPBITS;
            break;
    }
    // Bytes pass untouched: a byte with a parity error arrives as it came (the
    // parity is checked, but nothing is replaced and the port does not stop), no
    // NUL is dropped, and no flow control holds the line.
    out.fBinary = TRUE;
    out.fParity = TRUE;
    out.fOutxCtsFlow = FALSE;
    out.fOutxDsrFlow = FALSE;
    out.fDsrSensitivity = FALSE;
    out.fOutX = FALSE;
    out.fInX = FALSE;
    out.fErrorChar = FALSE;
    out.fNull = FALSE;
    out.fAbortOnError = FALSE;
    out.fDtrControl = DTR_CONTROL_ENABLE;
    out.fRtsControl = RTS_CONTROL_ENABLE;
    // Unused without XON/XOFF, but drivers refuse the two when they are equal.
    out.XonChar = 0x11;
    out.XoffChar = 0x13;
    return true;
}

bool WinSerialDevice::DriverKept(const DCB& wanted, const DCB& actual) {
    if (actual.ByteSize != wanted.ByteSize || actual.Parity != wanted.Parity || actual.StopBits != wanted.StopBits)
        return false;
    const double asked = wanted.BaudRate;
    const double got = actual.BaudRate;
    return got >= asked * 0.97 && got <= asked * 1.03;
}

bool WinSerialDevice::Configure(const LineSettings& line) {
    if (m_port == INVALID_HANDLE_VALUE) return false;
    m_error = {PortError::Kind::LineRefused, {}, 0, {}};
    DCB current{};
    current.DCBlength = sizeof current;
    DCB wanted{};
    if (!GetCommState(m_port, &current) || !MakeDcb(current, line, wanted)) return false;
    if (!SetCommState(m_port, &wanted)) return false;
    // A driver may round what it cannot make; read back what it kept.
    DCB actual{};
    actual.DCBlength = sizeof actual;
    return GetCommState(m_port, &actual) && DriverKept(wanted, actual);
}

bool WinSerialDevice::SetTimeouts(DWORD writeTotalMs) {
    // Reads wait for their whole count: the reader asks only for what is queued,
    // or for the one byte it waits on. A write gives up after writeTotalMs (0: never).
    COMMTIMEOUTS timeouts{};
    timeouts.WriteTotalTimeoutConstant = writeTotalMs;
    return SetCommTimeouts(m_port, &timeouts) != 0;
}

void WinSerialDevice::Purge() {
    if (m_port != INVALID_HANDLE_VALUE)
        PurgeComm(m_port, PURGE_TXABORT | PURGE_RXABORT | PURGE_TXCLEAR | PURGE_RXCLEAR);
    m_held = false;
}

void WinSerialDevice::DropInput() {
    if (m_port != INVALID_HANDLE_VALUE) PurgeComm(m_port, PURGE_RXABORT | PURGE_RXCLEAR);
    m_held = false;
}

void WinSerialDevice::SetDtr(bool raised) {
    if (m_port != INVALID_HANDLE_VALUE) EscapeCommFunction(m_port, raised ? SETDTR : CLRDTR);
}

bool WinSerialDevice::Finish(OVERLAPPED& overlapped, DWORD& transferred) {
    return GetOverlappedResult(m_port, &overlapped, &transferred, TRUE) != 0;
}

qint64 WinSerialDevice::Read(char* buffer, qint64 capacity) {
    if (m_port == INVALID_HANDLE_VALUE || capacity <= 0) return 0;
    qint64 count = 0;
    if (m_held) {
        buffer[count++] = m_heldByte;
        m_held = false;
    }
    // ClearCommError also clears a parity or framing error that would otherwise
    // stop the port; the byte concerned has already been delivered.
    COMSTAT status{};
    if (!ClearErrors(status)) return count > 0 ? count : -1;
    const DWORD wanted = static_cast<DWORD>(qMin<qint64>(status.cbInQue, capacity - count));
    if (wanted == 0) return count;
    OVERLAPPED overlapped{};
    overlapped.hEvent = m_readDone;
    ResetEvent(m_readDone);
    DWORD got = 0;
    if (!ReadFile(m_port, buffer + count, wanted, nullptr, &overlapped) && GetLastError() != ERROR_IO_PENDING)
        return count > 0 ? count : -1;
    if (!Finish(overlapped, got)) return count > 0 ? count : -1;
    return count + got;
}

SerialDevice::WaitResult WinSerialDevice::WaitReadable() {
    if (m_port == INVALID_HANDLE_VALUE) return WaitResult::HungUp;
    if (m_held) return WaitResult::Readable;
    COMSTAT status{};
    if (!ClearErrors(status)) return WaitResult::HungUp;
    if (status.cbInQue > 0) return WaitResult::Readable;

    OVERLAPPED overlapped{};
    overlapped.hEvent = m_readDone;
    ResetEvent(m_readDone);
    if (!ReadFile(m_port, &m_heldByte, 1, nullptr, &overlapped) && GetLastError() != ERROR_IO_PENDING)
        return WaitResult::HungUp;
    const HANDLE events[2] = {m_readDone, m_wake};
    const DWORD signalled = WaitForMultipleObjects(2, events, FALSE, INFINITE);
    const bool woken = signalled == WAIT_OBJECT_0 + 1;
    if (signalled != WAIT_OBJECT_0) CancelIoEx(m_port, &overlapped);
    // A cancelled read may still have taken its byte; it is kept either way.
    DWORD got = 0;
    const bool completed = Finish(overlapped, got);
    if (completed && got == 1) m_held = true;
    if (woken) {
        ResetEvent(m_wake);
        return WaitResult::Woken;
    }
    if (m_held) return WaitResult::Readable;
    // Nobody cancelled this read and it brought nothing: the port is gone.
    return WaitResult::HungUp;
}

bool WinSerialDevice::ClearErrors(COMSTAT& status) {
    DWORD errors = 0;
    if (!ClearCommError(m_port, &errors, &status)) return false;
    if (errors & CE_RXPARITY) ++m_parityErrors;
    if (errors & CE_FRAME) ++m_framingErrors;
    if (errors & (CE_OVERRUN | CE_RXOVER)) ++m_overruns;
    return true;
}

LineErrorCounts WinSerialDevice::LineErrors() const {
    LineErrorCounts errors;
    if (m_port == INVALID_HANDLE_VALUE) return errors;
    errors.parity = m_parityErrors.load();
    errors.framing = m_framingErrors.load();
    errors.overrun = m_overruns.load();
    return errors;
}

void WinSerialDevice::Wake() {
    if (m_wake) SetEvent(m_wake);
}

bool WinSerialDevice::Write(const char* bytes, qint64 size, int timeoutMs) {
    if (m_port == INVALID_HANDLE_VALUE) return false;
    if (size <= 0) return true;
    if (!SetTimeouts(timeoutMs > 0 ? static_cast<DWORD>(timeoutMs) : 0)) return false;
    OVERLAPPED overlapped{};
    overlapped.hEvent = m_writeDone;
    ResetEvent(m_writeDone);
    DWORD written = 0;
    if (!WriteFile(m_port, bytes, static_cast<DWORD>(size), nullptr, &overlapped) && GetLastError() != ERROR_IO_PENDING)
        return false;
    // A write that ran out of time completes successfully with fewer bytes.
    if (!Finish(overlapped, written)) return false;
    if (written < static_cast<DWORD>(size)) {
        PurgeComm(m_port, PURGE_TXABORT | PURGE_TXCLEAR);
        return false;
    }
    // Until the bytes have left the port, so that DTR dropped by the following
    // close cannot cut the last block short.
    return FlushFileBuffers(m_port) != 0;
}

void WinSerialDevice::Close() {
    if (m_port != INVALID_HANDLE_VALUE) CloseHandle(m_port);
    m_port = INVALID_HANDLE_VALUE;
    m_held = false;
}
