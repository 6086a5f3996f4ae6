#include "base/CurrentFile.h"

namespace {

// Start of the file name: after the last separator of either platform.
qsizetype FileNameStart(const QString& path) {
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    const qsizetype backslash = path.lastIndexOf(QLatin1Char('\\'));
    return std::max(slash, backslash) + 1;
}

}  // namespace

void CurrentFile::RememberChosenFile(const QString& fullPath) {
    const qsizetype nameStart = FileNameStart(fullPath);
    const qsizetype dot = fullPath.lastIndexOf(QLatin1Char('.'));
    const bool hasExtension = dot >= nameStart;
    basePath = hasExtension ? fullPath.left(dot) : fullPath;
    fileTitle = fullPath.mid(nameStart, hasExtension ? dot - nameStart : -1);
}

QString CurrentFile::ExtensionOf(const QString& fullPath) {
    const qsizetype nameStart = FileNameStart(fullPath);
    const qsizetype dot = fullPath.lastIndexOf(QLatin1Char('.'));
    return dot >= nameStart ? fullPath.mid(dot + 1) : QString();
}
