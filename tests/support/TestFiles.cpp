#include "tests/support/TestFiles.h"

#include <QFile>
#include <QTest>

namespace TestFiles {

QByteArray Read(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        qWarning("cannot read %s", qPrintable(path));
        return {};
    }
    return file.readAll();
}

void Write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size()) {
        qFatal("cannot write %s", qPrintable(path));
    }
}

QString DataDir(const char* folder) {
    return QStringLiteral(TARVO_SOURCE_DIR "/tests/") + QLatin1String(folder) + QStringLiteral("/data");
}

QByteArray Example(const char* name) {
    return Read(QStringLiteral(TARVO_SOURCE_DIR "/examples/") + QLatin1String(name) + QStringLiteral(".sdt"));
}

}  // namespace TestFiles
