#pragma once
// The conversion chain: PrepareRawData reads a measured-data file, removes the
// NTS-350 block framing, normalises signs, optionally keeps the ".200" copy and
// hands the prepared bytes to RunConversion, which asks about the corrections,
// parses the records and writes the MAPA2 files of its mode (or hands the points
// to the DXF writer). Every output is document.basePath + its extension.

#include "base/ConversionSettings.h"
#include "base/DocumentState.h"
#include "base/Prompter.h"
#include "base/SurveyRecord.h"
#include "convert/ConversionMode.h"

#include <QByteArray>
#include <QString>

#include <functional>

// The bytes of a prepared measured-data file. QByteArray keeps a NUL after the
// last byte, which the NTS-660 parser's line handling relies on.
struct RawDataBuffer {
    QByteArray bytes;
};

// Draws the points of a DxfExport run; the DXF writer plugs in here so that the
// conversion core does not depend on it. Returns false when the drawing was not
// written (refused, failed or nothing to draw).
using DxfSink = std::function<bool(const SurveyRecordList& records)>;

// What a run works on: the settings (changed in place when the user edits them in
// the parameter sheet), the current file, the user, and the DXF writer.
struct ConversionContext {
    ConversionSettings& settings;
    DocumentState& document;
    Prompter& prompter;
    DxfSink writeDxf;
};

enum class ConversionOutcome {
    Completed,  // every file of the mode that had content was written
    Stopped,    // the user cancelled or refused an overwrite
    Failed,     // a file could not be read or written (reported), or bad settings
};

ConversionOutcome PrepareRawData(const QString& path, ConversionMode mode, ConversionContext& context);
ConversionOutcome RunConversion(RawDataBuffer buffer, ConversionMode mode, ConversionContext& context);
