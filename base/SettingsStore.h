#pragma once
// The per-user profile, section "Settings": integers as 32-bit numbers, texts as
// strings (Windows-1250 in memory, Unicode in the store). A value that is missing
// or cannot be read gives its default; so does a number outside its setting's
// range, and the load names it. A text comes back as stored, whatever commas it
// holds. A save that cannot be written says so; its caller tells the user.
//
// On Linux the profile is the INI file Tarvo1/Tarvo.conf in the user's
// configuration directory; on Windows the registry key Software\Tarvo1\Tarvo.

#include "base/ConversionSettings.h"

#include <QByteArray>
#include <QString>

#include <memory>
#include <optional>
#include <vector>

class QSettings;

class SettingsStore {
public:
    // The user's profile.
    SettingsStore();
    // A profile kept in the given INI file (tests, or a profile the user names).
    explicit SettingsStore(const QString& iniPath);
    ~SettingsStore();
    SettingsStore(const SettingsStore&) = delete;
    SettingsStore& operator=(const SettingsStore&) = delete;

    // The stored integer, as a 32-bit number (wrapping); the default when absent
    // or not an integer.
    qint32 ReadInt(const char* name, qint32 defaultValue) const;
    // The stored integer as it is, unnarrowed: a REG_DWORD as the unsigned number it
    // holds, INI text as written (beyond 64 bits held at the nearer end), with its
    // text for a message. Nothing when absent or not an integer.
    struct StoredInteger {
        qint64 value;
        QByteArray text;  // Windows-1250
    };
    std::optional<StoredInteger> ReadStoredInteger(const char* name) const;
    QByteArray ReadText(const char* name, const QByteArray& defaultValue) const;
    // Whether the profile holds a value of that name, in whatever form.
    bool Contains(const char* name) const;
    void WriteInt(const char* name, quint32 value);
    void WriteText(const char* name, const QByteArray& value);
    // Pushes the writes to the store at once. False when the store could not be
    // written (a read-only file, a full disk); the profile then keeps what it held.
    bool Sync();
    // Where the profile is kept: its INI file, or on Windows its registry key.
    QString Location() const;

    // Free-form values of another section ("Ports" maps COM numbers to devices).
    QString ReadString(const QString& section, const QString& name) const;
    void WriteString(const QString& section, const QString& name, const QString& value);

private:
    // The text of a value read from the INI file itself; nothing for the registry.
    std::optional<QString> RawIniText(const char* name) const;

    std::unique_ptr<QSettings> m_settings;
    bool m_iniFile;
};

// A profile value the load did not use because, as stored, it lies outside its
// setting's range (base/SettingRanges.h); the setting took its default. Texts are
// Windows-1250.
struct RefusedValue {
    const char* name;        // "JX"
    QByteArray stored;       // "745", as the profile holds it
    QByteArray range;        // "0 nebo 890000 až 1380000"
    QByteArray defaultUsed;  // "1001000"
};
using RefusedValues = std::vector<RefusedValue>;

// Start-up load, part one: "Flag". Returns what it refused.
RefusedValues LoadStartupFlag(const SettingsStore& store, ConversionSettings& settings);

// Start-up load, part two, in the stored order: the serial values, "JX", "JY",
// "JH", "Head", "DXF_Ratio", "DXF_Axes", "DXF_Layers", "DXF_3D", "UsSurveyFoot",
// "StationXYZ", "OR", "DeviceType", then the check's limits ("CHK_Position" ...
// "CHK_Range"). Every value with a range is judged as stored, before it is
// narrowed to its width (a Flag of 70000, a DXF_Ratio of 260 are refused, not
// wrapped); the drawing's options, the foot and the stations' coordinates are 0 or
// 1. An integer stored as text that is no number gives the default without a word,
// as a missing value does; the job's averages so stored are refused like a value
// outside the range; a limit that is no usable number keeps its default. Returns
// what it refused, in the order read.
RefusedValues LoadRemainingSettings(const SettingsStore& store, ConversionSettings& settings, SerialSettings& serial);

// «Hodnota 745 pro JX v profilu je mimo rozsah 0 nebo 890000 až 1380000; platí
// výchozí 1001000.»
QByteArray RefusedValueText(const RefusedValue& refused);

// Shutdown save: "Flag", "DeviceType", "DXF_Ratio", "DXF_Axes", "DXF_Layers",
// "DXF_3D", "UsSurveyFoot", "StationXYZ" (0 or 1), "JX", "JY", "JH" ("%.3f"),
// "Head", "OR", the check's limits ("%.9g"). False when the profile could not be
// written.
bool SaveShutdownSettings(SettingsStore& store, const ConversionSettings& settings);

// The save of the window program, whenever the values change: only the values of
// now that differ from saved (what this program last loaded or wrote), as they are
// stored ("JX" to the millimetre), so that a value another copy of the program
// wrote meanwhile is never written back over. A value the load refused counts as
// changed: the value in use replaces it. Nothing differs: nothing is written.
// False when the profile could not be written.
bool SaveChangedSettings(SettingsStore& store, const ConversionSettings& saved, const ConversionSettings& now,
                         const RefusedValues& refused = {});

// Right after the load: writes each value of loaded that the profile lacks, so
// that a profile holds every value the window program uses, in its type
// (integers as REG_DWORD on Windows). Values stored already are not touched, in
// whatever form they are. False when the profile could not be written.
bool CompleteProfile(SettingsStore& store, const ConversionSettings& loaded);

// Serial save: "CommPort", "BaudRate", "ByteSize", "Parity", "StopBits", written at
// once. False when the profile could not be written.
bool SaveSerialSettings(SettingsStore& store, const SerialSettings& serial);
// The same, only the values that differ from saved or that the load refused.
bool SaveChangedSerialSettings(SettingsStore& store, const SerialSettings& saved, const SerialSettings& now,
                               const RefusedValues& refused = {});

// The message for a save that did not reach the profile, naming its file.
QByteArray UnsavedSettingsText(const SettingsStore& store);
