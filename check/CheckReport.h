#pragma once
// What the field-book check hands back: per station what was compared with its
// differences, the job's mean collimation and index error, and the findings, each
// with its level and the records it concerns (indexes into the job's record list,
// so that a window can show them). Names are Windows-1250 bytes. Metres, except
// where a field says gon; NaN where a value was not compared.

#include "base/RecordText.h"

#include <QtGlobal>

#include <cstddef>
#include <limits>
#include <span>
#include <vector>

inline constexpr double kNotCompared = std::numeric_limits<double>::quiet_NaN();

enum class FindingLevel : quint8 { Suspicious, Wrong };

// The checks, in the order the protocol names them.
enum class CheckKind : quint8 {
    Repeat,       // repeated sightings of one target from one station in the same face
    Faces,        // a sighting in both faces
    BothWays,     // a line measured from both its stations
    Orientation,  // repeated orientation sightings
    Coordinates,  // the coordinate lines of keyword text
    Values,       // values no instrument gives
};

// What a finding measured.
enum class Quantity : quint8 {
    Along,               // horizontal distance, m
    Across,              // horizontal distance × difference of direction, m
    Height,              // trigonometric height, m
    OrientationSpread,   // the spread of the orientation's directions at its distance, m
    Collimation,         // a pair's collimation error against the job's mean, gon
    Index,               // a pair's index error against the job's mean, gon
    LineDistance,        // horizontal distance there against back, m
    LineHeight,          // the sum of the height differences there and back, m
    CoordinateDistance,  // measured horizontal distance against the coordinates', m
    SharedCoordinates,   // stations with one and the same coordinate line; no value
    Zenith,              // a zenith angle outside 0–400 gon
    Direction,           // a direction outside 0–400 gon
    SlopeDistance,       // a slope distance of zero or beyond the range, m
};

// One thing compared at a station. A large job holds hundreds of thousands, so
// the differences, small numbers all, are kept as float.
struct Comparison {
    std::ptrdiff_t station = 0;  // index into CheckReport::stations
    qsizetype record = 0;        // the first observation's record
    // BothWays: the mean horizontal distances from this station and back.
    // Coordinates: distance is the measured one, otherDistance the coordinates'.
    double distance = kNotCompared;
    double otherDistance = kNotCompared;
    // Repeat, Orientation, Faces: the largest differences (a pair's, or of one
    // sighting against the median of three or more).
    float along = kNotCompared;
    float across = kNotCompared;  // Orientation: the spread of its directions, at its distance
    float height = kNotCompared;
    float spread = kNotCompared;       // Orientation: the spread of its directions, gon
    float collimation = kNotCompared;  // Faces: the pair's own collimation error, gon
    float index = kNotCompared;        // Faces: the pair's own index error, gon
    float heightSum = kNotCompared;    // BothWays: the height differences' sum, corrected for curvature and refraction
    int count = 0;                     // observations compared
    RecordText point;                  // the target, the other station, or the backsight point
    CheckKind check = CheckKind::Repeat;  // Repeat, Faces, BothWays, Orientation or Coordinates
    quint8 face = 1;                      // Repeat and Orientation: the face, 1 or 2
};

struct Finding {
    FindingLevel level = FindingLevel::Suspicious;
    CheckKind check = CheckKind::Repeat;
    Quantity quantity = Quantity::Along;
    std::ptrdiff_t station = -1;  // index into CheckReport::stations; -1 before the first station
    RecordText stationName;
    std::vector<RecordText> points;  // the target, the other station, or the stations sharing a line
    double value = kNotCompared;     // the difference, absolute; or the value no instrument gives
    double limit = kNotCompared;     // the limit it passed
    std::vector<qsizetype> records;  // the observations (or station records) concerned, ascending
    int line = 0;                    // SharedCoordinates: the first of the shared lines in the file
};

struct StationCheck {
    RecordText name;
    qsizetype record = 0;  // the Station record
    std::size_t firstComparison = 0;
    std::size_t comparisonCount = 0;
};

struct CheckReport {
    std::vector<StationCheck> stations;
    std::vector<Comparison> comparisons;  // station by station: repeats, orientations, faces, coordinates
    std::vector<Comparison> lines;        // lines measured both ways, each at the station that sighted it first
    std::vector<Finding> findings;        // in the order of their first record
    // The instrument's own errors, from the pairs in both faces (zero without
    // any); they are taken off before positions and heights are compared.
    double meanCollimation = 0.0;  // gon
    double meanIndex = 0.0;        // gon
    int facePairs = 0;

    std::span<const Comparison> ComparisonsOf(const StationCheck& station) const {
        return std::span<const Comparison>(comparisons).subspan(station.firstComparison, station.comparisonCount);
    }
    int Count(FindingLevel level) const {
        int count = 0;
        for (const Finding& finding : findings) count += finding.level == level;
        return count;
    }
};
