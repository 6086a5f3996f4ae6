#pragma once
// What the subcommands of tarvo-cli share: terminal text whose every write is
// checked, and the answerer that takes the place of the dialogs.

#include "base/Prompter.h"
#include "convert/ConversionReceipt.h"

#include <QByteArray>
#include <QString>

#include <cstdio>

namespace Cli {

enum ExitCode { kSuccess = 0, kFailure = 1, kUsage = 2 };

// Called first thing: on Windows stdout and stderr then write their bytes as
// they are, without turning "\n" into "\r\n".
void SetUpStreams();

// Writes Windows-1250 text to a terminal stream as UTF-8 (a Windows console gets
// it through its wide interface). A write that fails is remembered; Finish reads it.
void Print(std::FILE* stream, const QByteArray& cp1250);
void PrintUtf8(std::FILE* stream, const QString& text);

// Whether standard input is a terminal (on Windows a console) that a user types at.
bool StdinIsTerminal();

// Answers the questions of a run from the command line's options and prints every
// message on stderr.
class CliPrompter : public Prompter {
public:
    bool addMillion = false;      // --million
    bool force = false;           // --force: replace existing files, send a list the check found fault with
    bool failed = false;          // an error was reported or a question refused the run
    bool deviceMismatch = false;  // the data are in the other instrument's form and were converted as the set one
    bool convertPartial = false;  // --convert-partial: convert what came before a lost connection

    Answer Ask(Topic topic, const QByteArray& text, MessageButtons buttons, MessageIcon icon) override;
    void ReportFileError(const FileError& error, const QByteArray& consequence = {}) override;
};

// A run's end on the command line: its receipt line on stderr, then the exit
// code. A run fails when it wrote no file (wroteFiles false), when the data are
// in the other instrument's form than "DeviceType" says (without "auto"), on an
// error and on a refused question.
int FinishRun(const CliPrompter& prompter, ConversionOutcome outcome, const QByteArray& receiptLine, bool wroteFiles);

// FinishRun for a conversion.
int FinishConversion(const CliPrompter& prompter, ConversionOutcome outcome, const ConversionReceipt& receipt);

// True when everything written to stream so far has gone out; flushes it first.
bool Flushed(std::FILE* stream);

// The exit code of a run once its output is out. A write to stdout or stderr that
// failed (a full disk, a closed terminal) makes a success kFailure: the user did
// not get what was asked for. The failure is told on stderr while that still works.
int Finish(int code);

}  // namespace Cli
