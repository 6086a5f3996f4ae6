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

// How a temporary file beside its target is named: hidden, ".<name>.tarvo-XXXXXX",
// for the new version of an output; "<name>.tarvo-XXXXXX.part", where the user
// sees it, for received data.
enum class TemporaryName { Hidden, Part };

// Whether a file name is one such temporary's (of any target).
bool IsTemporaryName(const QString& name, TemporaryName naming);

// A file written through the sink interface, straight to the system's file calls
// (no C library buffer between), so that the count of bytes the system accepted is
// exact. Writes are gathered in a buffer of 64 KiB unless the file is unbuffered.
// The first failed write (or flush, sync or close) is kept and every later write
// dropped. The destructor closes a file left open, unchecked.
class OutputFile final : public ByteSink {
public:
    enum class Buffering { Gathered, None };

    OutputFile() = default;
    ~OutputFile() override;
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // Creates or truncates the file for binary writing.
    FileError Create(const QString& path, Buffering buffering = Buffering::Gathered);
    // Creates a file that must not exist yet (CreateError when it does), marked as in
    // use (FileInUse) until it is closed.
    FileError CreateNew(const QString& path, Buffering buffering = Buffering::Gathered);
    // Creates a new file beside target under a free name of the given kind (as
    // CreateNew), with the target's permissions when it exists; path gets its name.
    // Errors, now and later, name the target.
    FileError CreateBeside(const QString& target, TemporaryName naming, QString& path,
                           Buffering buffering = Buffering::Gathered);
    void Write(const char* data, std::size_t size) override;
    void Write(const QByteArray& bytes) { Write(bytes.constData(), static_cast<std::size_t>(bytes.size())); }
    bool Failed() const override { return static_cast<bool>(m_error); }
    // Hands the gathered bytes to the system.
    FileError Flush();
    // Flushes, then has the system put the file's bytes on the disk (fsync;
    // FlushFileBuffers on Windows) before it returns.
    FileError Sync();
    // Flushes and closes; the first error of any write, or of the close, is returned.
    FileError Close();
    // Closes without handing over what is still gathered (the file is given up).
    void Abandon();
    bool IsOpen() const { return m_fd >= 0; }
    const FileError& Error() const { return m_error; }
    // Bytes the system has accepted so far: what a failure leaves in the file.
    qint64 Written() const { return m_written; }
    // Names another file in the messages of later errors (the file a temporary
    // stands for).
    void ReportAs(const QString& path) { m_path = path; }

private:
    friend class ReplacementFile;

    FileError Open(const QString& path, bool mustBeNew, Buffering buffering);
    void Adopt(int descriptor, const QString& path, Buffering buffering);
    void WriteThrough(const char* data, std::size_t size);
    void Fail(FileErrorKind otherwise, int systemError);

    int m_fd = -1;
    Buffering m_buffering = Buffering::Gathered;
    QByteArray m_gathered;
    qint64 m_written = 0;
    QString m_path;
    FileError m_error;
};

// A new version of a file, written beside it and put in its place only when whole:
// the bytes go into a temporary file in the target's folder (on Linux an unnamed one
// where the file system allows it, else ".<name>.tarvo-XXXXXX"); Commit puts them on
// the disk and then renames the temporary over the target in one step. Until then,
// and after any failure, the target keeps every byte it had and no temporary
// remains. The replacement keeps an existing target's permissions; a symbolic link
// stays a link and its file is replaced. A target that is no regular file (a device,
// a pipe) is written in place; a read-only one is AccessDenied before anything is
// written. Errors name the target.
class ReplacementFile final : public ByteSink {
public:
    ReplacementFile() = default;
    // Gives up whatever Commit has not put in place.
    ~ReplacementFile() override;
    ReplacementFile(const ReplacementFile&) = delete;
    ReplacementFile& operator=(const ReplacementFile&) = delete;

    FileError Create(const QString& target);
    void Write(const char* data, std::size_t size) override { m_file.Write(data, size); }
    void Write(const QByteArray& bytes) { m_file.Write(bytes); }
    bool Failed() const override { return m_file.Failed(); }
    // Puts the file in place of the target. On failure the target is as it was.
    FileError Commit();
    // Gives the new version up; the target stays as it was.
    void Discard();

private:
    // Links an unnamed temporary into the folder under a free hidden name.
    FileError NameUnnamed();

    OutputFile m_file;
    QString m_reportedPath;  // the target as the caller named it
    QString m_target;        // the file that is replaced (a link's destination)
    QString m_temporary;     // the temporary's name; empty while it has none
    bool m_inPlace = false;
};

// Renames a finished file (its bytes already on the disk) over another of the same
// folder in one step and records the rename on the disk. On failure the target is
// untouched and from stays where it was; the error names to.
FileError PutInPlace(const QString& from, const QString& to);

// Moves a file to another name, replacing an existing one; into another file
// system by a copy (written as a ReplacementFile) and the removal of the original.
FileError MoveFileOver(const QString& from, const QString& to);

// Whether another program (or another run of this one) is writing the file now.
bool FileInUse(const QString& path);
