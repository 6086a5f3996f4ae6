#pragma once
// The subcommands of tarvo-cli. Each takes the arguments after its name and
// returns the process exit code.

#include <QStringList>

namespace Cli {

int RunConvert(QStringList arguments);
int RunDxf(QStringList arguments);
int RunUpload(QStringList arguments);
int RunReceive(QStringList arguments);
int RunCheck(QStringList arguments);

}  // namespace Cli
