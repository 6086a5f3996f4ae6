#pragma once
// The two forms of a check's report: the protocol a surveyor reads and prints
// (Czech, station by station), and the findings as CSV for tarvo-cli. Both
// leave the report unchanged and take any report.

#include "base/CheckTolerances.h"
#include "check/CheckReport.h"

#include <QByteArray>

// The protocol: the summary, the instrument's errors, the limits, then per station
// what was compared with its differences and each finding marked with its level.
// Windows-1250 text with CR LF line ends, as a window shows it.
QByteArray CheckProtocol(const CheckReport& report, const CheckTolerances& tolerances);

// The protocol file's bytes, saved beside the outputs: UTF-8 with a byte-order
// mark, so that Notepad and the editors of Linux alike read it as UTF-8, with
// the CR LF line ends of the protocol.
QByteArray CheckProtocolFile(const QByteArray& protocol);

// A finding's fields as the CSV form writes them and a window lists them:
// Windows-1250, numbers with "." (metres to 3 decimals, gon to 4), value and limit
// empty where the finding has none.
struct FindingFields {
    QByteArray level;    // «chybné» or «podezřelé»
    QByteArray station;  // empty before the first station
    QByteArray points;   // several separated by pointSeparator
    QByteArray check;    // «opakovaná záměra – výška»
    QByteArray value;
    QByteArray limit;
    const char* unit = "";  // of value and limit: "m", "gon", or "" without them
};
FindingFields FieldsOf(const Finding& finding, const char* pointSeparator);

// A header line, then one finding a line: «level;station;points;check;value;limit»,
// several points separated by ",", numbers with "." (metres to 3 decimals, gon to
// 4), empty where a finding has no value. A field holding ";" or a quote is
// quoted. Windows-1250, LF line ends.
QByteArray CheckFindingsCsv(const CheckReport& report);
