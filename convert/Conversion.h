#pragma once
// The conversion chain: PrepareRawData reads a measured-data file, removes the
// NTS-350 block framing, normalises signs, optionally keeps the ".200" copy and
// hands the prepared bytes to RunConversion, which asks about the corrections,
// parses the records and writes the MAPA2 files of its mode (or hands the points
// to the DXF writer). Every output is file.basePath + its extension.

#include "base/ConversionSettings.h"
#include "base/CurrentFile.h"
#include "base/Prompter.h"
#include "base/SurveyRecord.h"
#include "convert/ConversionMode.h"
#include "convert/ConversionReceipt.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <utility>

// The bytes of a prepared measured-data file. QByteArray keeps a NUL after the
// last byte, which the NTS-660 parser's line handling relies on.
struct RawDataBuffer {
    QByteArray bytes;
};

// Draws the points of a DxfExport run; the DXF writer plugs in here so that the
// conversion core does not depend on it. Says whether the drawing was written, and
// if not, why.
using DxfSink = std::function<DrawingOutcome(const SurveyRecordList& records)>;

// What a run works on: the settings (changed in place when the user edits them in
// the parameter sheet), the current file, the user, and the DXF writer; and what
// it hands back besides its outcome, the receipt.
struct ConversionContext {
    ConversionContext(ConversionSettings& runSettings, CurrentFile& runFile, Prompter& runPrompter,
                      DxfSink dxfSink = {})
        : settings(runSettings), file(runFile), prompter(runPrompter), writeDxf(std::move(dxfSink)) {}

    ConversionSettings& settings;
    CurrentFile& file;
    Prompter& prompter;
    DxfSink writeDxf;
    // Convert as the instrument the data come from, without asking, and say which
    // it was (tarvo-cli --set DeviceType=auto). Otherwise data that clearly come
    // from the other instrument than "DeviceType" bring a question.
    bool recogniseDevice = false;
    ConversionReceipt receipt;  // filled by every run, from PrepareRawData on
};

// Converts the prepared bytes of a measured-data file in the given mode.
ConversionOutcome RunConversion(RawDataBuffer buffer, ConversionMode mode, ConversionContext& context);

// Hands the records to the run's DXF writer and notes in the receipt what became
// of the drawing (basePath + ".dxf"): Completed once it is written, Stopped when
// the user refused to replace it, Failed otherwise (already told).
ConversionOutcome DrawRecords(const SurveyRecordList& records, ConversionContext& context);
