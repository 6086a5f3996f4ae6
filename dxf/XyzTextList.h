#pragma once
// Reader of a text list of points for the DXF drawing: one point a line, name, Y,
// X, an optional height Z and an optional code text, separated by spaces, ";" or
// tabs; lines end at CR LF, LF or a lone CR. Malformed lines are skipped without a
// word; a decimal comma is accepted in Y and X. Texts stay Windows-1250 bytes; coordinates are metres.

#include "base/Prompter.h"
#include "base/SurveyRecord.h"

#include <QString>

// Appends one Coordinates record (with NoHeight where the line has no height) for
// every accepted line of the file at path. Returns the number of records in list
// after reading, or 0 after an open or read error, which is reported through
// prompter; the records read before a read error stay in list.
int ReadXyzTextList(const QString& path, SurveyRecordList& list, Prompter& prompter);
