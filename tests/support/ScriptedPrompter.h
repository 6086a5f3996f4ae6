#pragma once
// A user who answers from a script and remembers everything the program said.

#include "base/ConversionSettings.h"
#include "base/Prompter.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <functional>

class ScriptedPrompter : public Prompter {
public:
    struct Message {
        Topic topic;
        QByteArray text;  // Windows-1250, as the program gave it
        MessageButtons buttons;
        MessageIcon icon;
    };

    // Answers taken in order for questions of the given topic; without one a
    // question gets defaultAnswer.
    QList<Answer> corrections;
    QList<Answer> million;
    QList<Answer> overwrite;
    QList<Answer> deviceMismatch;
    Answer defaultAnswer = Answer::Yes;
    // What the parameter sheet does when it is opened: edit the settings and
    // return whether the user confirmed.
    std::function<bool(ConversionSettings&)> sheet;

    QList<Message> messages;
    QList<FileError> fileErrors;
    QList<QByteArray> fileErrorConsequences;  // beside each file error, empty where none was said
    QList<QString> shownFiles;
    QList<QByteArray> shownTitles;
    int sheetsOpened = 0;

    Answer Ask(Topic topic, const QByteArray& text, MessageButtons buttons, MessageIcon icon) override;
    void ReportFileError(const FileError& error, const QByteArray& consequence = {}) override;
    void ShowOutputFile(const QString& path, const QByteArray& titleSuffix) override;
    bool RunParameterSheet(ConversionSettings& settings) override;

    // Messages of one topic, and how many there were.
    QList<Message> Of(Topic topic) const;
    int Count(Topic topic) const { return static_cast<int>(Of(topic).size()); }
};
