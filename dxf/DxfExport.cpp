#include "dxf/DxfExport.h"

#include "base/Cp1250.h"
#include "base/Texts.h"
#include "convert/MeasuredData.h"
#include "dxf/XyzTextList.h"

#include <algorithm>

namespace {

// Draws result.records, read from sourcePath, into context.file.basePath + ".dxf"
// and says what became of the drawing.
void Draw(DxfExportResult& result, ConversionContext& context, const QString& sourcePath) {
    DrawingReceipt& receipt = result.receipt;
    receipt.drawingFile = Cp1250::FromUnicode(context.file.fileTitle + QStringLiteral(".dxf"));
    receipt.drawnPoints = std::count_if(result.records.begin(), result.records.end(),
                                        [](const SurveyRecord& record) { return record.Is(Coordinates); });
    receipt.drawing = WriteDxf(context.file.basePath, result.records, context.settings, context.prompter, sourcePath);
    switch (receipt.drawing) {
        case DrawingOutcome::Written:
            result.outcome = ConversionOutcome::Completed;
            break;
        case DrawingOutcome::Refused:
            result.outcome = ConversionOutcome::Stopped;
            break;
        default:
            result.outcome = ConversionOutcome::Failed;
            break;
    }
}

}  // namespace

DxfExportResult DrawMeasuredData(const QString& path, ConversionContext& context) {
    DxfExportResult result;
    MeasuredData data = ReadRecords(path, context, Corrections::AsStored);
    if (!data) {
        result.outcome = data.outcome;
        return result;
    }
    result.receipt.read.Count(data, context.settings.orMarker);
    result.records = std::move(data.parsed.records);
    Draw(result, context, path);
    return result;
}

DxfExportResult ExportXyzDxf(const QString& chosenPath, ConversionContext& context) {
    bool textList = false;
    if (!chosenPath.isEmpty()) {
        // Only the lower-case extension means a text list.
        textList = CurrentFile::ExtensionOf(chosenPath) == QLatin1String("txt");
        context.file.RememberChosenFile(chosenPath);
    }
    if (context.file.basePath.isEmpty()) return DxfExportResult();
    if (!textList) return DrawMeasuredData(context.file.basePath + QStringLiteral(".sdt"), context);

    DxfExportResult result;
    const QString list = context.file.basePath + QStringLiteral(".txt");
    ReadXyzTextList(list, result.records, context.prompter);
    Draw(result, context, list);
    return result;
}

QByteArray DrawingReceiptText(const DrawingReceipt& receipt, ConversionOutcome outcome) {
    QByteArray text = ReadingText(receipt.read);
    switch (receipt.drawing) {
        case DrawingOutcome::Written:
            return text + TextFilled(Texts::kReceiptDrawn, {Counted(receipt.drawnPoints, Texts::kPointsNoun)}) + ' ' +
                   WrittenText({receipt.drawingFile}, {});
        case DrawingOutcome::NoPoints:
            return text + WrittenText({}, Text(Texts::kDrawingNoPoints));
        case DrawingOutcome::Refused:
            return text + WrittenText({}, TextFilled(Texts::kDrawingRefused, {receipt.drawingFile}));
        case DrawingOutcome::Failed:
            return text + WrittenText({}, TextFilled(Texts::kDrawingFailed, {receipt.drawingFile}));
        case DrawingOutcome::None:
            break;
    }
    return text + WrittenText({}, NothingWrittenText(receipt.read, outcome));
}
