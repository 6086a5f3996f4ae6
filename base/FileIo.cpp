#include "base/FileIo.h"

#include "base/Cp1250.h"
#include "base/Texts.h"

#include <QDir>
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

}  // namespace

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
    OutputFile file;
    if (FileError error = file.Create(path)) return error;
    file.Write(bytes);
    return file.Close();
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
        m_error = MakeError(KindOfError(error, FileErrorKind::WriteError), m_path, error);
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
        m_error = MakeError(KindOfError(error, FileErrorKind::WriteError), m_path, error);
    }
    return m_error;
}
