#pragma once
// The file dialogs of the commands, behind an interface so that the command controller can
// be driven by a script: the window program answers with the desktop's dialogs.

#include <QByteArray>
#include <QString>

struct FileDialogRequest {
    enum class Kind { Open, Save };
    Kind kind = Kind::Open;     // Open: the file must exist; Save: asks before replacing one
    QByteArray filter;          // Windows-1250 "Label|pattern|Label|pattern||"
    QString defaultExtension;   // without the dot, added to a typed name without one; empty for none
    QString folder;             // where the dialog opens; empty leaves it to the desktop
    QString selectedExtension;  // the filter of files with this extension is chosen first; empty: the first
};

class FileChooser {
public:
    virtual ~FileChooser() = default;
    // The chosen full path, or an empty text when the user cancelled.
    virtual QString Choose(const FileDialogRequest& request) = 0;
};
