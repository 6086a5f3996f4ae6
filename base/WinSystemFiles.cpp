#include "base/SystemFiles.h"

#include <cerrno>
#include <cstdint>
#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <sys/stat.h>
#include <windows.h>

namespace SystemFiles {

namespace {

const wchar_t* Wide(const QString& path) { return reinterpret_cast<const wchar_t*>(path.utf16()); }

// What a failed MoveFileEx says, in the kinds of the file errors.
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

// The C library's errno for what CreateFileW says.
int ErrnoOfWindowsError(DWORD error) {
    switch (error) {
        case ERROR_FILE_EXISTS:
        case ERROR_ALREADY_EXISTS:
            return EEXIST;
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
            return ENOENT;
        case ERROR_ACCESS_DENIED:
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
            return EACCES;
        case ERROR_WRITE_PROTECT:
            return EROFS;
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            return ENOSPC;
        case ERROR_FILENAME_EXCED_RANGE:
            return ENAMETOOLONG;
        case ERROR_INVALID_NAME:
        case ERROR_BAD_PATHNAME:
        case ERROR_DIRECTORY:
            return EINVAL;
        default:
            return EIO;
    }
}

// A new file, open for writing; others may read it, and it may be renamed while
// open, but no one else may write it: that is its mark of being in use.
int CreateNewFile(const QString& path) {
    const HANDLE file = CreateFileW(Wide(path), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        errno = ErrnoOfWindowsError(GetLastError());
        return -1;
    }
    const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(file), _O_WRONLY | _O_BINARY);
    if (fd < 0) {
        CloseHandle(file);
        errno = EMFILE;
    }
    return fd;
}

}  // namespace

std::FILE* OpenStream(const QString& path, const char* mode) {
    return _wfopen(Wide(path), QString::fromLatin1(mode).toStdWString().c_str());
}

int OpenForWriting(const QString& path, bool mustBeNew) {
    // A file being made is created open, so that it is marked as in use from its first moment.
    if (mustBeNew) return CreateNewFile(path);
    const int flags = _O_WRONLY | _O_BINARY | _O_CREAT | _O_NOINHERIT | _O_TRUNC;
    return _wsopen(Wide(path), flags, _SH_DENYNO, _S_IREAD | _S_IWRITE);
}

long Write(int fd, const char* data, std::size_t size) {
    return _write(fd, data, static_cast<unsigned>(qMin<std::size_t>(size, 1u << 30)));
}

int Sync(int fd) { return _commit(fd); }

int Close(int fd) { return _close(fd); }

int Remove(const QString& path) { return _wunlink(Wide(path)); }

bool RemoveUnused(const QString& path) {
    // The opening fails while a writer holds the file; once open, no writer can take
    // it up, and it goes when it is closed.
    const HANDLE file = CreateFileW(Wide(path), DELETE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    CloseHandle(file);
    return true;
}

void KeepPermissions(int fd, const QString& target) {
    Q_UNUSED(fd);
    Q_UNUSED(target);
}

int OpenUnnamed(const QString& folder, int& error) {
    Q_UNUSED(folder);
    error = 0;
    return -1;
}

int NameUnnamed(int fd, const QString& name) {
    Q_UNUSED(fd);
    Q_UNUSED(name);
    return ENOENT;
}

FileError Rename(const QString& from, const QString& to) {
    if (!MoveFileExW(Wide(from), Wide(to), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        const DWORD error = GetLastError();
        return FileError{KindOfWindowsError(error), to, static_cast<int>(error)};
    }
    return {};
}

bool OnAnotherDisk(const FileError& renameError) { return renameError.systemError == ERROR_NOT_SAME_DEVICE; }

bool RenameNeedsClosedFile(const FileError& renameError) {
    return renameError.systemError == ERROR_SHARING_VIOLATION || renameError.systemError == ERROR_ACCESS_DENIED;
}

bool SameFile(const QString& a, const QString& b) {
    const auto identity = [](const QString& path, BY_HANDLE_FILE_INFORMATION& info) {
        const HANDLE file = CreateFileW(Wide(path), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                        OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
        if (file == INVALID_HANDLE_VALUE) return false;
        const bool known = GetFileInformationByHandle(file, &info) != 0;
        CloseHandle(file);
        return known;
    };
    BY_HANDLE_FILE_INFORMATION first{};
    BY_HANDLE_FILE_INFORMATION second{};
    return identity(a, first) && identity(b, second) && first.dwVolumeSerialNumber == second.dwVolumeSerialNumber &&
           first.nFileIndexHigh == second.nFileIndexHigh && first.nFileIndexLow == second.nFileIndexLow;
}

void SyncFolderOf(const QString& path) { Q_UNUSED(path); }

bool InUse(const QString& path) {
    const HANDLE file =
        CreateFileW(Wide(path), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_SHARING_VIOLATION;
    CloseHandle(file);
    return false;
}

}  // namespace SystemFiles
