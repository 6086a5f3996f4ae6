#include "base/SystemFiles.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace SystemFiles {

namespace {

// Whether the open file fd is the one name names now.
bool Names(int fd, const QByteArray& name) {
    struct stat held {};
    struct stat named {};
    return ::fstat(fd, &held) == 0 && ::lstat(name.constData(), &named) == 0 && held.st_dev == named.st_dev &&
           held.st_ino == named.st_ino;
}

}  // namespace

void SyncFolderOf(const QString& path) {
    // Some file systems cannot; the new name is there either way.
    const QByteArray folder = QFile::encodeName(QFileInfo(path).absolutePath());
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

std::FILE* OpenStream(const QString& path, const char* mode) {
    return std::fopen(QFile::encodeName(path).constData(), mode);
}

int OpenForWriting(const QString& path, bool mustBeNew) {
    const QByteArray name = QFile::encodeName(path);
    const int flags = O_WRONLY | O_CREAT | O_CLOEXEC | (mustBeNew ? O_EXCL : O_TRUNC);
    int fd;
    do {
        fd = ::open(name.constData(), flags, 0666);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0 || !mustBeNew) return fd;
    // A file being made is locked, which tells others it is in use. A clean-up
    // (RemoveUnused) may have locked it between the creation and this lock: it
    // removes it then, and the name is taken as if it had existed, so that the
    // caller makes another. A file system without locks leaves the file unlocked.
    const bool taken = ::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    if (taken || !Names(fd, name)) {
        ::close(fd);
        errno = EEXIST;
        return -1;
    }
    return fd;
}

long Write(int fd, const char* data, std::size_t size) {
    return static_cast<long>(::write(fd, data, qMin<std::size_t>(size, std::size_t(1) << 30)));
}

int Sync(int fd) {
    const int result = ::fsync(fd);
    // A device or a pipe has nothing to put on a disk.
    return result != 0 && (errno == EINVAL || errno == ENOTSUP) ? 0 : result;
}

int Close(int fd) {
    const int result = ::close(fd);
    // Linux closes the descriptor even when the close is interrupted.
    return result != 0 && errno == EINTR ? 0 : result;
}

int Remove(const QString& path) { return ::unlink(QFile::encodeName(path).constData()); }

bool RemoveUnused(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0) return false;
    // Held locked while it goes: a writer that opened it a moment ago finds the lock
    // taken, or the name gone once it has its own lock, and makes another file.
    const bool removed = ::flock(fd, LOCK_EX | LOCK_NB) == 0 && Names(fd, name) && ::unlink(name.constData()) == 0;
    ::close(fd);
    return removed;
}

void KeepPermissions(int fd, const QString& target) {
    struct stat old {};
    if (::stat(QFile::encodeName(target).constData(), &old) != 0) return;
    ::fchmod(fd, old.st_mode & 07777);
    struct stat made {};
    if (::fstat(fd, &made) == 0 && (made.st_uid != old.st_uid || made.st_gid != old.st_gid)) {
        [[maybe_unused]] const int owned = ::fchown(fd, old.st_uid, old.st_gid);
    }
}

int OpenUnnamed(const QString& folder, int& error) {
    error = 0;
#ifdef O_TMPFILE
    int fd;
    do {
        fd = ::open(QFile::encodeName(folder).constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    } while (fd < 0 && errno == EINTR);
    // Locked, it shows as in use once it has its name.
    if (fd >= 0) ::flock(fd, LOCK_EX | LOCK_NB);
    // A file system without unnamed files says so in one of three ways.
    if (fd < 0 && errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) error = errno;
    return fd;
#else
    Q_UNUSED(folder);
    return -1;
#endif
}

int NameUnnamed(int fd, const QString& name) {
    const QByteArray self = "/proc/self/fd/" + QByteArray::number(fd);
    const bool linked =
        ::linkat(AT_FDCWD, self.constData(), AT_FDCWD, QFile::encodeName(name).constData(), AT_SYMLINK_FOLLOW) == 0;
    return linked ? 0 : errno;
}

FileError Rename(const QString& from, const QString& to) {
    if (::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) != 0)
        return OpeningFileError(errno, to, FileErrorKind::WriteError);
    SyncFolderOf(to);
    return {};
}

bool OnAnotherDisk(const FileError& renameError) { return renameError.systemError == EXDEV; }

bool RenameNeedsClosedFile(const FileError& renameError) {
    Q_UNUSED(renameError);
    return false;
}

bool SameFile(const QString& a, const QString& b) {
    struct stat first {};
    struct stat second {};
    return ::stat(QFile::encodeName(a).constData(), &first) == 0 &&
           ::stat(QFile::encodeName(b).constData(), &second) == 0 && first.st_dev == second.st_dev &&
           first.st_ino == second.st_ino;
}

bool InUse(const QString& path) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool locked = ::flock(fd, LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    ::close(fd);
    return locked;
}

}  // namespace SystemFiles
