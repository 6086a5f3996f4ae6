#include "serial/Reception.h"

#include "base/Cp1250.h"
#include "base/FileIo.h"
#include "base/Prompter.h"
#include "base/Texts.h"
#include "serial/PortError.h"
#include "serial/SerialLink.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#ifdef _WIN32
#include <windows.h>
#else
#include <cstdio>
#endif

namespace {

// A new, empty file beside the target, created with the user's default
// permissions (or the target's, when it exists).
FileError CreateTemporaryBeside(const QString& target, QString& temporaryPath) {
    const QFileInfo info(target);
    const QDir directory = info.absoluteDir();
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QString name = QStringLiteral("%1.%2.part")
                                 .arg(info.fileName())
                                 .arg(QRandomGenerator::global()->generate() & 0xFFFFFF, 6, 16, QLatin1Char('0'));
        QFile file(directory.filePath(name));
        if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            file.close();
            if (info.exists()) QFile::setPermissions(file.fileName(), info.permissions());
            temporaryPath = file.fileName();
            return {};
        }
        if (!file.exists()) {
            const QFileInfo where(directory.absolutePath());
            FileErrorKind kind = FileErrorKind::CreateError;
            if (!where.exists())
                kind = FileErrorKind::NotFound;
            else if (!where.isDir())
                kind = FileErrorKind::BadPath;
            else if (!where.isWritable())
                kind = FileErrorKind::AccessDenied;
            return FileError{kind, target, 0};
        }
    }
    return FileError{FileErrorKind::CreateError, target, 0};
}

// Puts the finished file in place of the target in one step.
bool ReplaceFile(const QString& from, const QString& to) {
#ifdef _WIN32
    return MoveFileExW(reinterpret_cast<const wchar_t*>(from.utf16()), reinterpret_cast<const wchar_t*>(to.utf16()),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
#else
    return std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
#endif
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
}

Reception::~Reception() {
    if (IsRunning()) Cancel();
}

bool Reception::Start(const QString& targetPath) {
    if (IsRunning()) return false;
    m_targetPath = targetPath;
    m_temporaryPath.clear();
    m_anyArrived = false;
    m_shownTotal = 0;
    m_storedBytes = 0;

    if (const FileError error = CreateTemporaryBeside(targetPath, m_temporaryPath)) {
        m_state = State::Failed;
        m_prompter.ReportFileError(error);
        return false;
    }
    if (FileError error = m_file.Create(m_temporaryPath)) {
        DropTemporary();
        m_state = State::Failed;
        error.path = targetPath;
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
    m_state = State::Receiving;
    // The text counts the bytes the reader has stored; bytes still pending show
    // only in the file.
    if (total > m_shownTotal) {
        m_shownTotal = total;
        SetStatus(TextFilled(Texts::kReceivingData, {Counted(total, Texts::kBytesNoun),
                                                     Cp1250::FromUtf8(PluralForm(total, Texts::kReceivedParticiple))}));
    }
}

void Reception::OnLost() {
    if (IsRunning() && m_link.ConnectionLost()) End(State::Lost);
}

void Reception::Tick() {
    if (!IsRunning()) return;
    if (m_link.ConnectionLost()) {
        End(State::Lost);
        return;
    }
    // Any byte starts the 2 s count, so a short transfer ends and is kept too.
    if (!m_anyArrived || m_clock() - m_lastArrivalMs <= kEndOfDataMs) return;
    End(State::Completed);
}

void Reception::Cancel() {
    if (!IsRunning()) return;
    m_timer.stop();
    m_link.Close();
    m_link.TakePending();
    m_link.SetReceivedDataFile(nullptr);
    m_file.Close();
    DropTemporary();
    m_state = State::Cancelled;
    Q_EMIT Finished(m_state);
}

void Reception::End(State state) {
    m_timer.stop();
    // Stopping the reader first leaves the pending bytes and the file to this
    // thread alone: nothing can be appended twice or slip between the two.
    m_link.Close();
    const QByteArray rest = m_link.TakePending();
    m_file.Write(rest);
    m_link.SetReceivedDataFile(nullptr);
    m_storedBytes = m_link.ReceivedTotal() + rest.size();

    if (FileError error = m_file.Close()) {
        DropTemporary();
        error.path = m_targetPath;
        m_state = State::Failed;
        m_prompter.ReportFileError(error);
        Q_EMIT Finished(m_state);
        return;
    }
    if (state == State::Lost && m_storedBytes == 0) {
        DropTemporary();
        m_state = State::Lost;
        m_prompter.Tell(Text(Texts::kConnectionLostNoData));
        Q_EMIT Finished(m_state);
        return;
    }
    if (!ReplaceFile(m_temporaryPath, m_targetPath)) {
        // The bytes cannot be measured again: keep them where they are.
        m_state = State::Failed;
        m_prompter.ReportFileError(FileError{FileErrorKind::AccessDenied, m_targetPath, 0});
        m_prompter.Tell(TextWith(Texts::kReceivedDataKeptIn, DisplayPath(m_temporaryPath)));
        Q_EMIT Finished(m_state);
        return;
    }
    m_temporaryPath.clear();
    m_state = state;
    if (state == State::Lost)
        m_prompter.Tell(TextWith(Texts::kConnectionLost, Counted(m_storedBytes, Texts::kBytesNoun)));
    Q_EMIT Finished(m_state);
}

void Reception::DropTemporary() {
    if (!m_temporaryPath.isEmpty()) QFile::remove(m_temporaryPath);
    m_temporaryPath.clear();
}

void Reception::SetStatus(const QByteArray& text) {
    m_statusText = text;
    Q_EMIT StatusChanged(text);
}
