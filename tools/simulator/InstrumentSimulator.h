#pragma once
// A simulated total station on the far side of a pseudo-terminal: the program
// under test opens DevicePath() as its serial port. The instrument sends measured
// data as the real one does (the NTS-350 in framed 136-byte blocks, in bursts with
// pauses, with or without its preambles and end record; the NTS-660 as a plain
// stream), and receives an upload, checking the preambles, every block's digit and
// checksum and the end record. Once stopped, it tells how many of the bytes it sent
// the program left unread on the line.
//
// Sending and receiving run on threads of their own; the calls return at once.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <atomic>
#include <mutex>
#include <thread>

class InstrumentSimulator {
public:
    struct SendPlan {
        int burstBytes = 0;           // bytes per burst, 0 for one burst
        bool burstPerRecord = false;  // instead: each record (from its STX to the next) a burst of its own
        int pauseMs = 0;              // pause after each burst
        int endPauseMs = -1;          // the pause before the last burst (an NTS-350's end record); -1: pauseMs
        qint32 bitsPerSecond = 0;     // paced as on a line of this speed (10 bits a byte); 0: as fast as it goes
        // The cable is pulled after this many bytes, once the program has read them (-1: never).
        qint64 hangUpAfter = -1;
    };

    // What an upload brought, block by block.
    struct UploadReport {
        bool preamble1 = false;
        bool preamble2 = false;
        bool endRecord = false;
        int blocks = 0;
        qint64 bytes = 0;    // everything read from the line
        QByteArray stream;   // the blocks' 128-character payloads, in order
        QStringList faults;  // every check that failed, with its offset

        bool Ok() const { return preamble1 && preamble2 && endRecord && faults.isEmpty(); }
        // A summary, then the stream cut into its point or code records.
        QString Describe() const;
    };

    InstrumentSimulator();
    ~InstrumentSimulator();
    InstrumentSimulator(const InstrumentSimulator&) = delete;
    InstrumentSimulator& operator=(const InstrumentSimulator&) = delete;

    // Creates the pseudo-terminal pair. False with a reason.
    bool Open(QString& error);
    // The device the program under test opens (/dev/pts/N).
    QString DevicePath() const { return m_devicePath; }

    // Measured data as an NTS-350 sends it: text cut into 136-byte blocks. Data that
    // already carries the block framing (a received ".sdt") is returned as it is.
    static QByteArray FrameAsNts350(const QByteArray& data);
    // A whole NTS-350 transfer: preamble 1 and 2, the blocks, the end record. A
    // record the data already carry (a received ".sdt") is not added again.
    static QByteArray WithControlRecords(const QByteArray& framed);
    // Whether the transfer ends with the end record (STX EOT), as a reception judges it.
    static bool EndsWithEndRecord(const QByteArray& transfer);
    static constexpr int kNts350PauseMs = 100;  // between the records an NTS-350 sends
    // The burst plan of an NTS-350: one record per burst, kNts350PauseMs apart.
    static SendPlan Nts350Plan(qint32 bitsPerSecond);

    void StartSending(const QByteArray& bytes, const SendPlan& plan);
    // True when everything was sent (or the line hung up as planned) in time.
    bool WaitSent(int timeoutMs);
    qint64 BytesSent() const { return m_sent.load(); }

    // Listens for one upload; WaitUpload returns after its end record, or at the
    // time-out with what came so far.
    void StartReceivingUpload();
    UploadReport WaitUpload(int timeoutMs);
    bool UploadDone() const { return m_uploadDone.load(); }
    static UploadReport CheckUpload(const QByteArray& bytes);

    // Stops sending and receiving at once; the line stays up.
    void Stop();
    // After Stop, once the program under test has closed the port: reads what is
    // still waiting on the line, the kernel's buffers included, until nothing has
    // come for quietMs, and returns how many of the bytes sent it held, so that
    // BytesSent() minus it is what the program read. While the program still holds
    // the port, the two read against each other and the count means nothing.
    qint64 DrainUnread(int quietMs = 200);

    // Closes the far side, as when the cable is pulled.
    void HangUp();

private:
    void SendLoop(QByteArray bytes, SendPlan plan);
    void ReceiveLoop();
    // Waits ms milliseconds; false, at once, when told to stop.
    bool Rest(qint64 ms);
    // Closes both ends of the pseudo-terminal.
    void CloseLine();

    std::atomic<int> m_master{-1};
    std::atomic<int> m_slave{-1};  // held so that the line stays up between the program's opens
    QString m_devicePath;
    std::thread m_sender;
    std::thread m_receiver;
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_sendDone{false};
    std::atomic<bool> m_uploadDone{false};
    std::atomic<qint64> m_sent{0};
    std::mutex m_receivedMutex;
    QByteArray m_received;
};
