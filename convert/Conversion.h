#pragma once
// The MAPA2 conversion: what ReadRecords read becomes the files of the run's
// mode, each basePath + its extension. Mode Full writes the ".200" copy of a
// prepared NTS-350 transfer (with FLAG_KEEP_200), the field book ".zap", the
// coordinate list ".asc" (after the question about adding a million) and the
// code list ".cod"; the tools write their field book ".vod" or ".pol". A file is
// written only when it has content.

#include "convert/ConversionContext.h"
#include "convert/ConversionMode.h"
#include "convert/ConversionReceipt.h"
#include "convert/MeasuredData.h"

#include <QString>

struct ConversionResult {
    ConversionOutcome outcome = ConversionOutcome::Failed;
    ConversionReceipt receipt;
};

// Writes the files of mode from data, which were read completely. Every output
// goes through the one output path: an existing file is replaced only after a
// "Yes" when FLAG_ASK_OVERWRITE asks for the question, and "No" stops the run. A
// field book or list that cannot be written whole is reported and skipped (the
// run then fails); a ".200" copy that cannot be written stops the run.
ConversionResult RunConversion(const MeasuredData& data, ConversionMode mode, ConversionContext& context);

// Reads the measured-data file at path (confirming the corrections in mode Full)
// and writes the files of mode: F1, F3 and the tools.
ConversionResult ConvertMeasuredData(const QString& path, ConversionMode mode, ConversionContext& context);
