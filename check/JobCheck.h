#pragma once
// The field-book check where the surveyor meets it: on what ReadRecords read, at
// every full conversion (its protocol one more output of the run, written after
// the MAPA2 files, which it never changes) and on its own, without converting
// (tarvo-cli check, the tools menu).

#include "check/CheckReport.h"
#include "convert/Conversion.h"

#include <QByteArray>
#include <QString>

#include <memory>

// The protocol file beside the outputs: «job_kontrola.txt».
inline constexpr char kProtocolExtension[] = "_kontrola.txt";

// One job checked.
struct JobCheck {
    QString fileName;  // the measured-data file's name, for a window's caption
    CheckReport report;
    QByteArray protocol;              // Windows-1250 text with CR LF (CheckProtocol)
    SurveyRecordList records;         // the job's records, which the report's indexes point into
    std::size_t coordinateLines = 0;  // the coordinate lines of keyword text the check was given

    CheckCounts Counts() const;
};

// Whether the data hold anything to check: a station or a sighting.
bool HasSomethingToCheck(const MeasuredData& data);

// Checks what was read from path against the limits of settings; the records
// stay with data.
std::shared_ptr<JobCheck> CheckMeasuredData(const MeasuredData& data, const QString& path,
                                            const ConversionSettings& settings);

struct CheckedConversion {
    ConversionResult conversion;
    std::shared_ptr<const JobCheck> check;  // null when the run checked nothing
};

// ConvertMeasuredData, checked: in mode Full data with stations or sightings are
// checked once read, the protocol file (CheckProtocolFile) is written after the
// MAPA2 files, and the receipt counts the findings. Other modes convert alone.
CheckedConversion ConvertAndCheck(const QString& path, ConversionMode mode, ConversionContext& context);

// A file checked without converting, read as the DXF export reads it (the stored
// corrections, no question about them).
struct FileCheck {
    ConversionOutcome outcome = ConversionOutcome::Failed;  // of the reading
    ReadingReceipt read;
    std::shared_ptr<const JobCheck> check;  // null when the reading failed or found nothing to check
};
FileCheck CheckMeasuredDataFile(const QString& path, ConversionContext& context);
