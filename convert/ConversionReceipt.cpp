#include "convert/ConversionReceipt.h"

#include "base/Numbers.h"
#include "base/Texts.h"
#include "convert/DeviceRecognition.h"
#include "convert/RecordParser.h"

void ConversionReceipt::Count(const ParsedRecords& parsedRecords, const QByteArray& orMarker) {
    parsed = true;
    for (const SurveyRecord& record : parsedRecords.records) {
        if (record.Is(Station)) {
            ++stations;
        } else if (record.Is(Measurement) || record.Is(Angles)) {
            if (record.codeText == orMarker)
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
}

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
        text = TextFilled(
            Texts::kReceipt,
            {Numbers::FormatInteger(receipt.stations), Numbers::FormatInteger(receipt.orientationSightings),
             Numbers::FormatInteger(receipt.distanceSightings), Numbers::FormatInteger(receipt.angleSightings),
             Numbers::FormatInteger(receipt.points), Numbers::FormatInteger(receipt.codeEntries),
             Numbers::FormatInteger(receipt.skippedBytes), Numbers::FormatInteger(receipt.abandonedRecords)});
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
