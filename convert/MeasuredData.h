#pragma once
// A measured-data file read into its records: the one way in for whatever works
// on measured data (the MAPA2 conversion, the DXF export). ReadRecords reads the
// file whole, settles the instrument whose form it holds, prepares an NTS-350
// transfer (the block framing checked and removed, the signs normalised) and
// parses the records, each distance multiplied by the S-JTSK scale factor as it
// is read.

#include "base/StationCoordinates.h"
#include "convert/ConversionContext.h"
#include "convert/RecordParser.h"
#include "convert/TransferCheck.h"

#include <QByteArray>
#include <QString>

struct MeasuredData {
    ConversionOutcome outcome = ConversionOutcome::Failed;  // Completed once the records are read
    DeviceType deviceType = DeviceType::Nts350;             // the form the data were read in
    double correctionMmPerKm = 0.0;                         // the S-JTSK reduction the distances were scaled by
    bool usSurveyFoot = false;                              // the foot lengths in feet were read in
    ParsedRecords parsed;                                   // the records, and what the parser passed over
    // Keyword text: the coordinate lines ("XYZ" after "STN" or "BKB"), each tied to
    // its station record in parsed.records; the field-book check's second input
    // (taken from parsed, whose list is then empty).
    StationCoordinatesList coordinates;
    TransferFindings findings;  // what the check of an NTS-350 transfer's blocks found
    QString sourcePath;         // the file the records were read from, which no output may replace
    // The NTS-350 text exactly as it was parsed, the ".200" copy's content; kept
    // only when "Flag" asks for that copy (FLAG_KEEP_200).
    QByteArray preparedText;

    explicit operator bool() const { return outcome == ConversionOutcome::Completed; }
};

// Whether the user confirms the S-JTSK reductions before the distances are read
// with them (F1, F3): "Použít současné nastavení korekcí?", where No opens the
// parameter sheet and Cancel stops the run before anything is prepared.
enum class Corrections { AsStored, Confirmed };

// Reads the measured-data file at path. What the user is asked and told, in this
// order: whether data clearly in the other instrument's form than "DeviceType"
// are read in that form for this run (see ConversionContext), the corrections
// (Confirmed only; a "DeviceType" the parameter sheet sets is the form the data
// are read in), the block check's warning (once), the parser's unit and height
// warnings. An unreadable file is reported and fails the reading; so do a mean
// height at which every distance would come out as «nan», and data too large for
// the memory (told in Czech, never an abort).
MeasuredData ReadRecords(const QString& path, ConversionContext& context, Corrections corrections);
