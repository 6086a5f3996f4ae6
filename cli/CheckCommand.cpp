#include "cli/Commands.h"

#include "base/CurrentFile.h"
#include "base/InputFile.h"
#include "base/Texts.h"
#include "check/CheckProtocol.h"
#include "check/JobCheck.h"
#include "cli/CliCommon.h"
#include "cli/CommandLine.h"

#include <QFileInfo>

namespace Cli {

namespace {

const char kCheckUsage[] =
    "Použití: tarvo-cli check [--set NÁZEV=HODNOTA]... [--csv] SOUBOR\n"
    "\n"
    "Zkontroluje zápisník v souboru měřených dat SOUBOR, nic nepřevádí ani nezapisuje:\n"
    "opakované záměry na týž cíl (poloha podél a napříč záměrou, výška), záměry v obou\n"
    "polohách dalekohledu proti průměrné kolimační a indexové chybě, délky a převýšení\n"
    "tam a zpět mezi stanovisky, opakované orientace, stanoviska se stejnými\n"
    "souřadnicemi a hodnoty, které přístroj dát nemůže. Na standardní výstup vypíše\n"
    "protokol kontroly (tentýž, jaký převod F3 ukládá vedle výstupů jako\n"
    "SOUBOR_kontrola.txt), na chybový výstup řádek s počty záznamů a zjištění.\n"
    "\n"
    "  --csv              místo protokolu řádek záhlaví a pak jedno zjištění na řádek:\n"
    "                     úroveň;stanovisko;body;kontrola;hodnota;mez (úroveň chybné\n"
    "                     nebo podezřelé, víc bodů oddělených čárkou, čísla s tečkou)\n"
    "  --set NÁZEV=HODNOTA\n"
    "                     přepíše jedno nastavení profilu; meze kontroly (v metrech,\n"
    "                     u CHK_Faces a CHK_FacesWrong v gonech; podezřelé / chybné):\n"
    "                     CHK_Position, CHK_PositionWrong  poloha podél a napříč záměrou\n"
    "                     CHK_Height, CHK_HeightWrong      výška opakované záměry\n"
    "                     CHK_Line, CHK_LineWrong          délka tam a zpět, proti souřadnicím\n"
    "                     CHK_LineHeight, CHK_LineHeightWrong  převýšení tam a zpět\n"
    "                     CHK_Faces, CHK_FacesWrong        kolimační a indexová chyba dvojice\n"
    "                     CHK_Range                        nejdelší možná šikmá délka\n"
    "                     dále DeviceType (0, 1 nebo auto), OR, JX, JY, JH a další jako u convert\n"
    "\n"
    "Návratový kód: 0 žádné chybné zjištění, 1 aspoň jedno chybné zjištění, soubor se\n"
    "nepodařilo přečíst, data jsou ve tvaru jiného přístroje, než udává DeviceType (bez\n"
    "auto), nebo v nich není co kontrolovat, 2 chybné použití.\n";

}  // namespace

int RunCheck(QStringList arguments) {
    static constexpr Option kOptions[] = {{"--csv"}};
    CommandLine line;
    if (const std::optional<int> exit = ParseCommandLine(arguments, "check", kCheckUsage, kOptions, line)) return *exit;
    if (line.operands.size() != 1)
        return UsageError(QStringLiteral("Zadejte právě jeden soubor měřených dat."), kCheckUsage);

    const QString path = QFileInfo(line.operands.first()).absoluteFilePath();
    CliPrompter prompter;
    CurrentFile currentFile;
    currentFile.RememberChosenFile(path);
    ConversionContext context{line.settings, currentFile, prompter, line.recogniseDevice};
    const FileCheck result = CheckMeasuredDataFile(path, context);
    if (!result.check) {
        if (result.outcome == ConversionOutcome::Completed) {
            Print(stderr, ReadingText(result.read) +
                              TextFilled(Texts::kNothingChecked, {NothingWrittenText(result.read, result.outcome)}) +
                              '\n');
        }
        return kFailure;
    }

    const JobCheck& check = *result.check;
    if (line.Has("--csv")) {
        Print(stdout, CheckFindingsCsv(check.report));
    } else {
        // The terminal's line ends; the protocol file keeps CR LF.
        QByteArray protocol = check.protocol;
        Print(stdout, protocol.replace("\r\n", "\n"));
    }
    Print(stderr, (ReadingText(result.read) + CheckCountsText(check.Counts())).trimmed() + '\n');
    const bool wrong = check.Counts().wrong > 0;
    return wrong || prompter.failed || prompter.deviceMismatch ? kFailure : kSuccess;
}

}  // namespace Cli
