#pragma once
// The range of every numeric setting, one table for the command line's --set, the
// profile's loading and the parameter sheet. Outside its range a value would wrap
// as it is stored (a Flag of 0x10000 as 0), name another thing (a DeviceType of
// 65536 as the NTS-350, a DXF_Ratio of 300 as 1:1) or make the reductions absurd
// (an average height of 10^15 m shrinks every distance to nothing): it is refused.
// The job's average coordinates lie in the S-JTSK area the projection's
// reduction covers, or are 0, which turns that reduction off (a job in a local
// system); its height (0 turns the height reduction off) is one a place on Earth can have (a deep mine
// to the highest summit).

#include <QByteArray>
#include <QString>

struct SettingRange {
    const char* name;  // as the profile and --set name it
    double lowest;
    double highest;
    bool whole;              // an integer
    bool zeroIsOff = false;  // 0 is taken too: it turns the setting's reduction off
};

// The range of the setting name; nullptr for one without a numeric range (texts,
// the OR marker) or an unknown name.
const SettingRange* RangeOf(const QString& name);

// Whether value is a number inside range (an integer where it must be whole).
bool InRange(const SettingRange& range, double value);

// «0 až 65535», «-2000 až 9000», «0 nebo 890000 až 1380000»: the range as the
// messages give it.
QByteArray RangeText(const SettingRange& range);
