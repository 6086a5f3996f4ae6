#include "base/FileIo.h"

#include "base/Cp1250.h"
#include "base/Texts.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <sys/stat.h>

namespace {

std::FILE* OpenFile(const QString& path, const char* mode) {
#ifdef _WIN32
    return _wfopen(reinterpret_cast<const wchar_t*>(path.utf16()), QString::fromLatin1(mode).toStdWString().c_str());
#else
    return std::fopen(QFile::encodeName(path).constData(), mode);
#endif
}

FileErrorKind KindOfOpenError(int error, FileErrorKind otherwise) {
    switch (error) {
        case ENOENT:
            return FileErrorKind::NotFound;
        case EACCES:
        case EPERM:
        case EROFS:
        case EISDIR:
            return FileErrorKind::AccessDenied;
        case ENAMETOOLONG:
        case ENOTDIR:
        case EINVAL:
            return FileErrorKind::BadPath;
        case ENOSPC:
            return FileErrorKind::DiskFull;
        default:
            return otherwise;
    }
}

FileError MakeError(FileErrorKind kind, const QString& path, int systemError) {
    return FileError{kind, path, systemError};
}

}  // namespace

QByteArray FileErrorText(const FileError& error) {
    const QByteArray path = Cp1250::FromUnicode(error.path);
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
    std::FILE* file = OpenFile(path, "rb");
    if (!file) return MakeError(KindOfOpenError(errno, FileErrorKind::ReadError), path, errno);
    struct stat info {};
    if (fstat(fileno(file), &info) != 0 || S_ISDIR(info.st_mode)) {
        const int error = S_ISDIR(info.st_mode) ? EISDIR : errno;
        std::fclose(file);
        return MakeError(FileErrorKind::AccessDenied, path, error);
    }
    // Read to the end rather than trusting the size: a device or a growing file may
    // hold more or less than it said.
    const qsizetype expected = info.st_size > 0 ? static_cast<qsizetype>(info.st_size) : 0;
    out.reserve(expected + 1);
    char chunk[65536];
    for (;;) {
        const std::size_t got = std::fread(chunk, 1, sizeof chunk, file);
        out.append(chunk, static_cast<qsizetype>(got));
        if (got < sizeof chunk) break;
    }
    const bool failed = std::ferror(file) != 0;
    const int error = errno;
    std::fclose(file);
    if (failed) {
        out.clear();
        return MakeError(FileErrorKind::ReadError, path, error);
    }
    return {};
}

FileError WriteWholeFile(const QString& path, const QByteArray& bytes) {
    OutputFile file;
    if (FileError error = file.Create(path)) return error;
    file.Write(bytes);
    return file.Close();
}

OutputFile::~OutputFile() {
    if (m_file) std::fclose(m_file);
}

FileError OutputFile::Create(const QString& path) {
    if (m_file) Close();
    m_path = path;
    m_error = {};
    m_file = OpenFile(path, "wb");
    if (!m_file)
        m_error = MakeError(KindOfOpenError(errno, FileErrorKind::CreateError), path, errno);
    else
        std::setvbuf(m_file, nullptr, _IOFBF, 1 << 16);
    return m_error;
}

void OutputFile::Write(const char* data, std::size_t size) {
    if (!m_file || m_error || size == 0) return;
    if (std::fwrite(data, 1, size, m_file) != size) {
        const int error = errno;
        m_error = MakeError(error == ENOSPC ? FileErrorKind::DiskFull : FileErrorKind::WriteError, m_path, error);
    }
}

FileError OutputFile::Close() {
    if (!m_file) return m_error;
    const bool flushed = std::fflush(m_file) == 0;
    const int flushError = errno;
    const bool closed = std::fclose(m_file) == 0;
    const int closeError = errno;
    m_file = nullptr;
    if (!m_error && (!flushed || !closed)) {
        const int error = !flushed ? flushError : closeError;
        m_error = MakeError(error == ENOSPC ? FileErrorKind::DiskFull : FileErrorKind::WriteError, m_path, error);
    }
    return m_error;
}
