#include "convert/RecordParser.h"

#include "base/ConversionSettings.h"
#include "base/Numbers.h"
#include "base/TextLines.h"
#include "base/Texts.h"
#include "convert/Units.h"

#include <QHash>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <new>
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

constexpr double kGonPerRadian = 200.0 / 3.14159265358979323846;

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

// A unit in force: the standard one (metres, gon), the other one the program
// converts (feet, degrees), or one it does not know, named as the data write it.
struct Unit {
    enum Kind : quint8 { Standard, Converted, Unknown };
    Kind kind = Standard;
    QByteArray name;  // Unknown only
};

// The unit an NTS-350 letter names: "m", "f" of a length; "g", "d" of an angle
// ("m" there is a unit the program does not know).
Unit LengthLetter350(char letter) { return {letter == 'f' ? Unit::Converted : Unit::Standard, {}}; }
Unit AngleLetter350(char letter) {
    if (letter == 'g') return {};
    if (letter == 'd') return {Unit::Converted, {}};
    return {Unit::Unknown, QByteArray(1, letter)};
}

// An NTS-350 angle of a field, in gon: 1/10000 gon, or whole DDDMMSS.
std::optional<double> Angle350(const Field& field, const Unit& unit) {
    if (unit.kind == Unit::Converted) return GonFromPackedDegrees(field.View());
    return field.Number() * kGonPerTenThousandth;
}

// The same for a value read before its unit was known: an integer as the field
// held it.
std::optional<double> Angle350(double value, const Unit& unit) {
    if (unit.kind != Unit::Converted) return value * kGonPerTenThousandth;
    if (!(std::fabs(value) < 1e13) || value != std::trunc(value)) return std::nullopt;
    char digits[24];
    const auto written = std::to_chars(digits, digits + sizeof digits, static_cast<long long>(value));
    return GonFromPackedDegrees(std::string_view(digits, static_cast<std::size_t>(written.ptr - digits)));
}

// Reserves room for count records, and no more than the data could hold records
// of at least shortest bytes: the count of markers or keyword lines is only an
// upper bound, which a file of junk (300 MB of line ends) makes huge. On Linux a
// large list is asked to live in huge pages: filling it otherwise costs one page
// fault per 4 KiB, a good part of a large conversion's time. A reservation the
// system refuses is only a lost speed-up.
void Reserve(SurveyRecordList& records, std::size_t count, qsizetype length, qsizetype shortest) {
    count = std::min(count, static_cast<std::size_t>(length / shortest) + 1);
    try {
        records.reserve(count);
    } catch (const std::bad_alloc&) {
        return;
    }
#ifdef __linux__
    constexpr std::uintptr_t kHugePage = std::uintptr_t(2) << 20;
    const auto begin = reinterpret_cast<std::uintptr_t>(records.data());
    const std::uintptr_t end = begin + records.capacity() * sizeof(SurveyRecord);
    const std::uintptr_t alignedBegin = (begin + kHugePage - 1) & ~(kHugePage - 1);
    if (end > alignedBegin + kHugePage)
        madvise(reinterpret_cast<void*>(alignedBegin), (end - alignedBegin) & ~(kHugePage - 1), MADV_HUGEPAGE);
#endif
}

// The shortest records: «_:_» (a code entry) and «STN     A,1» with its line end.
constexpr qsizetype kShortestRecord350 = 3;
constexpr qsizetype kShortestRecord660 = 12;

class Parser {
public:
    Parser(const ParseSettings& settings, std::vector<NamedStretch>* stretches)
        : m_flags(settings.flags),
          m_scaleFactor(settings.scaleFactor),
          m_metresPerFoot(MetresPerFoot(settings.usSurveyFoot)),
          m_stretches(stretches && !stretches->empty() ? stretches : nullptr) {}

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
    bool ReadCodeAndHeight350(const char*& cursor, const char* end, Field& height);
    void AddWithLengthsInForce350(int kind);
    void SettleUnits350();
    void NameRecord(qsizetype begin, qsizetype end);

    bool ReadNameHeightCode660(const char* line, const char* lineEnd, Field& height);
    bool ReadSighting660(const char* line, const char* lineEnd, const Field& height, quint16 mark);
    void ReadUnits660(const char* line, const char* lineEnd);
    bool ReadCoordinates660(const char* line, const char* lineEnd, qint64 lineNumber);
    bool ReadBacksightPoint660(const char* line, const char* lineEnd);
    void ReadScale660(const char* line, const char* lineEnd);
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
    void SwapAnglesIfAsked() {
        if (m_flags & FLAG_SWAP_ANGLES) std::swap(m_record.zenithAngle, m_record.direction);
    }
    void CheckHeight(double height) {
        if (height > 5.0) m_result.tallHeight = true;
    }
    // The record's lengths (height, coordinates) from feet to metres; the slope
    // distance is the caller's.
    void LengthsFromFeet(SurveyRecord& record) const {
        record.height *= m_metresPerFoot;
        record.x *= m_metresPerFoot;
        record.y *= m_metresPerFoot;
        record.z *= m_metresPerFoot;
    }
    // A record left out for a unit the program does not know.
    void CountUnknown(const Unit& unit, bool angle) {
        for (UnknownUnit& known : m_result.unknownUnits) {
            if (known.angle == angle && known.unit == unit.name) {
                ++known.records;
                return;
            }
        }
        m_result.unknownUnits.append({unit.name, angle, 1});
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
    double m_metresPerFoot;
    SurveyRecord m_record;

    // NTS-350: the last unit letters met (0 before the first), the first ones, and
    // the records read before the first letter of their kind, whose values wait
    // for it as the data gave them.
    char m_lengthLetter = 0;
    char m_angleLetter = 0;
    char m_firstLengthLetter = 0;
    char m_firstAngleLetter = 0;
    std::vector<std::size_t> m_lengthsWaiting;
    std::vector<std::size_t> m_anglesWaiting;

    // Named stretches of the text, and the first one a record may still lie in.
    std::vector<NamedStretch>* m_stretches;
    std::size_t m_nextStretch = 0;

    // Keyword text: the units of the last "UNITS" line, the last station read (its
    // index in the list, -1 after a station line that was not read), and what an
    // "XYZ" line on the next line belongs to.
    Unit m_lengthUnit;
    Unit m_angleUnit;
    qsizetype m_lastStation = -1;
    struct CoordinatesOwner {
        bool set = false;
        StationCoordinates::Of of = StationCoordinates::Of::Station;
        RecordText name;
    };
    CoordinatesOwner m_owner;
};

// ---- NTS-350: «_'» station, «_+» sighting or point, «_:» code entry.

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
    Reserve(m_result.records, CountMarkers(text, end), end - text, kShortestRecord350);
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
        const char* const begin = cursor;
        const std::size_t before = m_result.records.size();
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
            if (m_stretches && m_result.records.size() > before) NameRecord(begin - text, covered - text);
        } else {
            ++m_result.abandonedRecords;
            covered = cursor;
        }
    }
    SettleUnits350();
}

void Parser::NameRecord(qsizetype begin, qsizetype end) {
    std::vector<NamedStretch>& stretches = *m_stretches;
    while (m_nextStretch < stretches.size() && stretches[m_nextStretch].end <= begin) ++m_nextStretch;
    const RecordText& name = m_result.records.back().name;
    for (std::size_t i = m_nextStretch; i < stretches.size() && stretches[i].begin < end; ++i) {
        NamedStretch& stretch = stretches[i];
        if (stretch.end <= begin) continue;
        if (stretch.records++ == 0) stretch.first = name;
        stretch.last = name;
    }
}

// A record without a unit letter of its own for its lengths: in the unit of the
// last letter, or waiting for the first one.
void Parser::AddWithLengthsInForce350(int kind) {
    if (m_lengthLetter == 0) {
        m_lengthsWaiting.push_back(m_result.records.size());
    } else if (m_lengthLetter == 'f') {
        LengthsFromFeet(m_record);
        ++m_result.feetRecords;
    }
    if (m_lengthLetter != 0) CheckHeight(m_record.height);
    Add(kind);
}

// The records that came before the first unit letter of their kind take that
// letter's unit (metres and gon when none came). An angles-only sighting whose
// unit the program does not know, or whose digits are no angle in it, is left
// out at last.
void Parser::SettleUnits350() {
    SurveyRecordList& records = m_result.records;
    for (const std::size_t index : m_lengthsWaiting) {
        SurveyRecord& record = records[index];
        if (m_firstLengthLetter == 'f') {
            LengthsFromFeet(record);
            ++m_result.feetRecords;
        }
        CheckHeight(record.height);
    }
    if (m_anglesWaiting.empty()) return;
    const Unit unit = AngleLetter350(m_firstAngleLetter == 0 ? 'g' : m_firstAngleLetter);
    std::vector<bool> leftOut;
    for (const std::size_t index : m_anglesWaiting) {
        SurveyRecord& record = records[index];
        const std::optional<double> zenith = Angle350(record.zenithAngle, unit);
        const std::optional<double> direction = Angle350(record.direction, unit);
        if (unit.kind != Unit::Unknown && zenith && direction) {
            record.zenithAngle = *zenith;
            record.direction = *direction;
            if (unit.kind == Unit::Converted) ++m_result.degreeRecords;
            continue;
        }
        if (leftOut.empty()) leftOut.resize(records.size());
        leftOut[index] = true;
        --m_result.stationAndSightingCount;
        if (unit.kind == Unit::Unknown)
            CountUnknown(unit, true);
        else
            ++m_result.abandonedRecords;
    }
    if (leftOut.empty()) return;
    std::size_t kept = 0;
    for (std::size_t i = 0; i < records.size(); ++i) {
        if (!leftOut[i]) records[kept++] = std::move(records[i]);
    }
    records.erase(records.begin() + static_cast<std::ptrdiff_t>(kept), records.end());
}

bool Parser::ReadStation350(const char*& cursor, const char* end) {
    Reset();
    Field field;
    if (!Extract(cursor, end, field, nullptr, "_", false)) return false;
    m_record.name = field.Bytes();
    if (!Extract(cursor, end, field, "(", "_", false)) return false;
    m_record.codeText = Code(field);
    if (!ReadNumber(cursor, end, m_record.height, 1.0, ")", "_")) return false;
    AddWithLengthsInForce350(Station);
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
// target's code and height. The distance's letter is the unit of the record's
// lengths, the direction's that of both its angles.
bool Parser::ReadSlopeSighting350(const char*& cursor, const char* end) {
    Field distance;
    if (!Extract(cursor, end, distance, "+", "mf", false)) return false;
    const char lengthLetter = *cursor;
    ++cursor;  // the unit letter
    Field zenith;
    Field direction;
    Field height;
    if (!Extract(cursor, end, zenith, nullptr, "+", false) || !Extract(cursor, end, direction, "+", "gdm", false))
        return false;
    const char angleLetter = *cursor;
    Field field;
    if (!Extract(cursor, end, field, "+", "t*", false) || !ReadCodeAndHeight350(cursor, end, height)) return false;

    m_lengthLetter = lengthLetter;
    m_angleLetter = angleLetter;
    if (!m_firstLengthLetter) m_firstLengthLetter = lengthLetter;
    if (!m_firstAngleLetter) m_firstAngleLetter = angleLetter;
    const Unit angleUnit = AngleLetter350(angleLetter);
    if (angleUnit.kind == Unit::Unknown) {
        CountUnknown(angleUnit, true);
        return true;
    }
    const std::optional<double> zenithGon = Angle350(zenith, angleUnit);
    const std::optional<double> directionGon = Angle350(direction, angleUnit);
    if (!zenithGon || !directionGon) return false;
    m_record.zenithAngle = *zenithGon;
    m_record.direction = *directionGon;
    SwapAnglesIfAsked();
    m_record.slopeDistance = distance.Number() * m_scaleFactor * kMetresPerMillimetre;
    m_record.height = height.Number();
    if (LengthLetter350(lengthLetter).kind == Unit::Converted) {
        m_record.slopeDistance *= m_metresPerFoot;
        LengthsFromFeet(m_record);
        ++m_result.feetRecords;
    }
    if (angleUnit.kind == Unit::Converted) ++m_result.degreeRecords;
    CheckHeight(m_record.height);
    Add(Measurement);
    return true;
}

// Zenith angle and direction without a letter: in the unit of the last
// direction's letter, or waiting for the first one as the fields gave them.
bool Parser::ReadAnglesSighting350(const char*& cursor, const char* end) {
    Field zenith;
    Field direction;
    Field height;
    if (!Extract(cursor, end, zenith, "<", "+", false) || !Extract(cursor, end, direction, "+", "+", false) ||
        !ReadCodeAndHeight350(cursor, end, height))
        return false;
    m_record.height = height.Number();
    if (m_angleLetter == 0) {
        m_record.zenithAngle = zenith.Number();
        m_record.direction = direction.Number();
        m_anglesWaiting.push_back(m_result.records.size());
    } else {
        const Unit unit = AngleLetter350(m_angleLetter);
        if (unit.kind == Unit::Unknown) {
            CountUnknown(unit, true);
            return true;
        }
        const std::optional<double> zenithGon = Angle350(zenith, unit);
        const std::optional<double> directionGon = Angle350(direction, unit);
        if (!zenithGon || !directionGon) return false;
        m_record.zenithAngle = *zenithGon;
        m_record.direction = *directionGon;
        if (unit.kind == Unit::Converted) ++m_result.degreeRecords;
    }
    SwapAnglesIfAsked();
    AddWithLengthsInForce350(Angles);
    return true;
}

// «U+XXXXXXXXXX-YYYYYYYYY+ZZZZZZZZm_*CODE_», millimetres (or thousandths of a
// foot, "f"): each number carries its own sign, so terminators are looked for
// from its second character.
bool Parser::ReadPackedPoint350(const char*& cursor, const char* end) {
    if (!ReadNumber(cursor, end, m_record.x, kMetresPerMillimetre, "U", "+-", true) ||
        !ReadNumber(cursor, end, m_record.y, kMetresPerMillimetre, nullptr, "+-", true) ||
        !ReadNumber(cursor, end, m_record.z, kMetresPerMillimetre, nullptr, "mf", true))
        return false;
    const char lengthLetter = *cursor;
    Field field;
    if (!Extract(cursor, end, field, "_*", "_", false)) return false;
    qsizetype skip = 0;
    while (skip < field.size && field.begin[skip] == ' ') ++skip;
    m_record.codeText = Code(field.begin + skip, field.size - skip);
    m_lengthLetter = lengthLetter;
    if (!m_firstLengthLetter) m_firstLengthLetter = lengthLetter;
    if (lengthLetter == 'f') {
        LengthsFromFeet(m_record);
        ++m_result.feetRecords;
    }
    Add(Coordinates);
    return true;
}

// «x+XXXXXXXXX_ y+YYYYYYYYY_ z+ZZZZZZZZZ_», millimetres.
bool Parser::ReadPoint350(const char*& cursor, const char* end) {
    if (!ReadNumber(cursor, end, m_record.x, kMetresPerMillimetre, "x", "_") ||
        !ReadNumber(cursor, end, m_record.y, kMetresPerMillimetre, "y", "_") ||
        !ReadNumber(cursor, end, m_record.z, kMetresPerMillimetre, "z", "_"))
        return false;
    AddWithLengthsInForce350(Coordinates);
    return true;
}

// The end of both sightings: «_*CODE_» and «,HEIGHT_».
bool Parser::ReadCodeAndHeight350(const char*& cursor, const char* end, Field& height) {
    Field field;
    if (!Extract(cursor, end, field, "_*", "_", false)) return false;
    m_record.codeText = Code(field);
    return Extract(cursor, end, height, ",", "_", false);
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
// "NOTE"...): capitals at the line's start and a blank (or the line's end) before
// the data column. Empty for any other line.
QByteArrayView Keyword660(const char* line, const char* lineEnd) {
    const char* at = line;
    while (at < lineEnd && at - line < kDataColumn && *at >= 'A' && *at <= 'Z') ++at;
    const bool ends = at == lineEnd || (at - line < kDataColumn && *at == ' ');
    return ends ? QByteArrayView(line, at - line) : QByteArrayView();
}

// The next field of a keyword line: up to the next "," or the line's end, at most
// 49 bytes and without a NUL. The cursor then stands on the "," or the line's end.
bool LineField(const char*& cursor, const char* lineEnd, Field& field) {
    const char* at = cursor;
    while (at < lineEnd && *at != ',') {
        if (*at == '\0') return false;
        ++at;
    }
    if (at - cursor > kFieldReach) return false;
    field.begin = cursor;
    field.size = at - cursor;
    cursor = at;
    return true;
}

// Steps over the "," that ends a field; false at the line's end.
bool Comma(const char*& cursor, const char* lineEnd) {
    if (cursor >= lineEnd || *cursor != ',') return false;
    ++cursor;
    return true;
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

// The data of a line from its data column; empty for a line shorter than that.
bool DataColumn(const char* line, const char* lineEnd, const char*& cursor) {
    if (lineEnd - line < kDataColumn) return false;
    cursor = line + kDataColumn;
    return true;
}

// At most one record per line that starts as one ("STN", "SS", "BS"): reserving
// for them spares the list its regrowth.
std::size_t CountRecordLines(const char* text, const char* end) {
    const auto startsRecord = [end](const char* at) {
        return end - at >= 2 && ((at[0] == 'S' && (at[1] == 'T' || at[1] == 'S')) || (at[0] == 'B' && at[1] == 'S'));
    };
    std::size_t count = startsRecord(text) ? 1 : 0;
    for (const char* at = text; at < end; ++at) {
        if ((*at == '\r' || *at == '\n') && startsRecord(at + 1)) ++count;
    }
    return count;
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
    Reserve(m_result.records, CountRecordLines(text, end), end - text, kShortestRecord660);
    const char* line = text;
    qint64 lineNumber = 0;  // a file of line ends may hold more lines than an int counts
    while (line < end) {
        ++lineNumber;
        const char* lineEnd = LineEnd(line, end);
        const char* next = NextLine(lineEnd, end);
        // An "XYZ" line belongs to the "STN" or "BKB" line right before it.
        const CoordinatesOwner owner = std::exchange(m_owner, CoordinatesOwner());
        if (line == lineEnd) {  // a blank line; a file may hold little else
            line = next;
            continue;
        }
        const bool backsight = StartsWith(line, lineEnd, "BS");
        Field height;
        if (StartsWith(line, lineEnd, "UNITS")) {
            ReadUnits660(line, lineEnd);
        } else if (StartsWith(line, lineEnd, "STN")) {
            m_lastStation = -1;
            if (!ReadNameHeightCode660(line, lineEnd, height)) {
                ++m_result.abandonedRecords;
            } else if (m_lengthUnit.kind == Unit::Unknown) {
                CountUnknown(m_lengthUnit, false);
            } else {
                m_record.height = height.Number();
                if (m_lengthUnit.kind == Unit::Converted) {
                    LengthsFromFeet(m_record);
                    ++m_result.feetRecords;
                }
                CheckHeight(m_record.height);
                m_lastStation = static_cast<qsizetype>(m_result.records.size());
                m_owner = {true, StationCoordinates::Of::Station, m_record.name};
                Add(Station);
            }
        } else if (backsight || StartsWith(line, lineEnd, "SS")) {
            // A target ("SS") or the station's backsight ("BS"), the same fields.
            if (!ReadNameHeightCode660(line, lineEnd, height)) {
                ++m_result.abandonedRecords;
            } else {
                // The line of its measurement must follow; whatever follows is consumed.
                if (next >= end) {
                    ++m_result.abandonedRecords;
                    break;
                }
                const char* measurementEnd = LineEnd(next, end);
                if (!ReadSighting660(next, measurementEnd, height, backsight ? Backsight : 0))
                    ++m_result.abandonedRecords;
                next = NextLine(measurementEnd, end);
                ++lineNumber;
            }
        } else if (StartsWith(line, lineEnd, "HV") || StartsWith(line, lineEnd, "SD") ||
                   StartsWith(line, lineEnd, "HD")) {
            ++m_result.abandonedRecords;  // a measurement line without its target line
        } else if (owner.set && StartsWith(line, lineEnd, "XYZ") && ReadCoordinates660(line, lineEnd, lineNumber)) {
            if (m_lengthUnit.kind == Unit::Unknown) {
                CountUnknown(m_lengthUnit, false);
            } else {
                StationCoordinates& read = m_result.coordinates.back();
                read.stationRecord = m_lastStation;
                read.of = owner.of;
                read.name = owner.name;
            }
        } else if (m_lastStation >= 0 && StartsWith(line, lineEnd, "BKB") && ReadBacksightPoint660(line, lineEnd)) {
        } else if (StartsWith(line, lineEnd, "SCALE")) {
            ReadScale660(line, lineEnd);
        } else if (const QByteArrayView keyword = Keyword660(line, lineEnd); !keyword.isEmpty()) {
            CountUnconverted(keyword);
        } else {
            for (const char* at = line; at < lineEnd; ++at) m_result.skippedBytes += *at != ' ';
        }
        line = next;
    }
}

// "UNITS   M,G": the unit of lengths (M metres, F feet), then of angles (G gon,
// D degrees) for the lines after it. An empty field keeps the unit in force;
// any other letter names a unit the program does not know.
void Parser::ReadUnits660(const char* line, const char* lineEnd) {
    const char* cursor = nullptr;
    if (!DataColumn(line, lineEnd, cursor)) return;
    const auto unitOf = [](const Field& field, char standard, char converted, Unit& unit) {
        QByteArray name = field.Bytes().toByteArray().trimmed();
        if (name.isEmpty()) return;
        if (name.size() == 1 && name[0] == standard)
            unit = Unit();
        else if (name.size() == 1 && name[0] == converted)
            unit = Unit{Unit::Converted, {}};
        else
            unit = Unit{Unit::Unknown, std::move(name)};
    };
    Field field;
    if (!LineField(cursor, lineEnd, field)) return;
    unitOf(field, 'M', 'F', m_lengthUnit);
    if (Comma(cursor, lineEnd) && LineField(cursor, lineEnd, field)) unitOf(field, 'G', 'D', m_angleUnit);
}

void Parser::ReadOptionalCode(const char* cursor, const char* lineEnd) {
    Field field;
    if (RestOfLine(cursor, lineEnd, field)) m_record.codeText = Code(field);
}

// "STN", "SS" and "BS" lines: name, height, optional code, the height's field
// kept for its unit. The height is the line's last field when no code follows
// it, with a comma or without one. A line shorter than the data column has only
// empty fields.
bool Parser::ReadNameHeightCode660(const char* line, const char* lineEnd, Field& height) {
    Reset();
    const char* cursor = nullptr;
    Field field;
    if (!DataColumn(line, lineEnd, cursor) || !LineField(cursor, lineEnd, field) || !Comma(cursor, lineEnd) ||
        !LineField(cursor, lineEnd, height))
        return false;
    m_record.name = field.Bytes();
    ReadOptionalCode(cursor, lineEnd);
    return true;
}

// The line after a target's: "HV" direction and zenith angle, "SD" direction,
// zenith angle and slope distance, or "HD" direction, horizontal distance and
// height difference. The height difference is the target's (the prism's) above
// the instrument's axis, so that the slope distance and zenith angle the same
// measurement had are the hypotenuse and the angle from the vertical; an "HD"
// line's angles are not swapped, having no zenith angle to swap.
bool Parser::ReadSighting660(const char* line, const char* lineEnd, const Field& height, quint16 mark) {
    const bool angles = StartsWith(line, lineEnd, "HV");
    const bool slope = StartsWith(line, lineEnd, "SD");
    const bool horizontal = StartsWith(line, lineEnd, "HD");
    const char* cursor = nullptr;
    Field direction;
    Field second;
    Field third;
    if (!(angles || slope || horizontal) || !DataColumn(line, lineEnd, cursor) ||
        !LineField(cursor, lineEnd, direction))
        return false;
    if (angles) {
        if (!RestOfLine(cursor, lineEnd, second)) return false;
    } else if (!Comma(cursor, lineEnd) || !LineField(cursor, lineEnd, second) || !RestOfLine(cursor, lineEnd, third)) {
        return false;
    }
    if (m_angleUnit.kind == Unit::Unknown || m_lengthUnit.kind == Unit::Unknown) {
        if (m_angleUnit.kind == Unit::Unknown) CountUnknown(m_angleUnit, true);
        if (m_lengthUnit.kind == Unit::Unknown) CountUnknown(m_lengthUnit, false);
        return true;
    }
    const bool degrees = m_angleUnit.kind == Unit::Converted;
    const bool feet = m_lengthUnit.kind == Unit::Converted;
    const auto angle = [degrees](const Field& field) -> std::optional<double> {
        return degrees ? GonFromDottedDegrees(field.View()) : std::optional<double>(field.Number());
    };
    const auto length = [feet, this](const Field& field) {
        return feet ? field.Number() * m_metresPerFoot : field.Number();
    };
    const std::optional<double> directionGon = angle(direction);
    if (!directionGon) return false;
    m_record.direction = *directionGon;
    m_record.height = length(height);
    int kind = Measurement;
    if (horizontal) {
        const double across = length(second);
        const double up = length(third);
        m_record.slopeDistance = std::hypot(across, up) * m_scaleFactor;
        m_record.zenithAngle = std::atan2(across, up) * kGonPerRadian;
    } else {
        const std::optional<double> zenithGon = angle(second);
        if (!zenithGon) return false;
        m_record.zenithAngle = *zenithGon;
        SwapAnglesIfAsked();
        if (angles)
            kind = Angles;
        else
            m_record.slopeDistance =
                feet ? third.Number() * m_metresPerFoot * m_scaleFactor : third.Number() * m_scaleFactor;
    }
    if (feet) ++m_result.feetRecords;
    if (degrees) ++m_result.degreeRecords;
    CheckHeight(m_record.height);
    Add(kind | mark);
    return true;
}

// "XYZ     X,Y,Z", in the unit of lengths in force; appended to the coordinates
// (the caller says whose they are).
bool Parser::ReadCoordinates660(const char* line, const char* lineEnd, qint64 lineNumber) {
    const char* cursor = nullptr;
    Field x;
    Field y;
    Field z;
    if (!DataColumn(line, lineEnd, cursor) || !LineField(cursor, lineEnd, x) || !Comma(cursor, lineEnd) ||
        !LineField(cursor, lineEnd, y) || !RestOfLine(cursor, lineEnd, z))
        return false;
    if (m_lengthUnit.kind == Unit::Unknown) return true;
    const double unit = m_lengthUnit.kind == Unit::Converted ? m_metresPerFoot : 1.0;
    StationCoordinates read;
    read.x = x.Number() * unit;
    read.y = y.Number() * unit;
    read.z = z.Number() * unit;
    read.line = static_cast<int>(std::min<qint64>(lineNumber, std::numeric_limits<int>::max()));
    m_result.coordinates.push_back(std::move(read));
    return true;
}

// "BKB     NAME,BEARING": the station's backsight point, whose coordinates an
// "XYZ" line may give next. The bearing is the one the instrument worked out
// from the two coordinate lines, and tells nothing they do not.
bool Parser::ReadBacksightPoint660(const char* line, const char* lineEnd) {
    const char* cursor = nullptr;
    Field name;
    if (!DataColumn(line, lineEnd, cursor) || !LineField(cursor, lineEnd, name)) return false;
    m_owner = {true, StationCoordinates::Of::Backsight, RecordText(name.Bytes())};
    return true;
}

// "SCALE   FACTOR,...": the instrument's own scale factor.
void Parser::ReadScale660(const char* line, const char* lineEnd) {
    const char* cursor = nullptr;
    Field field;
    if (!DataColumn(line, lineEnd, cursor) || !LineField(cursor, lineEnd, field)) return;
    const Numbers::ParsedDouble scale = Numbers::ParseDouble(field.View());
    if (scale.length > 0 && scale.value != 1.0 && m_result.instrumentScale == 1.0)
        m_result.instrumentScale = scale.value;
}

}  // namespace

bool ExtractField(const char*& cursor, const char* end, QByteArray& out, const char* prefix, const char* terminators,
                  bool skipFirst) {
    Field field;
    if (!Extract(cursor, end, field, prefix, terminators, skipFirst)) return false;
    out = field.Bytes().toByteArray();
    return true;
}

ParsedRecords ParseRecords(const char* buffer, qsizetype length, const ParseSettings& settings,
                           std::vector<NamedStretch>* stretches) {
    Parser parser(settings, stretches);
    if (!buffer || length <= 0) return {};
    if (settings.deviceType == DeviceType::Nts350)
        parser.ParseNts350(buffer, buffer + length);
    else if (settings.deviceType == DeviceType::Nts660)
        parser.ParseNts660(buffer, buffer + length);
    return std::move(parser.m_result);
}

void TellParseWarnings(const ParsedRecords& parsed, quint16 flags, bool usSurveyFoot, Prompter& prompter) {
    if (flags & FLAG_WARN_UNITS) {
        if (parsed.feetRecords > 0)
            prompter.Tell(TextFilled(Texts::kWarnFeet, {Text(usSurveyFoot ? Texts::kUsSurveyFoot : Texts::kFoot)}),
                          MessageIcon::Exclamation, Topic::DataWarning);
        if (parsed.degreeRecords > 0)
            prompter.Tell(Text(Texts::kWarnAngles), MessageIcon::Exclamation, Topic::DataWarning);
    }
    if ((flags & FLAG_WARN_HEIGHTS) && parsed.tallHeight)
        prompter.Tell(Text(Texts::kWarnHeight), MessageIcon::Exclamation, Topic::DataWarning);
}

ParsedRecords ParseRecords(const char* buffer, qsizetype length, DeviceType deviceType, quint16 flags,
                           double scaleFactor, Prompter& prompter) {
    ParseSettings settings;
    settings.deviceType = deviceType;
    settings.flags = flags;
    settings.scaleFactor = scaleFactor;
    ParsedRecords parsed = ParseRecords(buffer, length, settings);
    TellParseWarnings(parsed, flags, settings.usSurveyFoot, prompter);
    return parsed;
}
