#pragma once
// The lines of a text as the upload list, the keyword data of the instruments and
// the drawing's text list end them: at CR LF, a lone CR or a lone LF. A last line
// may have no end.

#include <QByteArray>
#include <QByteArrayView>

#include <algorithm>

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

// Calls visit(line) for every line of text, without its line end, in order; a line
// end at the very end leaves an empty last line, as an editor shows it. Nothing is
// copied: the lines are views into text.
template <typename Visit>
void ForEachLine(QByteArrayView text, Visit&& visit) {
    const char* line = text.data();
    const char* const end = line + text.size();
    for (;;) {
        const char* const lineEnd = LineEnd(line, end);
        visit(QByteArrayView(line, lineEnd - line));
        if (lineEnd == end) return;
        line = NextLine(lineEnd, end);
    }
}

// Puts a copy of line into into, reusing its memory: a reader that writes into its
// line gets one buffer for all the lines of a list.
inline void CopyLine(QByteArrayView line, QByteArray& into) {
    // A null array is allocated afresh at every write: keep room across lines.
    if (into.isNull() || into.capacity() < line.size()) into.reserve(std::max<qsizetype>(line.size(), 256));
    into.resize(line.size());
    std::copy(line.begin(), line.end(), into.begin());
}
