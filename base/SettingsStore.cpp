#include "base/SettingsStore.h"

#include "base/Cp1250.h"
#include "base/FileError.h"
#include "base/IniValueText.h"
#include "base/Numbers.h"
#include "base/Texts.h"

#include <QFile>
#include <QSettings>

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

// A stored integer text as the registry would hold it: the low 32 bits of its
// value. Text that is not an integer does not read.
bool ParseStoredInteger(const QString& text, qint32& value) {
    const QByteArray digits = text.trimmed().toLatin1();
    qsizetype i = 0;
    bool negative = false;
    if (i < digits.size() && (digits[i] == '+' || digits[i] == '-')) negative = digits[i++] == '-';
    if (i >= digits.size()) return false;
    quint64 wrapped = 0;
    for (; i < digits.size(); ++i) {
        if (digits[i] < '0' || digits[i] > '9') return false;
        wrapped = wrapped * 10 + static_cast<quint64>(digits[i] - '0');
    }
    if (negative) wrapped = ~wrapped + 1;
    value = static_cast<qint32>(static_cast<quint32>(wrapped));
    return true;
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
    const QVariant stored = m_settings->value(Key(name));
    if (!stored.isValid()) return defaultValue;
    qint32 value = defaultValue;
    if (stored.typeId() == QMetaType::Int || stored.typeId() == QMetaType::UInt ||
        stored.typeId() == QMetaType::LongLong || stored.typeId() == QMetaType::ULongLong) {
        return static_cast<qint32>(static_cast<quint32>(stored.toULongLong()));
    }
    return ParseStoredInteger(stored.toString(), value) ? value : defaultValue;
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

void LoadStartupFlag(const SettingsStore& store, ConversionSettings& settings) {
    settings.flag = static_cast<quint16>(store.ReadInt("Flag", FLAG_DEFAULT));
}

void LoadRemainingSettings(const SettingsStore& store, ConversionSettings& settings, SerialSettings& serial) {
    // A value that is missing or does not read keeps the default of a new profile.
    const SerialSettings serialDefaults;
    const ConversionSettings defaults;
    const auto readNumber = [&store](const char* name, double defaultValue) {
        return Numbers::ToDouble(store.ReadText(name, Numbers::Format("%.17g", defaultValue)));
    };
    serial.commPort = static_cast<quint8>(store.ReadInt("CommPort", serialDefaults.commPort));
    serial.baudRate = static_cast<quint8>(store.ReadInt("BaudRate", serialDefaults.baudRate));
    serial.byteSize = static_cast<quint8>(store.ReadInt("ByteSize", serialDefaults.byteSize));
    serial.parity = static_cast<quint8>(store.ReadInt("Parity", serialDefaults.parity));
    serial.stopBits = static_cast<quint8>(store.ReadInt("StopBits", serialDefaults.stopBits));
    settings.jobAverageXMetres = readNumber("JX", defaults.jobAverageXMetres);
    settings.jobAverageYMetres = readNumber("JY", defaults.jobAverageYMetres);
    settings.jobAverageHeightMetres = readNumber("JH", defaults.jobAverageHeightMetres);
    settings.head = store.ReadText("Head", defaults.head);
    settings.dxfRatio = static_cast<quint8>(store.ReadInt("DXF_Ratio", defaults.dxfRatio));
    // The drawing's options, the foot and the stations' coordinates are 0 or 1; any
    // other stored value is the default, 0.
    settings.dxfEpsgAxes = store.ReadInt("DXF_Axes", 0) == 1;
    settings.dxfLayers = store.ReadInt("DXF_Layers", 0) == 1;
    settings.dxf3d = store.ReadInt("DXF_3D", 0) == 1;
    settings.usSurveyFoot = store.ReadInt("UsSurveyFoot", 0) == 1;
    settings.stationXyz = store.ReadInt("StationXYZ", 0) == 1;
    settings.orMarker = store.ReadText("OR", defaults.orMarker);
    settings.deviceType = static_cast<DeviceType>(store.ReadInt("DeviceType", StoredValue(defaults.deviceType)));
    // A limit read as 0 from text that is no number would report every sighting.
    CheckTolerances limits;
    for (const char* name : kToleranceNames) {
        const std::optional<double> stored = Numbers::ParseDecimal(store.ReadText(name, {}));
        if (stored && ToleranceUsable(*stored)) *ToleranceNamed(limits, name) = *stored;
    }
    settings.checkTolerances = limits;
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

// Writes the values of now that differ from saved, and syncs when it wrote any.
bool WriteChanged(SettingsStore& store, const std::vector<ProfileValue>& saved, const std::vector<ProfileValue>& now) {
    bool wrote = false;
    for (std::size_t i = 0; i < now.size(); ++i) {
        if (i < saved.size() && saved[i] == now[i]) continue;
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

bool SaveChangedSettings(SettingsStore& store, const ConversionSettings& saved, const ConversionSettings& now) {
    return WriteChanged(store, StoredForm(saved), StoredForm(now));
}

bool SaveSerialSettings(SettingsStore& store, const SerialSettings& serial) {
    for (const ProfileValue& value : StoredForm(serial)) Write(store, value);
    // Confirmed serial values must outlive a killed process.
    return store.Sync();
}

bool SaveChangedSerialSettings(SettingsStore& store, const SerialSettings& saved, const SerialSettings& now) {
    return WriteChanged(store, StoredForm(saved), StoredForm(now));
}

QByteArray UnsavedSettingsText(const SettingsStore& store) {
    return TextWith(Texts::kSettingsNotSaved, DisplayPath(store.Location()));
}
