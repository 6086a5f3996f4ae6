#pragma once
// Small helpers for tests that work on real files.

#include <QByteArray>
#include <QString>

namespace TestFiles {

QByteArray Read(const QString& path);
void Write(const QString& path, const QByteArray& bytes);
// The directory of a test's data files (tests/<folder>/data).
QString DataDir(const char* folder);
// The bytes of one of the example transfers (examples/<name>.sdt).
QByteArray Example(const char* name);

}  // namespace TestFiles
