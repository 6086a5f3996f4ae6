#pragma once
// Reading and checked writing of the system's files. Every failure is a value
// naming the file; a read or write error sticks, so a reader or writer that checks
// only at the end still learns that its data is incomplete. A full disk (or quota)
// is DiskFull and a read-only file system AccessDenied, wherever they show.

#include "base/ByteSink.h"

#include <QByteArray>
#include <QString>

#include <cstdio>

enum class FileErrorKind { None, NotFound, AccessDenied, BadPath, ReadError, WriteError, DiskFull, CreateError };

struct FileError {
    FileErrorKind kind = FileErrorKind::None;
    QString path;
    int systemError = 0;  // errno where the system gave one

    explicit operator bool() const { return kind != FileErrorKind::None; }
};

// The Czech message for a file error, naming the file, in Windows-1250.
QByteArray FileErrorText(const FileError& error);

// A path as the user reads it in a message: in the system's own separators
// («C:\Zakázky\stanice.zap» on Windows), in Windows-1250 or as Unicode.
QByteArray DisplayPath(const QString& path);
QString DisplayPathText(const QString& path);

bool FileExists(const QString& path);

// Reads the whole file into out (out is cleared first).
FileError ReadWholeFile(const QString& path, QByteArray& out);

// Writes a whole file at once: create (truncating), write, close.
FileError WriteWholeFile(const QString& path, const QByteArray& bytes);

// A file read in pieces, for a reader that need not hold it whole.
class InputFile {
public:
    InputFile() = default;
    ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    // Opens the file for binary reading; a directory is AccessDenied.
    FileError Open(const QString& path);
    // Reads up to size bytes into data; fewer only at the end of the file or after a
    // read error (see Error), 0 once either has come.
    std::size_t Read(char* data, std::size_t size);
    // The size the file had when it was opened, 0 when it has none (a device).
    qint64 Size() const { return m_size; }
    const FileError& Error() const { return m_error; }

private:
    std::FILE* m_file = nullptr;
    QString m_path;
    qint64 m_size = 0;
    FileError m_error;
};

// A file written through the sink interface: the first failed write (or flush or
// close) is kept and every later write dropped.
class OutputFile final : public ByteSink {
public:
    OutputFile() = default;
    ~OutputFile() override;
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // Creates or truncates the file for binary writing.
    FileError Create(const QString& path);
    void Write(const char* data, std::size_t size) override;
    void Write(const QByteArray& bytes) { Write(bytes.constData(), static_cast<std::size_t>(bytes.size())); }
    bool Failed() const override { return static_cast<bool>(m_error); }
    // Flushes and closes; the first error of any write, or of the close, is returned.
    FileError Close();
    bool IsOpen() const { return m_file != nullptr; }
    const FileError& Error() const { return m_error; }

private:
    std::FILE* m_file = nullptr;
    QString m_path;
    FileError m_error;
};
