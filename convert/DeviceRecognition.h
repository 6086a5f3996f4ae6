#pragma once
// Which instrument a measured-data file comes from, told from its bytes as they
// are on disk. NTS-660 data are keyword lines ("STN", "SS", "HV", "SD", "UNITS"
// at a line's start, padded to the data column); NTS-350 data are records opened
// by the markers «_'», «_+» and «_:». A file is recognised when it has marks of
// one kind and at most a quarter as many of the other; anything else fits neither.

#include "base/ConversionSettings.h"

#include <QByteArray>

#include <optional>

std::optional<DeviceType> RecogniseDevice(const QByteArray& bytes);

// The instrument's name for a "DeviceType" value (Windows-1250), such as
// «NTS-660»; any other stored value is named as unknown with its number.
QByteArray DeviceName(quint16 deviceType);
