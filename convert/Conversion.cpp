#include "convert/Conversion.h"

#include "base/Cp1250.h"
#include "base/Numbers.h"
#include "base/OutputWriting.h"
#include "base/Texts.h"
#include "convert/MapaWriters.h"
#include "convert/RecordParser.h"
#include "convert/Reduction.h"

#include <algorithm>
#include <cmath>

namespace {

// One run's output files: the overwrite rule, creation, errors and showing.
class OutputStep {
public:
    explicit OutputStep(ConversionContext& context) : m_context(context) {}

    enum class Result { Written, Skipped, Refused };

    // Writes file.basePath + extension with write(sink), through the one output
    // path: an existing file is replaced only after a "Yes" when the user asked to
    // be asked; "No" refuses the rest of the run. A file that cannot be written
    // whole is reported and skipped, and its old version stays.
    template <typename Writer>
    Result Write(const char* extension, Writer write) {
        const QString path = m_context.file.basePath + QLatin1String(extension);
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
        const QByteArray name = Cp1250::FromUnicode(m_context.file.fileTitle + QLatin1String(extension));
        m_context.receipt.written.append(name);
        if (m_context.settings.Has(FLAG_SHOW_OUTPUT)) m_context.prompter.ShowOutputFile(path, name);
        return Result::Written;
    }

    bool Failed() const { return m_failed; }

private:
    ConversionContext& m_context;
    bool m_failed = false;
};

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

}  // namespace

ConversionOutcome RunConversion(RawDataBuffer buffer, ConversionMode mode, ConversionContext& context) {
    ConversionSettings& settings = context.settings;
    Prompter& prompter = context.prompter;

    if (mode == ConversionMode::Full) {
        const Answer answer = prompter.Ask(Topic::Corrections, Text(Texts::kAskCorrections),
                                           MessageButtons::YesNoCancel, MessageIcon::Question);
        if (answer == Answer::Cancel) return ConversionOutcome::Stopped;
        // Whether the sheet is confirmed or not, the run goes on with what the
        // settings hold afterwards.
        if (answer == Answer::No) prompter.RunParameterSheet(settings);
    }

    const double correction = ProjectionReduction(settings.jx, settings.jy) + HeightReduction(settings.jh);
    if (!std::isfinite(correction)) {
        // A mean height at or below about -3 188 698.58 m: every distance would
        // come out as «nan».
        prompter.Tell(TextWith(Texts::kBadMeanHeight, Numbers::FormatFixed(settings.jh, 3)));
        return ConversionOutcome::Failed;
    }
    const double scaleFactor = ScaleFactor(correction);

    ParsedRecords parsed = ParseRecords(buffer.bytes.constData(), buffer.bytes.size(), settings.deviceType,
                                        settings.flag, scaleFactor, prompter);
    buffer.bytes = QByteArray();
    const SurveyRecordList& records = parsed.records;
    context.receipt.deviceType = settings.deviceType;
    context.receipt.Count(parsed, settings.orMarker);

    OutputStep output(context);
    if (parsed.stationAndSightingCount > 0 && mode != ConversionMode::DxfExport) {
        const auto result = output.Write(FieldBookExtension(mode), [&](ByteSink& sink) {
            WriteFieldBook(records, mode, settings, correction, sink);
        });
        if (result == OutputStep::Result::Refused) return ConversionOutcome::Stopped;
    }

    const qsizetype pointCount =
        static_cast<qsizetype>(records.size()) - parsed.stationAndSightingCount - parsed.codeEntryCount;
    if (mode == ConversionMode::Full && pointCount > 0) {
        const bool addMillion = prompter.Ask(Topic::Million, Text(Texts::kAskMillion), MessageButtons::YesNo,
                                             MessageIcon::Question) == Answer::Yes;
        const auto result =
            output.Write(".asc", [&](ByteSink& sink) { WriteCoordinateList(records, settings, addMillion, sink); });
        if (result == OutputStep::Result::Refused) return ConversionOutcome::Stopped;
    }

    if (mode == ConversionMode::Full && parsed.codeEntryCount > 0) {
        const auto result = output.Write(".cod", [&](ByteSink& sink) { WriteCodeList(records, sink); });
        if (result == OutputStep::Result::Refused) return ConversionOutcome::Stopped;
    }

    if (mode == ConversionMode::DxfExport) return DrawRecords(records, context);
    return output.Failed() ? ConversionOutcome::Failed : ConversionOutcome::Completed;
}

ConversionOutcome DrawRecords(const SurveyRecordList& records, ConversionContext& context) {
    ConversionReceipt& receipt = context.receipt;
    receipt.drawingFile = Cp1250::FromUnicode(context.file.fileTitle + QStringLiteral(".dxf"));
    receipt.drawnPoints = std::count_if(records.begin(), records.end(),
                                        [](const SurveyRecord& record) { return record.Is(Coordinates); });
    receipt.drawing = context.writeDxf ? context.writeDxf(records) : DrawingOutcome::Failed;
    switch (receipt.drawing) {
        case DrawingOutcome::Written:
            receipt.written.append(receipt.drawingFile);
            return ConversionOutcome::Completed;
        case DrawingOutcome::Refused:
            return ConversionOutcome::Stopped;
        default:
            return ConversionOutcome::Failed;
    }
}
