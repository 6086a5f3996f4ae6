#include "convert/ConversionReceipt.h"

#include "base/Numbers.h"
#include "base/Texts.h"
#include "convert/DeviceRecognition.h"
#include "convert/MapaWriters.h"

#include <algorithm>

void ReadingReceipt::Count(const MeasuredData& data, const QByteArray& orMarker) {
    parsed = true;
    deviceType = data.deviceType;
    const ParsedRecords& parsedRecords = data.parsed;
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
    feetRecords = parsedRecords.feetRecords;
    usSurveyFoot = data.usSurveyFoot;
    degreeRecords = parsedRecords.degreeRecords;
    unknownUnits = parsedRecords.unknownUnits;
    for (const StationCoordinates& line : data.coordinates) {
        if (line.of == StationCoordinates::Of::Station)
            ++stationCoordinates;
        else
            ++backsightCoordinates;
    }
    if (data.correctionMmPerKm != 0.0) instrumentScale = parsedRecords.instrumentScale;
    blockFindings = data.findings.count;
    findingsText = TransferFindingsText(data.findings);
}

namespace {

// How many keywords the receipt names before it counts the rest together.
constexpr qsizetype kKeywordsShown = 8;

// «, nepřevedené řádky: XYZ 3, JOB 1», or nothing when every line was read.
QByteArray UnconvertedText(const ReadingReceipt& receipt) {
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

// The sentences on units: lengths from feet, angles from degrees, units not known.
QByteArray UnitsText(const ReadingReceipt& read) {
    QByteArray text;
    if (read.feetRecords > 0) {
        text += TextFilled(Texts::kReceiptFeet, {Counted(read.feetRecords, Texts::kRecordsNoun),
                                                 Text(read.usSurveyFoot ? Texts::kUsSurveyFoot : Texts::kFoot)});
        text += ' ';
    }
    if (read.degreeRecords > 0) {
        text += TextFilled(Texts::kReceiptDegrees, {Counted(read.degreeRecords, Texts::kRecordsNoun)});
        text += ' ';
    }
    if (!read.unknownUnits.isEmpty()) {
        QByteArray units;
        for (const UnknownUnit& unit : read.unknownUnits) {
            if (!units.isEmpty()) units += ", ";
            units += TextFilled(unit.angle ? Texts::kUnknownAngleUnit : Texts::kUnknownLengthUnit,
                                {unit.unit, Counted(unit.records, Texts::kRecordsNoun)});
        }
        text += TextFilled(Texts::kReceiptUnknownUnits, {units});
        text += ' ';
    }
    return text;
}

}  // namespace

QByteArray NothingWrittenText(const ReadingReceipt& read, ConversionOutcome outcome) {
    switch (outcome) {
        case ConversionOutcome::Stopped:
            if (!read.unknownUnits.isEmpty()) return Text(Texts::kUnknownUnitsStop);
            return Text(Texts::kRunStopped);
        case ConversionOutcome::Failed:
            return Text(Texts::kRunFailed);
        case ConversionOutcome::Completed:
            break;
    }
    const int recognised = read.stations + read.orientationSightings + read.distanceSightings + read.angleSightings +
                           read.points + read.codeEntries;
    if (recognised == 0) return TextFilled(Texts::kNothingRecognised, {DeviceName(read.deviceType)});
    return Text(Texts::kNoStationsOrSightings);
}

QByteArray ReadingText(const ReadingReceipt& read) {
    QByteArray text;
    if (read.parsed) {
        text = TextFilled(Texts::kReceipt,
                          {Numbers::FormatInteger(read.stations), Numbers::FormatInteger(read.orientationSightings),
                           Numbers::FormatInteger(read.distanceSightings), Numbers::FormatInteger(read.angleSightings),
                           Numbers::FormatInteger(read.points), Numbers::FormatInteger(read.codeEntries),
                           Numbers::FormatInteger(read.skippedBytes), Numbers::FormatInteger(read.abandonedRecords),
                           UnconvertedText(read)});
        text += ' ';
    }
    text += UnitsText(read);
    if (read.stationCoordinates + read.backsightCoordinates > 0) {
        text += TextFilled(Texts::kReceiptCoordinateLines, {Numbers::FormatInteger(read.stationCoordinates),
                                                            Numbers::FormatInteger(read.backsightCoordinates)});
        text += ' ';
    }
    if (read.instrumentScale != 1.0) {
        text += TextFilled(Texts::kReceiptInstrumentScale, {Numbers::Format("%.9g", read.instrumentScale)});
        text += ' ';
    }
    if (read.blockFindings > 0) {
        text += TextFilled(Texts::kReceiptBlockFindings, {Counted(read.blockFindings, Texts::kErrorsNoun)});
        text += ' ';
    }
    return text;
}

QByteArray CheckCountsText(const CheckCounts& check) {
    if (!check.checked) return {};
    if (check.wrong == 0 && check.suspicious == 0) return Text(Texts::kReceiptCheckClean) + ' ';
    return TextFilled(Texts::kReceiptCheck,
                      {Numbers::FormatInteger(check.wrong), Numbers::FormatInteger(check.suspicious)}) +
           ' ';
}

QByteArray WrittenText(const QList<QByteArray>& written, const QByteArray& whyNone) {
    if (written.isEmpty()) return TextFilled(Texts::kNothingWritten, {whyNone});
    return TextFilled(Texts::kReceiptWritten, {written.join(", ")});
}

QByteArray ReceiptText(const ConversionReceipt& receipt, ConversionOutcome outcome) {
    QByteArray text = ReadingText(receipt.read);
    if (receipt.stationPointsWritten >= 0) {
        text += TextFilled(Texts::kReceiptStationXyz, {Numbers::FormatInteger(receipt.stationPointsWritten)});
        text += ' ';
    }
    return text + CheckCountsText(receipt.check) +
           WrittenText(receipt.written, NothingWrittenText(receipt.read, outcome));
}
