#pragma once
// The DXF export command below its dialog: choosing the source of the points (a
// text list or the measured data of the chosen file), remembering the chosen file
// and drawing basePath + ".dxf".

#include "convert/Conversion.h"

#include <QString>

// chosenPath is the file picked in the open dialog, or empty when the current file
// is to be used. A chosen file whose extension is exactly "txt" is read as a text
// list; any other (".TXT" included) selects the measured data basePath + ".sdt",
// converted in the DxfExport mode. The current file is always measured data.
// Completed only when the drawing was written; Stopped when the user refused to
// replace it, or when nothing was chosen and no file is remembered; Failed
// otherwise (already told). context.receipt says what was drawn and written, and
// context.writeDxf, when set, draws (the DXF writer when not).
ConversionOutcome ExportXyzDxf(const QString& chosenPath, ConversionContext& context);

// The DXF writer as a conversion run's sink: draws into the context's current file.
DxfSink MakeDxfSink(ConversionContext& context);
