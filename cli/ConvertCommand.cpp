#include "cli/Commands.h"

#include "base/CurrentFile.h"
#include "cli/CliCommon.h"
#include "cli/CommandLine.h"
#include "check/JobCheck.h"
#include "dxf/DxfExport.h"

#include <QFileInfo>

#include <optional>

namespace Cli {

namespace {

const char kConvertUsage[] =
    "Použití: tarvo-cli convert [--mode full|horizontal|headers|dxf] [--set NÁZEV=HODNOTA]...\n"
    "                           [--million] [--force] SOUBOR\n"
    "\n"
    "Převede soubor měřených dat SOUBOR na vstupní soubory MAPA2. Výstupy se jmenují\n"
    "jako SOUBOR bez přípony a leží vedle něj.\n"
    "\n"
    "  --mode full        převod jako klávesa F3: zápisník .zap, souřadnice .asc, kódy .cod\n"
    "                     (výchozí; s bitem 0x020 v Flag i připravená data .200) a protokol\n"
    "                     kontroly zápisníku SOUBOR_kontrola.txt (viz tarvo-cli check --help)\n"
    "  --mode horizontal  zápisník s vodorovnými délkami .vod\n"
    "  --mode headers     stanoviska s orientacemi .pol\n"
    "  --mode dxf         body do výkresu DXF .dxf (měřítko DXF_Ratio, osy DXF_Axes,\n"
    "                     hladiny DXF_Layers, výšky DXF_3D: viz tarvo-cli dxf --help)\n"
    "  --set NÁZEV=HODNOTA\n"
    "                     přepíše jedno nastavení profilu jen pro tento převod: Flag (desítkově\n"
    "                     nebo 0x šestnáctkově), DeviceType (0 NTS-350, 1 NTS-660, auto podle\n"
    "                     tvaru dat: rozpoznaný tvar se vypíše), DXF_Ratio, DXF_Axes,\n"
    "                     DXF_Layers, DXF_3D, UsSurveyFoot (1: délky ve stopách jsou\n"
    "                     americké měřické stopy, 0: mezinárodní), StationXYZ (1: souřadnice\n"
    "                     stanovisek z řádků XYZ do .asc),\n"
    "                     JX, JY, JH (průměrné souřadnice a výška zakázky v metrech, číslo\n"
    "                     s desetinnou tečkou nebo čárkou), Head (hlavička; \\r\\n je konec\n"
    "                     řádku, \\\\ zpětné lomítko), OR (označení orientačních bodů),\n"
    "                     CHK_... (meze kontroly zápisníku: viz tarvo-cli check --help).\n"
    "                     Profil sám se nemění.\n"
    "  --million          na otázku „Přičíst k souřadnicím milión?“ odpoví Ano (jinak Ne)\n"
    "  --force            existující výstupní soubory přepíše; bez této volby, je-li v Flag\n"
    "                     bit 0x010 (dotaz na přepsání), převod u existujícího souboru skončí\n"
    "\n"
    "Na otázku „Použít současné nastavení korekcí?“ odpovídá Ano. Upozornění a chyby jdou\n"
    "na standardní chybový výstup, každé upozornění nejvýše jednou za převod; u NTS-350\n"
    "i poškozené, ztracené nebo opakované bloky přenosu a text mimo bloky. Nakonec tam\n"
    "vypíše jeden řádek s počty rozpoznaných a přeskočených záznamů, u tvaru NTS-660\n"
    "i s nepřevedenými řádky podle klíčových slov (např. „nepřevedené řádky: XYZ 3, JOB 1“),\n"
    "s počty chybných a podezřelých zjištění kontroly zápisníku (např. „Kontrola\n"
    "zápisníku: 1 chybné, 2 podezřelé.“) a se všemi zapsanými soubory včetně kopie .200.\n"
    "Jsou-li data zjevně ve tvaru jiného přístroje, než udává DeviceType (NTS-350 umí zapsat\n"
    "i tvar NTS-660), vypíše to a převede je podle DeviceType; s --set DeviceType=auto je\n"
    "převede podle rozpoznaného tvaru. Zjištění kontroly zápisníku převod nezastaví\n"
    "a výstupy MAPA2 nezmění.\n"
    "\n"
    "Návratový kód: 0 převod proběhl a zapsal aspoň jeden soubor, 1 převod nezapsal žádný\n"
    "soubor, data jsou ve tvaru jiného přístroje, než udává DeviceType (bez auto), chyba\n"
    "souboru nebo odmítnuté přepsání, 2 chybné použití.\n";

// The conversion mode a --mode names, if it names one.
std::optional<ConversionMode> ParseMode(const QString& text) {
    if (text == QLatin1String("full")) return ConversionMode::Full;
    if (text == QLatin1String("horizontal")) return ConversionMode::HorizontalDistances;
    if (text == QLatin1String("headers")) return ConversionMode::StationHeaders;
    return std::nullopt;
}

}  // namespace

int RunConvert(QStringList arguments) {
    static constexpr Option kOptions[] = {{"--mode", "full|horizontal|headers|dxf"}, kForceOption, kMillionOption};
    CommandLine line;
    if (const std::optional<int> exit = ParseCommandLine(arguments, "convert", kConvertUsage, kOptions, line))
        return *exit;
    const QString modeName = line.Has("--mode") ? line.Value("--mode") : QStringLiteral("full");
    // "dxf" draws the points of the data instead of converting them.
    const bool drawing = modeName == QLatin1String("dxf");
    const std::optional<ConversionMode> mode = ParseMode(modeName);
    if (!drawing && !mode) return UsageError(QStringLiteral("Neznámý režim %1.").arg(modeName), kConvertUsage);
    if (line.operands.size() != 1)
        return UsageError(QStringLiteral("Zadejte právě jeden soubor měřených dat."), kConvertUsage);

    const QString path = QFileInfo(line.operands.first()).absoluteFilePath();
    CurrentFile currentFile;
    currentFile.RememberChosenFile(path);

    CliPrompter prompter;
    prompter.force = line.force;
    prompter.addMillion = line.million;
    ConversionContext context{line.settings, currentFile, prompter, line.recogniseDevice};
    if (drawing) {
        const DxfExportResult result = DrawMeasuredData(path, context);
        return FinishRun(prompter, result.outcome, DrawingReceiptText(result.receipt, result.outcome),
                         result.receipt.drawing == DrawingOutcome::Written);
    }
    const ConversionResult result = ConvertAndCheck(path, *mode, context).conversion;
    return FinishConversion(prompter, result.outcome, result.receipt);
}

}  // namespace Cli
