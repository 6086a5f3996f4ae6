#include "serial/SerialLink.h"

#include "base/OutputFile.h"
#include "base/SettingsStore.h"
#include "serial/LineSettings.h"
#include "serial/PortNames.h"

#include <chrono>
#include <system_error>

SerialLink::SerialLink(QObject* parent) : SerialLink(CreatePlatformSerialDevice, parent) {}

SerialLink::SerialLink(DeviceFactory factory, QObject* parent)
    : QObject(parent),
      m_factory(std::move(factory)),
      m_resolver([](int commPort) { return PortNames::DeviceOf(SettingsStore(), commPort); }) {}

SerialLink::~SerialLink() { Close(); }

QString SerialLink::Device() const {
    if (!m_explicitDevice.isEmpty()) return m_explicitDevice;
    if (m_settings.commPort < 1) return {};
    return m_resolver(m_settings.commPort);
}

bool SerialLink::Open(bool withReader) {
    Close();
    const std::optional<LineSettings> line = LineSettingsFor(m_settings);
    const QString device = Device();
    m_error = {PortError::Kind::NotChosen, device, 0, {}};
    if (!line || device.isEmpty()) return false;

    m_device = m_factory();
    if (!m_device || !m_device->Open(device)) {
        if (m_device) m_error = m_device->LastError();
        m_error.device = device;
        m_device.reset();
        return false;
    }
    m_device->Purge();
    if (!m_device->Configure(*line)) {
        m_error = m_device->LastError();
        m_error.device = device;
        m_device->Close();
        m_device.reset();
        return false;
    }
    m_writeMsPerByte = WriteTimeoutMsPerByte(line->bitsPerSecond);
    m_syncWanted = false;
    m_total = 0;
    m_arrived = 0;
    m_lost = false;
    m_storeFailed = false;
    m_lineErrors = {};
    m_open = true;
    if (withReader) {
        try {
            m_reader = std::thread(&SerialLink::ReaderLoop, this);
        } catch (const std::system_error&) {
            m_error = {PortError::Kind::ReaderFailed, device, 0, {}};
            m_open = false;
            m_device->Close();
            m_device.reset();
            return false;
        }
        // DTR is already up: the Linux driver raises it when the port opens, the
        // Windows line settings when they are set. Raised once more now that the
        // reader waits, for a port whose driver left it down: the instrument
        // starts sending on DTR.
        m_device->SetDtr(true);
    }
    m_error = {};
    return true;
}

void SerialLink::Close() {
    if (!m_open.load()) return;
    m_open = false;
    m_device->Wake();
    const bool received = m_reader.joinable();
    if (received) m_reader.join();
    m_device->SetDtr(false);
    m_lineErrors = m_device->LineErrors();
    if (received) {
        // What came up to the close is the instrument's too: it goes to the file
        // (the closing reception counts the file), not away with a purge. What
        // arrives after this last read goes with the port as it closes.
        if (!m_lost.load()) StoreQueued();
    } else {
        // Every write has waited until its bytes left, so only unread input goes; a
        // pseudo-terminal would otherwise lose what its far side has not read yet.
        m_device->DropInput();
    }
    m_device->Close();
    m_device.reset();
}

bool SerialLink::Write(QByteArrayView bytes) {
    if (!m_open.load()) return false;
    const qint64 timeoutMs = m_writeMsPerByte * bytes.size();
    return m_device->Write(bytes.data(), bytes.size(), static_cast<int>(qMin<qint64>(timeoutMs, 1 << 30)));
}

void SerialLink::SyncReceived() {
    if (!m_open.load()) return;
    m_syncWanted = true;
    m_device->Wake();
}

SerialLink::QueuedRead SerialLink::StoreQueued() {
    QueuedRead read;
    char buffer[kReadSize];
    for (;;) {
        const qint64 got = m_device->Read(buffer, kReadSize);
        if (got < 0) read.gone = true;
        if (got <= 0) return read;
        read.arrived = true;
        m_arrived += got;
        if (!m_file || m_storeFailed.load()) continue;
        const qint64 before = m_file->Written();
        m_file->Write(buffer, static_cast<std::size_t>(got));
        // What the file took before it failed is stored; the rest is not.
        m_total += m_file->Failed() ? m_file->Written() - before : got;
        if (m_file->Failed()) {
            m_storeFailed = true;
            read.refused = true;
        }
    }
}

void SerialLink::ReaderLoop() {
    using Clock = std::chrono::steady_clock;
    bool unsynced = false;
    Clock::time_point lastSync = Clock::now();
    // The file's bytes go to the disk; a file that cannot is a refused store.
    const auto sync = [&]() {
        unsynced = false;
        lastSync = Clock::now();
        if (!m_file || m_storeFailed.load() || !m_file->Sync()) return false;
        m_storeFailed = true;
        return true;
    };
    while (m_open.load()) {
        const SerialDevice::WaitResult waited = m_device->WaitReadable();
        if (!m_open.load()) break;
        if (waited == SerialDevice::WaitResult::Woken) {
            if (m_syncWanted.exchange(false) && unsynced && sync()) Q_EMIT StoreRefused();
            continue;
        }
        QueuedRead read = StoreQueued();
        read.gone = read.gone || waited == SerialDevice::WaitResult::HungUp;
        unsynced = unsynced || read.arrived;
        if (unsynced && Clock::now() - lastSync >= std::chrono::milliseconds(kSyncIntervalMs) && sync())
            read.refused = true;
        if (read.arrived) Q_EMIT Received(m_total.load());
        if (read.refused) Q_EMIT StoreRefused();
        if (read.gone) {
            m_lost = true;
            Q_EMIT Lost();
            return;
        }
    }
    // Closed: Close itself takes what the port still holds, once DTR is down.
}
