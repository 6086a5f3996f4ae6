#pragma once
// The field-book check: finds the blunders of a job's measurements while the
// surveyor is still on site. The records are grouped by station (a Station
// record and the sightings after it, up to the next one); a sighting is an
// orientation sighting when the instrument marked it as a backsight or its code
// is the orientation marker. Then, each against the tolerances:
//  - repeated sightings of one target in the same face: position along and across
//    the line of sight and trigonometric height, in metres (an angles-only
//    sighting at the distance of another sighting of the target);
//  - sightings in both faces (zenith above 200 gon is the second face): each
//    pair's collimation and index error against the job's mean, and its position
//    and height once the mean errors are taken off;
//  - lines measured from both their stations: horizontal distances, and height
//    differences that must cancel once corrected for curvature and refraction;
//  - repeated orientation sightings: as repeats, with the spread of their
//    directions in place of the position across;
//  - stations given one and the same coordinate line, and the measured distance
//    to the backsight against the coordinates';
//  - values no instrument gives (such a sighting takes no part in the others).
// Units are metres and gon, slope distances as the parser scaled them. Any input
// gives a report; nothing here fails.

#include "base/CheckTolerances.h"
#include "base/StationCoordinates.h"
#include "base/SurveyRecord.h"
#include "check/CheckReport.h"

#include <QByteArray>

// The coefficient of refraction and the Earth's radius (m) of the correction of
// height differences both ways: each direction's difference grows by
// (1 − k)·d²/2R, so their sum keeps twice that unless corrected.
inline constexpr double kRefractionCoefficient = 0.13;
inline constexpr double kEarthRadius = 6381000.0;

// coordinates: the job's coordinate lines (none for an NTS-350 record stream).
// orMarker: the "OR" setting, compared with a sighting's code byte for byte.
CheckReport CheckFieldBook(const SurveyRecordList& records, const StationCoordinatesList& coordinates,
                           const QByteArray& orMarker, const CheckTolerances& tolerances);
