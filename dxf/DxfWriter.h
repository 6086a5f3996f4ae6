#pragma once
// The DXF drawing of a point list: a release-12 text drawing (basePath + ".dxf",
// CR LF line ends, Windows-1250 texts) in which every record with Coordinates
// becomes a cross with its name above it, its height to the upper right and its
// code text to the lower right, on layer 0 at elevation 0. The size of the marks
// is 0.05 × the larger of the points' own x and y extents × the DXF scale ratio,
// or the ratio in metres when the points have no extent (one point, or all at one
// place); a scale index outside the list is taken as 1:1.

#include "base/ByteSink.h"
#include "base/ConversionSettings.h"
#include "base/Prompter.h"
#include "base/SurveyRecord.h"

#include <QString>

// Writes the drawing, asking before it replaces a file when FLAG_ASK_OVERWRITE is
// set. Returns true only when the whole drawing was written; a list without a
// point, a refused overwrite and a file error (reported through prompter) give
// false.
bool WriteDxf(const QString& basePath, const SurveyRecordList& records, const ConversionSettings& settings,
              Prompter& prompter);

// The drawing alone, into sink: header, the entities of every record with
// Coordinates, footer; a failed sink abandons it at once. Without a point it is an
// empty drawing.
void WriteDxfDrawing(const SurveyRecordList& records, const ConversionSettings& settings, ByteSink& sink);
