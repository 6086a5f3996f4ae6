#pragma once
// The coordinate lines of keyword text: an "XYZ" line after "STN" holds the
// station's coordinates, one after "BKB" those of the station's backsight point.
// Metres; the three numbers in the order the line gives them.

#include "base/RecordText.h"

#include <QtGlobal>

#include <vector>

struct StationCoordinates {
    enum class Of : quint8 { Station, Backsight };

    qsizetype stationRecord = 0;  // index of the Station record in the job's record list
    Of of = Of::Station;
    RecordText name;  // the station's, or the backsight point's as "BKB" names it
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
    int line = 0;  // line number in the file, from 1
};

using StationCoordinatesList = std::vector<StationCoordinates>;
