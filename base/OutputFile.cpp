#include "base/OutputFile.h"

#include "base/SystemFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>

#include <algorithm>
#include <cerrno>

namespace {

constexpr qsizetype kGatherBytes = 1 << 16;

// The longest file name the systems take: 255 bytes of UTF-8 on Linux, 255 UTF-16
// units on Windows. A Windows folder may lie on a server that keeps names as
// UTF-8 (a network share, Wine), so there a name fits both.
constexpr qsizetype kLongestName = 255;

qsizetype NameLength(const QString& name) {
#ifdef _WIN32
    return std::max(name.size(), name.toUtf8().size());
#else
    return QFile::encodeName(name).size();
#endif
}

QString TemporarySuffix(TemporaryName naming) {
    return naming == TemporaryName::Part ? QStringLiteral(".part") : QString();
}

}  // namespace

QString TemporaryPrefix(const QString& target, TemporaryName naming) {
    QString name = QFileInfo(target).fileName();
    const QString before = naming == TemporaryName::Hidden ? QStringLiteral(".") : QString();
    // The six random characters and what follows them.
    const qsizetype added = NameLength(before + QLatin1String(".tarvo-XXXXXX") + TemporarySuffix(naming));
    while (!name.isEmpty() && NameLength(name) + added > kLongestName) {
        name.chop(1);
        if (!name.isEmpty() && name.back().isHighSurrogate()) name.chop(1);
    }
    return before + name + QLatin1String(".tarvo-");
}

QString TemporaryNameBeside(const QString& target, TemporaryName naming) {
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    QString name = TemporaryPrefix(target, naming);
    for (int i = 0; i < 6; ++i) name += QLatin1Char(kLetters[QRandomGenerator::global()->bounded(36)]);
    name += TemporarySuffix(naming);
    return QFileInfo(target).absoluteDir().filePath(name);
}

bool IsTemporaryName(const QString& name, TemporaryName naming) {
    static const QRegularExpression hidden(QStringLiteral("^\\..+\\.tarvo-[0-9a-z]{6}$"));
    static const QRegularExpression part(QStringLiteral("^.+\\.tarvo-[0-9a-z]{6}\\.part$"));
    return (naming == TemporaryName::Hidden ? hidden : part).match(name).hasMatch();
}

OutputFile::~OutputFile() { Close(); }

FileError OutputFile::Create(const QString& path, Buffering buffering) { return Open(path, false, buffering); }

FileError OutputFile::CreateNew(const QString& path, Buffering buffering) { return Open(path, true, buffering); }

FileError OutputFile::CreateBeside(const QString& target, TemporaryName naming, QString& path, Buffering buffering) {
    path.clear();
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QString name = TemporaryNameBeside(target, naming);
        if (!CreateNew(name, buffering)) {
            SystemFiles::KeepPermissions(m_fd, target);
            m_path = target;
            path = name;
            return {};
        }
        if (m_error.systemError != EEXIST) break;
    }
    m_error.path = target;
    return m_error;
}

FileError OutputFile::Open(const QString& path, bool mustBeNew, Buffering buffering) {
    if (m_fd >= 0) Close();
    const int fd = SystemFiles::OpenForWriting(path, mustBeNew);
    if (fd < 0) {
        m_fd = -1;
        m_path = path;
        // An existing file that must be new is a CreateError too.
        m_error = OpeningFileError(errno, path, FileErrorKind::CreateError);
        return m_error;
    }
    Adopt(fd, path, buffering);
    return m_error;
}

void OutputFile::Adopt(int descriptor, const QString& path, Buffering buffering) {
    m_fd = descriptor;
    m_path = path;
    m_buffering = buffering;
    m_gathered.clear();
    if (buffering == Buffering::Gathered) m_gathered.reserve(kGatherBytes);
    m_written = 0;
    m_error = {};
}

void OutputFile::Fail(FileErrorKind otherwise, int systemError) {
    if (!m_error) m_error = SystemFileError(systemError, m_path, otherwise);
}

void OutputFile::Write(const char* data, std::size_t size) {
    if (m_fd < 0 || m_error || size == 0) return;
    if (m_buffering == Buffering::Gathered) {
        if (m_gathered.size() + static_cast<qsizetype>(size) > kGatherBytes && Flush()) return;
        if (static_cast<qsizetype>(size) < kGatherBytes) {
            m_gathered.append(data, static_cast<qsizetype>(size));
            return;
        }
    }
    WriteThrough(data, size);
}

void OutputFile::WriteThrough(const char* data, std::size_t size) {
    // Partly written is written: the system may take fewer bytes than asked.
    while (size > 0 && !m_error) {
        const long written = SystemFiles::Write(m_fd, data, size);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) {
            Fail(FileErrorKind::WriteError, written < 0 ? errno : EIO);
            return;
        }
        m_written += written;
        data += written;
        size -= static_cast<std::size_t>(written);
    }
}

FileError OutputFile::Flush() {
    if (m_fd < 0 || m_error || m_gathered.isEmpty()) return m_error;
    WriteThrough(m_gathered.constData(), static_cast<std::size_t>(m_gathered.size()));
    m_gathered.resize(0);
    return m_error;
}

FileError OutputFile::Sync() {
    if (m_fd < 0 || Flush()) return m_error;
    if (SystemFiles::Sync(m_fd) != 0) Fail(FileErrorKind::WriteError, errno);
    return m_error;
}

FileError OutputFile::Close() {
    if (m_fd < 0) return m_error;
    Flush();
    if (SystemFiles::Close(m_fd) != 0) Fail(FileErrorKind::WriteError, errno);
    m_fd = -1;
    m_gathered.clear();
    return m_error;
}

void OutputFile::Abandon() {
    if (m_fd >= 0) SystemFiles::Close(m_fd);
    m_fd = -1;
    m_gathered.clear();
}
