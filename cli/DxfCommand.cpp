#include "cli/Commands.h"

#include "cli/CliCommon.h"

namespace Cli {

int RunDxf(QStringList arguments) {
    (void)arguments;
    PrintUtf8(stderr, QStringLiteral("tarvo-cli dxf: tento příkaz zatím není k dispozici.\n"));
    return kFailure;
}

}  // namespace Cli
