#pragma once
// One record of measured data, of an upload list or of a DXF point list. Units are
// metres and gon; texts are Windows-1250 bytes exactly as read. A large transfer
// holds a million of them, so a record keeps its short texts inside itself and
// takes 88 bytes.

#include "base/RecordText.h"

#include <QtGlobal>

#include <vector>

// Kind bits of a record; the parser sets exactly one of Angles, Measurement,
// Coordinates, Station and CodeListEntry, and Backsight beside a sighting's.
enum RecordKind : quint16 {
    Angles = 0x01,         // sighting with direction and zenith angle only
    Measurement = 0x02,    // sighting with slope distance, zenith angle and direction
    Coordinates = 0x04,    // point with x, y, z
    Station = 0x08,        // instrument station
    Backsight = 0x10,      // a sighting the instrument marked as the station's orientation (with Angles or Measurement)
    CodeListEntry = 0x20,  // entry of the instrument's code list
    NoHeight = 0x40,       // a text-list point without height (with Coordinates)
};

// Code numbers of the instrument's code list run from 1 to this.
inline constexpr quint16 kHighestCodeNumber = 50;

struct SurveyRecord {
    RecordText name;      // station, target or point name; a code entry's whole field
    RecordText codeText;  // point code; a code entry's description
    quint16 codeNumber = 0;
    quint16 kind = 0;
    double slopeDistance = 0.0;  // already multiplied by the run's scale factor
    double zenithAngle = 0.0;
    double direction = 0.0;
    double height = 0.0;  // instrument height (station) or target height (sighting)
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;

    bool Is(quint16 bit) const { return (kind & bit) != 0; }
};
static_assert(sizeof(SurveyRecord) <= 88, "records are held by the million: keep them small");

// The records in the order they occur; the list owns them.
using SurveyRecordList = std::vector<SurveyRecord>;
