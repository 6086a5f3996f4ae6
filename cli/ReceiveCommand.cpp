#include "cli/Commands.h"

#include "base/Cp1250.h"
#include "base/CurrentFile.h"
#include "base/FileIo.h"
#include "base/Texts.h"
#include "cli/CliCommon.h"
#include "cli/CommandLine.h"
#include "convert/RawDataPreparation.h"
#include "serial/Reception.h"
#include "serial/SerialLink.h"

#include <QEventLoop>
#include <QFileInfo>
#include <QTimer>

#include <csignal>

namespace Cli {

namespace {

const char kReceiveUsage[] =
    "Použití: tarvo-cli receive [--set NÁZEV=HODNOTA]... [--port ZAŘÍZENÍ] [--convert [--million] [--force]] "
    "SOUBOR.sdt\n"
    "  Přijímá měřená data ze sériového portu do SOUBOR.sdt. Příjem skončí 2 s po posledních\n"
    "  datech; Ctrl+C ho zruší a existující soubor nechá beze změny.\n"
#ifdef _WIN32
    "  --port ZAŘÍZENÍ  sériový port, např. COM5 (jinak port CommPort z profilu)\n"
#else
    "  --port ZAŘÍZENÍ  zařízení portu (jinak port CommPort z profilu, viz sekce Ports)\n"
#endif
    "  --convert        po příjmu převede data na soubory MAPA2 jako F1 (.zap, .asc, .cod);\n"
    "                   poškozené bloky přenosu ohlásí, nakonec vypíše řádek s počty záznamů\n"
    "  --million        při převodu odpoví Ano na „Přičíst k souřadnicím milión?“\n"
    "  --force          existující SOUBOR.sdt (a výstupy převodu) přepíše bez dotazu\n"
    "Návratový kód: 0 data přijata (a převedena), 1 chyba, zrušení nebo přerušené spojení.\n";

volatile std::sig_atomic_t g_interrupted = 0;

void OnInterrupt(int) { g_interrupted = 1; }

}  // namespace

int RunReceive(QStringList arguments) {
    static constexpr Option kOptions[] = {{"--port", "ZAŘÍZENÍ"}, {"--convert"}, kForceOption, kMillionOption};
    CommandLine line;
    if (const std::optional<int> exit = ParseCommandLine(arguments, "receive", kReceiveUsage, kOptions, line))
        return *exit;
    if (line.operands.size() != 1) return UsageError(QStringLiteral("Zadejte právě jeden soubor .sdt."), kReceiveUsage);
    const QString device = line.Value("--port");
    const bool convert = line.Has("--convert");
    const QString target = line.operands.first();
    if (FileExists(target) && !line.force) {
        PrintUtf8(
            stderr,
            QStringLiteral("Soubor %1 existuje; přepíše se jen s volbou --force.\n").arg(DisplayPathText(target)));
        return kFailure;
    }

    CliPrompter prompter;
    prompter.force = line.force;
    prompter.addMillion = line.million;
    SerialLink link;
    link.SetSettings(line.serial);
    if (!device.isEmpty()) link.SetDevice(device);
    Reception reception(link, prompter);
    reception.SetPortAdvice(Texts::kCliPortAdvice);

    QEventLoop loop;
    QObject::connect(&reception, &Reception::StatusChanged, [](const QByteArray& text) {
        std::fputs("\r", stderr);
        Print(stderr, text);
        std::fflush(stderr);
    });
    QObject::connect(&reception, &Reception::Finished, &loop, &QEventLoop::quit);
    // Ctrl+C is Storno: the handler only raises a flag, which this thread acts on.
    QTimer interruptWatch;
    QObject::connect(&interruptWatch, &QTimer::timeout, [&reception] {
        if (g_interrupted) reception.Cancel();
    });
    g_interrupted = 0;
    auto previousInt = std::signal(SIGINT, OnInterrupt);
    auto previousTerm = std::signal(SIGTERM, OnInterrupt);

    PrintUtf8(stderr, QStringLiteral("Port %1; Ctrl+C příjem zruší.\n").arg(DisplayPathText(link.Device())));
    if (reception.Start(target)) {
        interruptWatch.start(100);
        loop.exec();
    }
    interruptWatch.stop();
    std::signal(SIGINT, previousInt);
    std::signal(SIGTERM, previousTerm);
    std::fputs("\n", stderr);

    switch (reception.CurrentState()) {
        case Reception::State::Completed: {
            const qint64 stored = reception.StoredBytes();
            Print(stderr, Counted(stored, Texts::kBytesNoun) + ' ' +
                              Cp1250::FromUtf8(PluralForm(stored, Texts::kReceivedParticiple)) + " do " +
                              DisplayPath(target) + ".\n");
            if (!convert) return kSuccess;
            // As after F1: the received file becomes the current one and is converted in full.
            const QString path = QFileInfo(target).absoluteFilePath();
            CurrentFile currentFile;
            currentFile.RememberChosenFile(path);
            ConversionContext context{line.settings, currentFile, prompter, {}};
            context.recogniseDevice = line.recogniseDevice;
            const ConversionOutcome outcome = PrepareRawData(path, ConversionMode::Full, context);
            return FinishConversion(prompter, outcome, context.receipt);
        }
        case Reception::State::Lost:
            if (convert) PrintUtf8(stderr, QStringLiteral("Neúplná data se nepřevádějí.\n"));
            return kFailure;
        case Reception::State::Cancelled:
            if (g_interrupted)
                PrintUtf8(stderr,
                          QStringLiteral("Příjem zrušen; %1 zůstal beze změny.\n").arg(DisplayPathText(target)));
            return kFailure;
        default:
            return kFailure;
    }
}

}  // namespace Cli
