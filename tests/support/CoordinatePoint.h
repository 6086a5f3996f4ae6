#pragma once
// A point with coordinates as the tests write them: name, Y, X, height, code.

#include "base/SurveyRecord.h"

#include <QByteArray>

inline SurveyRecord CoordinatePoint(const QByteArray& name, double y, double x, double z, const QByteArray& code = {},
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
