#include "base/ReplacementFile.h"

#include "base/InputFile.h"
#include "base/SystemFiles.h"

#include <QDir>
#include <QFileInfo>

#include <cerrno>

namespace {

// Temporaries of target that a writer killed before its rename left behind: each
// was only ever a copy of an output. One a live run holds is in use and stays.
void RemoveStaleTemporaries(const QString& target) {
    const QString prefix = TemporaryPrefix(target, TemporaryName::Hidden);
    const QDir folder = QFileInfo(target).absoluteDir();
    const QStringList names = folder.entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& name : names) {
        if (name.size() != prefix.size() + 6 || !name.startsWith(prefix) ||
            !IsTemporaryName(name, TemporaryName::Hidden))
            continue;
        SystemFiles::RemoveUnused(folder.filePath(name));
    }
}

}  // namespace

ReplacementFile::~ReplacementFile() { Discard(); }

FileError ReplacementFile::Create(const QString& target) {
    Discard();
    m_reportedPath = target;
    m_target = target;
    m_inPlace = false;
    const QFileInfo info(target);
    // A link stays a link: its file is the one replaced.
    if (info.isSymLink()) m_target = info.exists() ? info.canonicalFilePath() : info.symLinkTarget();
    const QFileInfo file(m_target);
    if (file.exists()) {
        if (file.isDir()) return m_file.m_error = FileError{FileErrorKind::AccessDenied, target, EISDIR};
        if (!file.isFile()) {
            // A device or a pipe cannot be renamed over: it takes the bytes as they come.
            m_inPlace = true;
            return m_file.Create(target);
        }
        // Writing into the folder would pass over a file the user keeps read-only.
        if (!file.isWritable()) return m_file.m_error = FileError{FileErrorKind::AccessDenied, target, EACCES};
    }

    RemoveStaleTemporaries(m_target);
    // An unnamed file leaves nothing behind, whatever ends the program.
    int error = 0;
    const int fd = SystemFiles::OpenUnnamed(file.absolutePath(), error);
    if (fd < 0 && error != 0) return m_file.m_error = OpeningFileError(error, target, FileErrorKind::CreateError);
    if (fd < 0) {
        if (FileError named = m_file.CreateBeside(m_target, TemporaryName::Hidden, m_temporary)) {
            named.path = target;
            return named;
        }
        m_file.ReportAs(target);
        return {};
    }
    SystemFiles::KeepPermissions(fd, m_target);
    m_file.Adopt(fd, target, OutputFile::Buffering::Gathered);
    return {};
}

FileError ReplacementFile::Prepare() {
    if (m_inPlace) return m_file.Flush();
    if (!m_file.IsOpen() || m_prepared) return m_file.m_error;
    m_prepared = !m_file.Sync();
    if (!m_prepared) Discard();
    return m_file.m_error;
}

FileError ReplacementFile::Commit() {
    if (m_inPlace) return m_file.Close();
    FileError error = Prepare();
    if (!m_file.IsOpen()) return error ? error : m_file.m_error;
    // An unnamed file gets its name only now, whole and on the disk.
    if (!error && m_temporary.isEmpty()) error = NameUnnamed();
    // The file stays open, and so marked as in use, until it has the target's
    // place, so that no other run takes it for a leftover; a kill before leaves a
    // name the next replacement of the target removes. Its bytes are on the disk:
    // the close has nothing to add. A file system that renames no open file has it
    // closed first.
    if (!error) error = PutInPlace(m_temporary, m_target);
    if (error && SystemFiles::RenameNeedsClosedFile(error)) {
        error = m_file.Close();
        if (!error) error = PutInPlace(m_temporary, m_target);
    }
    if (!error) m_file.Close();
    if (error) {
        error.path = m_reportedPath;
        Discard();
        return error;
    }
    m_temporary.clear();
    m_prepared = false;
    return {};
}

FileError ReplacementFile::NameUnnamed() {
    int error = EEXIST;
    for (int attempt = 0; attempt < 100 && error == EEXIST; ++attempt) {
        const QString name = TemporaryNameBeside(m_target, TemporaryName::Hidden);
        error = SystemFiles::NameUnnamed(m_file.m_fd, name);
        if (error == 0) m_temporary = name;
    }
    return error ? SystemFileError(error, m_reportedPath, FileErrorKind::WriteError) : FileError();
}

void ReplacementFile::Discard() {
    m_prepared = false;
    m_file.Abandon();
    if (!m_temporary.isEmpty()) SystemFiles::Remove(m_temporary);
    m_temporary.clear();
}

FileError WriteWholeFile(const QString& path, const QByteArray& bytes) {
    ReplacementFile file;
    if (FileError error = file.Create(path)) return error;
    file.Write(bytes);
    return file.Commit();
}

FileError PutInPlace(const QString& from, const QString& to) { return SystemFiles::Rename(from, to); }

FileError MoveFileOver(const QString& from, const QString& to) {
    const FileError moved = PutInPlace(from, to);
    if (!moved || !SystemFiles::OnAnotherDisk(moved)) return moved;
    QByteArray bytes;
    if (const FileError error = ReadWholeFile(from, bytes)) return error;
    if (const FileError error = WriteWholeFile(to, bytes)) return error;
    SystemFiles::Remove(from);
    return {};
}

bool FileInUse(const QString& path) { return SystemFiles::InUse(path); }
