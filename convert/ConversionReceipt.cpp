#include "convert/ConversionReceipt.h"

#include "base/Numbers.h"
#include "base/Texts.h"
#include "convert/DeviceRecognition.h"
#include "convert/MapaWriters.h"
#include "convert/RecordParser.h"

#include <algorithm>

void ConversionReceipt::Count(const ParsedRecords& parsedRecords, const QByteArray& orMarker) {
    parsed = true;
    for (const SurveyRecord& record : parsedRecords.records) {
        if (record.Is(Station)) {
            ++stations;
        } else if (record.Is(Measurement) || record.Is(Angles)) {
            if (IsOrientationSighting(record, orMarker))
                ++orientationSightings;
            else if (record.Is(Measurement))
                ++distanceSightings;
            else
                ++angleSightings;
        } else if (record.Is(Coordinates)) {
            ++points;
        } else if (record.Is(CodeListEntry)) {
            ++codeEntries;
        }
    }
    skippedBytes = parsedRecords.skippedBytes;
    abandonedRecords = parsedRecords.abandonedRecords;
    unconvertedLines = parsedRecords.unconvertedLines;
    otherUnconvertedLines = parsedRecords.otherUnconvertedLines;
}

namespace {

// How many keywords the receipt names before it counts the rest together.
constexpr qsizetype kKeywordsShown = 8;

// «, nepřevedené řádky: XYZ 3, JOB 1», or nothing when every line was read.
QByteArray UnconvertedText(const ConversionReceipt& receipt) {
    if (receipt.unconvertedLines.isEmpty() && receipt.otherUnconvertedLines == 0) return {};
    QList<UnconvertedLines> lines = receipt.unconvertedLines;
    std::stable_sort(lines.begin(), lines.end(),
                     [](const UnconvertedLines& a, const UnconvertedLines& b) { return a.count > b.count; });
    QByteArray named;
    qint64 others = receipt.otherUnconvertedLines;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (i >= kKeywordsShown) {
            others += lines[i].count;
            continue;
        }
        if (!named.isEmpty()) named += ", ";
        named += lines[i].keyword + ' ' + Numbers::FormatInteger(lines[i].count);
    }
    if (others > 0) named += TextFilled(Texts::kReceiptOtherKeywords, {Counted(others, Texts::kLinesNoun)});
    return TextFilled(Texts::kReceiptUnconverted, {named});
}

}  // namespace

QByteArray NothingWrittenText(const ConversionReceipt& receipt, ConversionOutcome outcome) {
    switch (receipt.drawing) {
        case DrawingOutcome::NoPoints:
            return Text(Texts::kDrawingNoPoints);
        case DrawingOutcome::Refused:
            return TextFilled(Texts::kDrawingRefused, {receipt.drawingFile});
        case DrawingOutcome::Failed:
            return TextFilled(Texts::kDrawingFailed, {receipt.drawingFile});
        case DrawingOutcome::None:
        case DrawingOutcome::Written:
            break;
    }
    switch (outcome) {
        case ConversionOutcome::Stopped:
            return Text(Texts::kRunStopped);
        case ConversionOutcome::Failed:
            return Text(Texts::kRunFailed);
        case ConversionOutcome::Completed:
            break;
    }
    const int recognised = receipt.stations + receipt.orientationSightings + receipt.distanceSightings +
                           receipt.angleSightings + receipt.points + receipt.codeEntries;
    if (recognised == 0) return TextFilled(Texts::kNothingRecognised, {DeviceName(receipt.deviceType)});
    return Text(Texts::kNoStationsOrSightings);
}

QByteArray ReceiptText(const ConversionReceipt& receipt, ConversionOutcome outcome) {
    QByteArray text;
    if (receipt.parsed) {
        text =
            TextFilled(Texts::kReceipt,
                       {Numbers::FormatInteger(receipt.stations), Numbers::FormatInteger(receipt.orientationSightings),
                        Numbers::FormatInteger(receipt.distanceSightings),
                        Numbers::FormatInteger(receipt.angleSightings), Numbers::FormatInteger(receipt.points),
                        Numbers::FormatInteger(receipt.codeEntries), Numbers::FormatInteger(receipt.skippedBytes),
                        Numbers::FormatInteger(receipt.abandonedRecords), UnconvertedText(receipt)});
        text += ' ';
    }
    if (receipt.blockFindings > 0) {
        text += TextFilled(Texts::kReceiptBlockFindings, {Counted(receipt.blockFindings, Texts::kErrorsNoun)});
        text += ' ';
    }
    if (receipt.drawing == DrawingOutcome::Written) {
        text += TextFilled(Texts::kReceiptDrawn, {Counted(receipt.drawnPoints, Texts::kPointsNoun)});
        text += ' ';
    }
    if (receipt.written.isEmpty()) {
        text += TextFilled(Texts::kNothingWritten, {NothingWrittenText(receipt, outcome)});
    } else {
        text += TextFilled(Texts::kReceiptWritten, {receipt.written.join(", ")});
    }
    return text;
}
