#include "base/PointLine.h"

#include "base/Numbers.h"

#include <cstring>
#include <string_view>

namespace {

bool IsSeparator(char c) { return c == ' ' || c == ';' || c == '\t'; }

bool IsNumberStart(char c) { return c == '+' || c == '-' || (c >= '0' && c <= '9'); }

char* FindSeparator(char* from, char* end) {
    while (from < end && !IsSeparator(*from)) ++from;
    return from;
}

// Letters, separators and a leading "." are passed over alike, so «.5» is read as 5.
char* FindNumberStart(char* from, char* end) {
    while (from < end && !IsNumberStart(*from)) ++from;
    return from;
}

// The decimal comma: the first comma from `from` to the end of the line becomes a
// point. The search is not held to the number's own field.
void ReplaceFirstComma(char* from, char* end) {
    if (from >= end) return;
    if (char* comma = static_cast<char*>(std::memchr(from, ',', static_cast<std::size_t>(end - from)))) *comma = '.';
}

Numbers::ParsedDouble Read(const char* from, const char* to) {
    return Numbers::ParseDouble(std::string_view(from, static_cast<std::size_t>(to - from)));
}

}  // namespace

std::optional<PointLine> ReadPointLine(char* const begin, char* const end, PointListKind kind) {
    char* line = begin;
    if (kind == PointListKind::Upload) {
        while (line < end && *line == ' ') ++line;  // tabs stay and make an empty name
    }

    // Name: everything before the first separator.
    char* const separator = FindSeparator(line, end);
    if (separator == end) return std::nullopt;
    PointLine point;
    point.name = QByteArrayView(line, separator - line);

    // First number: the first number start after the name, up to the next
    // separator; a point needs a separator after it.
    char* const first = FindNumberStart(separator + 1, end);
    if (first == end) return std::nullopt;
    char* const firstEnd = FindSeparator(first, end);
    if (firstEnd == end) return std::nullopt;
    ReplaceFirstComma(first, end);
    point.first = Read(first, firstEnd).value;

    // Second number: likewise, up to the next separator or the end of the line.
    char* const second = FindNumberStart(firstEnd + 1, end);
    if (second == end) return std::nullopt;
    char* const secondEnd = FindSeparator(second, end);
    ReplaceFirstComma(second, end);
    point.second = Read(second, secondEnd).value;

    point.firstBegin = first - begin;
    point.firstEnd = firstEnd - begin;
    point.secondBegin = second - begin;
    point.secondEnd = secondEnd - begin;
    if (secondEnd == end) return point;

    // Height: in the upload list the next number start wherever it stands; in the
    // drawing's list letters and spaces are passed over, but a ";" or tab first
    // is an empty height field after which the code text begins.
    char* scan = secondEnd + 1;
    if (kind == PointListKind::Upload) {
        scan = FindNumberStart(scan, end);
    } else {
        while (scan < end && !IsNumberStart(*scan) && *scan != ';' && *scan != '\t') ++scan;
    }
    if (scan == end) return point;
    char* codeStart = nullptr;
    if (!IsNumberStart(*scan)) {
        codeStart = scan + 1;
    } else {
        char* const heightEnd = FindSeparator(scan, end);
        const Numbers::ParsedDouble height = Read(scan, heightEnd);
        point.hasHeight = height.length > 0;
        point.height = point.hasHeight ? height.value : 0.0;
        point.heightBegin = scan - begin;
        point.heightEnd = heightEnd - begin;
        if (heightEnd < end) codeStart = heightEnd + 1;
    }
    if (kind == PointListKind::DrawingList && codeStart) point.code = QByteArrayView(codeStart, end - codeStart);
    return point;
}
