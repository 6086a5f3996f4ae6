#include "serial/PosixSerialDevice.h"

#include <QFile>
#include <QFileInfo>

#include <asm/termios.h>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

// <sys/ioctl.h> clashes with the kernel's termios2 headers; this is its one call.
extern "C" int ioctl(int fd, unsigned long request, ...);

namespace {

void* ByValue(long value) { return reinterpret_cast<void*>(static_cast<std::intptr_t>(value)); }

// What an errno of opening a device means to the user.
PortError OpenError(int error, const QString& device) {
    PortError reason{PortError::Kind::System, device, error, {}};
    switch (error) {
        case ENOENT:
        case ENODEV:
        case ENXIO:
            reason.kind = PortError::Kind::Missing;
            break;
        case EACCES:
        case EPERM:
            reason.kind = PortError::Kind::NoAccess;
            reason.group = QFileInfo(device).group();
            break;
        case EBUSY:
            reason.kind = PortError::Kind::Busy;
            break;
        case ENOTTY:
            reason.kind = PortError::Kind::NotSerial;
            break;
        default:
            break;
    }
    return reason;
}

qint64 NowMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

}  // namespace

std::unique_ptr<SerialDevice> CreatePlatformSerialDevice() { return std::make_unique<PosixSerialDevice>(); }

PosixSerialDevice::PosixSerialDevice(IoctlFunction ioctlFunction) : m_ioctl(std::move(ioctlFunction)) {}

PosixSerialDevice::~PosixSerialDevice() { Close(); }

int PosixSerialDevice::Ioctl(unsigned long request, void* argument) const {
    if (m_ioctl) return m_ioctl(m_fd, request, argument);
    return ::ioctl(m_fd, request, argument);
}

bool PosixSerialDevice::Open(const QString& device) {
    Close();
    m_error = {};
    m_fd = ::open(QFile::encodeName(device).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (m_fd < 0) {
        m_error = OpenError(errno, device);
        return false;
    }
    // Exclusive use, as the instrument's port is never shared; this also refuses
    // anything that is not a terminal device.
    int pipeEnds[2];
    if (Ioctl(TIOCEXCL, nullptr) != 0 || ::pipe2(pipeEnds, O_CLOEXEC | O_NONBLOCK) != 0) {
        m_error = OpenError(errno, device);
        CloseDescriptors();
        return false;
    }
    m_wakeRead = pipeEnds[0];
    m_wakeWrite = pipeEnds[1];
    return true;
}

bool PosixSerialDevice::MakeTermios(const termios2& current, const LineSettings& line, termios2& out, bool markErrors) {
    out = current;
    if (line.bitsPerSecond <= 0) return false;
    tcflag_t size = 0;
    switch (line.dataBits) {
        case 5:
            size = CS5;
            break;
        case 6:
            size = CS6;
            break;
        case 7:
            size = CS7;
            break;
        case 8:
            size = CS8;
            break;
        default:
            return false;
    }
    if (!StopBitsFit(line)) return false;

    // Bytes pass untouched: no break, parity-error, CR/LF or case translation,
    // no stripping, no XON/XOFF. A byte with a parity error is delivered as it came;
    // a marking line puts the mark 0xFF 0x00 before it (a break comes as a marked
    // NUL) and doubles a true 0xFF.
    out.c_iflag = markErrors ? INPCK | PARMRK : 0;
    out.c_oflag = 0;
    out.c_lflag = 0;
    // HUPCL (drop DTR on the last close) keeps the port's own setting.
    out.c_cflag &= ~(CBAUD | (CBAUD << IBSHIFT) | CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS);
    out.c_cflag |= BOTHER | (BOTHER << IBSHIFT) | size | CREAD | CLOCAL;
    switch (line.parity) {
        case LineParity::None:
            break;
        case LineParity::Odd:
            out.c_cflag |= PARENB | PARODD;
            break;
        case LineParity::Even:
            out.c_cflag |= PARENB;
            break;
        case LineParity::Mark:
            out.c_cflag |= PARENB | CMSPAR | PARODD;
            break;
        case LineParity::Space:
            out.c_cflag |= PARENB | CMSPAR;
            break;
    }
    // CSTOPB is the UART's longer stop: one and a half stop bits at 5 data bits, two at more.
    if (line.stopBits != LineStopBits::One) out.c_cflag |= CSTOPB;
    out.c_ospeed = static_cast<speed_t>(line.bitsPerSecond);
    out.c_ispeed = static_cast<speed_t>(line.bitsPerSecond);
    // A read returns what is there and never waits; the reader waits in poll().
    out.c_cc[VMIN] = 0;
    out.c_cc[VTIME] = 0;
    out.c_cc[VSTART] = 0;
    out.c_cc[VSTOP] = 0;
    return true;
}

bool PosixSerialDevice::DriverKept(const termios2& wanted, const termios2& actual) {
    tcflag_t framing = CSIZE | PARENB | CSTOPB;
    if (wanted.c_cflag & PARENB) framing |= PARODD | CMSPAR;
    if ((wanted.c_cflag & framing) != (actual.c_cflag & framing)) return false;
    const double asked = wanted.c_ospeed;
    const double got = actual.c_ospeed;
    return got >= asked * 0.97 && got <= asked * 1.03;
}

bool PosixSerialDevice::Configure(const LineSettings& line) {
    if (m_fd < 0) return false;
    m_error = {PortError::Kind::LineRefused, {}, 0, {}};
    termios2 current{};
    termios2 wanted{};
    termios2 actual{};
    // A driver that counts line errors is asked at the end; a line without
    // counters marks the damaged bytes instead.
    m_countsAtOpen = {};
    m_counters = Ioctl(TIOCGICOUNT, &m_countsAtOpen) == 0;
    m_marking = !m_counters;
    m_markState = 0;
    m_marked = 0;
    if (Ioctl(TCGETS2, &current) != 0 || !MakeTermios(current, line, wanted, m_marking)) return false;
    if (Ioctl(TCSETS2, &wanted) != 0) return false;
    // The driver takes what it can and says nothing about the rest; read it back.
    if (Ioctl(TCGETS2, &actual) != 0) return false;
    return DriverKept(wanted, actual);
}

void PosixSerialDevice::Purge() {
    if (m_fd >= 0) Ioctl(TCFLSH, ByValue(TCIOFLUSH));
}

void PosixSerialDevice::DropInput() {
    if (m_fd >= 0) Ioctl(TCFLSH, ByValue(TCIFLUSH));
}

void PosixSerialDevice::SetDtr(bool raised) {
    if (m_fd < 0) return;
    int bits = TIOCM_DTR;
    Ioctl(raised ? TIOCMBIS : TIOCMBIC, &bits);
}

qint64 PosixSerialDevice::Read(char* buffer, qint64 capacity) {
    if (m_fd < 0 || capacity <= 0) return 0;
    for (;;) {
        const ssize_t got = ::read(m_fd, buffer, static_cast<size_t>(capacity));
        if (got > 0 && m_marking) {
            const qint64 left = Unmark(buffer, got, m_markState, m_marked);
            // Only (part of) a mark came: its byte follows in the driver's queue.
            if (left == 0) continue;
            return left;
        }
        if (got >= 0) return got;
        if (errno == EINTR) continue;
        if (errno == EAGAIN || errno == EWOULDBLOCK) return 0;
        return -1;
    }
}

qint64 PosixSerialDevice::Unmark(char* bytes, qint64 size, int& state, qint64& marked) {
    // state: 0 between marks, 1 after 0xFF, 2 after 0xFF 0x00.
    qint64 out = 0;
    for (qint64 in = 0; in < size; ++in) {
        const auto byte = static_cast<unsigned char>(bytes[in]);
        switch (state) {
            case 0:
                if (byte == 0xFF)
                    state = 1;
                else
                    bytes[out++] = static_cast<char>(byte);
                break;
            case 1:
                if (byte == 0x00) {
                    state = 2;
                    break;
                }
                // 0xFF 0xFF is a true 0xFF. A marking line sends nothing else after
                // 0xFF; should anything else come, the 0xFF counts as a damaged mark.
                if (byte != 0xFF) ++marked;
                bytes[out++] = static_cast<char>(byte);
                state = 0;
                break;
            default:
                bytes[out++] = static_cast<char>(byte);
                ++marked;
                state = 0;
                break;
        }
    }
    return out;
}

LineErrorCounts PosixSerialDevice::LineErrors() const {
    LineErrorCounts errors;
    if (m_fd < 0) return errors;
    if (m_marking) {
        errors.parityOrFraming = m_marked;
        return errors;
    }
    serial_icounter_struct now{};
    if (!m_counters || Ioctl(TIOCGICOUNT, &now) != 0) return errors;
    errors.parity = now.parity - m_countsAtOpen.parity;
    errors.framing = now.frame - m_countsAtOpen.frame;
    errors.overrun = (now.overrun - m_countsAtOpen.overrun) + (now.buf_overrun - m_countsAtOpen.buf_overrun);
    return errors;
}

SerialDevice::WaitResult PosixSerialDevice::WaitReadable() {
    if (m_fd < 0) return WaitResult::HungUp;
    pollfd fds[2] = {{m_fd, POLLIN, 0}, {m_wakeRead, POLLIN, 0}};
    for (;;) {
        const int ready = ::poll(fds, 2, -1);
        if (ready < 0 && errno == EINTR) continue;
        if (ready < 0) return WaitResult::HungUp;
        break;
    }
    if (fds[1].revents & POLLIN) {
        char drained[16];
        while (::read(m_wakeRead, drained, sizeof drained) > 0) {
        }
        return WaitResult::Woken;
    }
    if (fds[0].revents & (POLLHUP | POLLERR | POLLNVAL)) return WaitResult::HungUp;
    return WaitResult::Readable;
}

void PosixSerialDevice::Wake() {
    if (m_wakeWrite < 0) return;
    const char byte = 1;
    // A full pipe already holds a wake-up; nothing is lost when this write fails.
    [[maybe_unused]] const ssize_t written = ::write(m_wakeWrite, &byte, 1);
}

bool PosixSerialDevice::Write(const char* bytes, qint64 size, int timeoutMs) {
    if (m_fd < 0) return false;
    const qint64 deadline = timeoutMs > 0 ? NowMs() + timeoutMs : 0;
    qint64 done = 0;
    while (done < size) {
        const ssize_t written = ::write(m_fd, bytes + done, static_cast<size_t>(size - done));
        if (written > 0) {
            done += written;
            continue;
        }
        if (written < 0 && errno == EINTR) continue;
        if (written < 0 && errno != EAGAIN && errno != EWOULDBLOCK) return false;
        int waitMs = -1;
        if (deadline != 0) {
            waitMs = static_cast<int>(deadline - NowMs());
            if (waitMs <= 0) {
                Ioctl(TCFLSH, ByValue(TCOFLUSH));
                return false;
            }
        }
        pollfd fd{m_fd, POLLOUT, 0};
        const int ready = ::poll(&fd, 1, waitMs);
        if (ready < 0 && errno != EINTR) return false;
        if (ready > 0 && (fd.revents & (POLLHUP | POLLERR | POLLNVAL))) return false;
    }
    // Wait until the bytes are on the line (tcdrain), so that DTR dropped by the
    // following close cannot cut the last block short.
    return Ioctl(TCSBRK, ByValue(1)) == 0;
}

void PosixSerialDevice::Close() {
    if (m_fd >= 0) Ioctl(TIOCNXCL, nullptr);
    CloseDescriptors();
}

void PosixSerialDevice::CloseDescriptors() {
    for (int* fd : {&m_fd, &m_wakeRead, &m_wakeWrite}) {
        if (*fd >= 0) ::close(*fd);
        *fd = -1;
    }
}
