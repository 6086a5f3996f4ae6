// A reception over a device that hands out the input's bytes in the pieces the
// input chooses: the reader's reads, each stored at once, meet every
// split of the data. However the bytes came, the received file must hold exactly
// them, in order. The first byte chooses whether the device hangs up at the end;
// then each piece is a size byte (bit 7: the burst ends after it) and its bytes.

#include "serial/Reception.h"
#include "serial/SerialLink.h"
#include "tests/fuzz/FuzzInput.h"
#include "tests/fuzz/InputPrompter.h"
#include "tests/fuzz/WorkDir.h"

#include <QCoreApplication>
#include <QFile>

#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <mutex>

namespace {

// What the device delivers; shared between the device (reader thread) and the run.
struct Script {
    std::mutex mutex;
    std::condition_variable changed;
    QByteArray data;
    std::vector<std::pair<qsizetype, bool>> pieces;  // size, burst ends after it
    std::size_t piece = 0;
    qsizetype at = 0;
    qsizetype pieceLeft = 0;
    bool burstEnded = false;
    bool hangUp = false;
    bool woken = false;
    bool idle = false;  // everything delivered and the reader is waiting or gone
};

class ScriptedDevice : public SerialDevice {
public:
    explicit ScriptedDevice(Script& script) : m_script(script) {}

    bool Open(const QString&) override { return true; }
    bool Configure(const LineSettings&) override { return true; }
    void Purge() override {}
    void DropInput() override {}
    void SetDtr(bool) override {}
    qint64 Read(char* buffer, qint64 capacity) override {
        std::lock_guard lock(m_script.mutex);
        if (m_script.burstEnded) {
            m_script.burstEnded = false;
            return 0;
        }
        if (m_script.pieceLeft == 0) {
            if (m_script.piece == m_script.pieces.size()) {
                if (!m_script.hangUp) return 0;
                m_script.idle = true;
                m_script.changed.notify_all();
                return -1;
            }
            m_script.pieceLeft = m_script.pieces[m_script.piece].first;
        }
        const qsizetype size = qMin<qsizetype>(capacity, m_script.pieceLeft);
        std::memcpy(buffer, m_script.data.constData() + m_script.at, static_cast<std::size_t>(size));
        m_script.at += size;
        m_script.pieceLeft -= size;
        if (m_script.pieceLeft == 0) m_script.burstEnded = m_script.pieces[m_script.piece++].second;
        return size;
    }
    WaitResult WaitReadable() override {
        std::unique_lock lock(m_script.mutex);
        if (m_script.at == m_script.data.size()) {
            m_script.idle = true;
            m_script.changed.notify_all();
            if (m_script.hangUp) return WaitResult::HungUp;
            m_script.changed.wait(lock, [this] { return m_script.woken; });
        }
        if (m_script.woken) {
            m_script.woken = false;
            return WaitResult::Woken;
        }
        return WaitResult::Readable;
    }
    void Wake() override {
        std::lock_guard lock(m_script.mutex);
        m_script.woken = true;
        m_script.changed.notify_all();
    }
    bool Write(const char*, qint64, int) override { return true; }
    void Close() override {}

private:
    Script& m_script;
};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    static QCoreApplication application(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput input(data, size);
    Script script;
    script.hangUp = input.Byte() & 1;
    const QByteArray rest = input.Rest();
    for (qsizetype at = 0; at < rest.size();) {
        const quint8 control = static_cast<quint8>(rest[at++]);
        // Sizes up to 127, and multiples of a read's size for long runs.
        const qsizetype wanted = (control & 0x7F) == 0x7F ? SerialLink::kReadSize * 3 : control & 0x7F;
        const qsizetype piece = qMin(wanted, rest.size() - at);
        script.data += rest.mid(at, piece);
        script.pieces.emplace_back(piece, (control & 0x80) != 0);
        at += piece;
    }

    const QString target = WorkFile(QStringLiteral("received.sdt"));
    QFile::remove(target);
    qint64 now = 0;
    SerialLink link([&script] { return std::make_unique<ScriptedDevice>(script); });
    link.SetDevice(QStringLiteral("scripted"));
    InputPrompter prompter(0, 0);
    Reception reception(link, prompter, [&now] { return now; });
    if (!reception.Start(target)) std::abort();
    {
        std::unique_lock lock(script.mutex);
        script.changed.wait(lock, [&script] { return script.idle; });
    }
    while (script.hangUp && !link.ConnectionLost()) QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    now += Reception::kEndOfDataMs + 1;
    reception.Tick();
    if (reception.IsRunning()) reception.Cancel();  // nothing arrived

    const Reception::State state = reception.CurrentState();
    const bool kept =
        state == Reception::State::Completed || (state == Reception::State::Lost && !script.data.isEmpty());
    if (kept) {
        QFile file(target);
        if (!file.open(QIODevice::ReadOnly) || file.readAll() != script.data) std::abort();
        if (reception.StoredBytes() != script.data.size()) std::abort();
    } else if (!script.data.isEmpty() || QFile::exists(target)) {
        std::abort();
    }
    return 0;
}
