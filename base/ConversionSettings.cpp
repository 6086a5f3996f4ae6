#include "base/ConversionSettings.h"

#include "base/Texts.h"

ConversionSettings::ConversionSettings() : head(Text(Texts::kDefaultHeader)) {}
