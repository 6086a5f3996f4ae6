#include "dxf/DxfExport.h"

#include "base/Cp1250.h"
#include "convert/RawDataPreparation.h"
#include "dxf/DxfWriter.h"
#include "dxf/XyzTextList.h"

DxfSink MakeDxfSink(ConversionContext& context) {
    return [&context](const SurveyRecordList& records) {
        return WriteDxf(context.file.basePath, records, context.settings, context.prompter);
    };
}

ConversionOutcome ExportXyzDxf(const QString& chosenPath, ConversionContext& context) {
    bool textList = false;
    if (!chosenPath.isEmpty()) {
        // Only the lower-case extension means a text list.
        textList = CurrentFile::ExtensionOf(chosenPath) == QLatin1String("txt");
        context.file.RememberChosenFile(chosenPath);
    }
    if (context.file.basePath.isEmpty()) return ConversionOutcome::Stopped;
    if (!context.writeDxf) context.writeDxf = MakeDxfSink(context);
    if (!textList)
        return PrepareRawData(context.file.basePath + QStringLiteral(".sdt"), ConversionMode::DxfExport, context);

    SurveyRecordList records;
    ReadXyzTextList(context.file.basePath + QStringLiteral(".txt"), records, context.prompter);
    ConversionReceipt& receipt = context.receipt;
    receipt.drawingFile = Cp1250::FromUnicode(context.file.fileTitle + QStringLiteral(".dxf"));
    receipt.drawnPoints = static_cast<qint64>(records.size());
    receipt.drawing = context.writeDxf(records);
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
