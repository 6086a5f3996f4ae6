#pragma once
// The one way the programs write an output file (the MAPA2 files, the ".200" copy,
// the DXF drawing): the overwrite question first, when the user wants to be asked
// and the file exists; then the whole file written beside it, put on the disk and
// renamed into its place (ReplacementFile). A file that cannot be written whole is
// reported naming it, and the old one stays byte for byte.

#include "base/ByteSink.h"
#include "base/Prompter.h"

#include <QString>

#include <functional>

enum class OutputWritten {
    Written,  // the file holds the new bytes
    Refused,  // the user answered No to the overwrite question; nothing was touched
    Failed,   // reported through the prompter; the old file, if any, is as it was
};

// Writes path with write(sink). With askOverwrite an existing file is replaced only
// after "Yes" to STRING 32786, asked with questionIcon.
OutputWritten WriteOutputFile(const QString& path, bool askOverwrite, MessageIcon questionIcon, Prompter& prompter,
                              const std::function<void(ByteSink& sink)>& write);
