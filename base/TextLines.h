#pragma once
// The lines of a text as the upload list, the keyword data of the instruments and
// the drawing's text list end them: at CR LF, a lone CR or a lone LF. A last line
// may have no end.

// Where the line that starts at line ends (its CR or LF), or end.
inline const char* LineEnd(const char* line, const char* end) {
    while (line < end && *line != '\r' && *line != '\n') ++line;
    return line;
}

// The start of the line after the one that ends at lineEnd.
inline const char* NextLine(const char* lineEnd, const char* end) {
    if (lineEnd >= end) return end;
    if (*lineEnd == '\r' && lineEnd + 1 < end && lineEnd[1] == '\n') return lineEnd + 2;
    return lineEnd + 1;
}
