#pragma once
// One reception of measured data, independent of the window that shows it: it
// receives into a temporary file beside the target, shows "Čekám na data ..." and
// then the running byte count, and ends by itself 2 s after the last byte arrived
// (checked on a 500 ms tick), or on Storno, or when the port vanishes, or when the
// program is told to end (Interrupt).
//
// Every byte is in the temporary file as soon as it is read, and on the disk
// within a second, and at every pause of the data: a killed program or a power
// loss loses at most the last second. Only a whole transfer replaces the target,
// after its bytes are on the disk. A transfer is whole when it ended in silence,
// unless it opened with the NTS-350's preambles and its end record never came. A
// broken transfer (the port vanished, the program was told to end, no end record)
// keeps every byte: in the target when there was no file of that name, else in
// the temporary file beside the old one, which stays as it was; the message says
// where. Storno leaves the target as it was and keeps what came, named, as well:
// the bytes are the instrument's, and only the user deletes them. A file that
// refuses a write (a full disk) ends the reception at once: the bytes stored so far
// stay in the temporary file, whose name the message gives. Line errors the port
// saw (parity, framing, overrun) are reported at the end.
//
// The temporary file is "<target name>.tarvo-XXXXXX.part"; one left by a reception
// that never ended or did not end whole is found by OfferLeftovers and never
// removed.

#include "base/OutputFile.h"
#include "base/Texts.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>

class Prompter;
class SerialLink;
struct LineErrorCounts;

// What a reception left in its target file.
enum class ReceivedData {
    None,    // nothing new: cancelled, failed, nothing arrived, or a broken transfer kept beside the old file
    Whole,   // the transfer ended whole
    Broken,  // a broken transfer, kept in the target (there was no file of that name)
};

class Reception : public QObject {
    Q_OBJECT
public:
    // Milliseconds of a steady clock.
    using Clock = std::function<qint64()>;

    enum class State {
        Idle,       // not started
        Waiting,    // port open, nothing arrived yet
        Receiving,  // bytes have arrived
        Completed,  // ended whole; the target holds the bytes
        // Ended broken (the port vanished, Interrupt, no end record): what arrived,
        // if anything did, is in the target or beside it (KeptPath()).
        Lost,
        // Storno, or the port could not be opened; the target is untouched, what
        // arrived is in KeptPath().
        Cancelled,
        // A file could not be created, written or put in place (reported); what was
        // stored stays in KeptPath().
        Failed,
    };

    Q_ENUM(State)

    static constexpr int kTickMs = 500;
    static constexpr int kEndOfDataMs = 2000;

    // Without a clock a steady system clock is used.
    Reception(SerialLink& link, Prompter& prompter, Clock clock = {}, QObject* parent = nullptr);
    ~Reception() override;

    // Creates the temporary file and opens the link with its reader. False after the
    // failure was reported (file error, or the communication settings message).
    bool Start(const QString& targetPath);
    // What the message of a port that does not open advises, where other settings
    // can help: the window program's dialog (the default) or tarvo-cli's options.
    void SetPortAdvice(const UserText& advice) { m_portAdvice = &advice; }
    // The timer's tick: ends the reception when data came and then 2 s passed.
    void Tick();
    // Storno: stops the reader and leaves the target as it was; what arrived stays
    // beside it, named.
    void Cancel();
    // The program is told to end (a signal, the console closing): the reception
    // ends as broken, keeping every byte.
    void Interrupt();

    State CurrentState() const { return m_state; }
    // What the finished reception left in its target.
    ReceivedData Left() const;
    bool IsRunning() const { return m_state == State::Waiting || m_state == State::Receiving; }
    // The window's status text (Windows-1250).
    QByteArray StatusText() const { return m_statusText; }
    // Bytes in the target after the end (all the reader stored),
    // or in KeptPath() after a failure.
    qint64 StoredBytes() const { return m_storedBytes; }
    // Where a reception that did not replace its target left what it stored; empty
    // when nothing was stored or the target holds it.
    QString KeptPath() const { return m_temporaryPath; }

    // The temporary files of receptions that never ended, beside target: not being
    // written now, not empty.
    static QList<QString> FindLeftovers(const QString& target);
    // Offers each leftover beside target to be kept as a measured-data file under
    // the name chooseName gives (the caller's save dialog); a leftover not taken
    // stays as it is. Without chooseName the question only names the file (the
    // command line answers No).
    static void OfferLeftovers(const QString& target, Prompter& prompter,
                               const std::function<QString()>& chooseName = {});

Q_SIGNALS:
    void StatusChanged(const QByteArray& text);
    // The reception is over; the state says how.
    void Finished(Reception::State state);

private:
    void OnReceived(qint64 total);
    void OnLost();
    void OnStoreRefused();
    void KeepStored(const FileError& error);
    void End(State state, const UserText* headline = nullptr);
    void StopReader();
    bool EndsWhole() const;
    void KeepBeside(const UserText* headline);
    void DropTemporary();
    void SetStatus(const QByteArray& text);

    SerialLink& m_link;
    Prompter& m_prompter;
    Clock m_clock;
    QTimer m_timer;
    State m_state = State::Idle;
    QString m_targetPath;
    QString m_temporaryPath;
    OutputFile m_file;
    bool m_anyArrived = false;
    qint64 m_lastArrivalMs = 0;
    bool m_pauseSynced = false;
    qint64 m_shownTotal = 0;
    qint64 m_storedBytes = 0;
    QByteArray m_statusText;
    const UserText* m_portAdvice = &Texts::kReceptionPortAdvice;
};

// The reception's status while data come in: «Přijímám data ... 4352 bajtů přijato».
QByteArray ReceivingStatus(qint64 bytes);

// The warning after a reception whose port saw line errors, with their counts;
// empty when there were none.
QByteArray LineErrorsText(const LineErrorCounts& errors);
