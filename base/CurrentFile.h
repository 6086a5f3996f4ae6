#pragma once
// The current measured-data file: basePath is its full path without the extension
// (every output is basePath + extension), fileTitle its name without directory and
// extension. Both are empty until a file has been chosen.

#include <QString>

struct CurrentFile {
    QString basePath;
    QString fileTitle;

    // Records a file the user chose. Only the file name's last "." is cut, so a
    // file without extension in a directory such as «data.v2» keeps its outputs
    // next to it.
    void RememberChosenFile(const QString& fullPath);

    // The extension of a path (text after the file name's last "."), or empty.
    static QString ExtensionOf(const QString& fullPath);
};
