#pragma once
// The MAPA2 conversion: what ReadRecords read becomes the files of the run's
// mode, each basePath + its extension. Mode Full writes the ".200" copy of a
// prepared NTS-350 transfer (with FLAG_KEEP_200), the field book ".zap", the
// coordinate list ".asc" (after the question about adding a million) and the
// code list ".cod"; the tools write their field book ".vod" or ".pol". A file is
// written only when it has content. What a caller adds to a run (the field-book
// check's protocol) is written after them through the same path.

#include "convert/ConversionContext.h"
#include "convert/ConversionMode.h"
#include "convert/ConversionReceipt.h"
#include "convert/MeasuredData.h"

#include <QByteArray>
#include <QList>
#include <QString>

struct ConversionResult {
    ConversionOutcome outcome = ConversionOutcome::Failed;
    ConversionReceipt receipt;
};

// A file a caller hands a run besides its own (the field-book check's protocol):
// written as basePath + extension, in the same set as the others.
struct ExtraOutput {
    QString extension;  // with its dot or whatever joins it to the base: "_kontrola.txt"
    QByteArray bytes;
};

// Writes the files of mode from data, which were read completely, and the extras,
// as one set (base/OutputWriting): no output over the file data were read from;
// an existing file replaced only after a "Yes" when FLAG_ASK_OVERWRITE asks for
// the question, all of them asked before anything is written, and "No" stops the
// run; then the million question. When any output cannot be written whole, none
// replaces its old file and the run fails (one message). Records in a unit the
// program does not know stop the run before anything is written. "Zobrazit
// cílový soubor" never shows an extra.
ConversionResult RunConversion(const MeasuredData& data, ConversionMode mode, ConversionContext& context,
                               const QList<ExtraOutput>& extras = {});

// Reads the measured-data file at path (confirming the corrections in mode Full)
// and writes the files of mode: F1, F3 and the tools.
ConversionResult ConvertMeasuredData(const QString& path, ConversionMode mode, ConversionContext& context);
