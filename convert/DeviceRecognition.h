#pragma once
// The form of a measured-data file, told from its bytes as they are on disk: the
// NTS-660 form is keyword lines ("STN", "SS", "BS", "HV", "SD", "UNITS" at a line's
// start, padded to the data column), which an NTS-350 can also write; the NTS-350
// form is records opened by the markers «_'», «_+» and «_:». A file is recognised
// when it has marks of one form and at most a quarter as many of the other;
// anything else fits neither. The form is named by its "DeviceType".

#include "base/ConversionSettings.h"
#include "base/Prompter.h"

#include <QByteArray>
#include <QString>

#include <optional>

std::optional<DeviceType> RecogniseDevice(const QByteArray& bytes);

// The instrument's name for a "DeviceType" value (Windows-1250), such as
// «NTS-660»; any other stored value is named as unknown with its number.
QByteArray DeviceName(DeviceType deviceType);

// The form a run reads the data of the file at path in: the recognised one when
// recognise is set (tarvo-cli --set DeviceType=auto; told which it was), or when
// the data clearly come from the other instrument than stored ("DeviceType") and
// the user agrees to read them so this time (asked); otherwise stored. Data that
// fit neither form are read as stored.
DeviceType ChooseDevice(const QString& path, const QByteArray& bytes, DeviceType stored, bool recognise,
                        Prompter& prompter);
