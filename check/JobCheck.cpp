#include "check/JobCheck.h"

#include "check/CheckProtocol.h"
#include "check/FieldBookCheck.h"

#include <QFileInfo>

#include <utility>

CheckCounts JobCheck::Counts() const {
    return CheckCounts{true, report.Count(FindingLevel::Wrong), report.Count(FindingLevel::Suspicious)};
}

bool HasSomethingToCheck(const MeasuredData& data) { return data.parsed.stationAndSightingCount > 0; }

std::shared_ptr<JobCheck> CheckMeasuredData(const MeasuredData& data, const QString& path,
                                            const ConversionSettings& settings) {
    auto check = std::make_shared<JobCheck>();
    check->fileName = QFileInfo(path).fileName();
    // Keyword text: the coordinate lines ("XYZ" after "STN" or "BKB") as the reading kept them.
    const StationCoordinatesList& coordinates = data.coordinates;
    check->coordinateLines = coordinates.size();
    check->report = CheckFieldBook(data.parsed.records, coordinates, settings.orMarker, settings.checkTolerances);
    check->protocol = CheckProtocol(check->report, settings.checkTolerances);
    return check;
}

CheckedConversion ConvertAndCheck(const QString& path, ConversionMode mode, ConversionContext& context) {
    if (mode != ConversionMode::Full) return {ConvertMeasuredData(path, mode, context), nullptr};
    MeasuredData data = ReadRecords(path, context, Corrections::Confirmed);
    if (!data) return {ConversionResult{data.outcome, {}}, nullptr};
    if (!HasSomethingToCheck(data)) return {RunConversion(data, mode, context), nullptr};

    std::shared_ptr<JobCheck> check = CheckMeasuredData(data, path, context.settings);
    CheckedConversion result;
    result.conversion = RunConversion(
        data, mode, context, {ExtraOutput{QLatin1String(kProtocolExtension), CheckProtocolFile(check->protocol)}});
    result.conversion.receipt.check = check->Counts();
    check->records = std::move(data.parsed.records);
    result.check = std::move(check);
    return result;
}

FileCheck CheckMeasuredDataFile(const QString& path, ConversionContext& context) {
    MeasuredData data = ReadRecords(path, context, Corrections::AsStored);
    FileCheck result;
    result.outcome = data.outcome;
    if (!data) return result;
    result.read.Count(data, context.settings.orMarker);
    if (!HasSomethingToCheck(data)) return result;
    std::shared_ptr<JobCheck> check = CheckMeasuredData(data, path, context.settings);
    check->records = std::move(data.parsed.records);
    result.check = std::move(check);
    return result;
}
