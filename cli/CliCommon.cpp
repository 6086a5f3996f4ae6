#include "cli/CliCommon.h"

#include "base/Cp1250.h"
#include "base/Numbers.h"
#include "base/SettingsStore.h"

#include <QProcessEnvironment>

namespace Cli {

void Print(std::FILE* stream, const QByteArray& cp1250) {
    const QByteArray utf8 = Cp1250::ToUtf8(cp1250);
    std::fwrite(utf8.constData(), 1, static_cast<std::size_t>(utf8.size()), stream);
}

void PrintUtf8(std::FILE* stream, const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    std::fwrite(utf8.constData(), 1, static_cast<std::size_t>(utf8.size()), stream);
}

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

// An integer as the profile would store it: decimal or 0x hexadecimal, 32 bits.
bool ParseIntegerSetting(const QString& value, quint32& out) {
    bool ok = false;
    const QString text = value.trimmed();
    qint64 parsed = 0;
    if (text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        parsed = text.mid(2).toLongLong(&ok, 16);
    else
        parsed = text.toLongLong(&ok, 10);
    if (!ok) return false;
    out = static_cast<quint32>(parsed);
    return true;
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

    if (name == QLatin1String("JX"))
        settings.jx = Numbers::ToDouble(bytes);
    else if (name == QLatin1String("JY"))
        settings.jy = Numbers::ToDouble(bytes);
    else if (name == QLatin1String("JH"))
        settings.jh = Numbers::ToDouble(bytes);
    else if (name == QLatin1String("Head"))
        settings.head = UnescapeHead(value);
    else if (name == QLatin1String("OR"))
        settings.orMarker = bytes;
    else {
        quint32 number = 0;
        if (!ParseIntegerSetting(value, number)) {
            error = QStringLiteral("Hodnota %1 pro %2 není celé číslo.").arg(value, name);
            return false;
        }
        if (name == QLatin1String("Flag"))
            settings.flag = static_cast<quint16>(number);
        else if (name == QLatin1String("DeviceType"))
            settings.deviceType = static_cast<quint16>(number);
        else if (name == QLatin1String("DXF_Ratio"))
            settings.dxfRatio = static_cast<quint8>(number);
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

void LoadProfile(ConversionSettings& settings, SerialSettings& serial) {
    const SettingsStore store;
    LoadStartupFlag(store, settings);
    LoadDocumentSettings(store, settings, serial);
}

}  // namespace

Answer CliPrompter::Ask(Topic topic, const QByteArray& text, MessageButtons buttons, MessageIcon icon) {
    (void)icon;
    Print(stderr, text);
    std::fputc('\n', stderr);
    switch (topic) {
        case Topic::Corrections:
            std::fputs("-> Ano\n", stderr);
            return Answer::Yes;
        case Topic::Million: {
            std::fputs(addMillion ? "-> Ano\n" : "-> Ne\n", stderr);
            return addMillion ? Answer::Yes : Answer::No;
        }
        case Topic::Overwrite:
            if (force) {
                std::fputs("-> Ano (--force)\n", stderr);
                return Answer::Yes;
            }
            std::fputs("-> Ne (soubor se přepíše jen s volbou --force)\n", stderr);
            failed = true;
            return Answer::No;
        default:
            break;
    }
    if (buttons == MessageButtons::Ok) return Answer::Ok;
    return Answer::Yes;
}

void CliPrompter::ReportFileError(const FileError& error) {
    failed = true;
    Print(stderr, FileErrorText(error));
    std::fputc('\n', stderr);
}

bool LoadSettings(QStringList& arguments, ConversionSettings& settings, SerialSettings& serial, CommonOptions& options,
                  QString& error) {
    LoadProfile(settings, serial);
    QStringList rest;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument == QLatin1String("--force"))
            options.force = true;
        else if (argument == QLatin1String("--million"))
            options.million = true;
        else if (argument == QLatin1String("--set") || argument.startsWith(QLatin1String("--set="))) {
            QString assignment;
            if (argument == QLatin1String("--set")) {
                if (++i >= arguments.size()) {
                    error = QStringLiteral("--set potřebuje NÁZEV=HODNOTA.");
                    return false;
                }
                assignment = arguments[i];
            } else {
                assignment = argument.mid(6);
            }
            if (!ApplySetting(assignment, settings, serial, error)) return false;
        } else {
            rest << argument;
        }
    }
    arguments = rest;
    return true;
}

bool WantsHelp(const QStringList& arguments) {
    return arguments.contains(QLatin1String("--help")) || arguments.contains(QLatin1String("-h"));
}

int UsageError(const QString& message, const char* usageUtf8) {
    PrintUtf8(stderr, message + QLatin1String("\n\n") + QString::fromUtf8(usageUtf8));
    return kUsage;
}

}  // namespace Cli
