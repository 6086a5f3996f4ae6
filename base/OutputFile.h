#pragma once
// Checked writing of the system's files. Every failure is a value naming the file;
// a write error sticks, so a writer that checks only at the end still learns that
// its data is incomplete.

#include "base/ByteSink.h"
#include "base/FileError.h"

#include <QByteArray>
#include <QString>

// How a temporary file beside its target is named: hidden, ".<name>.tarvo-XXXXXX",
// for the new version of an output; "<name>.tarvo-XXXXXX.part", where the user
// sees it, for received data.
enum class TemporaryName { Hidden, Part };

// A name beside target of the given kind, with six random letters and digits for
// the X. A target name too long to take the additions is cut for the temporary
// (never inside a character), so that the temporary's name fits the file system's
// 255 bytes (Windows: 255 characters) whatever the target's.
QString TemporaryNameBeside(const QString& target, TemporaryName naming);
// What every temporary of target of the given kind is named up to the random
// characters: ".<name>.tarvo-" or "<name>.tarvo-", the name cut as above.
QString TemporaryPrefix(const QString& target, TemporaryName naming);

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
