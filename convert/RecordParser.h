#pragma once
// The record parser: turns prepared measured data into survey records. Two
// syntaxes, chosen by "DeviceType": NTS-350 ("_" markers, no lines; distances in
// millimetres, angles in 1/10000 gon) and NTS-660 (keyword lines ending in CR LF,
// a lone CR or a lone LF; metres and gon), which an NTS-350 can also write. A
// backsight ("BS") is read as a sighting and marked Backsight. Distances are
// multiplied by the run's scale factor as they are read. Malformed text is never
// an error: an incomplete record is dropped and scanning goes on; nothing is read
// past the end of the buffer. Any other device type yields no records.
//
// Units other than metres and gon are converted as they are read: feet to metres
// (the foot the settings name), degrees to gon (see convert/Units.h). In the
// NTS-350 form a distance's letter ("m", "f") and a direction's ("g", "d") say the
// unit; values without a letter of their own (instrument and target heights,
// tagged points, the angles of an angles-only sighting) are in the unit the last
// letter before them named, or before the first letter the first one. Keyword
// text says its units in "UNITS" lines, each for the lines after it. A unit the
// program does not know (an NTS-350 direction ending in "m") is not guessed: such
// records are left out and counted per unit.

#include "base/ConversionSettings.h"
#include "base/Prompter.h"
#include "base/StationCoordinates.h"
#include "base/SurveyRecord.h"

#include <QByteArray>
#include <QList>

#include <QtGlobal>

#include <vector>

// Keyword lines of the NTS-660 form that carry no record ("JOB", "NOTE"...).
struct UnconvertedLines {
    QByteArray keyword;
    int count = 0;
};

// Records left out because their unit is one the program does not know.
struct UnknownUnit {
    QByteArray unit;     // as the data write it: the letter, or a "UNITS" line's field
    bool angle = false;  // a unit of angles; otherwise one of lengths
    int records = 0;
};

struct ParsedRecords {
    static constexpr qsizetype kKeywordsKept = 32;  // keywords counted one by one; a file of garbage has any number

    SurveyRecordList records;
    int stationAndSightingCount = 0;  // Station, Measurement and Angles records
    int codeEntryCount = 0;           // CodeListEntry records
    // What the parse passed over: non-blank bytes outside any record (for NTS-660,
    // of lines that are neither records nor the instrument's own keyword lines),
    // and records begun but abandoned at a field.
    qint64 skippedBytes = 0;
    int abandonedRecords = 0;
    QList<UnconvertedLines> unconvertedLines;  // in the order first met
    int otherUnconvertedLines = 0;             // lines of keywords beyond the first kKeywordsKept

    // Keyword text: the coordinate lines ("XYZ" after "STN" or "BKB"), metres.
    StationCoordinatesList coordinates;
    // Keyword text: the first "SCALE" factor other than 1 (the instrument's own
    // scale, which it may have applied to the distances already); 1 when none.
    double instrumentScale = 1.0;

    int feetRecords = 0;              // records whose lengths were converted from feet
    int degreeRecords = 0;            // records whose angles were converted from degrees
    QList<UnknownUnit> unknownUnits;  // records left out, per unit
    bool tallHeight = false;          // an instrument or target height above 5 m was read
};

// What the parse is given besides the text.
struct ParseSettings {
    DeviceType deviceType = DeviceType::Nts350;
    quint16 flags = 0;          // "Flag"; FLAG_SWAP_ANGLES acts in the parse
    double scaleFactor = 1.0;   // every slope distance is multiplied by it
    bool usSurveyFoot = false;  // "UsSurveyFoot": which foot a length in feet is in
};

// A stretch of the parsed text whose records are to be named (a block the check
// of a transfer found fault with): the first and last records whose text lies in
// it, and how many do.
struct NamedStretch {
    qsizetype begin = 0;  // bytes of the parsed text
    qsizetype end = 0;
    RecordText first;
    RecordText last;
    int records = 0;
};

// Parses length bytes at buffer (the buffer is not changed). With stretches
// (sorted by begin), the NTS-350 records lying in each are named there. Warns of
// nothing: see TellParseWarnings.
ParsedRecords ParseRecords(const char* buffer, qsizetype length, const ParseSettings& settings,
                           std::vector<NamedStretch>* stretches = nullptr);

// The warnings of a parse, each at most once: lengths converted from feet and
// angles from degrees (with FLAG_WARN_UNITS in flags), a height above 5 m (with
// FLAG_WARN_HEIGHTS).
void TellParseWarnings(const ParsedRecords& parsed, quint16 flags, bool usSurveyFoot, Prompter& prompter);

// ParseRecords, then TellParseWarnings (international feet).
ParsedRecords ParseRecords(const char* buffer, qsizetype length, DeviceType deviceType, quint16 flags,
                           double scaleFactor, Prompter& prompter);

// The field reader of both syntaxes, over the text [*cursor, end) (a NUL byte
// also ends the text). With a prefix, the field starts after its first occurrence
// at offsets 0..30 from the cursor; it ends before the nearest of the terminator
// characters at offsets 0 (1 with skipFirst) to 49 of the field. On success out
// holds the field (at most 49 bytes) and the cursor stands on the terminator; on
// failure the cursor has moved on by one.
bool ExtractField(const char*& cursor, const char* end, QByteArray& out, const char* prefix, const char* terminators,
                  bool skipFirst);
