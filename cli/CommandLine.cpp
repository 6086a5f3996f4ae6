#include "cli/CommandLine.h"

#include "base/Cp1250.h"
#include "base/FileError.h"
#include "base/Numbers.h"
#include "base/SettingRanges.h"
#include "base/SettingsStore.h"
#include "base/Texts.h"
#include "cli/CliCommon.h"

#include <utility>

namespace Cli {

namespace {

QByteArray UnescapeHead(const QString& value) {
    QString text;
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value[i] == QLatin1Char('\\') && i + 1 < value.size()) {
            if (value.mid(i, 4) == QLatin1String("\\r\\n")) {
                text += QLatin1String("\r\n");
                i += 3;
                continue;
            }
            if (value[i + 1] == QLatin1Char('\\')) {
                text += QLatin1Char('\\');
                ++i;
                continue;
            }
        }
        text += value[i];
    }
    return Cp1250::FromUnicode(text);
}

// An integer: decimal or 0x hexadecimal.
bool ParseIntegerSetting(const QString& value, qint64& out) {
    bool ok = false;
    const QString text = value.trimmed();
    if (text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        out = text.mid(2).toLongLong(&ok, 16);
    else
        out = text.toLongLong(&ok, 10);
    return ok;
}

// A value outside the setting's range is a usage error naming the range, never
// wrapped or cut to fit; a switch (isSwitch) "musí být 0 nebo 1".
bool CheckRange(const QString& name, const QString& value, double number, QString& error, bool isSwitch = false) {
    const SettingRange* range = RangeOf(name);
    if (!range || InRange(*range, number)) return true;
    if (isSwitch)
        error = QStringLiteral("Hodnota %1 pro %2 musí být 0 nebo 1.").arg(value, name);
    else
        error = QStringLiteral("Hodnota %1 pro %2 leží mimo rozsah %3.")
                    .arg(value, name, Cp1250::ToUnicode(RangeText(*range)));
    return false;
}

// The settings that are 0 or 1 (the drawing's options, the foot, the stations'
// coordinates); nothing for any other name.
bool* DrawingOption(const QString& name, ConversionSettings& settings) {
    if (name == QLatin1String("DXF_Axes")) return &settings.dxfEpsgAxes;
    if (name == QLatin1String("DXF_Layers")) return &settings.dxfLayers;
    if (name == QLatin1String("DXF_3D")) return &settings.dxf3d;
    if (name == QLatin1String("UsSurveyFoot")) return &settings.usSurveyFoot;
    if (name == QLatin1String("StationXYZ")) return &settings.stationXyz;
    return nullptr;
}

}  // namespace

bool ApplySetting(const QString& assignment, ConversionSettings& settings, SerialSettings& serial, QString& error) {
    const qsizetype equals = assignment.indexOf(QLatin1Char('='));
    if (equals <= 0) {
        error = QStringLiteral("--set očekává NÁZEV=HODNOTA, dostal: %1").arg(assignment);
        return false;
    }
    const QString name = assignment.left(equals);
    const QString value = assignment.mid(equals + 1);
    const QByteArray bytes = Cp1250::FromUnicode(value);

    if (double* const limit = ToleranceNamed(settings.checkTolerances, name.toStdString())) {
        // As the check page reads it: a decimal point or comma, nothing negative.
        const std::optional<double> read = Numbers::ParseDecimal(Cp1250::FromUnicode(value.trimmed()));
        if (!read || !ToleranceUsable(*read)) {
            error = QStringLiteral("Hodnota %1 pro %2 není nezáporné číslo.").arg(value, name);
            return false;
        }
        *limit = *read;
        return true;
    }
    double* const metres = name == QLatin1String("JX")   ? &settings.jobAverageXMetres
                           : name == QLatin1String("JY") ? &settings.jobAverageYMetres
                           : name == QLatin1String("JH") ? &settings.jobAverageHeightMetres
                                                         : nullptr;
    if (metres) {
        // As the reduction page reads it; anything else is refused rather than read as 0.
        const std::optional<double> read = Numbers::ParseDecimal(Cp1250::FromUnicode(value.trimmed()));
        if (!read) {
            error = QStringLiteral("Hodnota %1 pro %2 není číslo.").arg(value, name);
            return false;
        }
        if (!CheckRange(name, value, *read, error)) return false;
        *metres = *read;
    } else if (name == QLatin1String("Head"))
        settings.head = UnescapeHead(value);
    else if (name == QLatin1String("OR"))
        settings.orMarker = bytes;
    else {
        qint64 number = 0;
        if (!ParseIntegerSetting(value, number)) {
            error = QStringLiteral("Hodnota %1 pro %2 není celé číslo.").arg(value, name);
            return false;
        }
        if (!CheckRange(name, value, static_cast<double>(number), error, DrawingOption(name, settings) != nullptr))
            return false;
        if (name == QLatin1String("Flag"))
            settings.flag = static_cast<quint16>(number);
        else if (name == QLatin1String("DeviceType"))
            settings.deviceType = static_cast<DeviceType>(number);
        else if (name == QLatin1String("DXF_Ratio"))
            settings.dxfRatio = static_cast<quint8>(number);
        else if (bool* option = DrawingOption(name, settings))
            *option = number == 1;
        else if (name == QLatin1String("CommPort"))
            serial.commPort = static_cast<quint8>(number);
        else if (name == QLatin1String("BaudRate"))
            serial.baudRate = static_cast<quint8>(number);
        else if (name == QLatin1String("ByteSize"))
            serial.byteSize = static_cast<quint8>(number);
        else if (name == QLatin1String("Parity"))
            serial.parity = static_cast<quint8>(number);
        else if (name == QLatin1String("StopBits"))
            serial.stopBits = static_cast<quint8>(number);
        else {
            error = QStringLiteral("Neznámé nastavení %1.").arg(name);
            return false;
        }
    }
    return true;
}

namespace {

constexpr Option kSetOption{"--set", "NÁZEV=HODNOTA"};

// A line on stderr for each profile value the load did not use and no --set of the
// run replaces, then one saying where the profile is.
void WarnOfRefusedValues(const SettingsStore& store, const RefusedValues& refused, const QStringList& setNames) {
    bool warned = false;
    for (const RefusedValue& value : refused) {
        if (setNames.contains(QLatin1String(value.name))) continue;
        Print(stderr, RefusedValueText(value) + '\n');
        warned = true;
    }
    if (warned) Print(stderr, TextWith(Texts::kProfileValueCliAdvice, DisplayPath(store.Location())) + '\n');
}

const Option* FindOption(std::span<const Option> options, const QString& name) {
    if (name == QLatin1String(kSetOption.name)) return &kSetOption;
    for (const Option& option : options) {
        if (name == QLatin1String(option.name)) return &option;
    }
    return nullptr;
}

}  // namespace

std::optional<int> ParseCommandLine(const QStringList& arguments, const char* command, const char* usageUtf8,
                                    std::span<const Option> options, CommandLine& line) {
    bool help = false;
    QString error;  // the first usage error; reported unless help was asked for
    QStringList assignments;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument == QLatin1String("--help") || argument == QLatin1String("-h")) {
            help = true;
            continue;
        }
        // Only "--" starts an option; a file may begin with a single "-".
        if (!argument.startsWith(QLatin1String("--"))) {
            line.operands << argument;
            continue;
        }
        const qsizetype equals = argument.indexOf(QLatin1Char('='));
        const QString name = equals < 0 ? argument : argument.left(equals);
        const Option* option = FindOption(options, name);
        if (!option || (!option->valueName && equals >= 0)) {
            const bool common =
                argument == QLatin1String(kForceOption.name) || argument == QLatin1String(kMillionOption.name);
            if (error.isEmpty()) {
                error = common
                            ? QStringLiteral("Volba %1 u příkazu %2 nemá význam.").arg(argument, QLatin1String(command))
                            : QStringLiteral("Neznámá volba %1.").arg(argument);
            }
            continue;
        }
        QString value;
        if (option->valueName) {
            if (equals >= 0) {
                value = argument.mid(equals + 1);
            } else if (i + 1 < arguments.size()) {
                value = arguments[++i];
            } else {
                if (error.isEmpty())
                    error = QStringLiteral("Volba %1 potřebuje hodnotu %2.")
                                .arg(name, QString::fromUtf8(option->valueName));
                continue;
            }
        }
        if (option == &kSetOption)
            assignments << value;
        else
            line.values.insert(name, value);
    }
    if (help) {
        PrintUtf8(stdout, QString::fromUtf8(usageUtf8));
        return kSuccess;
    }
    if (!error.isEmpty()) return UsageError(error, usageUtf8);

    line.force = line.Has(kForceOption.name);
    line.million = line.Has(kMillionOption.name);
    const SettingsStore store;
    RefusedValues refused = LoadStartupFlag(store, line.settings);
    for (RefusedValue& value : LoadRemainingSettings(store, line.settings, line.serial))
        refused.push_back(std::move(value));
    QStringList setNames;
    for (const QString& assignment : assignments) {
        setNames << assignment.section(QLatin1Char('='), 0, 0);
        // The last DeviceType given counts, "auto" or a number.
        if (assignment.startsWith(QLatin1String("DeviceType="))) line.recogniseDevice = false;
        if (assignment == QLatin1String("DeviceType=auto")) {
            line.recogniseDevice = true;
            continue;
        }
        if (!ApplySetting(assignment, line.settings, line.serial, error)) return UsageError(error, usageUtf8);
    }
    WarnOfRefusedValues(store, refused, setNames);
    return std::nullopt;
}

int UsageError(const QString& message, const char* usageUtf8) {
    PrintUtf8(stderr, message + QLatin1String("\n\n") + QString::fromUtf8(usageUtf8));
    return kUsage;
}

}  // namespace Cli
