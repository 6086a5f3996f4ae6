#include "check/CheckProtocol.h"

#include "base/Cp1250.h"
#include "base/Numbers.h"
#include "check/CheckTexts.h"

#include <cmath>
#include <utility>
#include <vector>

namespace {

bool InGon(Quantity quantity) {
    return quantity == Quantity::Collimation || quantity == Quantity::Index || quantity == Quantity::Zenith ||
           quantity == Quantity::Direction;
}

QByteArray Metres(double value) { return Numbers::FormatFixed(value, 3); }
QByteArray Gon(double value) { return Numbers::FormatFixed(value, 4); }

// A finding's value or limit in its unit; empty when it has none.
QByteArray Value(double value, Quantity quantity) {
    if (std::isnan(value)) return {};
    return InGon(quantity) ? Gon(value) : Metres(value);
}

QByteArray LevelsText(const ToleranceLevels& levels, int decimals, const char* unit) {
    return Numbers::FormatFixed(levels.suspicious, decimals) + " / " + Numbers::FormatFixed(levels.wrong, decimals) +
           ' ' + unit;
}

const UserText& CheckName(CheckKind check) {
    switch (check) {
        case CheckKind::Repeat:
            return CheckTexts::kCheckRepeat;
        case CheckKind::Faces:
            return CheckTexts::kCheckFaces;
        case CheckKind::BothWays:
            return CheckTexts::kCheckBothWays;
        case CheckKind::Orientation:
            return CheckTexts::kCheckOrientation;
        case CheckKind::Coordinates:
            return CheckTexts::kCheckCoordinates;
        case CheckKind::Values:
            break;
    }
    return CheckTexts::kCheckValues;
}

const UserText& QuantityName(Quantity quantity) {
    switch (quantity) {
        case Quantity::Along:
            return CheckTexts::kQuantityAlong;
        case Quantity::Across:
            return CheckTexts::kQuantityAcross;
        case Quantity::Height:
            return CheckTexts::kQuantityHeight;
        case Quantity::OrientationSpread:
            return CheckTexts::kQuantitySpread;
        case Quantity::Collimation:
            return CheckTexts::kQuantityCollimation;
        case Quantity::Index:
            return CheckTexts::kQuantityIndex;
        case Quantity::LineDistance:
            return CheckTexts::kQuantityLineDistance;
        case Quantity::LineHeight:
            return CheckTexts::kQuantityLineHeight;
        case Quantity::CoordinateDistance:
            return CheckTexts::kQuantityCoordinateDistance;
        case Quantity::SharedCoordinates:
            return CheckTexts::kQuantitySharedCoordinates;
        case Quantity::Zenith:
            return CheckTexts::kQuantityZenith;
        case Quantity::Direction:
            return CheckTexts::kQuantityDirection;
        case Quantity::SlopeDistance:
            break;
    }
    return CheckTexts::kQuantitySlopeDistance;
}

// «opakovaná záměra – výška»
QByteArray FindingCheckText(const Finding& finding) {
    return Text(CheckName(finding.check)) + " \x96 " + Text(QuantityName(finding.quantity));
}

QByteArray PointsText(const Finding& finding, const char* separator) {
    QByteArray text;
    for (const RecordText& point : finding.points) {
        if (!text.isEmpty()) text += separator;
        text += point.View();
    }
    return text;
}

QByteArray FindingText(const Finding& finding) {
    QByteArray points = PointsText(finding, ", ");
    if (finding.quantity == Quantity::SharedCoordinates) {
        points = finding.stationName.ToByteArray() + ", " + points +
                 TextFilled(CheckTexts::kFindingLine, {Numbers::FormatInteger(finding.line)});
    }
    QByteArray value;
    if (!std::isnan(finding.value)) {
        value = TextFilled(CheckTexts::kFindingValue,
                           {Value(finding.value, finding.quantity), Value(finding.limit, finding.quantity),
                            InGon(finding.quantity) ? "gon" : "m"});
    }
    QByteArray records;
    for (const qsizetype record : finding.records) {
        if (!records.isEmpty()) records += ", ";
        records += Numbers::FormatInteger(record + 1);
    }
    const UserText& recordsText = finding.records.size() == 1 ? CheckTexts::kRecordsOne : CheckTexts::kRecordsMany;
    return TextFilled(
        CheckTexts::kFinding,
        {Text(finding.level == FindingLevel::Wrong ? CheckTexts::kMarkWrong : CheckTexts::kMarkSuspicious),
         FindingCheckText(finding), points, value, TextFilled(recordsText, {records})});
}

// «podél 0.004 m, napříč 0.002 m, výška 0.003 m»
QByteArray DifferencesText(const Comparison& comparison) {
    QByteArray text;
    const auto add = [&text](const QByteArray& part) {
        if (!text.isEmpty()) text += ", ";
        text += part;
    };
    if (!std::isnan(comparison.along)) add(TextFilled(CheckTexts::kAlong, {Metres(comparison.along)}));
    if (comparison.check == CheckKind::Orientation && !std::isnan(comparison.spread)) {
        if (std::isnan(comparison.across))
            add(TextFilled(CheckTexts::kSpreadGonOnly, {Gon(comparison.spread)}));
        else
            add(TextFilled(CheckTexts::kSpread, {Gon(comparison.spread), Metres(comparison.across)}));
    } else if (!std::isnan(comparison.across)) {
        add(TextFilled(CheckTexts::kAcross, {Metres(comparison.across)}));
    }
    if (!std::isnan(comparison.height)) add(TextFilled(CheckTexts::kHeight, {Metres(comparison.height)}));
    if (text.isEmpty()) text = Text(CheckTexts::kNoDistance);
    return text;
}

QByteArray ComparisonText(const Comparison& comparison) {
    const QByteArray point = comparison.point.ToByteArray();
    switch (comparison.check) {
        case CheckKind::Repeat:
        case CheckKind::Orientation:
            return TextFilled(comparison.check == CheckKind::Repeat ? CheckTexts::kRepeat : CheckTexts::kOrientation,
                              {point, Numbers::FormatInteger(comparison.count),
                               Text(comparison.face == 2 ? CheckTexts::kSecondFace : CheckTexts::kFirstFace),
                               DifferencesText(comparison)});
        case CheckKind::Faces:
            return TextFilled(
                CheckTexts::kFaces,
                {point, TextFilled(CheckTexts::kPairErrors, {Gon(comparison.collimation), Gon(comparison.index)}),
                 DifferencesText(comparison)});
        case CheckKind::BothWays:
            return TextFilled(
                CheckTexts::kBothWays,
                {point, Metres(comparison.distance), Metres(comparison.otherDistance),
                 Metres(std::abs(comparison.distance - comparison.otherDistance)), Metres(comparison.heightSum)});
        case CheckKind::Coordinates:
        case CheckKind::Values:
            break;
    }
    return TextFilled(CheckTexts::kCoordinates, {point, Metres(comparison.distance), Metres(comparison.otherDistance),
                                                 Metres(std::abs(comparison.distance - comparison.otherDistance))});
}

QByteArray SummaryText(const CheckReport& report) {
    const int wrong = report.Count(FindingLevel::Wrong);
    const int suspicious = report.Count(FindingLevel::Suspicious);
    if (wrong == 0 && suspicious == 0) return Text(CheckTexts::kSummaryClean);
    QByteArray counts;
    const auto add = [&counts](int count, const CzechNoun& adjective) {
        if (count == 0) return;
        if (!counts.isEmpty()) counts += ", ";
        counts += Counted(count, adjective) + ' ' + PluralForm(count, CheckTexts::kFindingNoun);
    };
    add(wrong, CheckTexts::kWrongAdjective);
    add(suspicious, CheckTexts::kSuspiciousAdjective);
    return TextFilled(CheckTexts::kSummary, {counts});
}

// A CSV field, quoted when it holds the separator, a quote or a line end.
QByteArray CsvField(const QByteArray& field) {
    if (!field.contains(';') && !field.contains('"') && !field.contains('\n') && !field.contains('\r')) return field;
    QByteArray quoted = field;
    quoted.replace('"', "\"\"");
    return '"' + quoted + '"';
}

}  // namespace

QByteArray CheckProtocol(const CheckReport& report, const CheckTolerances& tolerances) {
    constexpr const char* kLineEnd = "\r\n";
    QByteArray text = SummaryText(report) + kLineEnd + kLineEnd;
    if (report.facePairs > 0) {
        text += TextFilled(CheckTexts::kInstrumentErrors, {Counted(report.facePairs, CheckTexts::kPairNoun),
                                                           Gon(report.meanCollimation), Gon(report.meanIndex)});
        text += kLineEnd + Text(CheckTexts::kInstrumentErrorsTakenOff);
    } else {
        text += Text(CheckTexts::kNoFacePairs);
    }
    text += kLineEnd + Text(CheckTexts::kLimits) + kLineEnd;
    const std::pair<const UserText&, QByteArray> limits[] = {
        {CheckTexts::kLimitPosition, LevelsText(tolerances.position, 3, "m")},
        {CheckTexts::kLimitHeight, LevelsText(tolerances.height, 3, "m")},
        {CheckTexts::kLimitLineDistance, LevelsText(tolerances.lineDistance, 3, "m")},
        {CheckTexts::kLimitLineHeight, LevelsText(tolerances.lineHeight, 3, "m")},
        {CheckTexts::kLimitFaces, LevelsText(tolerances.faces, 4, "gon")},
        {CheckTexts::kLimitRange, Numbers::FormatFixed(tolerances.range, 0)},
    };
    for (const auto& [limit, value] : limits) text += "  " + TextFilled(limit, {value}) + kLineEnd;
    text += Text(CheckTexts::kCurvature) + kLineEnd + Text(CheckTexts::kRecordNumbers) + kLineEnd;

    // The lines and findings by station; findings before the first station (or of
    // a station the report does not list) under a heading of their own.
    const auto bucket = [&report](std::ptrdiff_t station) {
        return station >= 0 && static_cast<std::size_t>(station) < report.stations.size()
                   ? static_cast<std::size_t>(station) + 1
                   : 0;
    };
    std::vector<std::vector<const Comparison*>> linesOf(report.stations.size() + 1);
    for (const Comparison& line : report.lines) linesOf[bucket(line.station)].push_back(&line);
    std::vector<std::vector<const Finding*>> findingsOf(report.stations.size() + 1);
    for (const Finding& finding : report.findings) findingsOf[bucket(finding.station)].push_back(&finding);
    const auto addFindings = [&](const std::vector<const Finding*>& findings) {
        for (const Finding* finding : findings) text += "  " + FindingText(*finding) + kLineEnd;
    };
    if (!findingsOf.front().empty()) {
        text += kLineEnd + Text(CheckTexts::kOutsideStations) + kLineEnd;
        addFindings(findingsOf.front());
    }
    for (std::size_t index = 0; index < report.stations.size(); ++index) {
        const StationCheck& station = report.stations[index];
        text += kLineEnd;
        text +=
            TextFilled(CheckTexts::kStation, {station.name.ToByteArray(), Numbers::FormatInteger(station.record + 1)});
        text += kLineEnd;
        const auto comparisons = report.ComparisonsOf(station);
        for (const Comparison& comparison : comparisons) text += "  " + ComparisonText(comparison) + kLineEnd;
        for (const Comparison* line : linesOf[index + 1]) text += "  " + ComparisonText(*line) + kLineEnd;
        if (comparisons.empty() && linesOf[index + 1].empty())
            text += "  " + Text(CheckTexts::kNothingCompared) + kLineEnd;
        addFindings(findingsOf[index + 1]);
    }
    return text;
}

QByteArray CheckProtocolFile(const QByteArray& protocol) { return "\xEF\xBB\xBF" + Cp1250::ToUtf8(protocol); }

FindingFields FieldsOf(const Finding& finding, const char* pointSeparator) {
    FindingFields fields;
    fields.level = Text(finding.level == FindingLevel::Wrong ? CheckTexts::kLevelWrong : CheckTexts::kLevelSuspicious);
    fields.station = finding.stationName.ToByteArray();
    fields.points = PointsText(finding, pointSeparator);
    fields.check = FindingCheckText(finding);
    fields.value = Value(finding.value, finding.quantity);
    fields.limit = Value(finding.limit, finding.quantity);
    if (!fields.value.isEmpty() || !fields.limit.isEmpty()) fields.unit = InGon(finding.quantity) ? "gon" : "m";
    return fields;
}

QByteArray CheckFindingsCsv(const CheckReport& report) {
    QByteArray csv = Text(CheckTexts::kCsvHeader) + '\n';
    for (const Finding& finding : report.findings) {
        const FindingFields fields = FieldsOf(finding, ",");
        csv += CsvField(fields.level);
        csv += ';' + CsvField(fields.station);
        csv += ';' + CsvField(fields.points);
        csv += ';' + CsvField(fields.check);
        csv += ';' + fields.value;
        csv += ';' + fields.limit;
        csv += '\n';
    }
    return csv;
}
