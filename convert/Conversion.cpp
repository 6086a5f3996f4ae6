#include "convert/Conversion.h"

#include "base/Cp1250.h"
#include "base/OutputWriting.h"
#include "base/Texts.h"
#include "convert/MapaWriters.h"

#include <QFileInfo>
#include <QSet>

namespace {

// "StationXYZ": the stations' coordinate lines as points named after their
// station, each name once and none the data give coordinates already.
SurveyRecordList StationPoints(const MeasuredData& data) {
    SurveyRecordList points;
    QSet<QByteArray> named;
    for (const SurveyRecord& record : data.parsed.records) {
        if (record.Is(Coordinates)) named.insert(record.name.ToByteArray());
    }
    for (const StationCoordinates& line : data.coordinates) {
        const QByteArray name = line.name.ToByteArray();
        if (line.of != StationCoordinates::Of::Station || named.contains(name)) continue;
        named.insert(name);
        SurveyRecord point;
        point.kind = Coordinates;
        point.name = line.name;
        if (line.stationRecord >= 0 && line.stationRecord < static_cast<qsizetype>(data.parsed.records.size()))
            point.codeText = data.parsed.records[static_cast<std::size_t>(line.stationRecord)].codeText;
        point.x = line.x;
        point.y = line.y;
        point.z = line.z;
        points.push_back(std::move(point));
    }
    return points;
}

QString FieldBookExtension(ConversionMode mode) {
    switch (mode) {
        case ConversionMode::HorizontalDistances:
            return QStringLiteral(".vod");
        case ConversionMode::StationHeaders:
            return QStringLiteral(".pol");
        default:
            return QStringLiteral(".zap");
    }
}

// The files of mode, in their order, written as one set; the receipt's list of
// written files holds them once they are all in place.
ConversionOutcome WriteFiles(const MeasuredData& data, ConversionMode mode, ConversionContext& context,
                             const QList<ExtraOutput>& extras, ConversionReceipt& receipt) {
    const ConversionSettings& settings = context.settings;
    const SurveyRecordList& records = data.parsed.records;
    const bool full = mode == ConversionMode::Full;
    const QString& basePath = context.file.basePath;
    OutputSet outputs(context.prompter, settings.Has(FLAG_ASK_OVERWRITE), MessageIcon::Question);
    if (!data.sourcePath.isEmpty()) outputs.AddInput(data.sourcePath);
    QStringList shown;  // the outputs "Zobrazit cílový soubor" shows
    const auto add = [&](const QString& extension, OutputSet::Writer write, bool show) {
        const QString path = basePath + extension;
        outputs.Add(path, std::move(write));
        if (show) shown.append(path);
    };

    if (full && data.deviceType == DeviceType::Nts350 && settings.Has(FLAG_KEEP_200)) {
        // The copy is the exact text that was parsed.
        const QByteArray& text = data.preparedText;
        add(
            QStringLiteral(".200"),
            [&](ByteSink& sink) { sink.Write(text.constData(), static_cast<std::size_t>(text.size())); }, false);
    }
    if (data.parsed.stationAndSightingCount > 0) {
        add(
            FieldBookExtension(mode),
            [&](ByteSink& sink) { WriteFieldBook(records, mode, settings, data.correctionMmPerKm, sink); }, true);
    }
    const SurveyRecordList stationPoints = full && settings.stationXyz ? StationPoints(data) : SurveyRecordList();
    const qsizetype pointCount = static_cast<qsizetype>(records.size() + stationPoints.size()) -
                                 data.parsed.stationAndSightingCount - data.parsed.codeEntryCount;
    bool addMillion = false;
    const bool coordinates = full && pointCount > 0;
    if (coordinates) {
        add(
            QStringLiteral(".asc"),
            [&](ByteSink& sink) { WriteCoordinateList(records, settings, addMillion, sink, stationPoints); }, true);
    }
    if (full && data.parsed.codeEntryCount > 0)
        add(
            QStringLiteral(".cod"), [&](ByteSink& sink) { WriteCodeList(records, sink); }, true);
    for (const ExtraOutput& extra : extras) {
        const QByteArray& bytes = extra.bytes;
        outputs.Add(basePath + extra.extension, [&bytes](ByteSink& sink) {
            sink.Write(bytes.constData(), static_cast<std::size_t>(bytes.size()));
        });
    }
    if (outputs.IsEmpty()) return ConversionOutcome::Completed;

    // Every question before the first byte is written: the overwrites, then the million.
    switch (outputs.Confirm()) {
        case OutputWritten::Refused:
            return ConversionOutcome::Stopped;
        case OutputWritten::Failed:
            return ConversionOutcome::Failed;
        case OutputWritten::Written:
            break;
    }
    if (coordinates)
        addMillion = context.prompter.Ask(Topic::Million, Text(Texts::kAskMillion), MessageButtons::YesNo,
                                          MessageIcon::Question) == Answer::Yes;
    const OutputWritten result = outputs.Write();
    for (const QString& path : outputs.Replaced()) {
        const QByteArray name = Cp1250::FromUnicode(QFileInfo(path).fileName());
        receipt.written.append(name);
        if (shown.contains(path) && settings.Has(FLAG_SHOW_OUTPUT)) context.prompter.ShowOutputFile(path, name);
    }
    if (full && settings.stationXyz) {
        const bool ascReplaced = outputs.Replaced().contains(basePath + QStringLiteral(".asc"));
        receipt.stationPointsWritten = ascReplaced ? static_cast<int>(stationPoints.size()) : 0;
    }
    return result == OutputWritten::Written ? ConversionOutcome::Completed : ConversionOutcome::Failed;
}

}  // namespace

ConversionResult RunConversion(const MeasuredData& data, ConversionMode mode, ConversionContext& context,
                               const QList<ExtraOutput>& extras) {
    ConversionResult result;
    result.receipt.read.Count(data, context.settings.orMarker);
    // Records in a unit the program does not know were left out: a field book
    // without them would look whole, so none is written.
    if (!data.parsed.unknownUnits.isEmpty()) {
        result.outcome = ConversionOutcome::Stopped;
        return result;
    }
    result.outcome = WriteFiles(data, mode, context, extras, result.receipt);
    return result;
}

ConversionResult ConvertMeasuredData(const QString& path, ConversionMode mode, ConversionContext& context) {
    const Corrections corrections = mode == ConversionMode::Full ? Corrections::Confirmed : Corrections::AsStored;
    const MeasuredData data = ReadRecords(path, context, corrections);
    if (!data) return ConversionResult{data.outcome, {}};
    return RunConversion(data, mode, context);
}
