#include "dxf/DxfExport.h"

#include "base/ConversionSettings.h"
#include "base/Cp1250.h"
#include "base/Numbers.h"
#include "base/Texts.h"
#include "convert/MeasuredData.h"
#include "dxf/XyzTextList.h"

#include <algorithm>

namespace {

constexpr double kMillion = 1000000.0;

// Where the points of the S-JTSK grid lie, with room to spare around the Czech and
// Slovak republics (metres, positive Y and X).
constexpr double kLowestY = 400000.0, kHighestY = 950000.0;
constexpr double kLowestX = 900000.0, kHighestX = 1400000.0;

bool InSjtskArea(double y, double x) { return y >= kLowestY && y <= kHighestY && x >= kLowestX && x <= kHighestX; }

enum class Source { MeasuredData, TextList };

// The NTS-350 keeps only the last six digits of X: the drawing takes the million
// on the question the coordinate list asks, so that both lists of one job agree.
// True when it was added.
bool AddMillionIfAsked(SurveyRecordList& records, Prompter& prompter) {
    if (std::none_of(records.begin(), records.end(), [](const SurveyRecord& r) { return r.Is(Coordinates); }))
        return false;
    if (prompter.Ask(Topic::Million, Text(Texts::kAskMillion), MessageButtons::YesNo, MessageIcon::Question) !=
        Answer::Yes)
        return false;
    for (SurveyRecord& record : records) {
        if (record.Is(Coordinates)) record.x += kMillion;
    }
    return true;
}

// A drawing in EPSG:5514 axes whose points cannot lie in the S-JTSK area is told,
// with the likely cause read off its first such point: X short by the million, Y
// and X the other way round, or no S-JTSK coordinates at all.
void WarnOutsideSjtsk(const SurveyRecordList& records, Source source, Prompter& prompter) {
    qint64 outside = 0;
    const SurveyRecord* first = nullptr;
    for (const SurveyRecord& record : records) {
        if (!record.Is(Coordinates)) continue;
        if (InSjtskArea(record.y, record.x)) continue;
        if (!first) first = &record;
        ++outside;
    }
    if (!first) return;
    const UserText* cause = &Texts::kOutsideNotSjtsk;
    if (InSjtskArea(first->y, first->x + kMillion))
        cause = source == Source::MeasuredData ? &Texts::kOutsideMillionMeasured : &Texts::kOutsideMillionList;
    else if (InSjtskArea(first->x, first->y))
        cause = &Texts::kOutsideSwapped;
    const QByteArray name = first->name.ToByteArray();
    prompter.Tell(TextFilled(Texts::kDrawingOutsideSjtsk,
                             {Counted(outside, Texts::kPointsNoun), name.isEmpty() ? Text(Texts::kUnnamedPoint) : name,
                              Numbers::FormatFixed(first->y, 3), Numbers::FormatFixed(first->x, 3), Text(*cause)}),
                  MessageIcon::Exclamation, Topic::DataWarning);
}

// Draws result.records, read from sourcePath, into context.file.basePath + ".dxf"
// and says what became of the drawing.
void Draw(DxfExportResult& result, ConversionContext& context, const QString& sourcePath, Source source,
          bool millionAdded) {
    if (context.settings.dxfEpsgAxes && !millionAdded) WarnOutsideSjtsk(result.records, source, context.prompter);
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
    const bool millionAdded = AddMillionIfAsked(result.records, context.prompter);
    Draw(result, context, path, Source::MeasuredData, millionAdded);
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
    // A text list is drawn as it is written.
    const QString list = context.file.basePath + QStringLiteral(".txt");
    ReadXyzTextList(list, result.records, context.prompter);
    Draw(result, context, list, Source::TextList, false);
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
