#include "base/FileError.h"

#include "base/Cp1250.h"
#include "base/Texts.h"

#include <QDir>

#include <cerrno>

FileError SystemFileError(int systemError, const QString& path, FileErrorKind otherwise) {
    FileErrorKind kind = otherwise;
    switch (systemError) {
        case ENOSPC:
#ifdef EDQUOT
        case EDQUOT:
#endif
            kind = FileErrorKind::DiskFull;
            break;
        case EACCES:
        case EPERM:
        case EROFS:
            kind = FileErrorKind::AccessDenied;
            break;
        default:
            break;
    }
    return FileError{kind, path, systemError};
}

FileError OpeningFileError(int systemError, const QString& path, FileErrorKind otherwise) {
    switch (systemError) {
        case ENOENT:
            return FileError{FileErrorKind::NotFound, path, systemError};
        case EISDIR:
            return FileError{FileErrorKind::AccessDenied, path, systemError};
        case ENAMETOOLONG:
        case ENOTDIR:
        case EINVAL:
            return FileError{FileErrorKind::BadPath, path, systemError};
        default:
            return SystemFileError(systemError, path, otherwise);
    }
}

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
        case FileErrorKind::TooLarge:
            return TextWith(Texts::kFileTooLarge, path);
    }
    return {};
}
