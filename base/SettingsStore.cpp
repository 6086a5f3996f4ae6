#include "base/SettingsStore.h"

#include "base/Cp1250.h"
#include "base/FileError.h"
#include "base/IniValueText.h"
#include "base/Numbers.h"
#include "base/SettingRanges.h"
#include "base/Texts.h"

#include <QFile>
#include <QSettings>

#include <algorithm>
#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

namespace {

constexpr char kOrganisation[] = "Tarvo1";
constexpr char kApplication[] = "Tarvo";
constexpr char kSection[] = "Settings";

// The user's profile is an INI file except on Windows, where the registry keeps a
// text as it was stored.
#ifdef Q_OS_WIN
constexpr bool kUserProfileIsIniFile = false;
#else
constexpr bool kUserProfileIsIniFile = true;
#endif

QString Key(const char* name) { return QString::fromLatin1(kSection) + QLatin1Char('/') + QLatin1String(name); }

// A stored integer text: a sign and digits, nothing else; held at the nearer end
// of 64 bits beyond them.
std::optional<qint64> ParseStoredInteger(const QString& text) {
    const QByteArray digits = text.trimmed().toLatin1();
    const std::string_view view(digits.constData(), static_cast<std::size_t>(digits.size()));
    const Numbers::ParsedInteger parsed = Numbers::ParseInteger(view, INT64_MIN, INT64_MAX);
    if (parsed.length == 0 || parsed.length != view.size()) return std::nullopt;
    return parsed.value;
}

}  // namespace

SettingsStore::SettingsStore()
    : m_settings(
          std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, kOrganisation, kApplication)),
      m_iniFile(kUserProfileIsIniFile) {}

SettingsStore::SettingsStore(const QString& iniPath)
    : m_settings(std::make_unique<QSettings>(iniPath, QSettings::IniFormat)), m_iniFile(true) {}

SettingsStore::~SettingsStore() = default;

qint32 SettingsStore::ReadInt(const char* name, qint32 defaultValue) const {
    const std::optional<StoredInteger> stored = ReadStoredInteger(name);
    return stored ? static_cast<qint32>(static_cast<quint32>(stored->value)) : defaultValue;
}

std::optional<SettingsStore::StoredInteger> SettingsStore::ReadStoredInteger(const char* name) const {
    const QVariant stored = m_settings->value(Key(name));
    if (!stored.isValid()) return std::nullopt;
    qint64 value = 0;
    switch (stored.typeId()) {
        case QMetaType::Int:
            // The registry hands a REG_DWORD over as a signed int; its value has no sign.
            value = m_iniFile ? stored.toInt() : static_cast<qint64>(static_cast<quint32>(stored.toInt()));
            break;
        case QMetaType::UInt:
        case QMetaType::LongLong:
            value = stored.toLongLong();
            break;
        case QMetaType::ULongLong:
            value = static_cast<qint64>(std::min<quint64>(stored.toULongLong(), INT64_MAX));
            break;
        default: {
            const std::optional<qint64> read = ParseStoredInteger(stored.toString());
            if (!read) return std::nullopt;
            return StoredInteger{*read, Cp1250::FromUnicode(stored.toString().trimmed())};
        }
    }
    return StoredInteger{value, Numbers::FormatInteger(value)};
}

QByteArray SettingsStore::ReadText(const char* name, const QByteArray& defaultValue) const {
    const QVariant stored = m_settings->value(Key(name));
    if (!stored.isValid()) return defaultValue;
    // Qt's INI reader makes a list of a value with an unquoted comma (a hand-edited
    // «Head=a,b») and loses the text between the items; the value's text is then
    // read from the file itself.
    if (stored.typeId() == QMetaType::QStringList || stored.typeId() == QMetaType::QVariantList) {
        if (const std::optional<QString> text = RawIniText(name)) return Cp1250::FromUnicode(*text);
        return Cp1250::FromUnicode(stored.toStringList().join(QLatin1Char(',')));
    }
    return Cp1250::FromUnicode(stored.toString());
}

std::optional<QString> SettingsStore::RawIniText(const char* name) const {
    if (!m_iniFile) return std::nullopt;
    QFile file(m_settings->fileName());
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    return ReadIniValueText(file.readAll(), QString::fromLatin1(kSection), QString::fromLatin1(name));
}

bool SettingsStore::Contains(const char* name) const { return m_settings->contains(Key(name)); }

void SettingsStore::WriteInt(const char* name, quint32 value) { m_settings->setValue(Key(name), value); }

void SettingsStore::WriteText(const char* name, const QByteArray& value) {
    m_settings->setValue(Key(name), Cp1250::ToUnicode(value));
}

bool SettingsStore::Sync() {
    m_settings->sync();
    // QSettings keeps its first error: a FormatError of a hand-edited profile stays
    // from loading on and is no failed write.
    return m_settings->status() != QSettings::AccessError;
}

QString SettingsStore::Location() const { return m_settings->fileName(); }

QString SettingsStore::ReadString(const QString& section, const QString& name) const {
    return m_settings->value(section + QLatin1Char('/') + name).toString();
}

void SettingsStore::WriteString(const QString& section, const QString& name, const QString& value) {
    m_settings->setValue(section + QLatin1Char('/') + name, value);
}

namespace {

// The setting's range; every name the load judges has one.
const SettingRange& RangeNamed(const char* name) {
    const SettingRange* range = RangeOf(QLatin1String(name));
    Q_ASSERT(range);
    return *range;
}

// The stored integer when it lies inside its setting's range; the default when it
// is missing, no integer, or outside (then noted in refused).
qint64 LoadInteger(const SettingsStore& store, const char* name, qint64 defaultValue, RefusedValues& refused) {
    const std::optional<SettingsStore::StoredInteger> stored = store.ReadStoredInteger(name);
    if (!stored) return defaultValue;
    const SettingRange& range = RangeNamed(name);
    if (InRange(range, static_cast<double>(stored->value))) return stored->value;
    refused.push_back({name, stored->text, RangeText(range), Numbers::FormatInteger(defaultValue)});
    return defaultValue;
}

// A value that is 0 or 1.
bool LoadSwitch(const SettingsStore& store, const char* name, bool defaultValue, RefusedValues& refused) {
    return LoadInteger(store, name, defaultValue ? 1 : 0, refused) == 1;
}

// Metres stored as text, read as strtod reads it (a comma ends the number). Text
// that does not begin with a number gives the default (read as 0 it would turn
// the reduction off), and is told like a value outside the range.
double LoadMetres(const SettingsStore& store, const char* name, double defaultValue, RefusedValues& refused) {
    const QByteArray text = store.ReadText(name, {}).trimmed();
    if (text.isEmpty()) return defaultValue;
    const Numbers::ParsedDouble read =
        Numbers::ParseDouble(std::string_view(text.constData(), static_cast<std::size_t>(text.size())));
    const SettingRange& range = RangeNamed(name);
    if (read.length > 0 && InRange(range, read.value)) return read.value;
    refused.push_back({name, text, RangeText(range), Numbers::Format("%.17g", defaultValue)});
    return defaultValue;
}

}  // namespace

RefusedValues LoadStartupFlag(const SettingsStore& store, ConversionSettings& settings) {
    RefusedValues refused;
    settings.flag = static_cast<quint16>(LoadInteger(store, "Flag", FLAG_DEFAULT, refused));
    return refused;
}

RefusedValues LoadRemainingSettings(const SettingsStore& store, ConversionSettings& settings, SerialSettings& serial) {
    // A value that is missing, does not read or lies outside its range keeps the
    // default of a new profile; each narrowing below is safe after the range.
    const SerialSettings serialDefaults;
    const ConversionSettings defaults;
    RefusedValues refused;
    const auto loadByte = [&](const char* name, quint8 defaultValue) {
        return static_cast<quint8>(LoadInteger(store, name, defaultValue, refused));
    };
    serial.commPort = loadByte("CommPort", serialDefaults.commPort);
    serial.baudRate = loadByte("BaudRate", serialDefaults.baudRate);
    serial.byteSize = loadByte("ByteSize", serialDefaults.byteSize);
    serial.parity = loadByte("Parity", serialDefaults.parity);
    serial.stopBits = loadByte("StopBits", serialDefaults.stopBits);
    settings.jobAverageXMetres = LoadMetres(store, "JX", defaults.jobAverageXMetres, refused);
    settings.jobAverageYMetres = LoadMetres(store, "JY", defaults.jobAverageYMetres, refused);
    settings.jobAverageHeightMetres = LoadMetres(store, "JH", defaults.jobAverageHeightMetres, refused);
    settings.head = store.ReadText("Head", defaults.head);
    settings.dxfRatio = loadByte("DXF_Ratio", defaults.dxfRatio);
    settings.dxfEpsgAxes = LoadSwitch(store, "DXF_Axes", defaults.dxfEpsgAxes, refused);
    settings.dxfLayers = LoadSwitch(store, "DXF_Layers", defaults.dxfLayers, refused);
    settings.dxf3d = LoadSwitch(store, "DXF_3D", defaults.dxf3d, refused);
    settings.usSurveyFoot = LoadSwitch(store, "UsSurveyFoot", defaults.usSurveyFoot, refused);
    settings.stationXyz = LoadSwitch(store, "StationXYZ", defaults.stationXyz, refused);
    settings.orMarker = store.ReadText("OR", defaults.orMarker);
    settings.deviceType =
        static_cast<DeviceType>(LoadInteger(store, "DeviceType", StoredValue(defaults.deviceType), refused));
    // A limit read as 0 from text that is no number would report every sighting.
    CheckTolerances limits;
    for (const char* name : kToleranceNames) {
        const std::optional<double> stored = Numbers::ParseDecimal(store.ReadText(name, {}));
        if (stored && ToleranceUsable(*stored)) *ToleranceNamed(limits, name) = *stored;
    }
    settings.checkTolerances = limits;
    return refused;
}

QByteArray RefusedValueText(const RefusedValue& refused) {
    return TextFilled(Texts::kProfileValueOutOfRange,
                      {refused.stored, QByteArray(refused.name), refused.range, refused.defaultUsed});
}

namespace {

// A value as the profile keeps it: an integer, or a text.
struct ProfileValue {
    const char* name;
    bool isText;
    quint32 number;
    QByteArray text;
    bool operator==(const ProfileValue& other) const {
        return isText == other.isText && number == other.number && text == other.text;
    }
};

ProfileValue Number(const char* name, quint32 value) { return {name, false, value, {}}; }
ProfileValue TextValue(const char* name, QByteArray value) { return {name, true, 0, std::move(value)}; }

// The settings the window program writes, in the order it writes them.
std::vector<ProfileValue> StoredForm(const ConversionSettings& settings) {
    std::vector<ProfileValue> values = {Number("Flag", settings.flag),
                                        Number("DeviceType", StoredValue(settings.deviceType)),
                                        Number("DXF_Ratio", settings.dxfRatio),
                                        Number("DXF_Axes", settings.dxfEpsgAxes ? 1 : 0),
                                        Number("DXF_Layers", settings.dxfLayers ? 1 : 0),
                                        Number("DXF_3D", settings.dxf3d ? 1 : 0),
                                        Number("UsSurveyFoot", settings.usSurveyFoot ? 1 : 0),
                                        Number("StationXYZ", settings.stationXyz ? 1 : 0),
                                        TextValue("JX", Numbers::Format("%.3f", settings.jobAverageXMetres)),
                                        TextValue("JY", Numbers::Format("%.3f", settings.jobAverageYMetres)),
                                        TextValue("JH", Numbers::Format("%.3f", settings.jobAverageHeightMetres)),
                                        TextValue("Head", settings.head),
                                        TextValue("OR", settings.orMarker)};
    CheckTolerances limits = settings.checkTolerances;
    for (const char* name : kToleranceNames)
        values.push_back(TextValue(name, Numbers::Format("%.9g", *ToleranceNamed(limits, name))));
    return values;
}

std::vector<ProfileValue> StoredForm(const SerialSettings& serial) {
    return {Number("CommPort", serial.commPort), Number("BaudRate", serial.baudRate),
            Number("ByteSize", serial.byteSize), Number("Parity", serial.parity), Number("StopBits", serial.stopBits)};
}

void Write(SettingsStore& store, const ProfileValue& value) {
    if (value.isText)
        store.WriteText(value.name, value.text);
    else
        store.WriteInt(value.name, value.number);
}

bool WasRefused(const RefusedValues& refused, const char* name) {
    for (const RefusedValue& value : refused) {
        if (qstrcmp(value.name, name) == 0) return true;
    }
    return false;
}

// Writes the values of now that differ from saved or were refused, and syncs when
// it wrote any.
bool WriteChanged(SettingsStore& store, const std::vector<ProfileValue>& saved, const std::vector<ProfileValue>& now,
                  const RefusedValues& refused) {
    bool wrote = false;
    for (std::size_t i = 0; i < now.size(); ++i) {
        if (i < saved.size() && saved[i] == now[i] && !WasRefused(refused, now[i].name)) continue;
        Write(store, now[i]);
        wrote = true;
    }
    return !wrote || store.Sync();
}

}  // namespace

bool CompleteProfile(SettingsStore& store, const ConversionSettings& loaded) {
    bool wrote = false;
    for (const ProfileValue& value : StoredForm(loaded)) {
        if (store.Contains(value.name)) continue;
        Write(store, value);
        wrote = true;
    }
    return !wrote || store.Sync();
}

bool SaveShutdownSettings(SettingsStore& store, const ConversionSettings& settings) {
    for (const ProfileValue& value : StoredForm(settings)) Write(store, value);
    return store.Sync();
}

bool SaveChangedSettings(SettingsStore& store, const ConversionSettings& saved, const ConversionSettings& now,
                         const RefusedValues& refused) {
    return WriteChanged(store, StoredForm(saved), StoredForm(now), refused);
}

bool SaveSerialSettings(SettingsStore& store, const SerialSettings& serial) {
    for (const ProfileValue& value : StoredForm(serial)) Write(store, value);
    // Confirmed serial values must outlive a killed process.
    return store.Sync();
}

bool SaveChangedSerialSettings(SettingsStore& store, const SerialSettings& saved, const SerialSettings& now,
                               const RefusedValues& refused) {
    return WriteChanged(store, StoredForm(saved), StoredForm(now), refused);
}

QByteArray UnsavedSettingsText(const SettingsStore& store) {
    return TextWith(Texts::kSettingsNotSaved, DisplayPath(store.Location()));
}
