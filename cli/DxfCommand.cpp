#include "cli/Commands.h"

#include "base/CurrentFile.h"
#include "base/InputFile.h"
#include "cli/CliCommon.h"
#include "cli/CommandLine.h"
#include "dxf/DxfExport.h"

#include <QFileInfo>

namespace Cli {

namespace {

const char kDxfUsage[] =
    "Použití: tarvo-cli dxf [--set NÁZEV=HODNOTA]... [--million] [--force] SOUBOR\n"
    "\n"
    "Vykreslí body do výkresu DXF (SOUBOR bez přípony + .dxf). Má-li SOUBOR příponu\n"
    "přesně \"txt\", čtou se body z textového seznamu (název, Y, X, výška, kód; text v UTF-8\n"
    "se převede do Windows-1250, znak, který Windows-1250 nemá, se nakreslí jako \"?\");\n"
    "jinak se převedou měřená data ze souboru se stejným jménem a příponou .sdt.\n"
    "Měřítko určuje nastavení DXF_Ratio (0 = 20:1 ... 4 = 1:1 ... 8 = 1:20),\n"
    "prohození os bit 0x100 nastavení Flag. Výkres dále určují (0 nebo 1):\n"
    "  DXF_Axes    1: osy EPSG:5514 jako katastrální mapa a GIS, x = -Y, y = -X;\n"
    "              0: x = Y, y = X (s bitem 0x100 x = X, y = Y)\n"
    "  DXF_Layers  1: body na hladinách podle kódu (bez kódu hladina BEZ_KODU);\n"
    "              0: vše v hladině 0\n"
    "  DXF_3D      1: výška bodu je souřadnicí z jeho značky i popisů; 0: z = 0\n"
    "\n"
    "  --set NÁZEV=HODNOTA  přepíše jedno nastavení z profilu\n"
    "  --million            u měřených dat odpoví Ano na otázku „Přičíst k souřadnicím\n"
    "                       milión?“ (jinak Ne): NTS-350 ukládá jen posledních šest číslic X,\n"
    "                       výkres pak souhlasí se seznamem souřadnic .asc; textový seznam\n"
    "                       se kreslí tak, jak je napsán\n"
    "  --force              existující výkres přepíše bez dotazu\n"
    "\n"
    "V osách EPSG:5514 upozorní na body mimo oblast S-JTSK a uvede pravděpodobnou příčinu.\n"
    "Upozornění a chyby jdou na standardní chybový výstup, nakonec tam vypíše jeden\n"
    "řádek s počtem vykreslených bodů a zapsaným výkresem (nebo proč zapsán nebyl).\n"
    "\n"
    "Návratový kód: 0 výkres je celý zapsán, 1 chyba souboru, odmítnuté přepsání\n"
    "nebo žádné body k vykreslení, 2 chybné použití.\n";

}  // namespace

int RunDxf(QStringList arguments) {
    static constexpr Option kOptions[] = {kForceOption, kMillionOption};
    CommandLine line;
    if (const std::optional<int> exit = ParseCommandLine(arguments, "dxf", kDxfUsage, kOptions, line)) return *exit;
    if (line.operands.size() != 1)
        return UsageError(QStringLiteral("Zadejte právě jeden soubor (.txt nebo .sdt)."), kDxfUsage);

    // The open dialog hands over a full path, and only of a file that exists.
    const QString chosen = QFileInfo(line.operands.first()).absoluteFilePath();
    CliPrompter prompter;
    prompter.force = line.force;
    prompter.addMillion = line.million;
    if (!FileExists(chosen)) {
        prompter.ReportFileError(FileError{FileErrorKind::NotFound, chosen, 0});
        return kFailure;
    }

    CurrentFile currentFile;
    ConversionContext context{line.settings, currentFile, prompter};
    const DxfExportResult result = ExportXyzDxf(chosen, context);
    return FinishRun(prompter, result.outcome, DrawingReceiptText(result.receipt, result.outcome),
                     result.receipt.drawing == DrawingOutcome::Written);
}

}  // namespace Cli
