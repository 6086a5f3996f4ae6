#pragma once
// The one option parser of tarvo-cli. Each command lists its options in a table;
// the parser gives every command the same help (--help, -h), the same usage error
// for an unknown option or a missing value, and the same --set, --force and
// --million. The settings of a run are the profile's, read as the window program
// reads them at start-up (never written), then every --set in the order given. A
// profile value outside its range is not used: its default is, and a line on
// stderr says so unless a --set of the run gives that value.

#include "base/ConversionSettings.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <optional>
#include <span>

namespace Cli {

// One option of a command's table: with a value named in the usage
// ("--port", "ZAŘÍZENÍ"), given as "--port VALUE" or "--port=VALUE", the last one
// counting; or a switch (no value name), given as it is.
struct Option {
    const char* name;
    const char* valueName = nullptr;
};

// Every command takes --set; these two only a command that lists them. Elsewhere
// they are a usage error that says they mean nothing there.
inline constexpr Option kForceOption{"--force"};      // replace existing files
inline constexpr Option kMillionOption{"--million"};  // answer Yes to adding a million

// What the command line of one run asked for.
struct CommandLine {
    ConversionSettings settings;
    SerialSettings serial;
    bool force = false;
    bool million = false;
    bool recogniseDevice = false;    // --set DeviceType=auto: the instrument the data come from
    QStringList operands;            // the arguments that are no options, in order
    QHash<QString, QString> values;  // the options of the table given: name, value

    bool Has(const char* name) const { return values.contains(QLatin1String(name)); }
    QString Value(const char* name) const { return values.value(QLatin1String(name)); }
};

// Reads the arguments after the command's name against its options. Returns nothing
// when the command is to run with line filled in, or the exit code to end with:
// kSuccess after the help (usage on stdout), kUsage after a usage error (message and
// usage on stderr). Help asked for anywhere wins over an error.
std::optional<int> ParseCommandLine(const QStringList& arguments, const char* command, const char* usageUtf8,
                                    std::span<const Option> options, CommandLine& line);

// Applies one "NAME=VALUE" of --set (profile names: Flag, DeviceType, DXF_Ratio,
// DXF_Axes, DXF_Layers, DXF_3D, UsSurveyFoot, StationXYZ (0 or 1 only), JX, JY,
// JH, Head, OR, the check's limits CHK_... (numbers not below 0); serial:
// CommPort, BaudRate, ByteSize, Parity, StopBits).
// DeviceType=auto is the command line's own and is handled before this.
// The value arrives as UTF-8 and is stored as Windows-1250; in Head "\r\n" stands
// for CR LF and "\\" for a backslash. Returns false with a message in error.
bool ApplySetting(const QString& assignment, ConversionSettings& settings, SerialSettings& serial, QString& error);

// Prints message, then the command's usage (UTF-8), to stderr; returns kUsage.
int UsageError(const QString& message, const char* usageUtf8);

}  // namespace Cli
