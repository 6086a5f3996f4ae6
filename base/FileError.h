#pragma once
// What went wrong with a file, as a value naming the file, and its Czech message.
// A full disk (or quota) is DiskFull and a read-only file system AccessDenied,
// wherever they show.

#include <QByteArray>
#include <QString>

enum class FileErrorKind {
    None,
    NotFound,
    AccessDenied,
    BadPath,
    ReadError,
    WriteError,
    DiskFull,
    CreateError,
    TooLarge,  // a file read whole that does not fit into memory
};

struct FileError {
    FileErrorKind kind = FileErrorKind::None;
    QString path;
    int systemError = 0;  // errno where the system gave one

    explicit operator bool() const { return kind != FileErrorKind::None; }
};

// The error of a failed read, write, sync or close with the system's errno: a full
// disk, a refused access or a read-only file system as such, any other as otherwise.
FileError SystemFileError(int systemError, const QString& path, FileErrorKind otherwise);
// The same for an open, a create or a rename, which can besides miss the file or its
// folder, or get a path that names no file.
FileError OpeningFileError(int systemError, const QString& path, FileErrorKind otherwise);

// The Czech message for a file error, naming the file, in Windows-1250.
QByteArray FileErrorText(const FileError& error);

// A path as the user reads it in a message: in the system's own separators
// («C:\Zakázky\stanice.zap» on Windows), in Windows-1250 or as Unicode.
QByteArray DisplayPath(const QString& path);
QString DisplayPathText(const QString& path);
