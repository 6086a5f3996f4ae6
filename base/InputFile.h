#pragma once
// Reading the system's files: a whole file at once, or in pieces. Every failure is
// a value naming the file; a read error sticks, so a reader that checks only at the
// end still learns that its data is incomplete.

#include "base/FileError.h"

#include <QByteArray>
#include <QString>

#include <cstdio>

bool FileExists(const QString& path);

// Whether two names name one existing file, whatever the names: links followed,
// the same device and inode (Windows: the same volume and file index).
bool IsSameFile(const QString& a, const QString& b);

class InputFile;

// Reads the whole file into out (out is cleared first). A file that does not fit
// into memory is TooLarge, and out stays empty.
FileError ReadWholeFile(const QString& path, QByteArray& out);

// Reads an open file from where it stands to its end into out (out is cleared
// first); stops at a read error (see file.Error()), keeping what came before it.
// Throws std::bad_alloc when the file does not fit into memory.
void ReadRest(InputFile& file, QByteArray& out);

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
