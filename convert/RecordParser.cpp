#include "convert/RecordParser.h"

#include "base/ConversionSettings.h"
#include "base/Numbers.h"
#include "base/TextLines.h"
#include "base/Texts.h"

#include <QHash>

#include <cstdint>
#include <cstring>
#ifdef __linux__
#include <sys/mman.h>
#endif
#include <string_view>

namespace {

constexpr qsizetype kPrefixReach = 30;  // last offset at which a prefix may start
constexpr qsizetype kFieldReach = 49;   // last offset at which a terminator may stand

// The NTS-350 record stream's units.
constexpr double kMetresPerMillimetre = 0.001;
constexpr double kGonPerTenThousandth = 0.0001;

// Where a field lies in the text.
struct Field {
    const char* begin = nullptr;
    qsizetype size = 0;

    std::string_view View() const { return {begin, static_cast<std::size_t>(size)}; }
    QByteArrayView Bytes() const { return QByteArrayView(begin, size); }
    double Number() const { return Numbers::ToDouble(View()); }
};

// The text ends at end or at the first NUL before it.
bool AtEnd(const char* p, const char* end) { return p >= end || *p == '\0'; }

bool IsOneOf(char c, const char* set) {
    for (; *set; ++set) {
        if (*set == c) return true;
    }
    return false;
}

// ExtractField without copying: the field as a span of the text.
bool Extract(const char*& cursor, const char* end, Field& field, const char* prefix, const char* terminators,
             bool skipFirst) {
    const char* const origin = cursor;
    const auto fail = [&cursor, origin, end] {
        cursor = origin < end ? origin + 1 : origin;
        return false;
    };
    const char* start = cursor;
    if (prefix) {
        const std::size_t prefixLength = std::strlen(prefix);
        const char* found = nullptr;
        for (qsizetype offset = 0; offset <= kPrefixReach; ++offset) {
            const char* at = cursor + offset;
            if (AtEnd(at, end)) break;
            std::size_t matched = 0;
            while (matched < prefixLength && !AtEnd(at + matched, end) && at[matched] == prefix[matched]) ++matched;
            if (matched == prefixLength) {
                found = at;
                break;
            }
        }
        if (!found) return fail();
        start = found + prefixLength;
    }
    // skipFirst only keeps a terminator at offset 0 from ending the field; a NUL
    // there still ends the text.
    for (qsizetype offset = 0; offset <= kFieldReach; ++offset) {
        const char* at = start + offset;
        if (AtEnd(at, end)) break;
        if ((offset > 0 || !skipFirst) && IsOneOf(*at, terminators)) {
            field.begin = start;
            field.size = offset;
            cursor = at;
            return true;
        }
    }
    return fail();
}

bool StartsWith(const char* at, const char* end, const char* text) {
    const std::size_t size = std::strlen(text);
    return static_cast<std::size_t>(end - at) >= size && std::memcmp(at, text, size) == 0;
}

class Parser {
public:
    Parser(quint16 flags, double scaleFactor, Prompter& prompter)
        : m_flags(flags), m_scaleFactor(scaleFactor), m_prompter(prompter) {}

    void ParseNts350(const char* text, const char* end);
    void ParseNts660(const char* text, const char* end);

    ParsedRecords m_result;

private:
    bool ReadStation350(const char*& cursor, const char* end);
    bool ReadSightingOrPoint350(const char*& cursor, const char* end);
    bool ReadSlopeSighting350(const char*& cursor, const char* end);
    bool ReadAnglesSighting350(const char*& cursor, const char* end);
    bool ReadPackedPoint350(const char*& cursor, const char* end);
    bool ReadPoint350(const char*& cursor, const char* end);
    bool ReadCodeEntry350(const char*& cursor, const char* end);
    bool ReadCodeAndHeight350(const char*& cursor, const char* end);
    bool ReadNameHeightCode660(const char* line, const char* lineEnd);
    bool ReadAngles660(const char* line, const char* lineEnd, bool withDistance, quint16 mark);
    void CheckUnitsLine660(const char* line, const char* lineEnd);
    void CountUnconverted(QByteArrayView keyword);
    void ReadOptionalCode(const char* cursor, const char* lineEnd);

    void Add(int kind) {
        m_record.kind = static_cast<quint16>(kind);
        if (kind == CodeListEntry)
            ++m_result.codeEntryCount;
        else if (kind != Coordinates)
            ++m_result.stationAndSightingCount;
        m_result.records.push_back(std::move(m_record));
        m_record = SurveyRecord();
    }
    void Reset() {
        m_record.codeText = RecordText();
        m_record.slopeDistance = m_record.zenithAngle = m_record.direction = m_record.height = 0.0;
        m_record.x = m_record.y = m_record.z = 0.0;
        m_record.codeNumber = 0;
        m_record.kind = 0;
    }
    // The next field (see Extract) as a number times unit into value; false when
    // there is no such field.
    static bool ReadNumber(const char*& cursor, const char* end, double& value, double unit, const char* prefix,
                           const char* terminators, bool skipFirst = false) {
        Field field;
        if (!Extract(cursor, end, field, prefix, terminators, skipFirst)) return false;
        value = field.Number() * unit;
        return true;
    }
    // An instrument or target height, checked as it is read.
    bool ReadHeight(const char*& cursor, const char* end, const char* prefix, const char* terminators) {
        if (!ReadNumber(cursor, end, m_record.height, 1.0, prefix, terminators)) return false;
        CheckHeight(m_record.height);
        return true;
    }
    void SwapAnglesIfAsked() {
        if (m_flags & FLAG_SWAP_ANGLES) std::swap(m_record.zenithAngle, m_record.direction);
    }
    void WarnUnits(const UserText& text) {
        if (!(m_flags & FLAG_WARN_UNITS) || m_unitsWarned) return;
        m_unitsWarned = true;
        m_prompter.Tell(Text(text), MessageIcon::Exclamation, Topic::DataWarning);
    }
    void CheckHeight(double height) {
        if (!(m_flags & FLAG_WARN_HEIGHTS) || m_heightWarned || !(height > 5.0)) return;
        m_heightWarned = true;
        m_prompter.Tell(Text(Texts::kWarnHeight), MessageIcon::Exclamation, Topic::DataWarning);
    }

    // Codes repeat from record to record; a code too long to live inside its
    // record shares one copy of its bytes with its equals, which keeps a large
    // transfer's list small.
    RecordText Code(const char* begin, qsizetype size) {
        const QByteArrayView code(begin, size);
        if (size <= RecordText::kInlineCapacity) return RecordText(code);
        const auto found = m_longCodes.constFind(QByteArray::fromRawData(begin, size));
        if (found != m_longCodes.cend()) return found.value();
        RecordText text(code);
        if (m_longCodes.size() < kSharedCodes) m_longCodes.insert(code.toByteArray(), text);
        return text;
    }
    RecordText Code(const Field& field) { return Code(field.begin, field.size); }

    static constexpr qsizetype kSharedCodes = 1024;
    QHash<QByteArray, RecordText> m_longCodes;
    quint16 m_flags;
    double m_scaleFactor;
    Prompter& m_prompter;
    SurveyRecord m_record;
    bool m_unitsLineSeen = false;
    bool m_unitsWarned = false;
    bool m_heightWarned = false;
};

// ---- NTS-350: «_'» station, «_+» sighting or point, «_:» code entry.

// Reserves room for count records. On Linux a large list is asked to live in
// huge pages: filling it otherwise costs one page fault per 4 KiB, a good part
// of a large conversion's time.
void Reserve(SurveyRecordList& records, std::size_t count) {
    records.reserve(count);
#ifdef __linux__
    constexpr std::uintptr_t kHugePage = std::uintptr_t(2) << 20;
    const auto begin = reinterpret_cast<std::uintptr_t>(records.data());
    const std::uintptr_t end = begin + records.capacity() * sizeof(SurveyRecord);
    const std::uintptr_t alignedBegin = (begin + kHugePage - 1) & ~(kHugePage - 1);
    if (end > alignedBegin + kHugePage)
        madvise(reinterpret_cast<void*>(alignedBegin), (end - alignedBegin) & ~(kHugePage - 1), MADV_HUGEPAGE);
#endif
}

// At most one record per marker: reserving for them spares the list its
// regrowth on large transfers.
std::size_t CountMarkers(const char* text, const char* end) {
    std::size_t count = 0;
    for (const char* at = text; at + 1 < end;) {
        const void* found = std::memchr(at, '_', static_cast<std::size_t>(end - at - 1));
        if (!found) break;
        at = static_cast<const char*>(found);
        if (at[1] == '\'' || at[1] == '+' || at[1] == ':') ++count;
        ++at;
    }
    return count;
}

void Parser::ParseNts350(const char* text, const char* end) {
    Reserve(m_result.records, CountMarkers(text, end));
    const char* cursor = text;
    // Bytes before covered belong to a record read or begun; a record's last "_"
    // is its own even where the scan looks at it again for the next marker.
    const char* covered = text;
    const auto skip = [&cursor, &covered, this] {
        if (cursor >= covered && *cursor != ' ') ++m_result.skippedBytes;
        ++cursor;
    };
    // The scan covers the whole buffer; a stray NUL ends only the field it is in.
    while (cursor < end) {
        if (cursor[0] != '_' || cursor + 1 >= end) {
            skip();
            continue;
        }
        const char marker = cursor[1];
        bool read = false;
        if (marker == '\'') {
            cursor += 2;
            read = ReadStation350(cursor, end);
        } else if (marker == '+') {
            cursor += 2;
            read = ReadSightingOrPoint350(cursor, end);
        } else if (marker == ':') {
            cursor += 2;
            read = ReadCodeEntry350(cursor, end);
        } else {
            skip();
            continue;
        }
        if (read) {
            covered = cursor + 1;
        } else {
            ++m_result.abandonedRecords;
            covered = cursor;
        }
    }
}

bool Parser::ReadStation350(const char*& cursor, const char* end) {
    Reset();
    Field field;
    if (!Extract(cursor, end, field, nullptr, "_", false)) return false;
    m_record.name = field.Bytes();
    if (!Extract(cursor, end, field, "(", "_", false)) return false;
    m_record.codeText = Code(field);
    if (!ReadHeight(cursor, end, ")", "_")) return false;
    Add(Station);
    return true;
}

bool Parser::ReadSightingOrPoint350(const char*& cursor, const char* end) {
    Reset();
    Field field;
    if (!Extract(cursor, end, field, nullptr, "_", false)) return false;
    m_record.name = field.Bytes();

    // The five characters from the "_" that ended the name tell the form.
    qsizetype window = 0;
    while (window < 5 && !AtEnd(cursor + window, end)) ++window;
    const std::string_view form(cursor, static_cast<std::size_t>(window));
    const auto has = [&form](char c) { return form.find(c) != std::string_view::npos; };
    if (has('?')) return ReadSlopeSighting350(cursor, end);
    if (has('<')) return ReadAnglesSighting350(cursor, end);
    if (has('U')) return ReadPackedPoint350(cursor, end);
    if (has(' ')) return ReadPoint350(cursor, end);
    return false;
}

// Slope distance in mm, zenith angle and direction in 1/10000 gon, then the
// target's code and height.
bool Parser::ReadSlopeSighting350(const char*& cursor, const char* end) {
    Field field;
    if (!Extract(cursor, end, field, "+", "mf", false)) return false;
    m_record.slopeDistance = field.Number() * m_scaleFactor * kMetresPerMillimetre;
    if (*cursor != 'm') WarnUnits(Texts::kWarnFeet);
    ++cursor;  // the unit letter
    if (!ReadNumber(cursor, end, m_record.zenithAngle, kGonPerTenThousandth, nullptr, "+") ||
        !ReadNumber(cursor, end, m_record.direction, kGonPerTenThousandth, "+", "gdm"))
        return false;
    SwapAnglesIfAsked();
    if (*cursor != 'g') WarnUnits(Texts::kWarnAngles);
    if (!Extract(cursor, end, field, "+", "t*", false) || !ReadCodeAndHeight350(cursor, end)) return false;
    Add(Measurement);
    return true;
}

bool Parser::ReadAnglesSighting350(const char*& cursor, const char* end) {
    if (!ReadNumber(cursor, end, m_record.zenithAngle, kGonPerTenThousandth, "<", "+") ||
        !ReadNumber(cursor, end, m_record.direction, kGonPerTenThousandth, "+", "+") ||
        !ReadCodeAndHeight350(cursor, end))
        return false;
    SwapAnglesIfAsked();
    Add(Angles);
    return true;
}

// «U+XXXXXXXXXX-YYYYYYYYY+ZZZZZZZZm_*CODE_», millimetres: each number carries its
// own sign, so terminators are looked for from its second character.
bool Parser::ReadPackedPoint350(const char*& cursor, const char* end) {
    if (!ReadNumber(cursor, end, m_record.x, kMetresPerMillimetre, "U", "+-", true) ||
        !ReadNumber(cursor, end, m_record.y, kMetresPerMillimetre, nullptr, "+-", true) ||
        !ReadNumber(cursor, end, m_record.z, kMetresPerMillimetre, nullptr, "mf", true))
        return false;
    if (*cursor != 'm') WarnUnits(Texts::kWarnFeet);
    Field field;
    if (!Extract(cursor, end, field, "_*", "_", false)) return false;
    qsizetype skip = 0;
    while (skip < field.size && field.begin[skip] == ' ') ++skip;
    m_record.codeText = Code(field.begin + skip, field.size - skip);
    Add(Coordinates);
    return true;
}

// «x+XXXXXXXXX_ y+YYYYYYYYY_ z+ZZZZZZZZZ_», millimetres.
bool Parser::ReadPoint350(const char*& cursor, const char* end) {
    if (!ReadNumber(cursor, end, m_record.x, kMetresPerMillimetre, "x", "_") ||
        !ReadNumber(cursor, end, m_record.y, kMetresPerMillimetre, "y", "_") ||
        !ReadNumber(cursor, end, m_record.z, kMetresPerMillimetre, "z", "_"))
        return false;
    Add(Coordinates);
    return true;
}

// The end of both sightings: «_*CODE_» and «,HEIGHT_», the target height checked.
bool Parser::ReadCodeAndHeight350(const char*& cursor, const char* end) {
    Field field;
    if (!Extract(cursor, end, field, "_*", "_", false)) return false;
    m_record.codeText = Code(field);
    return ReadHeight(cursor, end, ",", "_");
}

bool Parser::ReadCodeEntry350(const char*& cursor, const char* end) {
    Reset();
    Field field;
    if (!Extract(cursor, end, field, nullptr, "_", false)) return false;
    // Three digits of the number, then the description.
    const qsizetype digits = std::min<qsizetype>(3, field.size);
    const Numbers::ParsedInteger number =
        Numbers::ParseInteger(std::string_view(field.begin, static_cast<std::size_t>(digits)), -1000, 1000);
    const quint16 stored = static_cast<quint16>(number.value);
    if (static_cast<qsizetype>(number.length) != digits || stored > kHighestCodeNumber) return false;
    m_record.name = field.Bytes();
    m_record.codeNumber = stored;
    m_record.codeText = Code(field.begin + digits, std::min<qsizetype>(10, field.size - digits));
    Add(CodeListEntry);
    return true;
}

// ---- NTS-660: keyword lines, data from column 8.

constexpr qsizetype kDataColumn = 8;

// The keyword of one of the instrument's own lines that carry no record ("JOB",
// "XYZ"...): capitals at the line's start and a blank (or the line's end) before
// the data column. Empty for any other line.
QByteArrayView Keyword660(const char* line, const char* lineEnd) {
    const char* at = line;
    while (at < lineEnd && at - line < kDataColumn && *at >= 'A' && *at <= 'Z') ++at;
    const bool ends = at == lineEnd || (at - line < kDataColumn && *at == ' ');
    return ends ? QByteArrayView(line, at - line) : QByteArrayView();
}

void Parser::CountUnconverted(QByteArrayView keyword) {
    for (UnconvertedLines& lines : m_result.unconvertedLines) {
        if (lines.keyword == keyword) {
            ++lines.count;
            return;
        }
    }
    if (m_result.unconvertedLines.size() < ParsedRecords::kKeywordsKept)
        m_result.unconvertedLines.append({keyword.toByteArray(), 1});
    else
        ++m_result.otherUnconvertedLines;
}

void Parser::ParseNts660(const char* text, const char* end) {
    // At most one record per line end: reserving for them spares the list its regrowth.
    std::size_t lineEnds = 0;
    for (const char* at = text; at < end; ++at) lineEnds += *at == '\r' || *at == '\n';
    Reserve(m_result.records, lineEnds + 1);
    const char* line = text;
    while (line < end) {
        const char* lineEnd = LineEnd(line, end);
        const char* next = NextLine(lineEnd, end);
        const bool backsight = StartsWith(line, lineEnd, "BS");
        if (StartsWith(line, lineEnd, "UNITS")) {
            if (!m_unitsLineSeen) CheckUnitsLine660(line, lineEnd);
            m_unitsLineSeen = true;
        } else if (StartsWith(line, lineEnd, "STN")) {
            if (ReadNameHeightCode660(line, lineEnd))
                Add(Station);
            else
                ++m_result.abandonedRecords;
        } else if (backsight || StartsWith(line, lineEnd, "SS")) {
            // A target ("SS") or the station's backsight ("BS"), the same fields.
            if (!ReadNameHeightCode660(line, lineEnd)) {
                ++m_result.abandonedRecords;
            } else {
                // The angles line must follow; whatever follows is consumed.
                if (next >= end) {
                    ++m_result.abandonedRecords;
                    break;
                }
                const char* anglesEnd = LineEnd(next, end);
                const quint16 mark = backsight ? Backsight : 0;
                bool read = false;
                if (StartsWith(next, anglesEnd, "HV"))
                    read = ReadAngles660(next, anglesEnd, false, mark);
                else if (StartsWith(next, anglesEnd, "SD"))
                    read = ReadAngles660(next, anglesEnd, true, mark);
                if (!read) ++m_result.abandonedRecords;
                next = NextLine(anglesEnd, end);
            }
        } else if (StartsWith(line, lineEnd, "HV") || StartsWith(line, lineEnd, "SD")) {
            ++m_result.abandonedRecords;  // an angles line without its target line
        } else if (const QByteArrayView keyword = Keyword660(line, lineEnd); !keyword.isEmpty()) {
            CountUnconverted(keyword);
        } else {
            for (const char* at = line; at < lineEnd; ++at) m_result.skippedBytes += *at != ' ';
        }
        line = next;
    }
}

void Parser::CheckUnitsLine660(const char* line, const char* lineEnd) {
    const auto column = [line, lineEnd](qsizetype index) { return line + index < lineEnd ? line[index] : '\0'; };
    if (column(kDataColumn) != 'M')
        WarnUnits(Texts::kWarnFeet);
    else if (column(kDataColumn + 2) != 'G')
        WarnUnits(Texts::kWarnAngles);
}

// The rest of the line after the "," at cursor, when it is a field: at most 49
// bytes and no NUL before the line's end. The line's end is found past a NUL,
// but a field must not hold one. A code that is missing, overlong or holds a NUL
// leaves the record without one; such a last field of an angles line drops the
// sighting.
bool RestOfLine(const char* cursor, const char* lineEnd, Field& field) {
    if (cursor >= lineEnd || *cursor != ',') return false;
    const char* begin = cursor + 1;
    const qsizetype size = lineEnd - begin;
    if (size > kFieldReach || std::memchr(begin, '\0', static_cast<std::size_t>(size))) return false;
    field.begin = begin;
    field.size = size;
    return true;
}

void Parser::ReadOptionalCode(const char* cursor, const char* lineEnd) {
    Field field;
    if (RestOfLine(cursor, lineEnd, field)) m_record.codeText = Code(field);
}

// "STN", "SS" and "BS" lines: name, height, optional code. The fields of one line
// end at the line's end; a line shorter than the data column has only empty fields.
bool Parser::ReadNameHeightCode660(const char* line, const char* lineEnd) {
    Reset();
    if (lineEnd - line < kDataColumn) return false;
    const char* cursor = line + kDataColumn;
    Field field;
    if (!Extract(cursor, lineEnd, field, nullptr, ",", false)) return false;
    m_record.name = field.Bytes();
    if (!ReadHeight(cursor, lineEnd, ",", ",")) return false;
    ReadOptionalCode(cursor, lineEnd);
    return true;
}

bool Parser::ReadAngles660(const char* line, const char* lineEnd, bool withDistance, quint16 mark) {
    if (lineEnd - line < kDataColumn) return false;
    const char* cursor = line + kDataColumn;
    if (!ReadNumber(cursor, lineEnd, m_record.direction, 1.0, nullptr, ",")) return false;
    Field field;
    if (!withDistance) {
        if (!RestOfLine(cursor, lineEnd, field)) return false;
        m_record.zenithAngle = field.Number();
        SwapAnglesIfAsked();
        Add(Angles | mark);
        return true;
    }
    if (!ReadNumber(cursor, lineEnd, m_record.zenithAngle, 1.0, ",", ",")) return false;
    SwapAnglesIfAsked();
    if (!RestOfLine(cursor, lineEnd, field)) return false;
    m_record.slopeDistance = field.Number() * m_scaleFactor;
    Add(Measurement | mark);
    return true;
}

}  // namespace

bool ExtractField(const char*& cursor, const char* end, QByteArray& out, const char* prefix, const char* terminators,
                  bool skipFirst) {
    Field field;
    if (!Extract(cursor, end, field, prefix, terminators, skipFirst)) return false;
    out = field.Bytes().toByteArray();
    return true;
}

ParsedRecords ParseRecords(const char* buffer, qsizetype length, DeviceType deviceType, quint16 flags,
                           double scaleFactor, Prompter& prompter) {
    Parser parser(flags, scaleFactor, prompter);
    if (!buffer || length <= 0) return {};
    if (deviceType == DeviceType::Nts350)
        parser.ParseNts350(buffer, buffer + length);
    else if (deviceType == DeviceType::Nts660)
        parser.ParseNts660(buffer, buffer + length);
    return std::move(parser.m_result);
}
