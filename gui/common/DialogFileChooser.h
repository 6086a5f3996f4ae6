#pragma once
// The desktop's open and save dialogs for the commands of the window program.

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

private:
    QPointer<QWidget> m_parent;
};
