#pragma once
// The desktop's open and save dialogs for the commands of the window program,
// owned by the main window (or the window of it that is up at the moment).

#include "base/FileChooser.h"

#include <QPointer>
#include <QStringList>
#include <QWidget>

class DialogFileChooser : public FileChooser {
public:
    void SetParentWindow(QWidget* parent) { m_parent = parent; }
    QString Choose(const FileDialogRequest& request) override;

    // "Label (*.sdt)|*.sdt|..." as the dialog's name filters; "*.*" becomes "*" so
    // that files without an extension are listed too.
    static QStringList NameFilters(const QByteArray& filter);
    // A typed name without an extension gets the default one; an open dialog keeps
    // a name without one that exists as it is.
    static QString WithDefaultExtension(const QString& path, const QString& extension, bool mustExist);
    // The extension a name filter lists: "txt" of "Textový soubor (*.txt)"; empty
    // for a filter of several patterns or of all files.
    static QString FilterExtension(const QString& nameFilter);

private:
    QPointer<QWidget> m_parent;
};
