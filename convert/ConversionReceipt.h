#pragma once
// A run's outcome and its receipt: what the parser recognised per record kind,
// what it passed over, what became of a DXF drawing, and which files the run
// wrote. The receipt's text is one Czech line (Windows-1250) for the terminal and
// the main window alike.

#include "convert/ConversionMode.h"
#include "convert/RecordParser.h"

#include <QByteArray>
#include <QList>

#include <QtGlobal>

enum class ConversionOutcome {
    Completed,  // every file of the mode that had content was written
    Stopped,    // the user cancelled or refused an overwrite
    Failed,     // a file could not be read or written (reported), or bad settings
};

// What became of a DXF drawing.
enum class DrawingOutcome {
    None,      // no drawing was made in the run
    Written,   // the whole drawing was written
    NoPoints,  // no point to draw (told), no file touched
    Refused,   // the user refused to replace the existing drawing
    Failed,    // a file error (reported); the file may be incomplete
};

struct ConversionReceipt {
    bool parsed = false;     // the run got as far as reading the records
    quint16 deviceType = 0;  // the instrument the data were read as
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
    qint64 blockFindings = 0;   // what the check of an NTS-350 transfer's blocks found
    QByteArray findingsText;    // its warning, to be shown again on request; empty when none
    QList<QByteArray> written;  // the files written, as file name and extension
    DrawingOutcome drawing = DrawingOutcome::None;
    QByteArray drawingFile;  // the drawing's file name and extension, once one was made
    qint64 drawnPoints = 0;  // points in the drawing

    // Takes the counts of a parse; orMarker tells orientation sightings as the
    // field book does.
    void Count(const ParsedRecords& parsed, const QByteArray& orMarker);
};

// The receipt as one line: the counts (once the records were read) with the
// keyword lines left unconverted, most frequent first; the points drawn (after a
// DXF drawing was written); then the files written, or that none was and why.
QByteArray ReceiptText(const ConversionReceipt& receipt, ConversionOutcome outcome);

// Why a run wrote no file, as a sentence after "Nebyl zapsán žádný soubor:".
QByteArray NothingWrittenText(const ConversionReceipt& receipt, ConversionOutcome outcome);
