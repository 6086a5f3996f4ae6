#include "base/InputFile.h"

#include "base/SystemFiles.h"

#include <QFileInfo>

#include <cerrno>
#include <new>
#include <sys/stat.h>

bool FileExists(const QString& path) { return QFileInfo::exists(path); }

bool IsSameFile(const QString& a, const QString& b) { return SystemFiles::SameFile(a, b); }

FileError ReadWholeFile(const QString& path, QByteArray& out) {
    out.clear();
    InputFile file;
    if (const FileError error = file.Open(path)) return error;
    try {
        ReadRest(file, out);
    } catch (const std::bad_alloc&) {
        out = QByteArray();
        return FileError{FileErrorKind::TooLarge, path, 0};
    }
    if (file.Error()) {
        out.clear();
        return file.Error();
    }
    return {};
}

void ReadRest(InputFile& file, QByteArray& out) {
    out.clear();
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
}

InputFile::~InputFile() {
    if (m_file) std::fclose(m_file);
}

FileError InputFile::Open(const QString& path) {
    if (m_file) std::fclose(m_file);
    m_path = path;
    m_size = 0;
    m_error = {};
    m_file = SystemFiles::OpenStream(path, "rb");
    if (!m_file) {
        m_error = OpeningFileError(errno, path, FileErrorKind::ReadError);
        return m_error;
    }
    struct stat info {};
    if (fstat(fileno(m_file), &info) != 0 || S_ISDIR(info.st_mode)) {
        const int error = S_ISDIR(info.st_mode) ? EISDIR : errno;
        std::fclose(m_file);
        m_file = nullptr;
        m_error = FileError{FileErrorKind::AccessDenied, path, error};
        return m_error;
    }
    m_size = info.st_size > 0 ? static_cast<qint64>(info.st_size) : 0;
    return m_error;
}

std::size_t InputFile::Read(char* data, std::size_t size) {
    if (!m_file || m_error || size == 0) return 0;
    const std::size_t got = std::fread(data, 1, size, m_file);
    if (got < size && std::ferror(m_file)) m_error = SystemFileError(errno, m_path, FileErrorKind::ReadError);
    return got;
}
