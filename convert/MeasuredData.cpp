#include "convert/MeasuredData.h"

#include "base/InputFile.h"
#include "base/Numbers.h"
#include "base/Texts.h"
#include "convert/DeviceRecognition.h"
#include "convert/RawDataPreparation.h"
#include "convert/Reduction.h"

#include <cmath>
#include <utility>

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

}  // namespace

MeasuredData ReadRecords(const QString& path, ConversionContext& context, Corrections corrections) {
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
    if (nts350) {
        data.findings = PrepareRawData(bytes);
        if (data.findings.Any())
            prompter.Tell(TransferFindingsText(data.findings), MessageIcon::Exclamation, Topic::TransferFindings);
    }
    data.parsed = ParseRecords(bytes.constData(), bytes.size(), data.deviceType, settings.flag,
                               ScaleFactor(data.correctionMmPerKm), prompter);
    if (nts350 && settings.Has(FLAG_KEEP_200)) data.preparedText = std::move(bytes);
    data.outcome = ConversionOutcome::Completed;
    return data;
}
