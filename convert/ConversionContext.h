#pragma once
// What a run over a measured-data file works on, and how it ends. The conversion
// and the DXF export share both.

#include "base/ConversionSettings.h"
#include "base/CurrentFile.h"
#include "base/Prompter.h"

enum class ConversionOutcome {
    Completed,  // the run did all it set out to: the records read, every file with content written
    Stopped,    // the user cancelled or refused an overwrite
    Failed,     // a file could not be read or written (reported), or bad settings
};

// The settings (changed in place when the user edits them in the parameter
// sheet), the current file the outputs are named after (basePath + extension),
// and the user.
struct ConversionContext {
    ConversionSettings& settings;
    CurrentFile& file;
    Prompter& prompter;
    // Read the data as the instrument they come from, without asking, and say
    // which it was (tarvo-cli --set DeviceType=auto). Otherwise data that clearly
    // come from the other instrument than "DeviceType" bring a question.
    bool recogniseDevice = false;
};
