#pragma once
// The record parser: turns prepared measured data into survey records. Two
// syntaxes, chosen by "DeviceType": NTS-350 ("_" markers, no lines; distances in
// millimetres, angles in 1/10000 gon) and NTS-660 (keyword lines ending in CR LF,
// a lone CR or a lone LF; metres and gon), which an NTS-350 can also write. A
// backsight ("BS") is read as a sighting and marked Backsight. Distances are
// multiplied by the run's scale factor as they are read. Malformed text is never
// an error: an incomplete record is dropped and scanning goes on; nothing is read
// past the end of the buffer. Any other device type yields no records.

#include "base/ConversionSettings.h"
#include "base/Prompter.h"
#include "base/SurveyRecord.h"

#include <QByteArray>
#include <QList>

#include <QtGlobal>

// Keyword lines of the NTS-660 form that carry no record ("JOB", "XYZ"...).
struct UnconvertedLines {
    QByteArray keyword;
    int count = 0;
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
};

// Parses length bytes at buffer (the buffer is not changed). flags is "Flag":
// FLAG_SWAP_ANGLES, FLAG_WARN_UNITS and FLAG_WARN_HEIGHTS act here; the unit and
// height warnings go through prompter at most once each per call.
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
