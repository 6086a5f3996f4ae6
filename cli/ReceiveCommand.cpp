#include "cli/Commands.h"

#include "base/CurrentFile.h"
#include "base/InputFile.h"
#include "base/Texts.h"
#include "cli/CliCommon.h"
#include "cli/CommandLine.h"
#include "check/JobCheck.h"
#include "serial/Reception.h"
#include "serial/ReceptionFollowUp.h"
#include "serial/SerialLink.h"

#include <QEventLoop>
#include <QFileInfo>
#include <QTimer>

#include <csignal>

#ifdef _WIN32
#include <windows.h>
#endif

namespace Cli {

namespace {

const char kReceiveUsage[] =
    "Použití: tarvo-cli receive [--set NÁZEV=HODNOTA]... [--port ZAŘÍZENÍ] [--convert|--convert-partial "
    "[--million] [--force]] SOUBOR.sdt\n"
    "  Přijímá měřená data ze sériového portu do SOUBOR.sdt. Příjem skončí 2 s po posledních\n"
    "  datech (přenos s úvodními záznamy je úplný jen se svým koncovým záznamem). Existující\n"
    "  soubor nahradí jen úplný přenos; data přenosu, který skončil dřív (Ctrl+C, přerušené\n"
    "  spojení, ukončení programu), zůstanou v souboru .part vedle něj, který hlášení jmenuje\n"
    "  a příští příjem nabídne. Když se data nevejdou na disk, příjem skončí hned a přijaté\n"
    "  bajty zůstanou v souboru, který hlášení jmenuje.\n"
#ifdef _WIN32
    "  --port ZAŘÍZENÍ  sériový port, např. COM5 (jinak port CommPort z profilu)\n"
#else
    "  --port ZAŘÍZENÍ  zařízení portu (jinak port CommPort z profilu, viz sekce Ports)\n"
#endif
    "  --convert        po příjmu převede data na soubory MAPA2 jako F1 (.zap, .asc, .cod)\n"
    "                   a uloží protokol kontroly zápisníku (SOUBOR_kontrola.txt);\n"
    "                   poškozené bloky přenosu ohlásí, nakonec vypíše řádek s počty záznamů\n"
    "  --convert-partial  jako --convert, převede ale i data přenosu, který přerušilo\n"
    "                   ztracené spojení (jinak se neúplná data nepřevádějí)\n"
    "  --million        při převodu odpoví Ano na „Přičíst k souřadnicím milión?“\n"
    "  --force          existující SOUBOR.sdt (a výstupy převodu) přepíše bez dotazu\n"
    "Návratový kód: 0 data přijata (a převedena), 1 chyba, zrušení nebo neúplný přenos\n"
    "  (i když --convert-partial neúplná data převedl).\n";

// The reception's messages start on a line of their own, not behind the progress.
class ReceivePrompter : public CliPrompter {
public:
    bool onProgressLine = false;

    Answer Ask(Topic topic, const QByteArray& text, MessageButtons buttons, MessageIcon icon) override {
        EndProgressLine();
        return CliPrompter::Ask(topic, text, buttons, icon);
    }
    void ReportFileError(const FileError& error, const QByteArray& consequence = {}) override {
        EndProgressLine();
        CliPrompter::ReportFileError(error, consequence);
    }
    void EndProgressLine() {
        if (onProgressLine) std::fputc('\n', stderr);
        onProgressLine = false;
    }
};

// Ctrl+C is Storno; the other ends (the terminal closed, the system shutting down)
// end the reception as broken. The handlers only raise a flag, which the main
// thread acts on.
volatile std::sig_atomic_t g_interrupted = 0;
volatile std::sig_atomic_t g_terminated = 0;
// Raised once the reception has ended and its bytes are on the disk.
volatile std::sig_atomic_t g_receptionEnded = 0;

#ifndef _WIN32
void OnInterrupt(int) { g_interrupted = 1; }
void OnTerminate(int) { g_terminated = 1; }
#else
// The console's events come on a thread of their own; a closing console ends the
// process when the handler returns, so it waits (a few seconds at most, as the
// system allows) until the reception has stored its bytes.
BOOL WINAPI OnConsoleEvent(DWORD event) {
    if (event == CTRL_C_EVENT) {
        g_interrupted = 1;
        return TRUE;
    }
    g_terminated = 1;
    for (int waited = 0; waited < 40 && !g_receptionEnded; ++waited) Sleep(100);
    return event == CTRL_BREAK_EVENT ? TRUE : FALSE;
}
#endif

}  // namespace

int RunReceive(QStringList arguments) {
    static constexpr Option kOptions[] = {
        {"--port", "ZAŘÍZENÍ"}, {"--convert"}, {"--convert-partial"}, kForceOption, kMillionOption};
    CommandLine line;
    if (const std::optional<int> exit = ParseCommandLine(arguments, "receive", kReceiveUsage, kOptions, line))
        return *exit;
    if (line.operands.size() != 1) return UsageError(QStringLiteral("Zadejte právě jeden soubor .sdt."), kReceiveUsage);
    const QString device = line.Value("--port");
    const bool convertPartial = line.Has("--convert-partial");
    const bool convert = line.Has("--convert") || convertPartial;
    const QString target = line.operands.first();
    if (FileExists(target) && !line.force) {
        PrintUtf8(
            stderr,
            QStringLiteral("Soubor %1 existuje; přepíše se jen s volbou --force.\n").arg(DisplayPathText(target)));
        return kFailure;
    }

    ReceivePrompter prompter;
    prompter.force = line.force;
    prompter.addMillion = line.million;
    prompter.convertPartial = convertPartial;
    // The data of a reception that never ended are named before a new one starts.
    Reception::OfferLeftovers(target, prompter);
    SerialLink link;
    link.SetSettings(line.serial);
    if (!device.isEmpty()) link.SetDevice(device);
    Reception reception(link, prompter);
    reception.SetPortAdvice(Texts::kCliPortAdvice);

    QEventLoop loop;
    QObject::connect(&reception, &Reception::StatusChanged, [&prompter](const QByteArray& text) {
        std::fputs("\r", stderr);
        Print(stderr, text);
        std::fflush(stderr);
        prompter.onProgressLine = true;
    });
    QObject::connect(&reception, &Reception::Finished, &loop, &QEventLoop::quit);
    QTimer interruptWatch;
    QObject::connect(&interruptWatch, &QTimer::timeout, [&reception] {
        if (g_terminated)
            reception.Interrupt();
        else if (g_interrupted)
            reception.Cancel();
    });
    g_interrupted = 0;
    g_terminated = 0;
    g_receptionEnded = 0;
#ifdef _WIN32
    SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
#else
    auto previousInt = std::signal(SIGINT, OnInterrupt);
    auto previousTerm = std::signal(SIGTERM, OnTerminate);
    auto previousHup = std::signal(SIGHUP, OnTerminate);
#endif

    PrintUtf8(stderr, QStringLiteral("Port %1; Ctrl+C příjem zruší.\n").arg(DisplayPathText(link.Device())));
    if (reception.Start(target)) {
        interruptWatch.start(100);
        loop.exec();
    }
    interruptWatch.stop();
    g_receptionEnded = 1;
#ifdef _WIN32
    SetConsoleCtrlHandler(OnConsoleEvent, FALSE);
#else
    std::signal(SIGINT, previousInt);
    std::signal(SIGTERM, previousTerm);
    std::signal(SIGHUP, previousHup);
#endif
    prompter.EndProgressLine();

    const ReceivedData received = reception.Left();
    if (received == ReceivedData::Whole) {
        const qint64 stored = reception.StoredBytes();
        Print(stderr,
              TextFilled(Texts::kReceivedInto, {Counted(stored, Texts::kBytesNoun),
                                                PluralForm(stored, Texts::kReceivedParticiple), DisplayPath(target)}) +
                  '\n');
    }
    if (received == ReceivedData::None && reception.CurrentState() == Reception::State::Cancelled && g_interrupted)
        PrintUtf8(stderr, QStringLiteral("Příjem zrušen.\n"));
    // As after F1: the received file becomes the current one and is converted in full.
    int converted = kSuccess;
    const auto convertReceived = [&]() {
        const QString path = QFileInfo(target).absoluteFilePath();
        CurrentFile currentFile;
        currentFile.RememberChosenFile(path);
        ConversionContext context{line.settings, currentFile, prompter, line.recogniseDevice};
        const ConversionResult result = ConvertAndCheck(path, ConversionMode::Full, context).conversion;
        converted = FinishConversion(prompter, result.outcome, result.receipt);
    };
    FollowReception(received, target, prompter, convert ? std::function<void()>(convertReceived) : nullptr);
    // A broken transfer fails the run even when what came was converted.
    return received == ReceivedData::Whole ? converted : kFailure;
}

}  // namespace Cli
