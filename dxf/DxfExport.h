#pragma once
// The DXF export command below its dialog: choosing the source of the points (a
// text list or the measured data of the chosen file), remembering the chosen file
// and drawing basePath + ".dxf".

#include "convert/Conversion.h"

#include <QString>

enum class DxfExportOutcome {
    Written,        // the whole drawing was written
    NotWritten,     // nothing to draw, overwrite refused or a file error (already told)
    NoCurrentFile,  // no file chosen and none remembered: the command is not available
};

// chosenPath is the file picked in the open dialog, or empty when the current file
// is to be used. A chosen file whose extension is exactly "txt" is read as a text
// list; any other (".TXT" included) selects the measured data basePath + ".sdt",
// converted in the DxfExport mode. The current file is always measured data.
DxfExportOutcome ExportXyzDxf(const QString& chosenPath, ConversionContext& context);

// The DXF writer as a conversion run's sink: draws into the context's current file.
DxfSink MakeDxfSink(ConversionContext& context);
