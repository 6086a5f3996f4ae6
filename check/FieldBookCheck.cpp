#include "check/FieldBookCheck.h"

#include "convert/MapaWriters.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <numbers>
#include <span>
#include <string_view>
#include <tuple>
#ifdef __linux__
#include <sys/mman.h>
#endif

namespace {

constexpr double kRadiansPerGon = std::numbers::pi / 200.0;

// Appends to one of the check's large lists. A list that grows past 2 MiB asks
// for huge pages on Linux, as the parser's record list does: filled otherwise, a
// large job's lists cost a page fault per 4 KiB, a good part of its check.
template <typename T>
void Append(std::vector<T>& items, T item) {
    if (items.size() == items.capacity()) {
        items.reserve(std::max<std::size_t>(256, 2 * items.capacity()));
#ifdef __linux__
        constexpr std::uintptr_t kHugePage = std::uintptr_t(2) << 20;
        const auto begin = reinterpret_cast<std::uintptr_t>(items.data());
        const std::uintptr_t end = begin + items.capacity() * sizeof(T);
        const std::uintptr_t alignedBegin = (begin + kHugePage - 1) & ~(kHugePage - 1);
        if (end > alignedBegin + kHugePage)
            madvise(reinterpret_cast<void*>(alignedBegin), (end - alignedBegin) & ~(kHugePage - 1), MADV_HUGEPAGE);
#endif
    }
    items.push_back(std::move(item));
}

// A value as a comparison keeps it: as a float, one beyond its range infinite.
float Stored(double value) {
    if (value > std::numeric_limits<float>::max()) return std::numeric_limits<float>::infinity();
    if (value < -std::numeric_limits<float>::max()) return -std::numeric_limits<float>::infinity();
    return static_cast<float>(value);
}

// A difference of two directions, gon, taken into (−200, 200].
double DirectionDifference(double gon) {
    double difference = std::abs(gon) < 1000.0 ? gon : std::fmod(gon, 400.0);
    while (difference > 200.0) difference -= 400.0;
    while (difference <= -200.0) difference += 400.0;
    return difference;
}

std::string_view View(const RecordText& text) { return {text.constData(), static_cast<std::size_t>(text.size())}; }

// A name's hash, computed once per sighting: it sorts a station's sightings into
// targets and asks whether a target is a station.
std::uint64_t NameHash(std::string_view name) {
    // Eight bytes at a time, each word mixed in by a multiplication; then the
    // bits are stirred so that names differing in one byte differ everywhere.
    std::uint64_t hash = name.size() * 0x9E3779B97F4A7C15ull;
    for (std::size_t at = 0; at < name.size(); at += 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, name.data() + at, std::min<std::size_t>(8, name.size() - at));
        hash = (hash ^ word) * 0xFF51AFD7ED558CCDull;
        hash ^= hash >> 32;
    }
    hash = (hash ^ (hash >> 33)) * 0xC4CEB9FE1A85EC53ull;
    return hash ^ (hash >> 33);
}

// Whether a name may be one of the job's stations, asked for every sighting with
// distance: two bits per name in a filter small enough to stay in the
// processor's cache. A name that is no station's passes now and then; a line
// needs sightings from both its stations, so such a sighting finds no partner.
class StationFilter {
public:
    explicit StationFilter(std::size_t count) {
        std::size_t bits = 1 << 12;
        while (bits < 16 * count && bits < kMostBits) bits *= 2;
        m_bits.resize(bits / 64);
    }
    void Insert(std::uint64_t hash) {
        for (const std::size_t bit : {Bit(hash >> 20), Bit(hash >> 40)})
            m_bits[bit / 64] |= std::uint64_t(1) << (bit % 64);
    }
    // hash is the name's NameHash.
    bool MayContain(std::uint64_t hash) const { return Marked(Bit(hash >> 20)) && Marked(Bit(hash >> 40)); }

private:
    static constexpr std::size_t kMostBits = std::size_t(1) << 19;  // 64 KiB
    std::size_t Bit(std::uint64_t bits) const { return bits & (m_bits.size() * 64 - 1); }
    bool Marked(std::size_t bit) const { return (m_bits[bit / 64] >> (bit % 64)) & 1; }

    std::vector<std::uint64_t> m_bits;
};

// The median of values, which it reorders; values is not empty.
double Median(std::vector<double>& values) {
    const auto middle = values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2);
    std::nth_element(values.begin(), middle, values.end());
    double median = *middle;
    if (values.size() % 2 == 0) median = (median + *std::max_element(values.begin(), middle)) / 2.0;
    return median;
}

// The numbers of a sighting as its record gives them.
struct Observation {
    double slope = 0.0;  // 0 for an angles-only sighting
    double zenith = 0.0;
    double direction = 0.0;
    double targetHeight = 0.0;
    bool withDistance = false;
};

Observation ObservationOf(const SurveyRecord& record) {
    return {record.slopeDistance, record.zenithAngle, record.direction, record.height, record.Is(Measurement)};
}

// A sighting with its angles reduced to the first face: a zenith angle above 200
// gon is the second face, whose direction lies 200 gon over. The instrument's
// collimation error turns a direction by c / sin z, the other way in the second
// face; its index error raises every zenith angle by i, in the second face
// counted from 400.
struct Sighting {
    qsizetype record = 0;
    const RecordText* name = nullptr;
    bool orientation = false;
    quint8 face = 1;
    double direction = 0.0;
    double zenith = 0.0;
    double sinZenith = 0.0;
    double cosZenith = 0.0;
    double slope = 0.0;
    double targetHeight = 0.0;
    double horizontal = kNotCompared;  // none for an angles-only sighting

    bool HasDistance() const { return !std::isnan(horizontal); }
    std::string_view Name() const { return View(*name); }

    // Slope distance × cos z − target height: the trigonometric height without
    // the instrument height, which a station's sightings share. An angles-only
    // sighting at the horizontal distance given.
    double Height(double horizontalDistance) const {
        const double rise = HasDistance() ? slope * cosZenith : horizontalDistance * cosZenith / sinZenith;
        return rise - targetHeight;
    }
};

Sighting Reduce(const Observation& observation, double collimation, double indexError) {
    Sighting sighting;
    const bool second = observation.zenith > 200.0;
    sighting.face = second ? 2 : 1;
    sighting.zenith = second ? 400.0 - observation.zenith + indexError : observation.zenith - indexError;
    sighting.sinZenith = std::sin(sighting.zenith * kRadiansPerGon);
    sighting.cosZenith = std::cos(sighting.zenith * kRadiansPerGon);
    // Near the zenith the turn grows without bound; no detail sighting goes there.
    const double turn = std::abs(sighting.sinZenith) > 0.1 ? collimation / sighting.sinZenith : 0.0;
    sighting.direction = second ? observation.direction - 200.0 + turn : observation.direction - turn;
    sighting.slope = observation.slope;
    sighting.targetHeight = observation.targetHeight;
    if (observation.withDistance) sighting.horizontal = observation.slope * sighting.sinZenith;
    return sighting;
}

Sighting Reduce(const SurveyRecord& record, qsizetype index, bool orientation, double collimation, double indexError) {
    Sighting sighting = Reduce(ObservationOf(record), collimation, indexError);
    sighting.record = index;
    sighting.name = &record.name;
    sighting.orientation = orientation;
    return sighting;
}

// A sighting of one target in both faces, its differences as read kept until the
// job's mean errors are known. Against the mean collimation error c and index
// error i the pair differs across by 2 (c_pair − c) / sin z at its distance; i
// moves each horizontal distance by ∓ (s cos z)·i and each height by ± (s sin z)·i,
// in the second face the other way round, so the differences move by their sums.
struct FacePair {
    std::size_t comparison = 0;
    qsizetype first = 0;       // the first face's record
    qsizetype second = 0;      // the second face's
    float collimation = 0.0f;  // the pair's own errors, gon: half the difference of the directions less
    float index = 0.0f;        // 200 gon, times sin z; half the sum of the zenith angles less 400 gon
    float sinZenith = 1.0f;
    float reference = kNotCompared;  // the horizontal distance the pair is compared at; none without any
    float along = kNotCompared;      // first less second, both with distance only
    float height = kNotCompared;
    float horizontalSum = 0.0f;
    float verticalSum = 0.0f;
};

// A sighting with distance from one station to another, its zenith angle reduced
// to the first face as read. The job's mean index error, known only at the end,
// turns the zenith angle further: a rotation of the horizontal and vertical parts.
// A line is known by the hashes of its two stations' names: two lines would need
// both of their names' 64-bit hashes alike to meet.
struct LineSighting {
    std::uint64_t lowHash = 0;  // of the two stations' names, the lower name first
    std::uint64_t highHash = 0;
    std::int32_t station = 0;
    std::int32_t record = 0;
    bool fromLow = false;  // sighted from the station of the lower name
    bool secondFace = false;
    double horizontal = 0.0;  // slope distance × sin z
    double vertical = 0.0;    // slope distance × cos z
    double heights = 0.0;     // instrument height − target height
};

class Checker {
public:
    Checker(const SurveyRecordList& records, const StationCoordinatesList& coordinates, const QByteArray& orMarker,
            const CheckTolerances& tolerances)
        : m_records(records), m_coordinates(coordinates), m_orMarker(orMarker), m_tolerances(tolerances) {}

    CheckReport Run();

private:
    // A station's sighting as gathered, with the hash of its target's name. A
    // record list of 88-byte records never reaches 2^31 records.
    struct Gathered {
        std::uint64_t hash = 0;
        std::int32_t record = 0;
        bool withDistance = false;
    };

    const SurveyRecord& Record(qsizetype index) const { return m_records[static_cast<std::size_t>(index)]; }
    std::string_view NameOf(qsizetype index) const { return View(Record(index).name); }

    bool ValuesPossible(qsizetype index);
    void FinishStation();
    void CompareTarget(std::int32_t first);
    void CompareRepeats(const std::vector<const Sighting*>& group);
    void PairFaces(const std::vector<const Sighting*>& group);
    void CompareWithCoordinates(const StationCoordinates& station, const StationCoordinates& backsight);
    void EstimateInstrumentErrors();
    void CompareFacePairs();
    void AddLineSighting(const Gathered& gathered, std::uint64_t stationHash);
    void ReduceLineSightings();
    void CompareLines();
    void FindSharedCoordinates();
    std::ptrdiff_t StationOfRecord(qsizetype record) const;

    // The largest difference among values: of the two, or of each against their
    // median when there are more; a finding for each that passes levels.
    double Differences(const std::vector<double>& values, const std::vector<qsizetype>& records, CheckKind check,
                       Quantity quantity, const ToleranceLevels& levels, const RecordText& point);
    void Judge(double value, const ToleranceLevels& levels, CheckKind check, Quantity quantity, std::ptrdiff_t station,
               const RecordText& point, std::span<const qsizetype> records);
    void AddFinding(Finding finding);

    const SurveyRecordList& m_records;
    const StationCoordinatesList& m_coordinates;
    const QByteArray& m_orMarker;
    const CheckTolerances& m_tolerances;
    CheckReport m_report;

    std::ptrdiff_t m_station = -1;     // the station whose sightings are being gathered
    std::vector<Gathered> m_gathered;  // the station's sightings
    StationFilter m_stations{0};
    // The station's table of targets: a slot holds a target's first sighting
    // (an index into m_gathered), each sighting the next of its target.
    std::vector<std::int32_t> m_slots;
    std::vector<std::int32_t> m_next;
    std::vector<std::int32_t> m_tail;                               // of a first sighting: its target's last so far
    std::vector<std::int32_t> m_sightingsOf;                        // of a first sighting: its target's count
    std::vector<Sighting> m_sightings;                              // one target's, reduced
    std::vector<const StationCoordinates*> m_coordinatesByStation;  // in the order of their station records
    std::size_t m_nextCoordinates = 0;
    std::vector<FacePair> m_facePairs;
    std::vector<LineSighting> m_lineSightings;

    // Working room, kept between targets.
    std::vector<const Sighting*> m_face;
    std::vector<const Sighting*> m_waiting[2];  // of each face, not yet paired
    std::vector<double> m_values;
    std::vector<double> m_scratch;
    std::vector<qsizetype> m_valueRecords;
};

// The passes: the records once, station by station (values, repeats, faces as
// read, the coordinates); then the instrument's errors from the pairs in both
// faces, the pairs judged against them, and the lines between stations.
CheckReport Checker::Run() {
    // The stations' names first: a sighting of one is a line's.
    std::vector<std::uint64_t> stationHashes;
    for (const SurveyRecord& record : m_records) {
        if (record.Is(Station)) stationHashes.push_back(NameHash(View(record.name)));
    }
    m_stations = StationFilter(stationHashes.size());
    for (const std::uint64_t hash : stationHashes) m_stations.Insert(hash);
    for (const StationCoordinates& entry : m_coordinates) m_coordinatesByStation.push_back(&entry);
    std::stable_sort(
        m_coordinatesByStation.begin(), m_coordinatesByStation.end(),
        [](const StationCoordinates* a, const StationCoordinates* b) { return a->stationRecord < b->stationRecord; });

    for (qsizetype index = 0; index < static_cast<qsizetype>(m_records.size()); ++index) {
        const SurveyRecord& record = Record(index);
        if (record.Is(Station)) {
            FinishStation();
            m_station = static_cast<std::ptrdiff_t>(m_report.stations.size());
            Append(m_report.stations, StationCheck{record.name, index, 0, 0});
        } else if (record.Is(Measurement) || record.Is(Angles)) {
            if (!ValuesPossible(index) || m_station < 0) continue;
            m_gathered.push_back(
                {NameHash(View(record.name)), static_cast<std::int32_t>(index), record.Is(Measurement)});
        }
    }
    FinishStation();

    EstimateInstrumentErrors();
    CompareFacePairs();
    ReduceLineSightings();
    CompareLines();
    FindSharedCoordinates();
    std::stable_sort(m_report.findings.begin(), m_report.findings.end(),
                     [](const Finding& a, const Finding& b) { return a.records.front() < b.records.front(); });
    return std::move(m_report);
}

// Zenith angles and directions lie in 0–400 gon, a slope distance is more than
// zero and within the range; a value outside is a finding of its own.
bool Checker::ValuesPossible(qsizetype index) {
    const SurveyRecord& record = Record(index);
    bool possible = true;
    const auto found = [&](Quantity quantity, double value, double limit) {
        possible = false;
        Finding finding;
        finding.level = FindingLevel::Wrong;
        finding.check = CheckKind::Values;
        finding.quantity = quantity;
        finding.station = m_station;
        if (m_station >= 0) finding.stationName = m_report.stations[static_cast<std::size_t>(m_station)].name;
        finding.points.push_back(record.name);
        finding.value = value;
        finding.limit = limit;
        finding.records.push_back(index);
        AddFinding(std::move(finding));
    };
    const double zenith = record.zenithAngle;
    if (!(zenith >= 0.0 && zenith <= 400.0)) found(Quantity::Zenith, zenith, zenith < 0.0 ? 0.0 : 400.0);
    const double direction = record.direction;
    if (!(direction >= 0.0 && direction < 400.0)) found(Quantity::Direction, direction, direction < 0.0 ? 0.0 : 400.0);
    if (record.Is(Measurement)) {
        const double distance = record.slopeDistance;
        if (!(distance > 0.0))
            found(Quantity::SlopeDistance, distance, 0.0);
        else if (!(distance <= m_tolerances.range))
            found(Quantity::SlopeDistance, distance, m_tolerances.range);
    }
    return possible;
}

// One station's sightings, target by target. A small table keyed by the names'
// hashes chains each target's sightings in the order they came; most targets are
// sighted once, the others are compared in the order of their first sighting.
void Checker::FinishStation() {
    if (m_station < 0) return;
    StationCheck& station = m_report.stations[static_cast<std::size_t>(m_station)];
    station.firstComparison = m_report.comparisons.size();
    const std::size_t count = m_gathered.size();
    std::size_t size = 16;
    while (size < 2 * count) size *= 2;
    m_slots.assign(size, -1);
    m_next.assign(count, -1);
    m_tail.resize(count);
    m_sightingsOf.assign(count, 0);
    for (std::size_t i = 0; i < count; ++i) {
        const Gathered& gathered = m_gathered[i];
        for (std::size_t at = gathered.hash & (size - 1);; at = (at + 1) & (size - 1)) {
            const std::int32_t head = m_slots[at];
            if (head < 0) {
                m_slots[at] = static_cast<std::int32_t>(i);
                m_tail[i] = static_cast<std::int32_t>(i);
                m_sightingsOf[i] = 1;
                break;
            }
            const Gathered& first = m_gathered[static_cast<std::size_t>(head)];
            if (first.hash == gathered.hash && NameOf(first.record) == NameOf(gathered.record)) {
                m_next[static_cast<std::size_t>(m_tail[static_cast<std::size_t>(head)])] = static_cast<std::int32_t>(i);
                m_tail[static_cast<std::size_t>(head)] = static_cast<std::int32_t>(i);
                ++m_sightingsOf[static_cast<std::size_t>(head)];
                break;
            }
        }
    }
    for (std::size_t i = 0; i < count; ++i) {
        if (m_sightingsOf[i] >= 2) CompareTarget(static_cast<std::int32_t>(i));
    }
    const std::uint64_t stationHash = NameHash(NameOf(station.record));
    for (const Gathered& gathered : m_gathered) {
        if (gathered.withDistance && m_stations.MayContain(gathered.hash)) AddLineSighting(gathered, stationHash);
    }

    // The coordinate lines of this station, if any.
    const StationCoordinates* coordinates[2] = {nullptr, nullptr};  // the station's, the backsight's
    while (m_nextCoordinates < m_coordinatesByStation.size() &&
           m_coordinatesByStation[m_nextCoordinates]->stationRecord <= station.record) {
        const StationCoordinates* entry = m_coordinatesByStation[m_nextCoordinates++];
        if (entry->stationRecord == station.record)
            coordinates[entry->of == StationCoordinates::Of::Station ? 0 : 1] = entry;
    }
    if (coordinates[0] && coordinates[1]) CompareWithCoordinates(*coordinates[0], *coordinates[1]);
    station.comparisonCount = m_report.comparisons.size() - station.firstComparison;
    m_gathered.clear();
}

// The sightings of one target from one station, from the first in its chain:
// repeats in each face, pairs of faces.
void Checker::CompareTarget(std::int32_t first) {
    m_sightings.clear();
    int inFace[2] = {0, 0};
    for (std::int32_t i = first; i >= 0; i = m_next[static_cast<std::size_t>(i)]) {
        const qsizetype index = m_gathered[static_cast<std::size_t>(i)].record;
        const SurveyRecord& record = Record(index);
        m_sightings.push_back(Reduce(record, index, IsOrientationSighting(record, m_orMarker), 0.0, 0.0));
        ++inFace[m_sightings.back().face - 1];
    }
    for (const quint8 face : {quint8(1), quint8(2)}) {
        if (inFace[face - 1] < 2) continue;
        m_face.clear();
        for (const Sighting& sighting : m_sightings) {
            if (sighting.face == face) m_face.push_back(&sighting);
        }
        CompareRepeats(m_face);
    }
    if (inFace[0] == 0 || inFace[1] == 0) return;
    m_face.clear();
    for (const Sighting& sighting : m_sightings) m_face.push_back(&sighting);
    PairFaces(m_face);
}

// Repeats in one face. The reference distance is the median of the group's
// horizontal distances; without any, only an orientation's spread in gon is kept.
void Checker::CompareRepeats(const std::vector<const Sighting*>& group) {
    const bool orientation = std::any_of(group.begin(), group.end(), [](auto* s) { return s->orientation; });
    Comparison comparison;
    comparison.check = orientation ? CheckKind::Orientation : CheckKind::Repeat;
    comparison.station = m_station;
    comparison.face = group.front()->face;
    comparison.count = static_cast<int>(group.size());
    comparison.point = *group.front()->name;
    comparison.record = group.front()->record;
    const RecordText& point = comparison.point;

    // Along: the horizontal distances.
    m_values.clear();
    m_valueRecords.clear();
    for (const Sighting* sighting : group) {
        if (!sighting->HasDistance()) continue;
        m_values.push_back(sighting->horizontal);
        m_valueRecords.push_back(sighting->record);
    }
    double reference = kNotCompared;
    if (m_values.size() <= 2 && !m_values.empty()) {
        reference = (m_values.front() + m_values.back()) / 2.0;
    } else if (!m_values.empty()) {
        m_scratch = m_values;
        reference = Median(m_scratch);
    }
    if (m_values.size() >= 2)
        comparison.along = Stored(
            Differences(m_values, m_valueRecords, comparison.check, Quantity::Along, m_tolerances.position, point));

    // Across: the directions, from the first one so that 0 and 400 gon meet.
    m_values.clear();
    m_valueRecords.clear();
    for (const Sighting* sighting : group) {
        m_values.push_back(DirectionDifference(sighting->direction - group.front()->direction));
        m_valueRecords.push_back(sighting->record);
    }
    if (orientation) {
        const auto [low, high] = std::minmax_element(m_values.begin(), m_values.end());
        const double spread = *high - *low;
        comparison.spread = Stored(spread);
        if (!std::isnan(reference)) {
            const double across = spread * kRadiansPerGon * reference;
            comparison.across = Stored(across);
            const qsizetype ends[2] = {m_valueRecords[static_cast<std::size_t>(low - m_values.begin())],
                                       m_valueRecords[static_cast<std::size_t>(high - m_values.begin())]};
            Judge(across, m_tolerances.position, comparison.check, Quantity::OrientationSpread, m_station, point, ends);
        }
    } else if (!std::isnan(reference)) {
        for (double& value : m_values) value *= kRadiansPerGon * reference;
        comparison.across = Stored(
            Differences(m_values, m_valueRecords, comparison.check, Quantity::Across, m_tolerances.position, point));
    }

    // Height: each sighting's trigonometric height with its own target height.
    if (!std::isnan(reference)) {
        m_values.clear();
        m_valueRecords.clear();
        for (const Sighting* sighting : group) {
            const double height = sighting->Height(reference);
            if (!std::isfinite(height)) continue;
            m_values.push_back(height);
            m_valueRecords.push_back(sighting->record);
        }
        if (m_values.size() >= 2)
            comparison.height = Stored(
                Differences(m_values, m_valueRecords, comparison.check, Quantity::Height, m_tolerances.height, point));
    }
    Append(m_report.comparisons, std::move(comparison));
}

// Each sighting pairs with the latest one of the other face not yet paired:
// «I I II» pairs the second I with the II, «I II I II» makes two pairs.
void Checker::PairFaces(const std::vector<const Sighting*>& group) {
    std::vector<const Sighting*>* waiting = m_waiting;
    waiting[0].clear();
    waiting[1].clear();
    for (const Sighting* sighting : group) {
        std::vector<const Sighting*>& other = waiting[sighting->face == 1 ? 1 : 0];
        if (other.empty()) {
            waiting[sighting->face - 1].push_back(sighting);
            continue;
        }
        const Sighting& first = sighting->face == 1 ? *sighting : *other.back();
        const Sighting& second = sighting->face == 1 ? *other.back() : *sighting;
        other.pop_back();
        const SurveyRecord& one = Record(first.record);
        const SurveyRecord& two = Record(second.record);
        FacePair pair;
        pair.first = first.record;
        pair.second = second.record;
        const double zenith = (one.zenithAngle + 400.0 - two.zenithAngle) / 2.0;
        const double sinZenith = std::sin(zenith * kRadiansPerGon);
        pair.sinZenith = Stored(sinZenith);
        pair.collimation = Stored(DirectionDifference(one.direction - two.direction + 200.0) * sinZenith / 2.0);
        pair.index = Stored((one.zenithAngle + two.zenithAngle - 400.0) / 2.0);
        double reference = kNotCompared;
        if (first.HasDistance() && second.HasDistance()) {
            reference = (first.horizontal + second.horizontal) / 2.0;
            pair.along = Stored(first.horizontal - second.horizontal);
        } else if (first.HasDistance() || second.HasDistance()) {
            reference = first.HasDistance() ? first.horizontal : second.horizontal;
        }
        if (!std::isnan(reference)) {
            const auto horizontal = [reference](const Sighting& s) {
                return s.HasDistance() ? s.horizontal : reference;
            };
            const auto vertical = [reference](const Sighting& s) {
                return s.HasDistance() ? s.slope * s.cosZenith : reference * s.cosZenith / s.sinZenith;
            };
            pair.reference = Stored(reference);
            pair.height = Stored(first.Height(reference) - second.Height(reference));
            pair.horizontalSum = Stored(horizontal(first) + horizontal(second));
            pair.verticalSum = Stored(vertical(first) + vertical(second));
        }
        // The comparison takes its place among the station's now; its differences
        // follow once the job's mean errors are known.
        pair.comparison = m_report.comparisons.size();
        Comparison comparison;
        comparison.check = CheckKind::Faces;
        comparison.station = m_station;
        comparison.count = 2;
        comparison.point = one.name;
        comparison.record = std::min(pair.first, pair.second);
        comparison.collimation = pair.collimation;
        comparison.index = pair.index;
        Append(m_report.comparisons, std::move(comparison));
        Append(m_facePairs, pair);
    }
}

void Checker::CompareWithCoordinates(const StationCoordinates& station, const StationCoordinates& backsight) {
    const std::string_view name = View(backsight.name);
    const std::uint64_t hash = NameHash(name);
    m_values.clear();
    m_valueRecords.clear();
    for (std::size_t i = 0; i < m_gathered.size(); ++i) {
        const Gathered& gathered = m_gathered[i];
        const SurveyRecord& record = m_records[static_cast<std::size_t>(gathered.record)];
        if (gathered.hash != hash || View(record.name) != name || !record.Is(Measurement)) continue;
        m_values.push_back(Reduce(record, gathered.record, false, 0.0, 0.0).horizontal);
        m_valueRecords.push_back(gathered.record);
    }
    if (m_values.empty()) return;
    double measured = 0.0;
    for (const double value : m_values) measured += value;
    measured /= static_cast<double>(m_values.size());
    Comparison comparison;
    comparison.check = CheckKind::Coordinates;
    comparison.station = m_station;
    comparison.count = static_cast<int>(m_values.size());
    comparison.point = backsight.name;
    comparison.record = m_valueRecords.front();
    comparison.distance = measured;
    comparison.otherDistance = std::hypot(backsight.x - station.x, backsight.y - station.y);
    Judge(std::abs(comparison.distance - comparison.otherDistance), m_tolerances.lineDistance, CheckKind::Coordinates,
          Quantity::CoordinateDistance, m_station, comparison.point, m_valueRecords);
    Append(m_report.comparisons, std::move(comparison));
}

// The mean of the pairs within the "wrong" limit of their median: one blundered
// pair must not make the others look wrong.
void Checker::EstimateInstrumentErrors() {
    m_report.facePairs = static_cast<int>(m_facePairs.size());
    if (m_facePairs.empty()) return;
    const auto robustMean = [this](float FacePair::*member) {
        m_values.clear();
        for (const FacePair& pair : m_facePairs) m_values.push_back(pair.*member);
        m_scratch = m_values;
        const double median = Median(m_scratch);
        double sum = 0.0;
        int count = 0;
        for (const double value : m_values) {
            if (std::abs(value - median) > m_tolerances.faces.wrong) continue;
            sum += value;
            ++count;
        }
        return count > 0 ? sum / count : median;
    };
    m_report.meanCollimation = robustMean(&FacePair::collimation);
    m_report.meanIndex = robustMean(&FacePair::index);
}

void Checker::CompareFacePairs() {
    const double collimation = m_report.meanCollimation;
    const double index = m_report.meanIndex * kRadiansPerGon;
    for (const FacePair& pair : m_facePairs) {
        Comparison& comparison = m_report.comparisons[pair.comparison];
        m_station = comparison.station;
        const RecordText& point = comparison.point;
        const qsizetype records[2] = {pair.first, pair.second};
        const double collimationOff = std::abs(pair.collimation - collimation);
        Judge(collimationOff, m_tolerances.faces, CheckKind::Faces, Quantity::Collimation, m_station, point, records);
        Judge(std::abs(pair.index - m_report.meanIndex), m_tolerances.faces, CheckKind::Faces, Quantity::Index,
              m_station, point, records);
        if (std::isnan(pair.reference)) continue;
        if (!std::isnan(pair.along) && std::isfinite(pair.verticalSum)) {
            const double along = std::abs(pair.along - pair.verticalSum * index);
            comparison.along = Stored(along);
            Judge(along, m_tolerances.position, CheckKind::Faces, Quantity::Along, m_station, point, records);
        }
        // Near the zenith a direction means little; no detail sighting goes there.
        if (std::abs(pair.sinZenith) > 0.1) {
            const double across = 2.0 * collimationOff / pair.sinZenith * kRadiansPerGon * pair.reference;
            comparison.across = Stored(across);
            Judge(across, m_tolerances.position, CheckKind::Faces, Quantity::Across, m_station, point, records);
        }
        const double height = std::abs(pair.height + pair.horizontalSum * index);
        if (std::isfinite(height)) {
            comparison.height = Stored(height);
            Judge(height, m_tolerances.height, CheckKind::Faces, Quantity::Height, m_station, point, records);
        }
    }
}

// A sighting with distance from this station to another, kept for its line.
void Checker::AddLineSighting(const Gathered& gathered, std::uint64_t stationHash) {
    const SurveyRecord& station = Record(m_report.stations[static_cast<std::size_t>(m_station)].record);
    const SurveyRecord& record = Record(gathered.record);
    if (record.name == station.name.View()) return;
    const Sighting sighting = Reduce(ObservationOf(record), 0.0, 0.0);
    LineSighting line;
    line.fromLow = View(station.name) < View(record.name);
    line.lowHash = line.fromLow ? stationHash : gathered.hash;
    line.highHash = line.fromLow ? gathered.hash : stationHash;
    line.station = static_cast<std::int32_t>(m_station);
    line.record = gathered.record;
    line.secondFace = sighting.face == 2;
    line.horizontal = sighting.horizontal;
    line.vertical = sighting.slope * sighting.cosZenith;
    line.heights = station.height - record.height;
    Append(m_lineSightings, line);
}

// The sightings between stations with the job's mean index error taken off, and
// their height differences (instrument height + slope distance × cos z − target
// height) corrected for the curvature of the Earth and refraction.
void Checker::ReduceLineSightings() {
    const double curvature = (1.0 - kRefractionCoefficient) / (2.0 * kEarthRadius);
    const double index = m_report.meanIndex * kRadiansPerGon;
    const double cosIndex = std::cos(index);
    const double sinIndex = std::sin(index);
    for (LineSighting& line : m_lineSightings) {
        // The zenith angle less i in the first face, more i in the second.
        const double sinTurn = line.secondFace ? -sinIndex : sinIndex;
        const double horizontal = line.horizontal * cosIndex - line.vertical * sinTurn;
        const double vertical = line.vertical * cosIndex + line.horizontal * sinTurn;
        line.horizontal = horizontal;
        line.vertical = vertical + line.heights + curvature * horizontal * horizontal;
    }
}

// Lines between two stations, from the sightings of both: the horizontal
// distances there and back, and the height differences, which must cancel.
void Checker::CompareLines() {
    // The sightings' order by line, then by record; sorting small keys spares
    // moving the sightings themselves.
    struct Key {
        std::uint64_t low;
        std::uint64_t high;
        std::int32_t record;
        std::uint32_t index;
    };
    std::vector<Key> order;
    order.reserve(m_lineSightings.size());
    for (std::size_t i = 0; i < m_lineSightings.size(); ++i) {
        const LineSighting& line = m_lineSightings[i];
        order.push_back({line.lowHash, line.highHash, line.record, static_cast<std::uint32_t>(i)});
    }
    std::sort(order.begin(), order.end(), [](const Key& a, const Key& b) {
        return std::tie(a.low, a.high, a.record) < std::tie(b.low, b.high, b.record);
    });
    for (std::size_t begin = 0; begin < order.size();) {
        std::size_t end = begin + 1;
        while (end < order.size() && order[end].low == order[begin].low && order[end].high == order[begin].high) ++end;
        double distance[2] = {0.0, 0.0};  // from the low name's station, from the high's
        double rise[2] = {0.0, 0.0};
        int count[2] = {0, 0};
        for (std::size_t i = begin; i < end; ++i) {
            const LineSighting& line = m_lineSightings[order[i].index];
            const int side = line.fromLow ? 0 : 1;
            distance[side] += line.horizontal;
            rise[side] += line.vertical;
            ++count[side];
        }
        // The first sighting in the data gives the station the line is listed at,
        // and its target is the other station.
        const LineSighting& earliest = m_lineSightings[order[begin].index];
        const std::size_t first = begin;
        begin = end;
        if (count[0] == 0 || count[1] == 0) continue;
        for (int side = 0; side < 2; ++side) {
            distance[side] /= count[side];
            rise[side] /= count[side];
        }
        m_valueRecords.clear();
        for (std::size_t i = first; i < end; ++i) m_valueRecords.push_back(order[i].record);
        const int here = earliest.fromLow ? 0 : 1;
        Comparison comparison;
        comparison.check = CheckKind::BothWays;
        comparison.station = earliest.station;
        comparison.count = count[0] + count[1];
        comparison.point = Record(earliest.record).name;
        comparison.record = earliest.record;
        comparison.distance = distance[here];
        comparison.otherDistance = distance[1 - here];
        const double heightSum = rise[0] + rise[1];
        comparison.heightSum = Stored(heightSum);
        Judge(std::abs(distance[0] - distance[1]), m_tolerances.lineDistance, CheckKind::BothWays,
              Quantity::LineDistance, earliest.station, comparison.point, m_valueRecords);
        Judge(std::abs(heightSum), m_tolerances.lineHeight, CheckKind::BothWays, Quantity::LineHeight, earliest.station,
              comparison.point, m_valueRecords);
        Append(m_report.lines, std::move(comparison));
    }
}

// Stations of different names given one and the same coordinate line: the
// instrument kept the last station's coordinates.
void Checker::FindSharedCoordinates() {
    // The coordinates sorted beside their entries: a sort through pointers would
    // wander over the whole list.
    struct Place {
        double x, y, z;
        qsizetype stationRecord;
        const StationCoordinates* entry;
        bool SameAs(const Place& other) const { return x == other.x && y == other.y && z == other.z; }
    };
    std::vector<Place> places;
    for (const StationCoordinates& entry : m_coordinates) {
        if (entry.of == StationCoordinates::Of::Station)
            places.push_back({entry.x, entry.y, entry.z, entry.stationRecord, &entry});
    }
    std::sort(places.begin(), places.end(), [](const Place& a, const Place& b) {
        return std::tie(a.x, a.y, a.z, a.stationRecord) < std::tie(b.x, b.y, b.z, b.stationRecord);
    });
    for (std::size_t begin = 0; begin < places.size();) {
        std::size_t end = begin + 1;
        while (end < places.size() && places[end].SameAs(places[begin])) ++end;
        const std::size_t first = begin;
        begin = end;
        if (end - first < 2) continue;
        const StationCoordinates& firstEntry = *places[first].entry;
        Finding finding;
        finding.level = FindingLevel::Wrong;
        finding.check = CheckKind::Coordinates;
        finding.quantity = Quantity::SharedCoordinates;
        finding.station = StationOfRecord(firstEntry.stationRecord);
        finding.stationName = firstEntry.name;
        finding.line = firstEntry.line;
        for (std::size_t i = first; i < end; ++i) {
            const StationCoordinates& entry = *places[i].entry;
            finding.records.push_back(entry.stationRecord);
            finding.line = std::min(finding.line, entry.line);
            const bool named = entry.name == finding.stationName.View() ||
                               std::any_of(finding.points.begin(), finding.points.end(),
                                           [&entry](const RecordText& point) { return point == entry.name.View(); });
            if (!named) finding.points.push_back(entry.name);
        }
        if (finding.points.empty()) continue;  // one station occupied again
        std::sort(finding.records.begin(), finding.records.end());
        AddFinding(std::move(finding));
    }
}

std::ptrdiff_t Checker::StationOfRecord(qsizetype record) const {
    const auto found = std::lower_bound(m_report.stations.begin(), m_report.stations.end(), record,
                                        [](const StationCheck& station, qsizetype at) { return station.record < at; });
    if (found == m_report.stations.end() || found->record != record) return -1;
    return found - m_report.stations.begin();
}

double Checker::Differences(const std::vector<double>& values, const std::vector<qsizetype>& records, CheckKind check,
                            Quantity quantity, const ToleranceLevels& levels, const RecordText& point) {
    if (values.size() == 2) {
        const double difference = std::abs(values[0] - values[1]);
        Judge(difference, levels, check, quantity, m_station, point, std::span(records).first(2));
        return difference;
    }
    m_scratch = values;
    const double median = Median(m_scratch);
    double largest = 0.0;
    for (std::size_t i = 0; i < values.size(); ++i) {
        const double difference = std::abs(values[i] - median);
        largest = std::max(largest, difference);
        Judge(difference, levels, check, quantity, m_station, point, std::span(records).subspan(i, 1));
    }
    return largest;
}

void Checker::Judge(double value, const ToleranceLevels& levels, CheckKind check, Quantity quantity,
                    std::ptrdiff_t station, const RecordText& point, std::span<const qsizetype> records) {
    if (!(value > levels.suspicious)) return;
    Finding finding;
    finding.level = value > levels.wrong ? FindingLevel::Wrong : FindingLevel::Suspicious;
    finding.check = check;
    finding.quantity = quantity;
    finding.station = station;
    if (station >= 0) finding.stationName = m_report.stations[static_cast<std::size_t>(station)].name;
    finding.points.push_back(point);
    finding.value = value;
    finding.limit = finding.level == FindingLevel::Wrong ? levels.wrong : levels.suspicious;
    finding.records.assign(records.begin(), records.end());
    std::sort(finding.records.begin(), finding.records.end());
    AddFinding(std::move(finding));
}

void Checker::AddFinding(Finding finding) { m_report.findings.push_back(std::move(finding)); }

}  // namespace

CheckReport CheckFieldBook(const SurveyRecordList& records, const StationCoordinatesList& coordinates,
                           const QByteArray& orMarker, const CheckTolerances& tolerances) {
    return Checker(records, coordinates, orMarker, tolerances).Run();
}
