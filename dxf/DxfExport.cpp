#include "dxf/DxfExport.h"

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
    return DrawRecords(records, context);
}
