#include "cli/Commands.h"

#include "app/DocumentState.h"
#include "app/FileIo.h"
#include "cli/CliCommon.h"
#include "convert/Conversion.h"
#include "dxf/DxfExport.h"

namespace Cli {

namespace {

const char kDxfUsage[] =
    "Použití: tarvo-cli dxf [--set NÁZEV=HODNOTA]... [--force] SOUBOR\n"
    "\n"
    "Vykreslí body do výkresu DXF (SOUBOR bez přípony + .dxf). Má-li SOUBOR příponu\n"
    "přesně \"txt\", čtou se body z textového seznamu (název, Y, X, výška, kód);\n"
    "jinak se převedou měřená data ze souboru se stejným jménem a příponou .sdt.\n"
    "Měřítko určuje nastavení DXF_Ratio (0 = 20:1 ... 4 = 1:1 ... 8 = 1:20),\n"
    "prohození os bit 0x100 nastavení Flag.\n"
    "\n"
    "  --set NÁZEV=HODNOTA  přepíše jedno nastavení z profilu\n"
    "  --force              existující výkres přepíše bez dotazu\n"
    "\n"
    "Vrací 0, byl-li výkres celý zapsán, jinak 1 (2 při chybném použití).\n";

}  // namespace

int RunDxf(QStringList arguments) {
    if (arguments.contains(QLatin1String("--help"))) {
        PrintUtf8(stdout, QString::fromUtf8(kDxfUsage));
        return kSuccess;
    }
    ConversionSettings settings;
    SerialSettings serial;
    LoadProfile(settings, serial);
    CommonOptions options;
    QString error;
    if (!TakeCommonOptions(arguments, settings, serial, options, error)) {
        PrintUtf8(stderr, error + QLatin1Char('\n'));
        return kUsage;
    }
    if (options.million || arguments.size() != 1 || arguments[0].startsWith(QLatin1String("--"))) {
        PrintUtf8(stderr, QString::fromUtf8(kDxfUsage));
        return kUsage;
    }

    // The open dialog accepts only a file that exists.
    const QString chosen = arguments[0];
    CliPrompter prompter;
    prompter.force = options.force;
    if (!FileExists(chosen)) {
        prompter.ReportFileError(FileError{FileErrorKind::NotFound, chosen, 0});
        return kFailure;
    }

    DocumentState document;
    ConversionContext context{settings, document, prompter, {}};
    context.writeDxf = MakeDxfSink(context);
    if (ExportXyzDxf(chosen, context) != DxfExportOutcome::Written) return kFailure;
    PrintUtf8(stdout, document.basePath + QStringLiteral(".dxf\n"));
    return kSuccess;
}

}  // namespace Cli
