// tarvo-cli upload: sends a point or code list as the upload window does, through
// a serial port (--port). With --dump the bytes that would go on the line are
// written to a file instead, with no pauses and no instrument to wait for. The
// check before sending answers its question with --force; --check only reports.

#include "cli/Commands.h"

#include "cli/CliCommon.h"
#include "cli/CommandLine.h"

#include "base/Cp1250.h"
#include "base/InputFile.h"
#include "base/OutputWriting.h"
#include "base/Texts.h"
#include "serial/SerialLink.h"
#include "serial/SerialUploadPort.h"
#include "upload/UploadCheck.h"
#include "upload/UploadListParser.h"
#include "upload/UploadPort.h"
#include "upload/UploadTransmission.h"

#include <chrono>
#include <functional>
#include <new>
#include <thread>

namespace Cli {

namespace {

const char kUploadUsage[] =
    "Použití: tarvo-cli upload points|codes [--set NÁZEV=HODNOTA]... [--force] (--port ZAŘÍZENÍ | --dump VÝSTUP)\n"
    "                          SEZNAM\n"
    "         tarvo-cli upload points|codes [--set NÁZEV=HODNOTA]... --check SEZNAM\n"
    "\n"
    "Přečte SEZNAM (text v UTF-8 nebo ve Windows-1250, řádky ukončené CR LF, LF nebo CR) jako\n"
    "seznam bodů (název, Y, X, Z) nebo kódů (číslo 1..50, text) a připraví ho pro totální\n"
    "stanici NTS-350. Text v UTF-8 převede do Windows-1250, jak ho přístroj zobrazí.\n"
    "\n"
    "Předtím seznam porovná s tím, co přístroj dostane: neprázdné řádky, které se neodešlou\n"
    "(bod bez názvu a dvou souřadnic, kód bez čárky nebo bez čísla), výšky, jejichž desetinnou\n"
    "čárku seznam nepřečte (řádek „P1 12,5 13,7 2,1“ odešle výšku 2), názvy delší než\n"
    "10 znaků (zůstane posledních 10), různé názvy, které se zkrácením shodnou, texty kódů\n"
    "delší než 10 znaků (zůstane prvních 10), řádky kódů s číslem mimo 1..50 (neodešlou se,\n"
    "nebo se odešlou pod jiným číslem), opakovaná čísla kódů a souřadnice, z nichž se\n"
    "odtrhne víc než obvyklý milión S-JTSK (u výšky cokoli), znaky, které Windows-1250 nemá\n"
    "(přijdou jako „?“), a nulové bajty (zbytek řádku se nečte). Zjištění vypíše na chybový\n"
    "výstup a seznam pak odešle jen s volbou --force.\n"
    "\n"
    "  points|codes         seznam bodů, nebo seznam kódů\n"
#ifdef _WIN32
    "  --port ZAŘÍZENÍ      odešle seznam sériovým portem (např. COM5) s parametry\n"
#else
    "  --port ZAŘÍZENÍ      odešle seznam sériovým portem (např. /dev/ttyUSB0) s parametry\n"
#endif
    "                       komunikace z profilu, s pauzami 350 ms; průběh na chybový výstup\n"
    "  --dump VÝSTUP        zapíše do souboru přesně ty bajty, které by šly na linku\n"
    "                       (úvodní záznamy, bloky, koncový záznam), bez pauz; VÝSTUP\n"
    "                       nesmí být SEZNAM a existující VÝSTUP přepíše jen s --force\n"
    "                       (je-li v Flag bit 0x010, dotaz na přepsání)\n"
    "  --force              odešle seznam, i když kontrola něco našla; existující\n"
    "                       VÝSTUP přepíše bez dotazu\n"
    "  --check              jen vypíše všechna zjištění kontroly na standardní výstup\n"
    "                       a nic neodešle\n"
    "  --set NÁZEV=HODNOTA  přepíše nastavení z profilu; Flag=0x100 prohodí X a Y\n"
    "\n"
    "Na standardní výstup jde protokol odeslaných dat, na chybový výstup souhrn.\n"
    "Seznam bez jediného platného řádku skončí chybou. Odesílat lze jen do NTS-350\n"
    "(DeviceType=0).\n"
    "\n"
    "Návratový kód: 0 seznam byl odeslán (s --check: kontrola nic nenašla), 1 zjištění\n"
    "kontroly bez --force (s --check: kontrola něco našla) nebo chyba, 2 chybné použití.\n";

// What would go on the line, collected in memory.
class DumpPort : public UploadPort {
public:
    QByteArray bytes;

    bool IsOpen() const override { return m_open; }
    bool OpenWithoutReader() override {
        m_open = true;
        return true;
    }
    bool Write(const QByteArray& data, QByteArray& error) override {
        (void)error;
        bytes += data;
        return true;
    }
    void Close() override { m_open = false; }

private:
    bool m_open = false;
};

class NoProgress : public UploadProgress {
public:
    void Show(int maximum) override { (void)maximum; }
    void SetPosition(int position) override { (void)position; }
    void Hide() override {}
};

// The progress bar of the upload window, as a line on stderr.
class StderrProgress : public UploadProgress {
public:
    void Show(int maximum) override {
        m_maximum = maximum;
        SetPosition(0);
    }
    void SetPosition(int position) override {
        std::fprintf(stderr, "\r%d/%d", position, m_maximum);
        std::fflush(stderr);
    }
    void Hide() override { std::fputc('\n', stderr); }

private:
    int m_maximum = 0;
};

// The upload's messages on the command line. The summary is held back until the
// caller knows the whole run succeeded; the receive-mode prompt matters only when
// an instrument is at the other end.
class UploadPrompter : public CliPrompter {
public:
    bool instrumentAttached = false;
    QByteArray summary;

    Answer Ask(Topic topic, const QByteArray& text, MessageButtons buttons, MessageIcon icon) override {
        if (topic == Topic::Summary) {
            summary = text;
            return Answer::Ok;
        }
        if (topic == Topic::ReceiveMode && !instrumentAttached) return Answer::Ok;
        const Answer answer = CliPrompter::Ask(topic, text, buttons, icon);
        // At a terminal the user sets the instrument up first and then presses Enter.
        if (topic == Topic::ReceiveMode && StdinIsTerminal()) {
            char line[64];
            if (!std::fgets(line, sizeof line, stdin)) return answer;
        }
        return answer;
    }
};

// The run both a dump and a real port go through: the upload itself, then the log
// on stdout and the summary on stderr once finish() has accepted the result (a
// dump writes its file there). A log that did not reach stdout fails the run and
// no summary claims otherwise.
int Upload(UploadKind kind, const Cp1250::ListText& list, quint16 flag, UploadPort& port, UploadProgress& progress,
           const std::function<void(int pauseMs)>& pause, UploadPrompter& prompter,
           const std::function<bool()>& finish) {
    const UploadResult result = UploadList(kind, list, flag, port, progress, prompter, pause);
    if (!result || !finish()) return kFailure;
    Print(stdout, result.log);
    // The log before the summary, also where both go to one place.
    if (!Flushed(stdout)) return kFailure;
    Print(stderr, prompter.summary);
    std::fputc('\n', stderr);
    return kSuccess;
}

// --check: the list as the upload would read it, every finding on stdout, nothing
// sent. Succeeds only when the upload would go out without a question.
int CheckList(UploadKind kind, const Cp1250::ListText& list, quint16 flag, UploadPrompter& prompter) {
    SurveyRecordList entries;
    UploadFindings findings;
    try {
        entries = ParseUploadList(list.bytes, kind, flag);
        if (!entries.empty()) findings = CheckUploadList(list, entries, kind);
    } catch (const std::bad_alloc&) {
        prompter.Tell(Text(Texts::kListTooLarge));
        return kFailure;
    }
    if (entries.empty()) {
        prompter.Tell(Text(kind == UploadKind::Points ? Texts::kNoValidPoints : Texts::kNoValidCodes));
        return kFailure;
    }
    if (findings.isEmpty()) {
        PrintUtf8(stdout, QStringLiteral("Kontrola nic nenašla, seznam přijde do přístroje tak, jak je napsán.\n"));
        return kSuccess;
    }
    Print(stdout, FindingsText(findings, 0));
    std::fputc('\n', stdout);
    return kFailure;
}

}  // namespace

int RunUpload(QStringList arguments) {
    static constexpr Option kOptions[] = {{"--dump", "VÝSTUP"}, {"--port", "ZAŘÍZENÍ"}, kForceOption, {"--check"}};
    CommandLine line;
    if (const std::optional<int> exit = ParseCommandLine(arguments, "upload", kUploadUsage, kOptions, line))
        return *exit;
    const QStringList& positional = line.operands;
    if (positional.size() != 2 || (positional[0] != QLatin1String("points") && positional[0] != QLatin1String("codes")))
        return UsageError(QStringLiteral("Zadejte points nebo codes a soubor se seznamem."), kUploadUsage);
    const QString dumpPath = line.Value("--dump");
    const QString device = line.Value("--port");
    const bool check = line.Has("--check");
    if (int(!dumpPath.isEmpty()) + int(!device.isEmpty()) + int(check) != 1)
        return UsageError(QStringLiteral("Zadejte buď --port ZAŘÍZENÍ, nebo --dump VÝSTUP, nebo --check."),
                          kUploadUsage);
    if (check && line.force)
        return UsageError(QStringLiteral("Volba --check nic neodesílá, --force u ní nemá význam."), kUploadUsage);
    const UploadKind kind = positional[0] == QLatin1String("points") ? UploadKind::Points : UploadKind::Codes;
    // The window program offers the upload only for this instrument.
    if (line.settings.deviceType != DeviceType::Nts350) {
        PrintUtf8(stderr, QStringLiteral("Seznamy lze odesílat jen do NTS-350 (DeviceType=0).\n"));
        return kFailure;
    }

    UploadPrompter prompter;
    prompter.force = line.force;
    QByteArray listBytes;
    if (const FileError readError = ReadWholeFile(positional[1], listBytes)) {
        prompter.ReportFileError(readError);
        return kFailure;
    }
    // A list written on Linux is UTF-8; the instrument takes Windows-1250.
    Cp1250::ListText list;
    try {
        list = Cp1250::FromListFile(listBytes);
    } catch (const std::bad_alloc&) {
        prompter.Tell(Text(Texts::kListTooLarge));
        return kFailure;
    }
    listBytes = QByteArray();
    if (check) return CheckList(kind, list, line.settings.flag, prompter);

    if (!device.isEmpty()) {
        SerialLink link;
        link.SetSettings(line.serial);
        link.SetDevice(device);
        SerialUploadPort port(link, Texts::kCliPortAdvice);
        StderrProgress progress;
        prompter.instrumentAttached = true;
        const auto pause = [](int pauseMs) { std::this_thread::sleep_for(std::chrono::milliseconds(pauseMs)); };
        return Upload(kind, list, line.settings.flag, port, progress, pause, prompter, [] { return true; });
    }

    // The dump is an output like any other: never the list itself, and an existing
    // file replaced only after the question (--force), asked before anything else.
    DumpPort port;
    OutputSet dump(prompter, line.settings.Has(FLAG_ASK_OVERWRITE), MessageIcon::Question);
    dump.AddInput(positional[1]);
    dump.Add(dumpPath, [&port](ByteSink& sink) {
        sink.Write(port.bytes.constData(), static_cast<std::size_t>(port.bytes.size()));
    });
    if (dump.Confirm() != OutputWritten::Written) return kFailure;
    NoProgress progress;
    const auto noPause = [](int pauseMs) { (void)pauseMs; };
    const auto writeDump = [&dump]() { return dump.Write() == OutputWritten::Written; };
    return Upload(kind, list, line.settings.flag, port, progress, noPause, prompter, writeDump);
}

}  // namespace Cli
