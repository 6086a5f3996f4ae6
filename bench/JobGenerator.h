#pragma once
// Made-up jobs with the redundancy of careful detail surveying, for the figures
// of the field-book check: a traverse of stations, each oriented on the last one
// (sometimes sighted again at the end), a foresight to the next one (sometimes in
// both faces), detail points, some of them sighted again with the pole placed
// anew, in the other face or as angles only. The readings carry the errors of a
// 2″/2 mm instrument with its own collimation and index error, refraction, and
// a pole that is never placed twice on exactly the same spot. A job may carry one
// blunder; it says which station and points it touches.

#include <QByteArray>
#include <QList>

#include <cstdint>

enum class Blunder {
    None,
    Distance,           // a distance 5–30 cm off
    Direction,          // a direction 0.1–0.5 gon off, on a sighting of 50 m or more
    TargetHeight,       // a target height 0.3–1 m off
    SwappedNames,       // two targets' names swapped
    SecondFaceZenith,   // a second-face zenith 0.1–0.5 gon off
    LineEnd,            // one end of a line measured both ways
    RepeatedBacksight,  // one of a repeated backsight's sightings
    SharedCoordinates,  // a station given the last station's coordinate line (keyword text only)
};

struct GeneratedJob {
    QByteArray stream;    // an NTS-350 transfer framed in blocks
    QByteArray keywords;  // the same job as keyword text with its coordinate lines
    int records = 0;      // stations and sightings
    Blunder blunder = Blunder::None;
    bool placed = false;              // the job had somewhere to put its blunder
    QByteArray station;               // where the blunder is
    QList<QByteArray> points;         // the targets (or stations) it touches
    QList<qsizetype> blunderRecords;  // and their records (of a shared line: the station's)
};

// One job from seed; names are prefixed with prefix (jobs put together into one
// transfer must not share names). The instrument's own errors come from
// instrumentSeed (0: from seed), so that jobs put together share one instrument.
GeneratedJob GenerateJob(std::uint64_t seed, Blunder blunder, const QByteArray& prefix = {},
                         std::uint64_t instrumentSeed = 0);
