#include "convert/ConversionReceipt.h"

#include "base/Texts.h"
#include "convert/DeviceRecognition.h"
#include "convert/RecordParser.h"

namespace {

QByteArray Number(qint64 value) { return QByteArray::number(value); }

}  // namespace

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
        text = TextFilled(Texts::kReceipt, {Number(receipt.stations), Number(receipt.orientationSightings),
                                            Number(receipt.distanceSightings), Number(receipt.angleSightings),
                                            Number(receipt.points), Number(receipt.codeEntries),
                                            Number(receipt.skippedBytes), Number(receipt.abandonedRecords)});
        text += ' ';
    }
    if (receipt.written.isEmpty()) {
        text += TextFilled(Texts::kNothingWritten, {NothingWrittenText(receipt, outcome)});
    } else {
        text += TextFilled(Texts::kReceiptWritten, {receipt.written.join(", ")});
    }
    return text;
}
