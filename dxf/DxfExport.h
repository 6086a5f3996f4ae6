#pragma once
// The DXF export below its dialog: the points of a text list, or of the measured
// data ReadRecords reads, drawn into basePath + ".dxf"; and the drawing's receipt.

#include "base/SurveyRecord.h"
#include "convert/ConversionContext.h"
#include "convert/ConversionReceipt.h"
#include "dxf/DxfWriter.h"

#include <QByteArray>
#include <QString>

// What a drawing run read and drew.
struct DrawingReceipt {
    ReadingReceipt read;  // what was read from measured data; nothing for a text list
    DrawingOutcome drawing = DrawingOutcome::None;
    QByteArray drawingFile;  // the drawing's file name and extension, once one was made
    qint64 drawnPoints = 0;  // points in the drawing
};

struct DxfExportResult {
    ConversionOutcome outcome = ConversionOutcome::Stopped;  // Completed only when the drawing was written
    DrawingReceipt receipt;
    SurveyRecordList records;  // what the drawing was made from, for showing it
};

// chosenPath is the file picked in the open dialog, or empty when the current file
// is to be used; a chosen file becomes the current one. A chosen file whose
// extension is exactly "txt" is read as a text list; any other (".TXT" included)
// selects the measured data basePath + ".sdt". The current file is always
// measured data. Stopped when the user refused to replace the drawing, or when
// nothing was chosen and no file is remembered; Failed otherwise (already told).
DxfExportResult ExportXyzDxf(const QString& chosenPath, ConversionContext& context);

// Draws the points of the measured-data file at path, which is read as any
// conversion reads it but asks nothing about the corrections and writes no MAPA2
// file (tarvo-cli convert --mode dxf).
DxfExportResult DrawMeasuredData(const QString& path, ConversionContext& context);

// The receipt as one line: what was read from measured data, the points drawn
// (once the drawing was written), then the drawing written, or that none was
// and why.
QByteArray DrawingReceiptText(const DrawingReceipt& receipt, ConversionOutcome outcome);
