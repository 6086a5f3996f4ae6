#include "base/FileIo.h"

#include "base/Cp1250.h"
#include "base/Texts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <sys/stat.h>

#ifdef _WIN32
#include <io.h>
#include <share.h>
#include <windows.h>
#else
#include <sys/file.h>
#include <unistd.h>
#endif

namespace {

constexpr qsizetype kGatherBytes = 1 << 16;

std::FILE* OpenFile(const QString& path, const char* mode) {
#ifdef _WIN32
    return _wfopen(reinterpret_cast<const wchar_t*>(path.utf16()), QString::fromLatin1(mode).toStdWString().c_str());
#else
    return std::fopen(QFile::encodeName(path).constData(), mode);
#endif
}

// What a system error says to the user wherever it comes: a full disk (or an
// exhausted quota), a refused access or a read-only file system; otherwise for the
// errors that say nothing more.
FileErrorKind KindOfError(int error, FileErrorKind otherwise) {
    switch (error) {
        case ENOSPC:
#ifdef EDQUOT
        case EDQUOT:
#endif
            return FileErrorKind::DiskFull;
        case EACCES:
        case EPERM:
        case EROFS:
            return FileErrorKind::AccessDenied;
        default:
            return otherwise;
    }
}

// An open or a create can besides miss the file or its folder, or get a path that
// names no file.
FileErrorKind KindOfOpenError(int error, FileErrorKind otherwise) {
    switch (error) {
        case ENOENT:
            return FileErrorKind::NotFound;
        case EISDIR:
            return FileErrorKind::AccessDenied;
        case ENAMETOOLONG:
        case ENOTDIR:
        case EINVAL:
            return FileErrorKind::BadPath;
        default:
            return KindOfError(error, otherwise);
    }
}

FileError MakeError(FileErrorKind kind, const QString& path, int systemError) {
    return FileError{kind, path, systemError};
}

// The system's own calls on a descriptor, the same on both systems.
#ifdef _WIN32
int OpenDescriptor(const QString& path, bool mustBeNew) {
    const int flags = _O_WRONLY | _O_BINARY | _O_CREAT | _O_NOINHERIT | (mustBeNew ? _O_EXCL : _O_TRUNC);
    // A file being made is shared for reading only, which tells others it is in use.
    return _wsopen(reinterpret_cast<const wchar_t*>(path.utf16()), flags, mustBeNew ? _SH_DENYWR : _SH_DENYNO,
                   _S_IREAD | _S_IWRITE);
}
long WriteDescriptor(int fd, const char* data, std::size_t size) {
    return _write(fd, data, static_cast<unsigned>(qMin<std::size_t>(size, 1u << 30)));
}
int SyncDescriptor(int fd) { return _commit(fd); }
int CloseDescriptor(int fd) { return _close(fd); }
int RemoveFile(const QString& path) { return _wunlink(reinterpret_cast<const wchar_t*>(path.utf16())); }
#else
int OpenDescriptor(const QString& path, bool mustBeNew) {
    const int flags = O_WRONLY | O_CREAT | O_CLOEXEC | (mustBeNew ? O_EXCL : O_TRUNC);
    int fd;
    do {
        fd = ::open(QFile::encodeName(path).constData(), flags, 0666);
    } while (fd < 0 && errno == EINTR);
    // A file being made is locked, which tells others it is in use.
    if (fd >= 0 && mustBeNew) ::flock(fd, LOCK_EX | LOCK_NB);
    return fd;
}
long WriteDescriptor(int fd, const char* data, std::size_t size) {
    return static_cast<long>(::write(fd, data, qMin<std::size_t>(size, std::size_t(1) << 30)));
}
int SyncDescriptor(int fd) {
    const int result = ::fsync(fd);
    // A device or a pipe has nothing to put on a disk.
    return result != 0 && (errno == EINVAL || errno == ENOTSUP) ? 0 : result;
}
int CloseDescriptor(int fd) {
    const int result = ::close(fd);
    // Linux closes the descriptor even when the close is interrupted.
    return result != 0 && errno == EINTR ? 0 : result;
}
int RemoveFile(const QString& path) { return ::unlink(QFile::encodeName(path).constData()); }

// Records the folder's latest renames and new names on the disk. Some file systems
// cannot; the rename has happened either way.
void SyncFolderOf(const QString& path) {
    const QByteArray folder = QFile::encodeName(QFileInfo(path).absolutePath());
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}
#endif

#ifdef _WIN32
// What a failed MoveFileEx or CreateFile says, in the kinds of the file errors.
FileErrorKind KindOfWindowsError(DWORD error) {
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
            return FileErrorKind::NotFound;
        case ERROR_ACCESS_DENIED:
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
        case ERROR_WRITE_PROTECT:
            return FileErrorKind::AccessDenied;
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            return FileErrorKind::DiskFull;
        case ERROR_INVALID_NAME:
        case ERROR_BAD_PATHNAME:
        case ERROR_DIRECTORY:
        case ERROR_FILENAME_EXCED_RANGE:
            return FileErrorKind::BadPath;
        default:
            return FileErrorKind::WriteError;
    }
}
#endif

// A name beside target, with six random letters: ".<name>.tarvo-XXXXXX" (hidden)
// or "<name>.tarvo-XXXXXX.part".
QString TemporaryNameBeside(const QString& target, TemporaryName naming) {
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    const QFileInfo info(target);
    QString name = info.fileName() + QLatin1String(".tarvo-");
    if (naming == TemporaryName::Hidden) name.prepend(QLatin1Char('.'));
    for (int i = 0; i < 6; ++i) name += QLatin1Char(kLetters[QRandomGenerator::global()->bounded(36)]);
    if (naming == TemporaryName::Part) name += QLatin1String(".part");
    return info.absoluteDir().filePath(name);
}

// A new version of target keeps the old one's permissions (and owner, where
// allowed). Windows gives a new file its folder's.
void KeepPermissions(int fd, const QString& target) {
#ifdef _WIN32
    Q_UNUSED(fd);
    Q_UNUSED(target);
#else
    struct stat old {};
    if (::stat(QFile::encodeName(target).constData(), &old) != 0) return;
    ::fchmod(fd, old.st_mode & 07777);
    struct stat made {};
    if (::fstat(fd, &made) == 0 && (made.st_uid != old.st_uid || made.st_gid != old.st_gid)) {
        [[maybe_unused]] const int owned = ::fchown(fd, old.st_uid, old.st_gid);
    }
#endif
}

// Temporaries of target that a writer killed before its rename left behind: each
// was only ever a copy of an output, and none is in use.
void RemoveStaleTemporaries(const QString& target) {
    const QFileInfo info(target);
    const QString prefix = QLatin1Char('.') + info.fileName() + QLatin1String(".tarvo-");
    const QDir folder = info.absoluteDir();
    const QStringList names = folder.entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& name : names) {
        if (name.size() != prefix.size() + 6 || !name.startsWith(prefix) ||
            !IsTemporaryName(name, TemporaryName::Hidden))
            continue;
        const QString path = folder.filePath(name);
        if (!FileInUse(path)) RemoveFile(path);
    }
}

}  // namespace

bool IsTemporaryName(const QString& name, TemporaryName naming) {
    static const QRegularExpression hidden(QStringLiteral("^\\..+\\.tarvo-[0-9a-z]{6}$"));
    static const QRegularExpression part(QStringLiteral("^.+\\.tarvo-[0-9a-z]{6}\\.part$"));
    return (naming == TemporaryName::Hidden ? hidden : part).match(name).hasMatch();
}

QString DisplayPathText(const QString& path) { return QDir::toNativeSeparators(path); }

QByteArray DisplayPath(const QString& path) { return Cp1250::FromUnicode(DisplayPathText(path)); }

QByteArray FileErrorText(const FileError& error) {
    const QByteArray path = DisplayPath(error.path);
    switch (error.kind) {
        case FileErrorKind::None:
            return {};
        case FileErrorKind::NotFound:
            return TextWith(Texts::kFileNotFound, path);
        case FileErrorKind::AccessDenied:
            return TextWith(Texts::kFileAccessDenied, path);
        case FileErrorKind::BadPath:
            return TextWith(Texts::kFileBadPath, path);
        case FileErrorKind::ReadError:
            return TextWith(Texts::kFileReadError, path);
        case FileErrorKind::WriteError:
            return TextWith(Texts::kFileWriteError, path);
        case FileErrorKind::DiskFull:
            return TextWith(Texts::kFileDiskFull, path);
        case FileErrorKind::CreateError:
            return TextWith(Texts::kFileCreateError, path);
    }
    return {};
}

bool FileExists(const QString& path) { return QFileInfo::exists(path); }

FileError ReadWholeFile(const QString& path, QByteArray& out) {
    out.clear();
    InputFile file;
    if (const FileError error = file.Open(path)) return error;
    // Straight into the array, then on to the end rather than trusting the size: a
    // device or a growing file may hold more or less than it said.
    const qsizetype expected = static_cast<qsizetype>(file.Size());
    out.reserve(expected);
    out.resize(expected);
    const std::size_t got = file.Read(out.data(), static_cast<std::size_t>(expected));
    out.truncate(static_cast<qsizetype>(got));
    if (static_cast<qsizetype>(got) == expected) {
        char chunk[65536];
        while (const std::size_t more = file.Read(chunk, sizeof chunk)) out.append(chunk, static_cast<qsizetype>(more));
    }
    if (file.Error()) {
        out.clear();
        return file.Error();
    }
    return {};
}

FileError WriteWholeFile(const QString& path, const QByteArray& bytes) {
    ReplacementFile file;
    if (FileError error = file.Create(path)) return error;
    file.Write(bytes);
    return file.Commit();
}

InputFile::~InputFile() {
    if (m_file) std::fclose(m_file);
}

FileError InputFile::Open(const QString& path) {
    if (m_file) std::fclose(m_file);
    m_path = path;
    m_size = 0;
    m_error = {};
    m_file = OpenFile(path, "rb");
    if (!m_file) {
        const int error = errno;
        m_error = MakeError(KindOfOpenError(error, FileErrorKind::ReadError), path, error);
        return m_error;
    }
    struct stat info {};
    if (fstat(fileno(m_file), &info) != 0 || S_ISDIR(info.st_mode)) {
        const int error = S_ISDIR(info.st_mode) ? EISDIR : errno;
        std::fclose(m_file);
        m_file = nullptr;
        m_error = MakeError(FileErrorKind::AccessDenied, path, error);
        return m_error;
    }
    m_size = info.st_size > 0 ? static_cast<qint64>(info.st_size) : 0;
    return m_error;
}

std::size_t InputFile::Read(char* data, std::size_t size) {
    if (!m_file || m_error || size == 0) return 0;
    const std::size_t got = std::fread(data, 1, size, m_file);
    if (got < size && std::ferror(m_file)) {
        const int error = errno;
        m_error = MakeError(KindOfError(error, FileErrorKind::ReadError), m_path, error);
    }
    return got;
}

OutputFile::~OutputFile() { Close(); }

FileError OutputFile::Create(const QString& path, Buffering buffering) { return Open(path, false, buffering); }

FileError OutputFile::CreateNew(const QString& path, Buffering buffering) { return Open(path, true, buffering); }

FileError OutputFile::CreateBeside(const QString& target, TemporaryName naming, QString& path, Buffering buffering) {
    path.clear();
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QString name = TemporaryNameBeside(target, naming);
        if (!CreateNew(name, buffering)) {
            KeepPermissions(m_fd, target);
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
    const int fd = OpenDescriptor(path, mustBeNew);
    if (fd < 0) {
        const int error = errno;
        m_fd = -1;
        m_path = path;
        m_error =
            MakeError(error == EEXIST ? FileErrorKind::CreateError : KindOfOpenError(error, FileErrorKind::CreateError),
                      path, error);
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
    if (!m_error) m_error = MakeError(KindOfError(systemError, otherwise), m_path, systemError);
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
        const long written = WriteDescriptor(m_fd, data, size);
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
    if (SyncDescriptor(m_fd) != 0) Fail(FileErrorKind::WriteError, errno);
    return m_error;
}

FileError OutputFile::Close() {
    if (m_fd < 0) return m_error;
    Flush();
    if (CloseDescriptor(m_fd) != 0) Fail(FileErrorKind::WriteError, errno);
    m_fd = -1;
    m_gathered.clear();
    return m_error;
}

void OutputFile::Abandon() {
    if (m_fd >= 0) CloseDescriptor(m_fd);
    m_fd = -1;
    m_gathered.clear();
}

ReplacementFile::~ReplacementFile() { Discard(); }

FileError ReplacementFile::Create(const QString& target) {
    Discard();
    m_reportedPath = target;
    m_target = target;
    m_inPlace = false;
    const QFileInfo info(target);
    // A link stays a link: its file is the one replaced.
    if (info.isSymLink()) m_target = info.exists() ? info.canonicalFilePath() : info.symLinkTarget();
    const QFileInfo file(m_target);
    if (file.exists()) {
        if (file.isDir()) return m_file.m_error = MakeError(FileErrorKind::AccessDenied, target, EISDIR);
        if (!file.isFile()) {
            // A device or a pipe cannot be renamed over: it takes the bytes as they come.
            m_inPlace = true;
            return m_file.Create(target);
        }
        // Writing into the folder would pass over a file the user keeps read-only.
        if (!file.isWritable()) return m_file.m_error = MakeError(FileErrorKind::AccessDenied, target, EACCES);
    }

    RemoveStaleTemporaries(m_target);
    int fd = -1;
#ifdef O_TMPFILE
    // An unnamed file leaves nothing behind, whatever ends the program. Locked, it
    // shows as in use once it has its name.
    const QByteArray folder = QFile::encodeName(file.absolutePath());
    do {
        fd = ::open(folder.constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    } while (fd < 0 && errno == EINTR);
    if (fd >= 0) ::flock(fd, LOCK_EX | LOCK_NB);
    if (fd < 0 && errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) {
        const int error = errno;
        return m_file.m_error = MakeError(KindOfOpenError(error, FileErrorKind::CreateError), target, error);
    }
#endif
    if (fd < 0) {
        if (FileError error = m_file.CreateBeside(m_target, TemporaryName::Hidden, m_temporary)) {
            error.path = target;
            return error;
        }
        m_file.ReportAs(target);
        return {};
    }
    KeepPermissions(fd, m_target);
    m_file.Adopt(fd, target, OutputFile::Buffering::Gathered);
    return {};
}

FileError ReplacementFile::Commit() {
    if (m_inPlace) return m_file.Close();
    if (!m_file.IsOpen()) return m_file.m_error;
    FileError error = m_file.Sync();
#ifdef O_TMPFILE
    // An unnamed file gets its name only now, whole and on the disk.
    if (!error && m_temporary.isEmpty()) error = NameUnnamed();
#endif
#ifdef _WIN32
    // Windows renames no open file.
    if (!error) error = m_file.Close();
    if (!error) error = PutInPlace(m_temporary, m_target);
#else
    // Still open, the file stays locked until it has the target's place, so that
    // no other run takes it for a leftover; a kill before leaves a name the next
    // replacement of the target removes. Its bytes are on the disk: the close has
    // nothing to add.
    if (!error) error = PutInPlace(m_temporary, m_target);
    if (!error) m_file.Close();
#endif
    if (error) {
        error.path = m_reportedPath;
        Discard();
        return error;
    }
    m_temporary.clear();
    return {};
}

#ifdef O_TMPFILE
FileError ReplacementFile::NameUnnamed() {
    const QByteArray self = "/proc/self/fd/" + QByteArray::number(m_file.m_fd);
    int error = EEXIST;
    for (int attempt = 0; attempt < 100 && error == EEXIST; ++attempt) {
        const QString name = TemporaryNameBeside(m_target, TemporaryName::Hidden);
        const bool linked =
            ::linkat(AT_FDCWD, self.constData(), AT_FDCWD, QFile::encodeName(name).constData(), AT_SYMLINK_FOLLOW) == 0;
        error = linked ? 0 : errno;
        if (linked) m_temporary = name;
    }
    return error ? MakeError(KindOfError(error, FileErrorKind::WriteError), m_reportedPath, error) : FileError();
}
#endif

void ReplacementFile::Discard() {
    m_file.Abandon();
    if (!m_temporary.isEmpty()) RemoveFile(m_temporary);
    m_temporary.clear();
}

FileError PutInPlace(const QString& from, const QString& to) {
#ifdef _WIN32
    if (!MoveFileExW(reinterpret_cast<const wchar_t*>(from.utf16()), reinterpret_cast<const wchar_t*>(to.utf16()),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        const DWORD error = GetLastError();
        return MakeError(KindOfWindowsError(error), to, static_cast<int>(error));
    }
#else
    if (::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) != 0) {
        const int error = errno;
        return MakeError(KindOfOpenError(error, FileErrorKind::WriteError), to, error);
    }
    SyncFolderOf(to);
#endif
    return {};
}

FileError MoveFileOver(const QString& from, const QString& to) {
    FileError moved = PutInPlace(from, to);
#ifdef _WIN32
    const bool otherDisk = moved && moved.systemError == ERROR_NOT_SAME_DEVICE;
#else
    const bool otherDisk = moved && moved.systemError == EXDEV;
#endif
    if (!otherDisk) return moved;
    QByteArray bytes;
    if (const FileError error = ReadWholeFile(from, bytes)) return error;
    if (const FileError error = WriteWholeFile(to, bytes)) return error;
    RemoveFile(from);
    return {};
}

bool FileInUse(const QString& path) {
#ifdef _WIN32
    const HANDLE file = CreateFileW(reinterpret_cast<const wchar_t*>(path.utf16()), GENERIC_READ, FILE_SHARE_READ,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_SHARING_VIOLATION;
    CloseHandle(file);
    return false;
#else
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool locked = ::flock(fd, LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    ::close(fd);
    return locked;
#endif
}
