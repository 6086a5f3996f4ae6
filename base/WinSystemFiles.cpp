#include "base/SystemFiles.h"

#include <cerrno>
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

}  // namespace

std::FILE* OpenStream(const QString& path, const char* mode) {
    return _wfopen(Wide(path), QString::fromLatin1(mode).toStdWString().c_str());
}

int OpenForWriting(const QString& path, bool mustBeNew) {
    const int flags = _O_WRONLY | _O_BINARY | _O_CREAT | _O_NOINHERIT | (mustBeNew ? _O_EXCL : _O_TRUNC);
    // A file being made is shared for reading only, which tells others it is in use.
    return _wsopen(Wide(path), flags, mustBeNew ? _SH_DENYWR : _SH_DENYNO, _S_IREAD | _S_IWRITE);
}

long Write(int fd, const char* data, std::size_t size) {
    return _write(fd, data, static_cast<unsigned>(qMin<std::size_t>(size, 1u << 30)));
}

int Sync(int fd) { return _commit(fd); }

int Close(int fd) { return _close(fd); }

int Remove(const QString& path) { return _wunlink(Wide(path)); }

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

bool RenamesOpenFiles() { return false; }

FileError Rename(const QString& from, const QString& to) {
    if (!MoveFileExW(Wide(from), Wide(to), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        const DWORD error = GetLastError();
        return FileError{KindOfWindowsError(error), to, static_cast<int>(error)};
    }
    return {};
}

bool OnAnotherDisk(const FileError& renameError) { return renameError.systemError == ERROR_NOT_SAME_DEVICE; }

bool InUse(const QString& path) {
    const HANDLE file =
        CreateFileW(Wide(path), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_SHARING_VIOLATION;
    CloseHandle(file);
    return false;
}

}  // namespace SystemFiles
