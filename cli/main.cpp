// tarvo-cli: the conversions, the DXF export, the upload, the reception and the
// field-book check of the window program, for scripts and machines without a display.

#include "cli/CliCommon.h"
#include "cli/Commands.h"

#include <QCoreApplication>

namespace {

const char kUsage[] =
    "Použití: tarvo-cli PŘÍKAZ [VOLBY] ...\n"
    "\n"
    "Příkazy:\n"
    "  convert [--mode full|horizontal|headers|dxf] [--set NÁZEV=HODNOTA]... [--million] [--force] SOUBOR\n"
    "      Převede soubor měřených dat na soubory MAPA2 (.zap, .asc, .cod; .vod, .pol).\n"
    "  dxf [--set NÁZEV=HODNOTA]... [--force] SOUBOR\n"
    "      Vykreslí body ze souboru .txt nebo z měřených dat .sdt do výkresu DXF.\n"
    "  upload points|codes [--set NÁZEV=HODNOTA]... [--force] (--dump VÝSTUP | --port ZAŘÍZENÍ | --check) SEZNAM\n"
    "      Odešle seznam bodů nebo kódů do totální stanice (nebo zapíše bajty do souboru);\n"
    "      předtím ho zkontroluje, s --check jen vypíše zjištění kontroly.\n"
    "  receive [--set NÁZEV=HODNOTA]... [--port ZAŘÍZENÍ] [--convert [--million] [--force]] SOUBOR.sdt\n"
    "      Přijme měřená data ze sériového portu.\n"
    "  check [--set NÁZEV=HODNOTA]... [--csv] SOUBOR\n"
    "      Zkontroluje zápisník v souboru měřených dat a vypíše protokol kontroly.\n"
    "\n"
    "Volby pro všechny příkazy:\n"
    "  --set NÁZEV=HODNOTA  přepíše jedno nastavení z profilu (Flag, DeviceType, DXF_Ratio,\n"
    "                       DXF_Axes, DXF_Layers, DXF_3D, UsSurveyFoot, StationXYZ, JX, JY,\n"
    "                       JH, Head, OR, CommPort, BaudRate, ByteSize, Parity, StopBits;\n"
    "                       meze kontroly zápisníku CHK_Position, CHK_Height, CHK_Line,\n"
    "                       CHK_LineHeight, CHK_Faces, každá i s příponou Wrong, a CHK_Range);\n"
    "                       v Head znamená \\r\\n konec řádku a \\\\ zpětné lomítko\n"
    "  --help, -h           nápověda (za příkazem nápověda k příkazu)\n"
    "\n"
    "Volby příkazů, které je uvádějí:\n"
    "  --force              existující výstupní soubory přepíše bez dotazu; upload odešle\n"
    "                       seznam i přes zjištění kontroly\n"
    "  --million            na otázku „Přičíst k souřadnicím milión?“ odpoví Ano\n"
    "\n"
    "tarvo-cli --version vypíše verzi.\n"
    "\n"
    "Podrobnosti: tarvo-cli PŘÍKAZ --help\n";

int Run(QStringList arguments) {
    if (arguments.isEmpty()) {
        Cli::PrintUtf8(stderr, QString::fromUtf8(kUsage));
        return Cli::kUsage;
    }
    const QString command = arguments.takeFirst();
    if (command == QLatin1String("--help") || command == QLatin1String("-h") || command == QLatin1String("help")) {
        Cli::PrintUtf8(stdout, QString::fromUtf8(kUsage));
        return Cli::kSuccess;
    }
    if (command == QLatin1String("--version")) {
        std::fputs("tarvo-cli " TARVO_VERSION "\n", stdout);
        return Cli::kSuccess;
    }
    if (command == QLatin1String("convert")) return Cli::RunConvert(arguments);
    if (command == QLatin1String("dxf")) return Cli::RunDxf(arguments);
    if (command == QLatin1String("upload")) return Cli::RunUpload(arguments);
    if (command == QLatin1String("receive")) return Cli::RunReceive(arguments);
    if (command == QLatin1String("check")) return Cli::RunCheck(arguments);
    Cli::PrintUtf8(stderr, QStringLiteral("Neznámý příkaz %1.\n\n").arg(command) + QString::fromUtf8(kUsage));
    return Cli::kUsage;
}

}  // namespace

int main(int argc, char* argv[]) {
    Cli::SetUpStreams();
    QCoreApplication application(argc, argv);
    return Cli::Finish(Run(QCoreApplication::arguments().mid(1)));
}
