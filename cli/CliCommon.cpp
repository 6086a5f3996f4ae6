#include "cli/CliCommon.h"

#include "base/Cp1250.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace Cli {

namespace {

#ifdef _WIN32
// A console that refused a write fails the run as a failed stream would.
bool g_consoleFailed[2] = {false, false};

bool& ConsoleFailed(std::FILE* stream) { return g_consoleFailed[stream == stdout ? 0 : 1]; }

// The console behind a stream, or nullptr when it goes to a file or a pipe.
HANDLE ConsoleOf(std::FILE* stream) {
    const HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
    DWORD mode = 0;
    return handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode) ? handle : nullptr;
}
#endif

// UTF-8 bytes to a file or a pipe. A Windows console gets the text through its
// wide interface, which shows Czech whatever its code page (852 by default).
void WriteUtf8(std::FILE* stream, const QByteArray& utf8) {
#ifdef _WIN32
    if (const HANDLE console = ConsoleOf(stream)) {
        std::fflush(stream);
        const std::wstring text = QString::fromUtf8(utf8).toStdWString();
        DWORD written = 0;
        if (!WriteConsoleW(console, text.c_str(), static_cast<DWORD>(text.size()), &written, nullptr) ||
            written != text.size())
            ConsoleFailed(stream) = true;
        return;
    }
#endif
    std::fwrite(utf8.constData(), 1, static_cast<std::size_t>(utf8.size()), stream);
}

// A question an option answers: Yes when it was given, otherwise No, saying why.
Answer AnswerByOption(bool given, const char* option, const QString& withoutIt) {
    if (given) {
        std::fprintf(stderr, "-> Ano (%s)\n", option);
        return Answer::Yes;
    }
    PrintUtf8(stderr, QStringLiteral("-> Ne (%1)\n").arg(withoutIt));
    return Answer::No;
}

}  // namespace

void SetUpStreams() {
#ifdef _WIN32
    // The same bytes as on Linux in files and pipes: no "\n" to "\r\n" translation
    // (the upload log already ends its lines with "\r\n").
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
#endif
}

bool StdinIsTerminal() {
#ifdef _WIN32
    return ConsoleOf(stdin) != nullptr;
#else
    return isatty(STDIN_FILENO) != 0;
#endif
}

void Print(std::FILE* stream, const QByteArray& cp1250) { WriteUtf8(stream, Cp1250::ToUtf8(cp1250)); }

void PrintUtf8(std::FILE* stream, const QString& text) { WriteUtf8(stream, text.toUtf8()); }

Answer CliPrompter::Ask(Topic topic, const QByteArray& text, MessageButtons buttons, MessageIcon icon) {
    (void)icon;
    Print(stderr, text);
    std::fputc('\n', stderr);
    switch (topic) {
        case Topic::Corrections:
            std::fputs("-> Ano\n", stderr);
            return Answer::Yes;
        case Topic::Million: {
            std::fputs(addMillion ? "-> Ano\n" : "-> Ne\n", stderr);
            return addMillion ? Answer::Yes : Answer::No;
        }
        case Topic::Overwrite:
        case Topic::UploadFindings: {
            const Answer answer = AnswerByOption(force, "--force",
                                                 topic == Topic::Overwrite
                                                     ? QStringLiteral("soubor se přepíše jen s volbou --force")
                                                     : QStringLiteral("seznam se přesto odešle jen s volbou --force"));
            // Without --force the run stops here, and fails.
            if (answer == Answer::No) failed = true;
            return answer;
        }
        case Topic::PartialTransfer:
            return AnswerByOption(convertPartial, "--convert-partial",
                                  QStringLiteral("neúplná data převede jen volba --convert-partial"));
        case Topic::ReceptionLeftover:
            PrintUtf8(stderr, QStringLiteral("-> Ne (soubor zůstává ve složce beze změny)\n"));
            return Answer::No;
        case Topic::DeviceMismatch:
            PrintUtf8(stderr, QStringLiteral("-> Ne (podle tvaru dat je převede volba --set DeviceType=auto)\n"));
            deviceMismatch = true;
            return Answer::No;
        default:
            break;
    }
    if (buttons == MessageButtons::Ok) return Answer::Ok;
    return Answer::Yes;
}

void CliPrompter::ReportFileError(const FileError& error, const QByteArray& consequence) {
    failed = true;
    Print(stderr, FileErrorText(error));
    std::fputc('\n', stderr);
    if (consequence.isEmpty()) return;
    Print(stderr, consequence);
    std::fputc('\n', stderr);
}

int FinishRun(const CliPrompter& prompter, ConversionOutcome outcome, const QByteArray& receiptLine, bool wroteFiles) {
    Print(stderr, receiptLine);
    std::fputc('\n', stderr);
    // A script must notice a run whose data were read in a form they are not in,
    // and a run that left no file behind, whatever the reason.
    if (outcome != ConversionOutcome::Completed || prompter.failed || prompter.deviceMismatch) return kFailure;
    return wroteFiles ? kSuccess : kFailure;
}

int FinishConversion(const CliPrompter& prompter, ConversionOutcome outcome, const ConversionReceipt& receipt) {
    return FinishRun(prompter, outcome, ReceiptText(receipt, outcome), !receipt.written.isEmpty());
}

bool Flushed(std::FILE* stream) {
#ifdef _WIN32
    if (ConsoleFailed(stream)) return false;
#endif
    return std::fflush(stream) == 0 && !std::ferror(stream);
}

int Finish(int code) {
    const bool outputWritten = Flushed(stdout);
    if (!outputWritten)
        PrintUtf8(stderr, QStringLiteral("Při zápisu na standardní výstup došlo k chybě, výstup není úplný.\n"));
    const bool messagesWritten = Flushed(stderr);
    if (code == kSuccess && !(outputWritten && messagesWritten)) return kFailure;
    return code;
}

}  // namespace Cli
