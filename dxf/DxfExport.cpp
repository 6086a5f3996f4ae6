#include "dxf/DxfExport.h"

#include "convert/RawDataPreparation.h"
#include "dxf/DxfWriter.h"
#include "dxf/XyzTextList.h"

DxfSink MakeDxfSink(ConversionContext& context) {
    return [&context](const SurveyRecordList& records) {
        return WriteDxf(context.file.basePath, records, context.settings, context.prompter);
    };
}

DxfExportOutcome ExportXyzDxf(const QString& chosenPath, ConversionContext& context) {
    bool textList = false;
    if (!chosenPath.isEmpty()) {
        // Only the lower-case extension means a text list.
        textList = CurrentFile::ExtensionOf(chosenPath) == QLatin1String("txt");
        context.file.RememberChosenFile(chosenPath);
    }
    if (context.file.basePath.isEmpty()) return DxfExportOutcome::NoCurrentFile;

    if (textList) {
        SurveyRecordList records;
        ReadXyzTextList(context.file.basePath + QStringLiteral(".txt"), records, context.prompter);
        const bool written = WriteDxf(context.file.basePath, records, context.settings, context.prompter);
        return written ? DxfExportOutcome::Written : DxfExportOutcome::NotWritten;
    }

    // The run's outcome does not tell whether the drawing was made (a run may end
    // well with nothing to draw); the sink remembers.
    bool written = false;
    const DxfSink write = MakeDxfSink(context);
    const DxfSink previous = context.writeDxf;
    context.writeDxf = [&written, &write](const SurveyRecordList& records) {
        written = write(records);
        return written;
    };
    PrepareRawData(context.file.basePath + QStringLiteral(".sdt"), ConversionMode::DxfExport, context);
    context.writeDxf = previous;
    return written ? DxfExportOutcome::Written : DxfExportOutcome::NotWritten;
}
