#pragma once
// One line of a point list as the user writes it: a name, two numbers (Y X, or X Y
// where the list says so), an optional height and, in the drawing's text list, a
// code text; separated by spaces, ";" or tabs. The upload list and the DXF text
// list read their lines here; where their rules differ, PointListKind says how.
// The line is Windows-1250 bytes without its line end; the reader never fails on
// bad input, it tells that the line is not a point.

#include <QByteArrayView>

#include <optional>

enum class PointListKind {
    // The upload window's list: leading spaces go; the height is the next number
    // anywhere after the second (letters, ";" and tabs are passed over); nothing
    // after the height is read.
    Upload,
    // The text list of the DXF export: leading spaces stay (the name is then
    // empty); a ";" or tab before any number marks an empty height; what follows
    // the height (or the empty height) up to the end of the line is the code text.
    DrawingList,
};

struct PointLine {
    QByteArrayView name;
    double first = 0.0;   // the first number: Y (X when the upload list swaps them)
    double second = 0.0;  // the second number
    bool hasHeight = false;
    double height = 0.0;  // 0 without a height
    QByteArrayView code;  // DrawingList only
    // Where the numbers were read (offsets in the line, end exclusive), for a
    // check that compares what was written with what was read.
    qsizetype firstBegin = 0, firstEnd = 0;
    qsizetype secondBegin = 0, secondEnd = 0;
    qsizetype heightBegin = -1, heightEnd = -1;  // -1: no height field
};

// Reads the line in [begin, end). A decimal comma is accepted in the two numbers
// in the lists' own way: the first comma from a number's first character to the
// end of the line becomes a point (the line is changed in place), so a number
// without a comma of its own uses up a later one; the height gets no comma
// replacement of its own. The views point into the line. Nothing when the line
// has no separator after its name, no number after it, or no separator after the
// first number.
std::optional<PointLine> ReadPointLine(char* begin, char* end, PointListKind kind);
