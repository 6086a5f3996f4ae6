#include "gui/commands/DialogPrompter.h"

#include "base/Cp1250.h"
#include "base/InputFile.h"
#include "gui/commands/OutputWindow.h"
#include "gui/common/OwnerWindow.h"
#include "gui/common/UiText.h"
#include "gui/common/WindowTexts.h"
#include "gui/parameters/ParameterSheet.h"

#include <QMessageBox>

namespace {

QMessageBox::Icon IconOf(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Exclamation:
            return QMessageBox::Warning;
        case MessageIcon::Information:
            return QMessageBox::Information;
        case MessageIcon::Question:
            return QMessageBox::Question;
    }
    return QMessageBox::Warning;
}

// The button Enter presses: Yes for a question, but No where a Yes would do what
// cannot be undone (DefaultsToNo).
QMessageBox::StandardButton DefaultButtonOf(Topic topic, MessageButtons buttons) {
    if (buttons == MessageButtons::Ok) return QMessageBox::Ok;
    return DefaultsToNo(topic) ? QMessageBox::No : QMessageBox::Yes;
}

}  // namespace

Answer DialogPrompter::Ask(Topic topic, const QByteArray& text, MessageButtons buttons, MessageIcon icon) {
    QMessageBox box(IconOf(icon), UiText(WindowTexts::kApplicationTitle), Cp1250::ToUnicode(text),
                    QMessageBox::NoButton, OwnerWindow(m_parent));
    switch (buttons) {
        case MessageButtons::Ok:
            box.setStandardButtons(QMessageBox::Ok);
            break;
        case MessageButtons::YesNo:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            break;
        case MessageButtons::YesNoCancel:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
            box.setEscapeButton(QMessageBox::Cancel);
            break;
    }
    box.setDefaultButton(DefaultButtonOf(topic, buttons));
    switch (box.exec()) {
        case QMessageBox::Yes:
            return Answer::Yes;
        case QMessageBox::No:
            return Answer::No;
        case QMessageBox::Cancel:
            return Answer::Cancel;
        default:
            // The close box: a notice is read, a question is not agreed to.
            if (buttons == MessageButtons::Ok) return Answer::Ok;
            return buttons == MessageButtons::YesNo ? Answer::No : Answer::Cancel;
    }
}

void DialogPrompter::ShowOutputFile(const QString& path, const QByteArray& titleSuffix) {
    QByteArray text;
    if (const FileError error = ReadWholeFile(path, text)) {
        ReportFileError(error);
        return;
    }
    OutputWindow window(text, titleSuffix, OwnerWindow(m_parent));
    window.exec();
}

bool DialogPrompter::RunParameterSheet(ConversionSettings& settings) {
    ParameterSheet sheet(settings, OwnerWindow(m_parent));
    if (sheet.exec() != QDialog::Accepted) return false;
    ApplySheetResult(sheet, settings);
    return true;
}
