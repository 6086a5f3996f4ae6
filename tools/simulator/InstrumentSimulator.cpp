#include "tools/simulator/InstrumentSimulator.h"

#include "base/ControlBytes.h"
#include "base/Cp1250.h"
#include "upload/UploadProtocol.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

void SleepMs(qint64 ms) {
    if (ms > 0) std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

}  // namespace

InstrumentSimulator::InstrumentSimulator() = default;

InstrumentSimulator::~InstrumentSimulator() { HangUp(); }

bool InstrumentSimulator::Open(QString& error) {
    int master = -1;
    int slave = -1;
    char name[256] = {};
    if (::openpty(&master, &slave, name, nullptr, nullptr) != 0) {
        error = QStringLiteral("openpty: %1").arg(QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    // The instrument's side passes bytes untouched in both directions.
    termios raw{};
    ::tcgetattr(master, &raw);
    ::cfmakeraw(&raw);
    ::tcsetattr(master, TCSANOW, &raw);
    ::tcgetattr(slave, &raw);
    ::cfmakeraw(&raw);
    ::tcsetattr(slave, TCSANOW, &raw);
    ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);
    ::fcntl(master, F_SETFD, FD_CLOEXEC);
    ::fcntl(slave, F_SETFD, FD_CLOEXEC);
    m_master = master;
    m_slave = slave;
    m_devicePath = QString::fromLocal8Bit(name);
    return true;
}

QByteArray InstrumentSimulator::FrameAsNts350(const QByteArray& data) {
    if (data.contains(kStx)) return data;
    QByteArray framed;
    unsigned counter = 0;
    for (qsizetype at = 0; at < data.size(); at += kBlockPayload)
        framed += BuildBlock(data.mid(at, kBlockPayload), counter++);
    return framed;
}

QByteArray InstrumentSimulator::WithControlRecords(const QByteArray& framed) {
    QByteArray transfer = framed;
    if (!transfer.startsWith(Preamble1())) transfer.prepend(Preamble1() + Preamble2());
    if (!EndsWithEndRecord(transfer)) transfer += EndRecord();
    return transfer;
}

bool InstrumentSimulator::EndsWithEndRecord(const QByteArray& transfer) {
    return ::EndsWithEndRecord(std::string_view(transfer.constData(), static_cast<std::size_t>(transfer.size())));
}

InstrumentSimulator::SendPlan InstrumentSimulator::Nts350Plan(qint32 bitsPerSecond) {
    SendPlan plan;
    plan.burstPerRecord = true;
    plan.pauseMs = kNts350PauseMs;
    plan.bitsPerSecond = bitsPerSecond;
    return plan;
}

void InstrumentSimulator::StartSending(const QByteArray& bytes, const SendPlan& plan) {
    if (m_sender.joinable()) m_sender.join();
    m_sendDone = false;
    m_sent = 0;
    m_sender = std::thread(&InstrumentSimulator::SendLoop, this, bytes, plan);
}

bool InstrumentSimulator::WaitSent(int timeoutMs) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!m_sendDone.load() && Clock::now() < deadline) SleepMs(5);
    return m_sendDone.load();
}

void InstrumentSimulator::SendLoop(QByteArray bytes, SendPlan plan) {
    const auto started = Clock::now();
    const qint64 burst = plan.burstBytes > 0 ? plan.burstBytes : bytes.size();
    const auto burstEnd = [&](qint64 from) -> qint64 {
        if (!plan.burstPerRecord) return qMin<qint64>(from + burst, bytes.size());
        const qsizetype next = bytes.indexOf(kStx, from + 1);
        return next < 0 ? bytes.size() : next;
    };
    qint64 done = 0;
    qint64 pausedMs = 0;
    while (done < bytes.size() && !m_stop.load()) {
        qint64 end = burstEnd(done);
        if (plan.hangUpAfter >= 0) end = qMin(end, plan.hangUpAfter);
        while (done < end && !m_stop.load()) {
            const int fd = m_master.load();
            if (fd < 0) break;
            // On a paced line a byte leaves every 10 bit times.
            qint64 slice = end - done;
            if (plan.bitsPerSecond > 0) slice = qMin<qint64>(slice, qMax(1, plan.bitsPerSecond / 100));
            const ssize_t written = ::write(fd, bytes.constData() + done, static_cast<size_t>(slice));
            if (written > 0) {
                done += written;
                m_sent = done;
            } else if (written < 0 && errno != EAGAIN && errno != EINTR) {
                break;
            } else {
                pollfd wait{fd, POLLOUT, 0};
                ::poll(&wait, 1, 50);
            }
            if (plan.bitsPerSecond > 0) {
                const qint64 dueMs = done * 10 * 1000 / plan.bitsPerSecond + pausedMs;
                const qint64 elapsedMs =
                    std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - started).count();
                Rest(dueMs - elapsedMs);
            }
        }
        if (plan.hangUpAfter >= 0 && done >= plan.hangUpAfter) {
            // The cable goes once the program has read every byte sent, so that
            // exactly hangUpAfter bytes reached it (a hang-up drops unread input).
            // The line's own buffers pass bytes on with a delay: it must stay empty
            // for a while.
            const auto deadline = Clock::now() + std::chrono::seconds(10);
            auto emptySince = Clock::now();
            int unread = 0;
            while (m_slave.load() >= 0 && Clock::now() < deadline && !m_stop.load() &&
                   Clock::now() - emptySince < std::chrono::milliseconds(200)) {
                if (::ioctl(m_slave.load(), FIONREAD, &unread) != 0) break;
                if (unread > 0) emptySince = Clock::now();
                SleepMs(2);
            }
            // Told to stop first, the line stays up with what is unread on it.
            if (!m_stop.load()) CloseLine();
            break;
        }
        if (m_master.load() < 0) break;
        if (done < bytes.size()) {
            const int pauseMs = plan.endPauseMs >= 0 && burstEnd(done) == bytes.size() ? plan.endPauseMs : plan.pauseMs;
            if (!Rest(pauseMs)) break;
            pausedMs += qMax(0, pauseMs);
        }
    }
    m_sendDone = true;
}

bool InstrumentSimulator::Rest(qint64 ms) {
    const auto until = Clock::now() + std::chrono::milliseconds(qMax<qint64>(0, ms));
    while (!m_stop.load()) {
        const auto left = until - Clock::now();
        if (left <= Clock::duration::zero()) return true;
        std::this_thread::sleep_for(qMin<Clock::duration>(left, std::chrono::milliseconds(5)));
    }
    return false;
}

void InstrumentSimulator::StartReceivingUpload() {
    if (m_receiver.joinable()) m_receiver.join();
    {
        std::lock_guard lock(m_receivedMutex);
        m_received.clear();
    }
    m_uploadDone = false;
    m_receiver = std::thread(&InstrumentSimulator::ReceiveLoop, this);
}

void InstrumentSimulator::ReceiveLoop() {
    const QByteArray end = EndRecord();
    char buffer[4096];
    while (!m_stop.load()) {
        const int fd = m_master.load();
        if (fd < 0) break;
        pollfd wait{fd, POLLIN, 0};
        if (::poll(&wait, 1, 50) <= 0) continue;
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        // With no program holding the port the line reads as hung up; the
        // simulator's own hold on it keeps that from happening.
        if (got <= 0) continue;
        std::lock_guard lock(m_receivedMutex);
        m_received.append(buffer, got);
        if (m_received.endsWith(end)) break;
    }
    m_uploadDone = true;
}

InstrumentSimulator::UploadReport InstrumentSimulator::WaitUpload(int timeoutMs) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!m_uploadDone.load() && Clock::now() < deadline) SleepMs(5);
    std::lock_guard lock(m_receivedMutex);
    return CheckUpload(m_received);
}

InstrumentSimulator::UploadReport InstrumentSimulator::CheckUpload(const QByteArray& bytes) {
    UploadReport report;
    report.bytes = bytes.size();
    qsizetype at = 0;
    auto expect = [&](const QByteArray& record, bool& seen, const char* name) {
        if (bytes.mid(at, record.size()) == record) {
            seen = true;
            at += record.size();
        } else {
            report.faults << QStringLiteral("%1 missing at offset %2").arg(QLatin1String(name)).arg(at);
        }
    };
    expect(Preamble1(), report.preamble1, "preamble 1");
    expect(Preamble2(), report.preamble2, "preamble 2");
    const QByteArray end = EndRecord();
    unsigned counter = 0;
    while (at < bytes.size()) {
        if (bytes.mid(at, end.size()) == end) {
            report.endRecord = true;
            at += end.size();
            if (at != bytes.size())
                report.faults << QStringLiteral("%1 bytes after the end record").arg(bytes.size() - at);
            break;
        }
        if (bytes[at] != kStx || bytes.size() - at < kBlockSize) {
            report.faults << QStringLiteral("no block at offset %1").arg(at);
            break;
        }
        const QByteArray block = bytes.mid(at, kBlockSize);
        if (block[kBlockDigitAt] != BlockDigit(counter))
            report.faults << QStringLiteral("block %1: digit '%2', expected '%3'")
                                 .arg(counter)
                                 .arg(QLatin1Char(block[kBlockDigitAt]))
                                 .arg(QLatin1Char(BlockDigit(counter)));
        // The instrument's own sum: the XOR of the stream bytes and the block digit.
        unsigned checksum = 0;
        for (int i = 1; i <= kBlockDigitAt; ++i) checksum ^= static_cast<unsigned char>(block[i]);
        const QByteArray digits = QByteArray::number(checksum).rightJustified(3, '0');
        if (block.mid(kChecksumAt, 3) != digits)
            report.faults << QStringLiteral("block %1: checksum %2, expected %3")
                                 .arg(counter)
                                 .arg(QString::fromLatin1(block.mid(kChecksumAt, 3)), QString::fromLatin1(digits));
        if (block.mid(kBlockEndAt) != QByteArray(1, kEtx) + "\r\n")
            report.faults << QStringLiteral("block %1: no ETX CR LF at its end").arg(counter);
        report.stream += block.mid(1, kBlockPayload);
        ++report.blocks;
        ++counter;
        at += kBlockSize;
    }
    if (!report.endRecord) report.faults << QStringLiteral("no end record");
    return report;
}

QString InstrumentSimulator::UploadReport::Describe() const {
    QString text = QStringLiteral("Přijato bajtů: %1; úvod 1 %2, úvod 2 %3, bloky: %4, závěr %5.\n")
                       .arg(bytes)
                       .arg(preamble1 ? QStringLiteral("v pořádku") : QStringLiteral("CHYBÍ"))
                       .arg(preamble2 ? QStringLiteral("v pořádku") : QStringLiteral("CHYBÍ"))
                       .arg(blocks)
                       .arg(endRecord ? QStringLiteral("v pořádku") : QStringLiteral("CHYBÍ"));
    for (const QString& fault : faults) text += QStringLiteral("  CHYBA: ") + fault + QLatin1Char('\n');
    // Code records start "_:", point records "_+".
    const QByteArray trimmed = QByteArray(stream).replace('\0', ' ').trimmed();
    const int width = trimmed.startsWith("_:") ? kCodeRecordSize : kPointRecordSize;
    for (qsizetype at = 0; at < trimmed.size(); at += width) {
        text += QStringLiteral("  ") + Cp1250::ToUnicode(trimmed.mid(at, width)) + QLatin1Char('\n');
    }
    return text;
}

qint64 InstrumentSimulator::DrainUnread(int quietMs) {
    const int slave = m_slave.load();
    if (slave < 0) return 0;  // hung up: nothing is left on a closed line
    // The line keeps the settings the program left. Where it marks damaged bytes
    // (PARMRK) it held a true 0xFF twice and a damaged byte as 0xFF 0x00 x: each
    // counts as the one byte that was sent.
    termios line{};
    const bool marking = ::tcgetattr(slave, &line) == 0 && (line.c_iflag & PARMRK) && !(line.c_iflag & ISTRIP);
    ::fcntl(slave, F_SETFL, ::fcntl(slave, F_GETFL) | O_NONBLOCK);
    qint64 unread = 0;
    int markState = 0;  // 0 between marks, 1 after 0xFF, 2 after 0xFF 0x00
    char buffer[4096];
    // The kernel passes what waits behind the line discipline's buffer on only as
    // that empties, with a delay: the line is empty once it has stayed so a while.
    auto quietSince = Clock::now();
    while (Clock::now() - quietSince < std::chrono::milliseconds(quietMs)) {
        pollfd wait{slave, POLLIN, 0};
        if (::poll(&wait, 1, 10) <= 0) continue;
        const ssize_t got = ::read(slave, buffer, sizeof buffer);
        if (got < 0 && (errno == EAGAIN || errno == EINTR)) continue;
        if (got <= 0) break;
        quietSince = Clock::now();
        for (ssize_t i = 0; i < got; ++i) {
            const auto byte = static_cast<unsigned char>(buffer[i]);
            if (!marking) {
                ++unread;
            } else if (markState == 0 && byte == 0xFF) {
                markState = 1;
            } else if (markState == 1 && byte == 0x00) {
                markState = 2;
            } else {
                ++unread;
                markState = 0;
            }
        }
    }
    return unread;
}

void InstrumentSimulator::HangUp() {
    // The sending and receiving threads stop first: closed under them, a
    // descriptor could be reused by the program under test and written to.
    Stop();
    CloseLine();
}

void InstrumentSimulator::CloseLine() {
    const int master = m_master.exchange(-1);
    if (master >= 0) ::close(master);
    const int slave = m_slave.exchange(-1);
    if (slave >= 0) ::close(slave);
}

void InstrumentSimulator::Stop() {
    m_stop = true;
    if (m_sender.joinable()) m_sender.join();
    if (m_receiver.joinable()) m_receiver.join();
    m_stop = false;
}
