#pragma once
// The system's own file calls beneath the file classes, one implementation per
// system: PosixSystemFiles.cpp on Linux, WinSystemFiles.cpp on Windows (the CMake
// file takes the one the build is for). Paths are Unicode. A call that fails
// returns -1 (a null stream) and leaves the reason in errno, as the C library does,
// unless it says otherwise.

#include "base/FileError.h"

#include <QString>

#include <cstddef>
#include <cstdio>

namespace SystemFiles {

// fopen with a Unicode path.
std::FILE* OpenStream(const QString& path, const char* mode);

// Opens a file for binary writing, creating it: one that mustBeNew fails with EEXIST
// when it exists and is marked as in use from the moment it exists until it is
// closed (locked on Linux, shared for reading only on Windows), so that no clean-up
// ever takes it for a leftover; it can be renamed while open. Any other is
// truncated. The descriptor is not inherited by child processes.
int OpenForWriting(const QString& path, bool mustBeNew);
// Writes at most 1 GiB of size at a time; the count written.
long Write(int fd, const char* data, std::size_t size);
// Puts the file's bytes on the disk; a device or a pipe has nothing to put there
// and succeeds.
int Sync(int fd);
int Close(int fd);
int Remove(const QString& path);
// Removes a file no writer holds marked as in use, in one step with the check, so
// that a writer cannot take it up in between; false when it is in use or gone.
bool RemoveUnused(const QString& path);

// Gives a new version of target the old one's permissions (and owner, where
// allowed); nothing where the system gives a new file its folder's (Windows).
void KeepPermissions(int fd, const QString& target);

// A new file in folder without a name, marked as in use, where the system and the
// file system have such files: its descriptor. -1 with error 0 where they have none
// (the caller names a file instead), -1 with the errno of any other failure.
int OpenUnnamed(const QString& folder, int& error);
// Gives an unnamed file its first name, which must be free: 0, or the errno.
int NameUnnamed(int fd, const QString& name);

// Renames from over to in one step and records the rename on the disk where the
// system can; the error names to.
FileError Rename(const QString& from, const QString& to);
// Whether a failed Rename failed only because the two names are on different disks.
bool OnAnotherDisk(const FileError& renameError);
// Whether a Rename of a file this program holds open failed only because it is
// open (a Windows file system that renames no open file); closed, it can be renamed.
bool RenameNeedsClosedFile(const FileError& renameError);

// Whether two names name one existing file: links followed, the same device and
// inode (Windows: the same volume and file index).
bool SameFile(const QString& a, const QString& b);

// Records the folder of path and its latest new names on the disk; nothing where the
// file system cannot.
void SyncFolderOf(const QString& path);

// Whether a writer holds the file marked as in use (OpenForWriting).
bool InUse(const QString& path);

}  // namespace SystemFiles
