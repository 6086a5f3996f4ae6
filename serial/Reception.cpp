#include "serial/Reception.h"

#include "base/ControlBytes.h"
#include "base/InputFile.h"
#include "base/OutputFile.h"
#include "base/Prompter.h"
#include "base/ReplacementFile.h"
#include "base/Texts.h"
#include "serial/PortError.h"
#include "serial/SerialDevice.h"
#include "serial/SerialLink.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

namespace {

// Whether two names name one file, as the system compares names.
bool SameFile(const QString& a, const QString& b) {
#ifdef _WIN32
    constexpr Qt::CaseSensitivity kCase = Qt::CaseInsensitive;
#else
    constexpr Qt::CaseSensitivity kCase = Qt::CaseSensitive;
#endif
    return QFileInfo(a).absoluteFilePath().compare(QFileInfo(b).absoluteFilePath(), kCase) == 0;
}

}  // namespace

Reception::Reception(SerialLink& link, Prompter& prompter, Clock clock, QObject* parent)
    : QObject(parent), m_link(link), m_prompter(prompter), m_clock(std::move(clock)) {
    if (!m_clock) {
        auto started = std::make_shared<QElapsedTimer>();
        started->start();
        m_clock = [started] { return started->elapsed(); };
    }
    m_timer.setInterval(kTickMs);
    connect(&m_timer, &QTimer::timeout, this, &Reception::Tick);
    // The reader thread emits these; they arrive here queued, in order.
    connect(&m_link, &SerialLink::Received, this, &Reception::OnReceived, Qt::QueuedConnection);
    connect(&m_link, &SerialLink::Lost, this, &Reception::OnLost, Qt::QueuedConnection);
    connect(&m_link, &SerialLink::StoreRefused, this, &Reception::OnStoreRefused, Qt::QueuedConnection);
}

Reception::~Reception() {
    if (IsRunning()) Cancel();
}

bool Reception::Start(const QString& targetPath) {
    if (IsRunning()) return false;
    m_targetPath = targetPath;
    m_temporaryPath.clear();
    m_anyArrived = false;
    m_pauseSynced = false;
    m_shownTotal = 0;
    m_storedBytes = 0;

    // Before the instrument is told to send: a file that cannot even be made ends
    // the run here.
    // Unbuffered, so that what the reader wrote is in the file at once.
    if (const FileError error =
            m_file.CreateBeside(targetPath, TemporaryName::Part, m_temporaryPath, OutputFile::Buffering::None)) {
        m_state = State::Failed;
        m_prompter.ReportFileError(error);
        return false;
    }
    m_link.SetReceivedDataFile(&m_file);
    if (m_link.IsOpen()) m_link.Close();
    if (!m_link.Open(true)) {
        m_link.SetReceivedDataFile(nullptr);
        m_file.Close();
        DropTemporary();
        m_state = State::Cancelled;
        m_prompter.Tell(Text(Texts::kBadCommSettings) + '\n' + PortErrorText(m_link.OpenError(), *m_portAdvice));
        return false;
    }
    m_state = State::Waiting;
    SetStatus(Text(Texts::kWaitingForData));
    m_timer.start();
    return true;
}

void Reception::OnReceived(qint64 total) {
    // A report still queued from an earlier opening of the link counts for nothing.
    if (!IsRunning() || m_link.ArrivedTotal() == 0) return;
    m_anyArrived = true;
    m_lastArrivalMs = m_clock();
    m_pauseSynced = false;
    m_state = State::Receiving;
    if (total > m_shownTotal) {
        m_shownTotal = total;
        SetStatus(ReceivingStatus(total));
    }
}

void Reception::OnLost() {
    if (IsRunning() && m_link.ConnectionLost()) End(State::Lost, &Texts::kConnectionLostHeadline);
}

void Reception::OnStoreRefused() {
    if (IsRunning() && m_link.StoreFailed()) End(State::Failed);
}

void Reception::Tick() {
    if (!IsRunning()) return;
    if (m_link.StoreFailed()) {
        End(State::Failed);
        return;
    }
    if (m_link.ConnectionLost()) {
        End(State::Lost, &Texts::kConnectionLostHeadline);
        return;
    }
    if (!m_anyArrived) return;
    const qint64 silence = m_clock() - m_lastArrivalMs;
    // A pause: what came goes to the disk now rather than within the second.
    if (!m_pauseSynced && silence >= kTickMs) {
        m_link.SyncReceived();
        m_pauseSynced = true;
    }
    // Any byte starts the 2 s count, so a short transfer ends and is kept too.
    if (silence > kEndOfDataMs) End(State::Completed);
}

void Reception::Cancel() {
    if (!IsRunning()) return;
    m_timer.stop();
    StopReader();
    m_state = State::Cancelled;
    if (m_storedBytes > 0)
        KeepBeside(nullptr);
    else
        DropTemporary();
    Q_EMIT Finished(m_state);
}

void Reception::Interrupt() {
    if (IsRunning()) End(State::Lost, &Texts::kReceptionStoppedHeadline);
}

void Reception::StopReader() {
    // Stopping the reader first leaves the file to this thread alone.
    m_link.Close();
    m_link.SetReceivedDataFile(nullptr);
    // The bytes go to the disk before the file takes the target's place.
    m_file.Sync();
    m_file.Close();
    m_storedBytes = m_file.Written();
}

bool Reception::EndsWhole() const {
    QFile file(m_temporaryPath);
    if (!file.open(QIODevice::ReadOnly)) return true;
    const auto preamble = static_cast<qint64>(kPreambleStart.size());
    if (file.read(preamble) != QByteArrayView(kPreambleStart)) return true;
    // A transfer that opened with the preambles is whole with its end record only.
    const auto reach = static_cast<qint64>(kEndRecordReach);
    if (!file.seek(qMax<qint64>(0, file.size() - reach))) return false;
    const QByteArray tail = file.readAll();
    return EndsWithEndRecord(std::string_view(tail.constData(), static_cast<std::size_t>(tail.size())));
}

void Reception::End(State state, const UserText* headline) {
    m_timer.stop();
    StopReader();
    if (m_storedBytes > 0) {
        const QByteArray lineErrors = LineErrorsText(m_link.LineErrors());
        if (!lineErrors.isEmpty()) m_prompter.Tell(lineErrors);
    }

    if (m_file.Error()) {
        KeepStored(m_file.Error());
        return;
    }
    if (state == State::Completed && !EndsWhole()) {
        state = State::Lost;
        headline = &Texts::kNoEndRecordHeadline;
    }
    if (state == State::Lost && m_storedBytes == 0) {
        DropTemporary();
        m_state = State::Lost;
        m_prompter.Tell(headline == &Texts::kConnectionLostHeadline ? Text(Texts::kConnectionLostNoData)
                                                                    : Text(*headline));
        Q_EMIT Finished(m_state);
        return;
    }
    // Only a whole transfer replaces a file; a broken one goes beside it.
    if (state == State::Lost && FileExists(m_targetPath)) {
        m_state = State::Lost;
        KeepBeside(headline);
        Q_EMIT Finished(m_state);
        return;
    }
    if (const FileError error = PutInPlace(m_temporaryPath, m_targetPath)) {
        KeepStored(error);
        return;
    }
    m_temporaryPath.clear();
    m_state = state;
    if (state == State::Lost)
        m_prompter.Tell(Text(*headline) + '\n' +
                        TextFilled(Texts::kBrokenTransferInTarget,
                                   {Counted(m_storedBytes, Texts::kBytesNoun), DisplayPath(m_targetPath)}));
    Q_EMIT Finished(m_state);
}

void Reception::KeepBeside(const UserText* headline) {
    QByteArray text = headline ? Text(*headline) + '\n' : QByteArray();
    const QByteArray count = Counted(m_storedBytes, Texts::kBytesNoun);
    if (FileExists(m_targetPath))
        text +=
            TextFilled(Texts::kBrokenTransferBeside, {count, DisplayPath(m_temporaryPath), DisplayPath(m_targetPath)});
    else
        text += TextFilled(Texts::kReceivedDataKeptIn, {count, DisplayPath(m_temporaryPath)});
    m_prompter.Tell(text + '\n' + Text(Texts::kLeftoverOfferedNextTime));
}

void Reception::KeepStored(const FileError& error) {
    // The bytes cannot be measured again: what was stored stays where it is, named.
    m_state = State::Failed;
    m_prompter.ReportFileError(error);
    if (m_storedBytes > 0)
        m_prompter.Tell(TextFilled(Texts::kReceivedDataKeptIn,
                                   {Counted(m_storedBytes, Texts::kBytesNoun), DisplayPath(m_temporaryPath)}));
    else
        DropTemporary();
    Q_EMIT Finished(m_state);
}

void Reception::DropTemporary() {
    if (!m_temporaryPath.isEmpty()) QFile::remove(m_temporaryPath);
    m_temporaryPath.clear();
}

ReceivedData Reception::Left() const {
    if (m_state == State::Completed) return ReceivedData::Whole;
    // A broken transfer kept beside the old file left the target as it was.
    if (m_state == State::Lost && m_storedBytes > 0 && m_temporaryPath.isEmpty()) return ReceivedData::Broken;
    return ReceivedData::None;
}

void Reception::SetStatus(const QByteArray& text) {
    m_statusText = text;
    Q_EMIT StatusChanged(text);
}

QList<QString> Reception::FindLeftovers(const QString& target) {
    const QDir folder = QFileInfo(target).absoluteDir();
    QList<QString> found;
    const QFileInfoList entries = folder.entryInfoList(QDir::Files | QDir::Hidden, QDir::Name);
    for (const QFileInfo& entry : entries) {
        if (!IsTemporaryName(entry.fileName(), TemporaryName::Part) || entry.size() == 0) continue;
        // A reception of another window or program writes there now.
        if (FileInUse(entry.absoluteFilePath())) continue;
        found.append(entry.absoluteFilePath());
    }
    return found;
}

void Reception::OfferLeftovers(const QString& target, Prompter& prompter, const std::function<QString()>& chooseName) {
    for (const QString& leftover : FindLeftovers(target)) {
        const QByteArray text = TextFilled(
            Texts::kAskKeepLeftover, {DisplayPath(leftover), Counted(QFileInfo(leftover).size(), Texts::kBytesNoun)});
        if (prompter.Ask(Topic::ReceptionLeftover, text, MessageButtons::YesNo, MessageIcon::Question) != Answer::Yes)
            continue;
        const QString chosen = chooseName ? chooseName() : QString();
        if (chosen.isEmpty()) continue;
        // The reception about to start would write over them there.
        if (SameFile(chosen, target)) {
            prompter.Tell(TextFilled(Texts::kLeftoverNotOverTarget, {DisplayPath(chosen), DisplayPath(leftover)}));
            continue;
        }
        if (const FileError error = MoveFileOver(leftover, chosen)) prompter.ReportFileError(error);
    }
}

QByteArray ReceivingStatus(qint64 bytes) {
    return TextFilled(Texts::kReceivingData,
                      {Counted(bytes, Texts::kBytesNoun), PluralForm(bytes, Texts::kReceivedParticiple)});
}

QByteArray LineErrorsText(const LineErrorCounts& errors) {
    if (!errors.Any()) return {};
    QList<QByteArray> kinds;
    const auto add = [&kinds](qint64 count, const UserText& text) {
        if (count > 0) kinds.append(TextWith(text, QByteArray::number(count)));
    };
    add(errors.parity, Texts::kLineErrorParity);
    add(errors.framing, Texts::kLineErrorFraming);
    add(errors.parityOrFraming, Texts::kLineErrorMarked);
    add(errors.overrun, Texts::kLineErrorOverrun);
    return TextWith(Texts::kLineErrors, kinds.join(", "));
}
