#include "base/IniValueText.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsLineEnd(char c) { return c == '\n' || c == '\r'; }
bool IsSpace(char c) { return IsBlank(c) || IsLineEnd(c); }

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// The character of a one-letter escape, or NUL when escaped is not one.
QChar EscapeCode(char escaped) {
    switch (escaped) {
        case 'a':
            return QLatin1Char('\a');
        case 'b':
            return QLatin1Char('\b');
        case 'f':
            return QLatin1Char('\f');
        case 'n':
            return QLatin1Char('\n');
        case 'r':
            return QLatin1Char('\r');
        case 't':
            return QLatin1Char('\t');
        case 'v':
            return QLatin1Char('\v');
        case '"':
        case '?':
        case '\'':
        case '\\':
            return QLatin1Char(escaped);
        default:
            return QChar();
    }
}

// One line of the file as the store's reader cuts it: [begin, end), with the first
// "=" outside quotes at equals (or -1).
struct IniLine {
    qsizetype begin = 0;
    qsizetype end = 0;
    qsizetype equals = -1;
};

// The next line from pos on; false at the end of the file. Blank lines and lines
// starting with ";" are passed over; a ";" later in a line ends it unless quoted; a
// quote carries the line over line ends; a backslash takes the next character, or
// a whole CR LF, with it.
bool NextLine(const QByteArray& data, qsizetype& pos, IniLine& line) {
    const qsizetype size = data.size();
    qsizetype begin = pos;
    while (begin < size && IsSpace(data[begin])) ++begin;
    qsizetype equals = -1;
    bool inQuotes = false;
    qsizetype i = begin;
    while (i < size) {
        const char c = data[i++];
        if (c == '=') {
            if (!inQuotes && equals < 0) equals = i - 1;
        } else if (IsLineEnd(c)) {
            if (!inQuotes) {
                --i;
                break;
            }
        } else if (c == '\\') {
            if (i < size) {
                const char escaped = data[i++];
                if (i < size && IsLineEnd(escaped) && IsLineEnd(data[i]) && data[i] != escaped) ++i;
            }
        } else if (c == '"') {
            inQuotes = !inQuotes;
        } else if (c == ';') {
            if (i == begin + 1) {
                while (i < size && !IsLineEnd(data[i])) ++i;
                while (i < size && IsSpace(data[i])) ++i;
                begin = i;
                equals = -1;
            } else if (!inQuotes) {
                --i;
                break;
            }
        }
    }
    pos = i;
    line = IniLine{begin, i, equals};
    return i > begin;
}

// The value text with its escapes undone. A backslash escape, a closing quote and
// the start protect what precedes them from the cut of trailing blanks.
QString UnescapeValue(QByteArrayView value) {
    QString text;
    const qsizetype size = value.size();
    qsizetype i = 0;
    qsizetype keep = 0;  // trailing blanks are cut down to this length
    bool inQuotes = false;
    bool quoted = false;  // a quote anywhere keeps every trailing blank
    auto skipBlanks = [&] {
        while (i < size && IsBlank(value[i])) ++i;
    };
    skipBlanks();
    while (i < size) {
        const char c = value[i];
        if (c == '\\') {
            if (++i >= size) break;
            const char escaped = value[i++];
            const QChar code = EscapeCode(escaped);
            if (!code.isNull()) {
                text += code;
            } else if (escaped == 'x' && i < size && HexDigit(value[i]) >= 0) {
                char16_t unit = 0;
                for (; i < size && HexDigit(value[i]) >= 0; ++i) unit = char16_t(unit * 16 + HexDigit(value[i]));
                text += QChar(unit);
            } else if (escaped >= '0' && escaped <= '7') {
                char16_t unit = char16_t(escaped - '0');
                for (; i < size && value[i] >= '0' && value[i] <= '7'; ++i)
                    unit = char16_t(unit * 8 + (value[i] - '0'));
                text += QChar(unit);
            } else if (IsLineEnd(escaped)) {
                // A continued line: the line end goes, CR LF or LF CR as one.
                if (i < size && IsLineEnd(value[i]) && value[i] != escaped) ++i;
            }
            // Any other escaped character is dropped with its backslash.
            keep = text.size();
        } else if (c == '"') {
            ++i;
            quoted = true;
            inQuotes = !inQuotes;
            if (!inQuotes) {
                skipBlanks();
                keep = text.size();
            }
        } else {
            qsizetype run = i + 1;
            while (run < size && value[run] != '\\' && value[run] != '"') ++run;
            text += QString::fromUtf8(value.sliced(i, run - i));
            i = run;
        }
    }
    if (!quoted) {
        qsizetype end = text.size();
        while (end > keep && (text[end - 1] == QLatin1Char(' ') || text[end - 1] == QLatin1Char('\t'))) --end;
        text.truncate(end);
    }
    // The store writes a text starting with "@" with one more "@".
    if (text.startsWith(QLatin1String("@@"))) text.remove(0, 1);
    return text;
}

}  // namespace

std::optional<QString> ReadIniValueText(const QByteArray& file, const QString& section, const QString& key) {
    const QByteArray sectionName = section.toUtf8();
    const QByteArray keyName = key.toUtf8();
    std::optional<QString> found;
    bool inSection = false;
    qsizetype pos = file.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    IniLine line;
    while (NextLine(file, pos, line)) {
        const QByteArrayView text = QByteArrayView(file).sliced(line.begin, line.end - line.begin);
        if (text.front() == '[') {
            qsizetype close = text.indexOf(']');
            if (close < 0) close = text.size();
            inSection = text.sliced(1, close - 1).toByteArray().trimmed() == sectionName;
            continue;
        }
        if (!inSection || line.equals < 0) continue;
        qsizetype keyEnd = line.equals - line.begin;
        while (keyEnd > 0 && IsBlank(text[keyEnd - 1])) --keyEnd;
        if (text.first(keyEnd).toByteArray() != keyName) continue;
        found = UnescapeValue(text.sliced(line.equals - line.begin + 1));
    }
    return found;
}
