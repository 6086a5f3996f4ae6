#include "serial/SerialLink.h"

#include "base/OutputFile.h"
#include "base/SettingsStore.h"
#include "serial/LineSettings.h"
#include "serial/PortNames.h"

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
    {
        std::lock_guard lock(m_pendingMutex);
        m_pendingCount = 0;
    }
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
    if (m_reader.joinable()) m_reader.join();
    m_device->SetDtr(false);
    m_lineErrors = m_device->LineErrors();
    // Every write has waited until its bytes left, so only unread input goes; a
    // pseudo-terminal would otherwise lose what its far side has not read yet.
    m_device->DropInput();
    m_device->Close();
    m_device.reset();
}

bool SerialLink::Write(QByteArrayView bytes) {
    if (!m_open.load()) return false;
    const qint64 timeoutMs = m_writeMsPerByte * bytes.size();
    return m_device->Write(bytes.data(), bytes.size(), static_cast<int>(qMin<qint64>(timeoutMs, 1 << 30)));
}

QByteArray SerialLink::TakePending() {
    std::lock_guard lock(m_pendingMutex);
    const QByteArray bytes(m_pending, m_pendingCount);
    m_pendingCount = 0;
    return bytes;
}

void SerialLink::ReaderLoop() {
    qint64 total = 0;
    while (m_open.load()) {
        const SerialDevice::WaitResult waited = m_device->WaitReadable();
        if (!m_open.load()) break;
        if (waited == SerialDevice::WaitResult::Woken) continue;
        bool gone = waited == SerialDevice::WaitResult::HungUp;
        bool arrived = false;
        bool refused = false;
        // Read until the driver holds nothing more. The read never asks for more
        // than the room left behind the pending bytes, and a chunk goes to the file
        // as soon as it exceeds the threshold, so the buffer always has room.
        for (;;) {
            std::lock_guard lock(m_pendingMutex);
            const qint64 got = m_device->Read(m_pending + m_pendingCount, kPendingSize - m_pendingCount);
            if (got < 0) gone = true;
            if (got <= 0) break;
            arrived = true;
            m_pendingCount += static_cast<int>(got);
            m_arrived += got;
            if (m_pendingCount > kChunkThreshold) {
                if (m_file && !m_storeFailed.load()) {
                    const qint64 before = m_file->Written();
                    m_file->Write(m_pending, static_cast<std::size_t>(m_pendingCount));
                    // What the file took before it failed is stored; the rest is not.
                    total += m_file->Failed() ? m_file->Written() - before : m_pendingCount;
                    m_total = total;
                    if (m_file->Failed()) {
                        m_storeFailed = true;
                        refused = true;
                    }
                }
                m_pendingCount = 0;
            }
        }
        if (arrived) Q_EMIT Received(total);
        if (refused) Q_EMIT StoreRefused();
        if (gone) {
            m_lost = true;
            Q_EMIT Lost();
            break;
        }
    }
}
