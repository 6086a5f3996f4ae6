#pragma once
// The one serial port of the system: the five stored line settings, opening and
// closing, writes, and the reader thread that stores what the instrument sends.
//
// Every call comes from the window thread. With Open(true) a reader thread runs
// until Close: it appends what each read brought to the received-data file at once
// (nothing is held back in memory, so a killed program keeps every byte that
// arrived), has the file put on the disk at least once a second while data arrive
// and whenever asked to (SyncReceived, at a pause), and reports the running total
// of bytes appended through the queued signal Received after every read that
// brought bytes. When the file refuses a write the reader stores nothing more (the
// total stops where the file ends) and says so at once through StoreFailed.

#include "base/ConversionSettings.h"
#include "serial/SerialDevice.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QObject>
#include <QString>

#include <atomic>
#include <functional>
#include <memory>
#include <thread>

class OutputFile;

class SerialLink : public QObject {
    Q_OBJECT
public:
    using DeviceFactory = std::function<std::unique_ptr<SerialDevice>()>;
    // The device of a port number (PortNames::DeviceOf over the user's profile by default).
    using PortResolver = std::function<QString(int commPort)>;

    static constexpr int kReadSize = 1024;        // the most one read takes
    static constexpr int kSyncIntervalMs = 1000;  // the longest received bytes wait for the disk

    explicit SerialLink(QObject* parent = nullptr);
    explicit SerialLink(DeviceFactory factory, QObject* parent = nullptr);
    ~SerialLink() override;

    const SerialSettings& Settings() const { return m_settings; }
    void SetSettings(const SerialSettings& settings) { m_settings = settings; }
    // A device that replaces the port number's (tarvo-cli --port, tests); empty
    // goes back to the port number.
    void SetDevice(const QString& device) { m_explicitDevice = device; }
    void SetPortResolver(PortResolver resolver) { m_resolver = std::move(resolver); }
    // The device Open would open now; empty for port 0.
    QString Device() const;

    // Opens and configures the port (DTR goes up as it opens), with the reader
    // thread when asked, which raises DTR once more when it waits. False (and
    // closed) when a setting lies outside its table, the device cannot be opened,
    // the driver refuses the line, or the thread cannot start. An open link is
    // closed first.
    bool Open(bool withReader);
    // Why the last Open failed (Kind::None after one that succeeded).
    const PortError& OpenError() const { return m_error; }
    // Stops the reader, lowers DTR, stores what the port still holds (after a
    // reception) or drops unread input (otherwise), and closes; nothing on a
    // closed link.
    void Close();
    bool IsOpen() const { return m_open.load(); }

    // Writes all bytes and waits until they are on the line; gives up after the
    // write time-out of the speed (none from 38400 bit/s up). False on failure.
    bool Write(QByteArrayView bytes);

    // The file the reader appends to; set before Open(true), cleared after Close.
    // Without one, what the reader reads is dropped. An unbuffered file keeps the
    // total exact to the byte when a write fails.
    void SetReceivedDataFile(OutputFile* file) { m_file = file; }
    // Has the reader put what it appended on the disk soon (a pause in the data):
    // returns at once.
    void SyncReceived();
    // Bytes the reader has appended since Open.
    qint64 ReceivedTotal() const { return m_total.load(); }
    // Bytes the reader has read since Open, stored or not.
    qint64 ArrivedTotal() const { return m_arrived.load(); }
    // The device vanished or the far side hung up while the reader ran.
    bool ConnectionLost() const { return m_lost.load(); }
    // The received-data file refused a chunk (its error is the file's).
    bool StoreFailed() const { return m_storeFailed.load(); }
    // The line errors the port saw between the last Open and Close.
    LineErrorCounts LineErrors() const { return m_lineErrors; }

Q_SIGNALS:
    // After each read that brought bytes: the running total appended to the file.
    void Received(qint64 total);
    // The reader saw the device vanish and has ended.
    void Lost();
    // The received-data file refused a chunk; the reader stores nothing more.
    void StoreRefused();

private:
    // What one StoreQueued brought.
    struct QueuedRead {
        bool arrived = false;  // bytes came
        bool gone = false;     // the device vanished
        bool refused = false;  // the file refused a chunk
    };

    void ReaderLoop();
    // Reads until the driver holds nothing more; each read goes to the file at once.
    QueuedRead StoreQueued();

    DeviceFactory m_factory;
    PortResolver m_resolver;
    SerialSettings m_settings;
    QString m_explicitDevice;
    std::unique_ptr<SerialDevice> m_device;
    int m_writeMsPerByte = 0;
    PortError m_error;

    std::atomic<bool> m_open{false};
    std::atomic<bool> m_lost{false};
    std::atomic<bool> m_storeFailed{false};
    LineErrorCounts m_lineErrors;
    std::atomic<qint64> m_total{0};
    std::atomic<qint64> m_arrived{0};
    std::thread m_reader;

    std::atomic<bool> m_syncWanted{false};
    OutputFile* m_file = nullptr;  // used by the reader thread alone while it runs
};
