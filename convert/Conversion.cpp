#include "convert/Conversion.h"

#include "base/Cp1250.h"
#include "base/OutputWriting.h"
#include "base/Texts.h"
#include "convert/MapaWriters.h"

#include <QSet>

namespace {

// One run's output files: the overwrite rule, creation, errors and showing.
class OutputStep {
public:
    OutputStep(ConversionContext& context, QList<QByteArray>& written) : m_context(context), m_written(written) {}

    enum class Result { Written, Skipped, Refused };
    // Whether "Zobrazit cílový soubor" shows the file once it is written.
    enum class Shown { IfAsked, Never };

    // Writes file.basePath + extension with write(sink), through the one output
    // path: an existing file is replaced only after a "Yes" when the user asked to
    // be asked; "No" refuses the rest of the run. A file that cannot be written
    // whole is reported and skipped, and its old version stays.
    template <typename Writer>
    Result Write(const QString& extension, Writer write, Shown shown = Shown::IfAsked) {
        const QString path = m_context.file.basePath + extension;
        switch (WriteOutputFile(path, m_context.settings.Has(FLAG_ASK_OVERWRITE), MessageIcon::Question,
                                m_context.prompter, write)) {
            case OutputWritten::Refused:
                return Result::Refused;
            case OutputWritten::Failed:
                m_failed = true;
                return Result::Skipped;
            case OutputWritten::Written:
                break;
        }
        const QByteArray name = Cp1250::FromUnicode(m_context.file.fileTitle + extension);
        m_written.append(name);
        if (shown == Shown::IfAsked && m_context.settings.Has(FLAG_SHOW_OUTPUT))
            m_context.prompter.ShowOutputFile(path, name);
        return Result::Written;
    }

    bool Failed() const { return m_failed; }

private:
    ConversionContext& m_context;
    QList<QByteArray>& m_written;
    bool m_failed = false;
};

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

// The files of mode, in their order; the receipt's list of written files grows as
// they are written.
ConversionOutcome WriteFiles(const MeasuredData& data, ConversionMode mode, const QList<ExtraOutput>& extras,
                             ConversionContext& context, ConversionReceipt& receipt) {
    QList<QByteArray>& written = receipt.written;
    const ConversionSettings& settings = context.settings;
    const SurveyRecordList& records = data.parsed.records;
    const bool full = mode == ConversionMode::Full;
    OutputStep output(context, written);

    if (full && data.deviceType == DeviceType::Nts350 && settings.Has(FLAG_KEEP_200)) {
        // The copy is the exact text that was parsed; a copy that could not be
        // written whole stops the conversion, as one that cannot be created does.
        const QByteArray& text = data.preparedText;
        const auto result = output.Write(
            QStringLiteral(".200"),
            [&](ByteSink& sink) { sink.Write(text.constData(), static_cast<std::size_t>(text.size())); },
            OutputStep::Shown::Never);
        if (result == OutputStep::Result::Refused) return ConversionOutcome::Stopped;
        if (result == OutputStep::Result::Skipped) return ConversionOutcome::Failed;
    }

    if (data.parsed.stationAndSightingCount > 0) {
        const auto result = output.Write(FieldBookExtension(mode), [&](ByteSink& sink) {
            WriteFieldBook(records, mode, settings, data.correctionMmPerKm, sink);
        });
        if (result == OutputStep::Result::Refused) return ConversionOutcome::Stopped;
    }

    const SurveyRecordList stationPoints = full && settings.stationXyz ? StationPoints(data) : SurveyRecordList();
    if (full && settings.stationXyz) receipt.stationPointsWritten = 0;
    const qsizetype pointCount = static_cast<qsizetype>(records.size() + stationPoints.size()) -
                                 data.parsed.stationAndSightingCount - data.parsed.codeEntryCount;
    if (full && pointCount > 0) {
        const bool addMillion = context.prompter.Ask(Topic::Million, Text(Texts::kAskMillion), MessageButtons::YesNo,
                                                     MessageIcon::Question) == Answer::Yes;
        const auto result = output.Write(QStringLiteral(".asc"), [&](ByteSink& sink) {
            WriteCoordinateList(records, settings, addMillion, sink, stationPoints);
        });
        if (result == OutputStep::Result::Refused) return ConversionOutcome::Stopped;
        if (result == OutputStep::Result::Written && settings.stationXyz)
            receipt.stationPointsWritten = static_cast<int>(stationPoints.size());
    }

    if (full && data.parsed.codeEntryCount > 0) {
        const auto result = output.Write(QStringLiteral(".cod"), [&](ByteSink& sink) { WriteCodeList(records, sink); });
        if (result == OutputStep::Result::Refused) return ConversionOutcome::Stopped;
    }

    for (const ExtraOutput& extra : extras) {
        const QByteArray& bytes = extra.bytes;
        const auto result = output.Write(
            extra.extension,
            [&](ByteSink& sink) { sink.Write(bytes.constData(), static_cast<std::size_t>(bytes.size())); },
            OutputStep::Shown::Never);
        if (result == OutputStep::Result::Refused) return ConversionOutcome::Stopped;
    }
    return output.Failed() ? ConversionOutcome::Failed : ConversionOutcome::Completed;
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
    result.outcome = WriteFiles(data, mode, extras, context, result.receipt);
    return result;
}

ConversionResult ConvertMeasuredData(const QString& path, ConversionMode mode, ConversionContext& context) {
    const Corrections corrections = mode == ConversionMode::Full ? Corrections::Confirmed : Corrections::AsStored;
    const MeasuredData data = ReadRecords(path, context, corrections);
    if (!data) return ConversionResult{data.outcome, {}};
    return RunConversion(data, mode, context);
}
