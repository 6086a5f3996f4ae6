#include "convert/MeasuredData.h"

#include "base/FileError.h"
#include "base/InputFile.h"
#include "base/Numbers.h"
#include "base/Texts.h"
#include "convert/DeviceRecognition.h"
#include "convert/RawDataPreparation.h"
#include "convert/Reduction.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <utility>
#include <vector>

namespace {

// "Použít současné nastavení korekcí?": false on Cancel. Whether the sheet that No
// opens is confirmed or not, the reading goes on with what the settings hold
// afterwards.
bool ConfirmCorrections(ConversionContext& context) {
    const Answer answer = context.prompter.Ask(Topic::Corrections, Text(Texts::kAskCorrections),
                                               MessageButtons::YesNoCancel, MessageIcon::Question);
    if (answer == Answer::Cancel) return false;
    if (answer == Answer::No) context.prompter.RunParameterSheet(context.settings);
    return true;
}

// The block findings' stretches of the prepared text, in the order of the text,
// for the parser to name their records.
std::vector<NamedStretch> StretchesOf(const TransferFindings& findings) {
    std::vector<NamedStretch> stretches;
    for (const BlockFinding& finding : findings.first) {
        NamedStretch stretch;
        stretch.begin = finding.textBegin;
        stretch.end = finding.textEnd;
        stretches.push_back(stretch);
    }
    std::stable_sort(stretches.begin(), stretches.end(),
                     [](const NamedStretch& a, const NamedStretch& b) { return a.begin < b.begin; });
    return stretches;
}

void NameRecords(TransferFindings& findings, const std::vector<NamedStretch>& stretches) {
    for (BlockFinding& finding : findings.first) {
        for (const NamedStretch& stretch : stretches) {
            if (stretch.begin == finding.textBegin && stretch.end == finding.textEnd) {
                finding.firstRecord = stretch.first;
                finding.lastRecord = stretch.last;
                finding.records = stretch.records;
                break;
            }
        }
    }
}

MeasuredData ReadRecordsOf(const QString& path, ConversionContext& context, Corrections corrections) {
    ConversionSettings& settings = context.settings;
    Prompter& prompter = context.prompter;
    MeasuredData data;

    // QByteArray keeps a NUL after the last byte, which the NTS-660 parser's line
    // handling relies on.
    QByteArray bytes;
    if (const FileError error = ReadWholeFile(path, bytes)) {
        prompter.ReportFileError(error);
        return data;
    }
    data.sourcePath = path;
    const DeviceType stored = settings.deviceType;
    data.deviceType = ChooseDevice(path, bytes, stored, context.recogniseDevice, prompter);
    if (corrections == Corrections::Confirmed) {
        if (!ConfirmCorrections(context)) {
            data.outcome = ConversionOutcome::Stopped;
            return data;
        }
        if (settings.deviceType != stored) data.deviceType = settings.deviceType;  // set in the sheet
    }

    data.correctionMmPerKm = ProjectionReduction(settings.jobAverageXMetres, settings.jobAverageYMetres) +
                             HeightReduction(settings.jobAverageHeightMetres);
    if (!std::isfinite(data.correctionMmPerKm)) {
        // A mean height at or below about -3 188 698.58 m.
        prompter.Tell(TextWith(Texts::kBadMeanHeight, Numbers::FormatFixed(settings.jobAverageHeightMetres, 3)));
        return data;
    }

    const bool nts350 = data.deviceType == DeviceType::Nts350;
    if (nts350) data.findings = PrepareRawData(bytes);
    ParseSettings parse;
    parse.deviceType = data.deviceType;
    parse.flags = settings.flag;
    parse.scaleFactor = ScaleFactor(data.correctionMmPerKm);
    parse.usSurveyFoot = data.usSurveyFoot = settings.usSurveyFoot;
    // The block check's warning names the records of each block it found fault
    // with, which the parse finds; it is still told before the parser's own.
    std::vector<NamedStretch> stretches = StretchesOf(data.findings);
    data.parsed = ParseRecords(bytes.constData(), bytes.size(), parse, &stretches);
    if (data.findings.Any()) {
        NameRecords(data.findings, stretches);
        prompter.Tell(TransferFindingsText(data.findings), MessageIcon::Exclamation, Topic::TransferFindings);
    }
    TellParseWarnings(data.parsed, settings.flag, settings.usSurveyFoot, prompter);
    data.coordinates = std::move(data.parsed.coordinates);
    if (nts350 && settings.Has(FLAG_KEEP_200)) data.preparedText = std::move(bytes);
    data.outcome = ConversionOutcome::Completed;
    return data;
}

}  // namespace

MeasuredData ReadRecords(const QString& path, ConversionContext& context, Corrections corrections) {
    // Data too large for the memory end the reading with a message, not the
    // program: the file, the prepared text and the records each need their room.
    try {
        return ReadRecordsOf(path, context, corrections);
    } catch (const std::bad_alloc&) {
        context.prompter.Tell(TextWith(Texts::kTooLargeForMemory, DisplayPath(path)));
        return MeasuredData();
    }
}
