#pragma once
// The one way the tests make a point with coordinates: name, then Y, X and the
// height in the order of the name, as the point lists write them; then its code.

#include "base/SurveyRecord.h"

#include <QByteArray>

inline SurveyRecord PointYXZ(const QByteArray& name, double y, double x, double z, const QByteArray& code = {},
                             quint16 kind = Coordinates) {
    SurveyRecord record;
    record.name = name;
    record.y = y;
    record.x = x;
    record.z = z;
    record.codeText = code;
    record.kind = kind;
    return record;
}
