#pragma once
// What a conversion hands back besides its outcome: what was read (per record
// kind, what the parser passed over, what the block check found), what the
// field-book check found, and which files were written. Its text is one Czech line (Windows-1250) for the terminal and
// the main window alike.

#include "convert/MeasuredData.h"

#include <QByteArray>
#include <QList>

#include <QtGlobal>

// What reading the records found, as a receipt tells it.
struct ReadingReceipt {
    bool parsed = false;                         // the records were read
    DeviceType deviceType = DeviceType::Nts350;  // the instrument the data were read as
    int stations = 0;
    int orientationSightings = 0;  // backsights and sightings whose code is the orientation marker ("OR")
    int distanceSightings = 0;     // other sightings with a slope distance
    int angleSightings = 0;        // other sightings of angles only
    int points = 0;                // points with coordinates
    int codeEntries = 0;
    qint64 skippedBytes = 0;
    int abandonedRecords = 0;
    QList<UnconvertedLines> unconvertedLines;  // NTS-660 form: keyword lines carrying no record
    int otherUnconvertedLines = 0;
    int feetRecords = 0;              // records whose lengths were converted from feet
    bool usSurveyFoot = false;        // which foot
    int degreeRecords = 0;            // records whose angles were converted from degrees
    QList<UnknownUnit> unknownUnits;  // records left out for their unit; the conversion then stops
    int stationCoordinates = 0;       // keyword text: "XYZ" lines of stations
    int backsightCoordinates = 0;     // and of their backsight points
    double instrumentScale = 1.0;     // keyword text: a "SCALE" other than 1 while the S-JTSK reduction is on
    qint64 blockFindings = 0;         // what the check of an NTS-350 transfer's blocks found
    QByteArray findingsText;          // its warning, to be shown again on request; empty when none

    // Takes what the reading found; orMarker tells orientation sightings as the
    // field book does.
    void Count(const MeasuredData& data, const QByteArray& orMarker);
};

// What the field-book check found, counted; the check stands above the
// conversion and fills this in when it ran.
struct CheckCounts {
    bool checked = false;
    int wrong = 0;
    int suspicious = 0;
};

struct ConversionReceipt {
    ReadingReceipt read;
    CheckCounts check;
    int stationPointsWritten = -1;  // "StationXYZ": the stations written into ".asc"; -1 when not asked
    QList<QByteArray> written;      // the files written, as file name and extension
};

// The receipt's start: the counts (once the records were read) with the keyword
// lines left unconverted, most frequent first; the units converted or not known,
// the coordinate lines, the instrument's own scale, and the block check's count;
// each followed by a space. Empty when nothing was read.
QByteArray ReadingText(const ReadingReceipt& read);

// «Kontrola zápisníku: 1 chybné, 2 podezřelé.» and a space; empty when the
// check did not run.
QByteArray CheckCountsText(const CheckCounts& check);

// The receipt's end: the files written, or that none was and why (whyNone).
QByteArray WrittenText(const QList<QByteArray>& written, const QByteArray& whyNone);

// The receipt as one line: what was read, what the check found, what was written.
QByteArray ReceiptText(const ConversionReceipt& receipt, ConversionOutcome outcome);

// Why a run wrote no file, as a sentence after "Nebyl zapsán žádný soubor:".
QByteArray NothingWrittenText(const ReadingReceipt& read, ConversionOutcome outcome);
