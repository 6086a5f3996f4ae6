#pragma once
// The window program's answerer: message boxes titled with the application name,
// the output window for produced files and the conversion parameter sheet, each
// owned by the main window (or by its window that is up, OwnerWindow). The core's
// Windows-1250 texts become Unicode here, on their way to the screen.

#include "base/Prompter.h"

#include <QPointer>
#include <QWidget>

class DialogPrompter : public Prompter {
public:
    void SetParentWindow(QWidget* parent) { m_parent = parent; }

    Answer Ask(Topic topic, const QByteArray& text, MessageButtons buttons, MessageIcon icon) override;
    // A file that cannot be read back is reported, and the run goes on.
    void ShowOutputFile(const QString& path, const QByteArray& titleSuffix) override;
    bool RunParameterSheet(ConversionSettings& settings) override;

private:
    QPointer<QWidget> m_parent;
};
