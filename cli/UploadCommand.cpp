#include "cli/Commands.h"

#include "cli/CliCommon.h"

namespace Cli {

int RunUpload(QStringList arguments) {
    (void)arguments;
    PrintUtf8(stderr, QStringLiteral("tarvo-cli upload: tento příkaz zatím není k dispozici.\n"));
    return kFailure;
}

}  // namespace Cli
