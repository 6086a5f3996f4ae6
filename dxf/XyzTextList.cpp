#include "dxf/XyzTextList.h"

#include "base/InputFile.h"
#include "base/PointLine.h"

#include <cstring>
#include <new>
#include <optional>

namespace {

// A line is read in pieces of at most this many characters; a longer line yields
// several pieces, each taken as a line of its own.
constexpr std::size_t kPieceLength = 511;
// Bytes of a typical point line: name, Y and X in the national grid, height, code.
constexpr std::size_t kTypicalLine = 40;

// The file as a text-mode stream, handed out in pieces the way a line read into a
// 512-byte buffer ends: a line ends at CR LF (read as one LF), a lone LF or a lone
// CR, as in the upload list; a CR never stays inside a name or a code.
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
            if (c == '\r' && Peek() == '\n') c = Get();
            piece[length++] = static_cast<char>(c);
            if (c == '\n' || c == '\r') break;
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

// One piece of a line (its comma searches write points into it). The piece ends
// at its first NUL, as a C string would; its line end is no part of the point.
bool ParseXyzLine(char* line, std::size_t length, SurveyRecord& record) {
    char* end = line + ::strnlen(line, length);
    const std::optional<PointLine> point = ReadPointLine(line, end, PointListKind::DrawingList);
    if (!point) return false;
    record.name = point->name;
    record.y = point->first;
    record.x = point->second;
    record.kind = Coordinates;
    if (point->hasHeight)
        record.z = point->height;
    else
        record.kind |= NoHeight;
    if (!point->code.isEmpty()) {
        // The code text closes up over its line end.
        char* const code = line + (point->code.data() - line);
        char* out = code;
        for (const char* c = code; c < end; ++c) {
            if (*c != '\r' && *c != '\n') *out++ = *c;
        }
        record.codeText = QByteArrayView(code, out - code);
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
