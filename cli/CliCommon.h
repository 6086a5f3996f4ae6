#pragma once
// What the subcommands of tarvo-cli share: the profile's settings with --set
// overrides, the answerer that takes the place of the dialogs, and terminal text.

#include "base/ConversionSettings.h"
#include "base/Prompter.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdio>

namespace Cli {

enum ExitCode { kSuccess = 0, kFailure = 1, kUsage = 2 };

// Writes Windows-1250 text to a terminal stream as UTF-8.
void Print(std::FILE* stream, const QByteArray& cp1250);
void PrintUtf8(std::FILE* stream, const QString& text);

// Applies one "NAME=VALUE" (profile names: Flag, DeviceType, DXF_Ratio, JX, JY,
// JH, Head, OR; serial: CommPort, BaudRate, ByteSize, Parity, StopBits). The value
// arrives as UTF-8 and is stored as Windows-1250; in Head "\r\n" stands for CR LF
// and "\\" for a backslash. Returns false with a message in error.
bool ApplySetting(const QString& assignment, ConversionSettings& settings, SerialSettings& serial, QString& error);

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

// The settings of a run: the profile's, read as the window program reads them at
// start-up (never written), then the --set overrides. Splits the common options out
// of arguments: --set (applied), --force, --million; unknown options starting with
// "--" are left for the subcommand.
struct CommonOptions {
    bool force = false;
    bool million = false;
};
bool LoadSettings(QStringList& arguments, ConversionSettings& settings, SerialSettings& serial, CommonOptions& options,
                  QString& error);

// True when the arguments ask for the command's help (--help or -h).
bool WantsHelp(const QStringList& arguments);

// Prints message, then the command's usage (UTF-8), to stderr; returns kUsage.
int UsageError(const QString& message, const char* usageUtf8);

}  // namespace Cli
