#include "cli/CliCommon.h"

#include "base/Cp1250.h"

namespace Cli {

void Print(std::FILE* stream, const QByteArray& cp1250) {
    const QByteArray utf8 = Cp1250::ToUtf8(cp1250);
    std::fwrite(utf8.constData(), 1, static_cast<std::size_t>(utf8.size()), stream);
}

void PrintUtf8(std::FILE* stream, const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    std::fwrite(utf8.constData(), 1, static_cast<std::size_t>(utf8.size()), stream);
}

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
            if (force) {
                std::fputs("-> Ano (--force)\n", stderr);
                return Answer::Yes;
            }
            std::fputs("-> Ne (soubor se přepíše jen s volbou --force)\n", stderr);
            failed = true;
            return Answer::No;
        case Topic::UploadFindings:
            if (force) {
                std::fputs("-> Ano (--force)\n", stderr);
                return Answer::Yes;
            }
            std::fputs("-> Ne (seznam se přesto odešle jen s volbou --force)\n", stderr);
            failed = true;
            return Answer::No;
        case Topic::DeviceMismatch:
            std::fputs("-> Ne (podle přístroje, ze kterého data jsou, je převede volba --set DeviceType=auto)\n",
                       stderr);
            deviceMismatch = true;
            return Answer::No;
        default:
            break;
    }
    if (buttons == MessageButtons::Ok) return Answer::Ok;
    return Answer::Yes;
}

void CliPrompter::ReportFileError(const FileError& error) {
    failed = true;
    Print(stderr, FileErrorText(error));
    std::fputc('\n', stderr);
}

int FinishConversion(const CliPrompter& prompter, ConversionOutcome outcome, const ConversionReceipt& receipt) {
    Print(stderr, ReceiptText(receipt, outcome));
    std::fputc('\n', stderr);
    if (outcome != ConversionOutcome::Completed || prompter.failed) return kFailure;
    return prompter.deviceMismatch && receipt.written.isEmpty() ? kFailure : kSuccess;
}

bool Flushed(std::FILE* stream) { return std::fflush(stream) == 0 && !std::ferror(stream); }

int Finish(int code) {
    const bool outputWritten = Flushed(stdout);
    if (!outputWritten)
        PrintUtf8(stderr, QStringLiteral("Při zápisu na standardní výstup došlo k chybě, výstup není úplný.\n"));
    const bool messagesWritten = Flushed(stderr);
    if (code == kSuccess && !(outputWritten && messagesWritten)) return kFailure;
    return code;
}

}  // namespace Cli
