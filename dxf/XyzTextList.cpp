#include "dxf/XyzTextList.h"

#include "base/Cp1250.h"
#include "base/InputFile.h"
#include "base/Numbers.h"
#include "base/PointLine.h"
#include "base/Texts.h"

#include <cstring>
#include <new>
#include <optional>

namespace {

// A line is read in pieces of at most this many characters; a longer line yields
// several pieces, each taken as a line of its own.
constexpr std::size_t kPieceLength = 511;
// Bytes of a typical point line: name, Y and X in the national grid, height, code.
constexpr std::size_t kTypicalLine = 40;

// The list as a text-mode stream, handed out in pieces the way a line read into a
// 512-byte buffer ends: a line ends at CR LF (read as one LF), a lone LF or a lone
// CR, as in the upload list; a CR never stays inside a name or a code.
class TextPieceReader {
public:
    explicit TextPieceReader(QByteArrayView text) : m_text(text) {}

    // Fills piece (room for kPieceLength characters) and returns its length; 0 at
    // the end of the text.
    std::size_t Next(char* piece) {
        if (m_lineEnded) ++m_line;
        m_pieceBegin = m_position;
        std::size_t length = 0;
        while (length < kPieceLength && m_position < m_text.size()) {
            char c = m_text[m_position++];
            if (c == '\r' && m_position < m_text.size() && m_text[m_position] == '\n') c = m_text[m_position++];
            piece[length++] = c;
            if (c == '\n' || c == '\r') break;
        }
        m_lineEnded = length > 0 && (piece[length - 1] == '\n' || piece[length - 1] == '\r');
        return length;
    }

    // Where the last piece began in the text, and its line (from 1).
    qsizetype PieceBegin() const { return m_pieceBegin; }
    qint64 Line() const { return m_line; }

private:
    QByteArrayView m_text;
    qsizetype m_position = 0;
    qsizetype m_pieceBegin = 0;
    qint64 m_line = 1;
    bool m_lineEnded = false;
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

// Names and codes with characters Windows-1250 lacks, told once the list is read:
// the drawing has a "?" for each.
class ForeignNames {
public:
    void Add(const SurveyRecord& point, qint64 line, const QList<QByteArray>& codes) {
        if (m_count++ >= kShown) return;
        const QByteArray name = point.name.ToByteArray();
        m_lines.append(TextFilled(Texts::kDrawingForeignPoint,
                                  {name.isEmpty() ? Text(Texts::kUnnamedPoint) : name, Numbers::FormatInteger(line),
                                   TextFilled(codes.size() == 1 ? Texts::kForeignCharacter : Texts::kForeignCharacters,
                                              {codes.join(", ")})}));
    }
    void Tell(Prompter& prompter) const {
        if (m_count == 0) return;
        QByteArray text = Text(Texts::kDrawingForeignHeading);
        for (const QByteArray& line : m_lines) text += '\n' + line;
        if (m_count > kShown)
            text += '\n' + TextFilled(Texts::kDrawingForeignMore, {Counted(m_count, Texts::kPointsNoun)});
        prompter.Tell(text, MessageIcon::Exclamation, Topic::DataWarning);
    }

private:
    static constexpr qint64 kShown = 10;
    QList<QByteArray> m_lines;
    qint64 m_count = 0;
};

}  // namespace

int ReadXyzTextList(const QString& path, SurveyRecordList& list, Prompter& prompter) {
    // Read whole: whether the list is UTF-8 is known only at its end.
    Cp1250::ListText text;
    {
        QByteArray bytes;
        if (const FileError error = ReadWholeFile(path, bytes)) {
            prompter.ReportFileError(error);
            return 0;
        }
        try {
            text = Cp1250::FromListFile(bytes);
        } catch (const std::bad_alloc&) {
            prompter.ReportFileError(FileError{FileErrorKind::TooLarge, path, 0});
            return 0;
        }
    }

    // Room for the points of a list of ordinary lines, so that a long list is not
    // copied over and over while it grows; a list of other lines just grows.
    try {
        list.reserve(list.size() + static_cast<std::size_t>(text.bytes.size()) / kTypicalLine);
    } catch (const std::bad_alloc&) {
    }

    TextPieceReader reader(text.bytes);
    ForeignNames foreign;
    char piece[kPieceLength + 1];
    while (const std::size_t length = reader.Next(piece)) {
        SurveyRecord record;
        if (!ParseXyzLine(piece, length, record)) continue;
        if (!text.foreign.isEmpty()) {
            const qsizetype begin = reader.PieceBegin();
            const QList<QByteArray> codes = Cp1250::ForeignCodes(text, begin, begin + qsizetype(length));
            if (!codes.isEmpty()) foreign.Add(record, reader.Line(), codes);
        }
        list.push_back(std::move(record));
    }
    foreign.Tell(prompter);
    return static_cast<int>(list.size());
}
