#include "dxf/XyzTextList.h"

#include "base/FileIo.h"
#include "base/Numbers.h"

#include <cstring>
#include <new>
#include <string_view>

namespace {

// A line is read in pieces of at most this many characters; a longer line yields
// several pieces, each taken as a line of its own.
constexpr std::size_t kPieceLength = 511;
// Bytes of a typical point line: name, Y and X in the national grid, height, code.
constexpr std::size_t kTypicalLine = 40;

bool IsSeparator(char c) { return c == ' ' || c == ';' || c == '\t'; }
bool IsNumberStart(char c) { return c == '+' || c == '-' || (c >= '0' && c <= '9'); }

// The file as a text-mode stream: a CR LF pair reads as one LF, every other byte
// as it is, handed out in pieces the way a line read into a 512-byte buffer ends.
class TextPieceReader {
public:
    explicit TextPieceReader(InputFile& file) : m_file(file) {}

    // Fills piece (room for kPieceLength characters) and returns its length; 0 at
    // the end of the file or after a read error (see Failed).
    std::size_t Next(char* piece) {
        std::size_t length = 0;
        while (length < kPieceLength) {
            int c = Get();
            if (c < 0) break;
            if (c == '\r') {
                const int next = Peek();
                if (next == '\n') c = Get();
            }
            piece[length++] = static_cast<char>(c);
            if (c == '\n') break;
        }
        // A piece cut short by a read error is not handed out.
        return m_failed ? 0 : length;
    }

    bool Failed() const { return m_failed; }

private:
    int Get() {
        if (m_position == m_size && !Fill()) return -1;
        return static_cast<unsigned char>(m_buffer[m_position++]);
    }
    int Peek() {
        if (m_position == m_size && !Fill()) return -1;
        return static_cast<unsigned char>(m_buffer[m_position]);
    }
    bool Fill() {
        if (m_failed || m_atEnd) return false;
        m_position = 0;
        m_size = m_file.Read(m_buffer, sizeof m_buffer);
        if (m_size == 0) {
            m_failed = static_cast<bool>(m_file.Error());
            m_atEnd = true;
            return false;
        }
        return true;
    }

    InputFile& m_file;
    char m_buffer[65536];
    std::size_t m_position = 0;
    std::size_t m_size = 0;
    bool m_atEnd = false;
    bool m_failed = false;
};

// Turns the first comma between from and end into a decimal point.
void ReplaceFirstComma(char* from, char* end) {
    if (from >= end) return;
    if (char* comma = static_cast<char*>(std::memchr(from, ',', static_cast<std::size_t>(end - from)))) *comma = '.';
}

char* FindSeparator(char* from, char* end) {
    while (from < end && !IsSeparator(*from)) ++from;
    return from;
}

double ToDouble(const char* from, const char* to) {
    return Numbers::ToDouble(std::string_view(from, static_cast<std::size_t>(to - from)));
}

// One piece of a line (modified in place: the comma searches write points, the
// code text closes up over its CR and LF). The piece ends at its first NUL, as a
// C string would.
bool ParseXyzLine(char* line, std::size_t length, SurveyRecord& record) {
    char* const end = line + ::strnlen(line, length);

    // Name: everything before the first separator.
    char* separator = FindSeparator(line, end);
    if (separator == end) return false;
    record.name = QByteArray(line, separator - line);

    // Y: the first number start after the name, up to the next separator.
    char* yText = separator + 1;
    while (yText < end && !IsNumberStart(*yText)) ++yText;
    if (yText >= end) return false;
    char* const yEnd = FindSeparator(yText, end);
    if (yEnd == end) return false;
    ReplaceFirstComma(yText, end);
    record.y = ToDouble(yText, yEnd);

    // X: likewise, up to the next separator or the end of the line.
    char* xText = yEnd + 1;
    while (xText < end && !IsNumberStart(*xText)) ++xText;
    if (xText >= end) return false;
    char* const xEnd = FindSeparator(xText, end);
    ReplaceFirstComma(xText, end);
    record.x = ToDouble(xText, xEnd);

    record.kind = Coordinates;
    bool hasHeight = false;
    char* codeStart = nullptr;  // the character after which the code text begins
    if (xEnd < end) {
        // Height: letters and spaces are passed over; ";" or a tab first means an
        // empty height field.
        char* scan = xEnd + 1;
        while (scan < end && !IsNumberStart(*scan) && *scan != ';' && *scan != '\t') ++scan;
        if (scan < end) {
            if (*scan == ';' || *scan == '\t') {
                codeStart = scan + 1;
            } else {
                char* const zEnd = FindSeparator(scan, end);
                const Numbers::ParsedDouble z =
                    Numbers::ParseDouble(std::string_view(scan, static_cast<std::size_t>(zEnd - scan)));
                if (z.length > 0) {
                    record.z = z.value;
                    hasHeight = true;
                }
                if (zEnd < end) codeStart = zEnd + 1;
            }
        }
    }
    if (!hasHeight) record.kind |= NoHeight;

    if (codeStart) {
        char* out = codeStart;
        for (const char* c = codeStart; c < end; ++c) {
            if (*c != '\r' && *c != '\n') *out++ = *c;
        }
        record.codeText = QByteArrayView(codeStart, out - codeStart);
    }
    return true;
}

}  // namespace

int ReadXyzTextList(const QString& path, SurveyRecordList& list, Prompter& prompter) {
    InputFile file;
    if (const FileError error = file.Open(path)) {
        prompter.ReportFileError(error);
        return 0;
    }

    // Room for the points of a list of ordinary lines, so that a long list is not
    // copied over and over while it grows; a list of other lines just grows.
    try {
        list.reserve(list.size() + static_cast<std::size_t>(file.Size()) / kTypicalLine);
    } catch (const std::bad_alloc&) {
    }

    TextPieceReader reader(file);
    char piece[kPieceLength + 1];
    while (const std::size_t length = reader.Next(piece)) {
        SurveyRecord record;
        if (ParseXyzLine(piece, length, record)) list.push_back(std::move(record));
    }
    if (reader.Failed()) {
        prompter.ReportFileError(file.Error());
        return 0;
    }
    return static_cast<int>(list.size());
}
