#include "tests/support/ScriptedPrompter.h"

Answer ScriptedPrompter::Ask(Topic topic, const QByteArray& text, MessageButtons buttons, MessageIcon icon) {
    messages.append({topic, text, buttons, icon});
    if (buttons == MessageButtons::Ok) return Answer::Ok;
    QList<Answer>* script = nullptr;
    switch (topic) {
        case Topic::Corrections:
            script = &corrections;
            break;
        case Topic::Million:
            script = &million;
            break;
        case Topic::Overwrite:
            script = &overwrite;
            break;
        case Topic::DeviceMismatch:
            script = &deviceMismatch;
            break;
        default:
            break;
    }
    if (script && !script->isEmpty()) return script->takeFirst();
    return defaultAnswer;
}

void ScriptedPrompter::ReportFileError(const FileError& error, const QByteArray& consequence) {
    fileErrors.append(error);
    fileErrorConsequences.append(consequence);
}

void ScriptedPrompter::ShowOutputFile(const QString& path, const QByteArray& titleSuffix) {
    shownFiles.append(path);
    shownTitles.append(titleSuffix);
}

bool ScriptedPrompter::RunParameterSheet(ConversionSettings& settings) {
    ++sheetsOpened;
    return sheet ? sheet(settings) : false;
}

QList<ScriptedPrompter::Message> ScriptedPrompter::Of(Topic topic) const {
    QList<Message> found;
    for (const Message& message : messages) {
        if (message.topic == topic) found.append(message);
    }
    return found;
}
