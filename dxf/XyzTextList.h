#pragma once
// Reader of a text list of points for the DXF drawing: one point a line, name, Y,
// X, an optional height Z and an optional code text, separated by spaces, ";" or
// tabs; lines end at CR LF, LF or a lone CR. Malformed lines are skipped without a
// word; a decimal comma is accepted in Y and X. A list in UTF-8 (lists written on
// Linux) is converted to Windows-1250, any other is taken as Windows-1250; names
// and codes with characters the code page lacks are drawn with "?" and told.
// Coordinates are metres.

#include "base/Prompter.h"
#include "base/SurveyRecord.h"

#include <QString>

// Appends one Coordinates record (with NoHeight where the line has no height) for
// every accepted line of the file at path. Returns the number of records in list
// after reading, or 0 after an open or read error (or a list too large for
// memory), which is reported through prompter and leaves list as it was.
int ReadXyzTextList(const QString& path, SurveyRecordList& list, Prompter& prompter);
