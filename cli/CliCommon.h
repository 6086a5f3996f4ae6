#pragma once
// What the subcommands of tarvo-cli share: terminal text and the answerer that
// takes the place of the dialogs.

#include "app/Prompter.h"

#include <QByteArray>
#include <QString>

#include <cstdio>

namespace Cli {

enum ExitCode { kSuccess = 0, kFailure = 1, kUsage = 2 };

// Writes Windows-1250 text to a terminal stream as UTF-8.
void Print(std::FILE* stream, const QByteArray& cp1250);
void PrintUtf8(std::FILE* stream, const QString& text);

// Answers the questions of a run from the command line's options and prints every
// message on stderr.
class CliPrompter : public Prompter {
public:
    bool addMillion = false;  // --million
    bool force = false;       // --force: replace existing files
    bool failed = false;      // an error was reported or a question refused the run

    Answer Ask(Topic topic, const QByteArray& text, MessageButtons buttons, MessageIcon icon) override;
    void ReportFileError(const FileError& error) override;
};

}  // namespace Cli
