#pragma once
// The DXF drawing of a point list written as a release-12 text drawing (basePath +
// ".dxf", CR LF line ends, Windows-1250 texts, code page ANSI_1250 declared): the
// entities of DxfDrawing (a cross and its texts for every record with Coordinates).
// A drawing with layers per point code declares them in a TABLES section; without
// them it has none and everything lies on layer 0. A scale index outside the list
// is taken as 1:1.

#include "base/ByteSink.h"
#include "base/ConversionSettings.h"
#include "base/Prompter.h"
#include "base/SurveyRecord.h"

#include <QString>

// What became of a DXF drawing.
enum class DrawingOutcome {
    None,      // no drawing was made
    Written,   // the whole drawing was written
    NoPoints,  // no point to draw (told), no file touched
    Refused,   // the user refused to replace the existing drawing
    Failed,    // a file error (reported); the old file stays
};

// Writes the drawing, asking before it replaces a file when FLAG_ASK_OVERWRITE is
// set, and never over sourcePath, the file the records were read from. Written
// only when the whole drawing was written; a list without a point (told through
// prompter), a refused overwrite and a file error (reported through prompter) say so.
DrawingOutcome WriteDxf(const QString& basePath, const SurveyRecordList& records, const ConversionSettings& settings,
                        Prompter& prompter, const QString& sourcePath = {});

// The drawing alone, into sink: header, the entities of every record with
// Coordinates, footer; a failed sink abandons it at once. Without a point it is an
// empty drawing.
void WriteDxfDrawing(const SurveyRecordList& records, const ConversionSettings& settings, ByteSink& sink);
