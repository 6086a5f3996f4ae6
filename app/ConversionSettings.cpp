#include "app/ConversionSettings.h"

#include "app/Texts.h"

ConversionSettings::ConversionSettings() : head(Text(Texts::kDefaultHeader)) {}
