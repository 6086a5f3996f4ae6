#include "base/SettingRanges.h"

#include "base/ConversionSettings.h"
#include "base/Cp1250.h"
#include "base/Numbers.h"

#include <cmath>
#include <iterator>

namespace {

constexpr SettingRange kRanges[] = {
    {"Flag", 0, 0xFFFF, true},
    {"DeviceType", StoredValue(DeviceType::Nts350), StoredValue(DeviceType::Nts660), true},
    {"DXF_Ratio", 0, kDxfScaleCount - 1, true},
    {"DXF_Axes", 0, 1, true},
    {"DXF_Layers", 0, 1, true},
    {"DXF_3D", 0, 1, true},
    {"UsSurveyFoot", 0, 1, true},
    {"StationXYZ", 0, 1, true},
    {"CommPort", 0, 255, true},
    {"BaudRate", 0, 255, true},
    {"ByteSize", 0, 255, true},
    {"Parity", 0, 255, true},
    {"StopBits", 0, 255, true},
    {"JX", 890000, 1380000, false, true},
    {"JY", 137000, 890000, false, true},
    {"JH", -2000, 9000, false},
};

}  // namespace

const SettingRange* RangeOf(const QString& name) {
    for (const SettingRange& range : kRanges) {
        if (name == QLatin1String(range.name)) return &range;
    }
    return nullptr;
}

bool InRange(const SettingRange& range, double value) {
    if (range.zeroIsOff && value == 0.0) return true;
    // Negated so that a NaN is outside.
    if (!(value >= range.lowest && value <= range.highest)) return false;
    return !range.whole || std::floor(value) == value;
}

QByteArray RangeText(const SettingRange& range) {
    const QByteArray zero = range.zeroIsOff ? Cp1250::FromUnicode(QStringLiteral("0 nebo ")) : QByteArray();
    return zero + Numbers::Format("%.0f", range.lowest) + Cp1250::FromUnicode(QStringLiteral(" až ")) +
           Numbers::Format("%.0f", range.highest);
}
