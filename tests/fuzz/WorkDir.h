#pragma once
// The temporary directory the fuzz targets write their files to; it lives as long
// as the process, so that later inputs meet the files of earlier ones. It lies in
// memory where the system has such a folder: every output is put on the disk before
// it replaces its file, which a real disk would make the slowest step of an input.

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdlib>

inline QString WorkFile(const QString& name) {
    static QTemporaryDir dir(QDir(QStringLiteral("/dev/shm")).exists()
                                 ? QStringLiteral("/dev/shm/tarvo-fuzz-XXXXXX")
                                 : QDir::tempPath() + QStringLiteral("/tarvo-fuzz-XXXXXX"));
    if (!dir.isValid()) std::abort();
    return dir.filePath(name);
}

// Writes bytes to the file of that name in the directory and returns its path.
inline QString WriteWorkFile(const QString& name, const QByteArray& bytes) {
    const QString path = WorkFile(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size()) std::abort();
    return path;
}
