#include "convert/Conversion.h"

#include "base/Cp1250.h"
#include "base/OutputWriting.h"
#include "base/Texts.h"
#include "convert/MapaWriters.h"

#include <QFileInfo>

namespace {

const char* FieldBookExtension(ConversionMode mode) {
    switch (mode) {
        case ConversionMode::HorizontalDistances:
            return ".vod";
        case ConversionMode::StationHeaders:
            return ".pol";
        default:
            return ".zap";
    }
}

// The files of mode, in their order, written as one set; the receipt's list of
// written files holds them once they are all in place.
ConversionOutcome WriteFiles(const MeasuredData& data, ConversionMode mode, ConversionContext& context,
                             const QList<ExtraOutput>& extras, QList<QByteArray>& written) {
    const ConversionSettings& settings = context.settings;
    const SurveyRecordList& records = data.parsed.records;
    const bool full = mode == ConversionMode::Full;
    const QString& basePath = context.file.basePath;
    OutputSet outputs(context.prompter, settings.Has(FLAG_ASK_OVERWRITE), MessageIcon::Question);
    if (!data.sourcePath.isEmpty()) outputs.AddInput(data.sourcePath);
    QStringList shown;  // the outputs "Zobrazit cílový soubor" shows
    const auto add = [&](const char* extension, OutputSet::Writer write, bool show) {
        const QString path = basePath + QLatin1String(extension);
        outputs.Add(path, std::move(write));
        if (show) shown.append(path);
    };

    if (full && data.deviceType == DeviceType::Nts350 && settings.Has(FLAG_KEEP_200)) {
        // The copy is the exact text that was parsed.
        const QByteArray& text = data.preparedText;
        add(
            ".200", [&](ByteSink& sink) { sink.Write(text.constData(), static_cast<std::size_t>(text.size())); },
            false);
    }
    if (data.parsed.stationAndSightingCount > 0) {
        add(
            FieldBookExtension(mode),
            [&](ByteSink& sink) { WriteFieldBook(records, mode, settings, data.correctionMmPerKm, sink); }, true);
    }
    const qsizetype pointCount =
        static_cast<qsizetype>(records.size()) - data.parsed.stationAndSightingCount - data.parsed.codeEntryCount;
    bool addMillion = false;
    const bool coordinates = full && pointCount > 0;
    if (coordinates)
        add(
            ".asc", [&](ByteSink& sink) { WriteCoordinateList(records, settings, addMillion, sink); }, true);
    if (full && data.parsed.codeEntryCount > 0)
        add(
            ".cod", [&](ByteSink& sink) { WriteCodeList(records, sink); }, true);
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
        written.append(name);
        if (shown.contains(path) && settings.Has(FLAG_SHOW_OUTPUT)) context.prompter.ShowOutputFile(path, name);
    }
    return result == OutputWritten::Written ? ConversionOutcome::Completed : ConversionOutcome::Failed;
}

}  // namespace

ConversionResult RunConversion(const MeasuredData& data, ConversionMode mode, ConversionContext& context,
                               const QList<ExtraOutput>& extras) {
    ConversionResult result;
    result.receipt.read.Count(data, context.settings.orMarker);
    result.outcome = WriteFiles(data, mode, context, extras, result.receipt.written);
    return result;
}

ConversionResult ConvertMeasuredData(const QString& path, ConversionMode mode, ConversionContext& context) {
    const Corrections corrections = mode == ConversionMode::Full ? Corrections::Confirmed : Corrections::AsStored;
    const MeasuredData data = ReadRecords(path, context, corrections);
    if (!data) return ConversionResult{data.outcome, {}};
    return RunConversion(data, mode, context);
}
