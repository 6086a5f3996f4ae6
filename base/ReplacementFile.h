#pragma once
// A new version of a file put in place of the old one only when whole, and the
// renames that put files in place.

#include "base/ByteSink.h"
#include "base/FileError.h"
#include "base/OutputFile.h"

#include <QByteArray>
#include <QString>

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
    // Puts the written bytes on the disk beside the target, which stays as it was:
    // after this only the rename of Commit is left. A failure gives the new version
    // up. (A device or a pipe gets what is gathered.)
    FileError Prepare();
    // Prepares the file unless done, then puts it in place of the target. On
    // failure the target is as it was.
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
    bool m_prepared = false;
};

// Writes a whole file at once as a ReplacementFile: create, write, commit.
FileError WriteWholeFile(const QString& path, const QByteArray& bytes);

// Renames a finished file (its bytes already on the disk) over another of the same
// folder in one step and records the rename on the disk. On failure the target is
// untouched and from stays where it was; the error names to.
FileError PutInPlace(const QString& from, const QString& to);

// Moves a file to another name, replacing an existing one; into another file
// system by a copy (written as a ReplacementFile) and the removal of the original.
FileError MoveFileOver(const QString& from, const QString& to);

// Whether another program (or another run of this one) is writing the file now.
bool FileInUse(const QString& path);
