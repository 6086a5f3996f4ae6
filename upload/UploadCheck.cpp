#include "upload/UploadCheck.h"

#include "base/Numbers.h"
#include "base/PointLine.h"
#include "base/Texts.h"
#include "upload/UploadProtocol.h"

#include <QHash>

#include <cmath>
#include <cstdint>
#include <string_view>

namespace {

// A line or a code text longer than this is shown cut, with an ellipsis.
constexpr qsizetype kShownTextLength = 40;

QByteArray Shown(const QByteArray& text) {
    if (text.size() <= kShownTextLength) return text;
    return TextFilled(Texts::kShortened, {text.left(kShownTextLength)});
}

QByteArray Joined(const QList<QByteArray>& items, bool quoted) {
    QByteArray joined;
    for (const QByteArray& item : items) {
        if (!joined.isEmpty()) joined += ", ";
        joined += quoted ? TextFilled(Texts::kQuoted, {Shown(item)}) : item;
    }
    return joined;
}

// What the instrument's field keeps of a coordinate, in metres: the record's own
// digits read back, so the check sees exactly what is sent.
double Folded(double metres) {
    const QByteArray field = FoldedMillimetres(metres);
    const Numbers::ParsedInteger millimetres = Numbers::ParseInteger(
        std::string_view(field.constData(), static_cast<std::size_t>(field.size())), INT64_MIN, INT64_MAX);
    return static_cast<double>(millimetres.value) / 1000.0;
}

// The field takes whole millions off a value (give or take half a millimetre of
// rounding). Below 1,000,000 m and above -1,000,000 m that is none; a Y or X from
// 1,000,000 m to 2,000,000 m loses the one S-JTSK million everybody expects. Any
// other loss, that of an infinite value included, is worth telling.
bool FoldsAsUsual(double metres, double folded, char axis) {
    const double millions = std::round((metres - folded) / 1e6);
    return millions == 0.0 || (axis != 'Z' && millions == 1.0);
}

bool OnlySpaces(const QByteArray& text) {
    for (const char c : text) {
        if (c != ' ') return false;
    }
    return true;
}

// A line with nothing on it but spaces and tabs: no data the user could miss.
bool Blank(const QByteArray& line) {
    for (const char c : line) {
        if (c != ' ' && c != '\t') return false;
    }
    return true;
}

UploadFinding LineNotSent(UploadFindingKind kind, qsizetype index, const QByteArray& line) {
    UploadFinding finding;
    finding.kind = kind;
    finding.line = static_cast<int>(index + 1);
    finding.subject = line;
    return finding;
}

// The lines left out, and the heights whose decimal comma is not read: the list
// turns the first comma from a number's start to the line's end into a point, so
// Y and X always get their own comma, or lend theirs to a later number; a height
// gets none of its own and keeps its comma when Y and X had theirs («P1 12,5 13,7
// 2,1» sends the height 2).
void CheckPointLines(const QList<QByteArray>& lines, QList<UploadFinding>& notSent, QList<UploadFinding>& commas) {
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QByteArray& written = lines[i];
        QByteArray line = written;  // the reader writes its points into the line
        const std::optional<PointLine> point =
            ReadPointLine(line.data(), line.data() + line.size(), PointListKind::Upload);
        if (!point) {
            if (!Blank(written)) notSent.append(LineNotSent(UploadFindingKind::PointLineNotSent, i, written));
            continue;
        }
        if (point->heightBegin < 0) continue;
        const QByteArray height = written.mid(point->heightBegin, point->heightEnd - point->heightBegin);
        if (!height.contains(',')) continue;
        QByteArray meant = height;
        meant[meant.indexOf(',')] = '.';
        if (Numbers::ToDouble(meant) == point->height) continue;
        UploadFinding finding;
        finding.kind = UploadFindingKind::CommaNotRead;
        finding.line = static_cast<int>(i + 1);
        finding.subject = point->name.toByteArray();
        finding.written = height;
        finding.received = Numbers::FormatFixed(Folded(point->height), 3);
        commas.append(finding);
    }
}

// Lines left out, clashing names, misread commas, coordinates, then cut names.
QList<UploadFinding> CheckPoints(const QList<QByteArray>& lines, const SurveyRecordList& list) {
    QList<UploadFinding> notSent, sameNames, commas, coordinates, nameCuts;
    CheckPointLines(lines, notSent, commas);
    QHash<QByteArray, QList<QByteArray>> namesOf;  // instrument name: the different names that give it
    QList<QByteArray> instrumentNames;             // in the order of the list
    QList<QByteArray> cutNames;
    for (const SurveyRecord& point : list) {
        const QByteArray name = point.name.ToByteArray();
        const QByteArray cut = CutPointName(name);
        QList<QByteArray>& names = namesOf[cut];
        if (names.isEmpty()) instrumentNames.append(cut);
        if (!names.contains(name)) names.append(name);
        // A point written twice under one long name is told once.
        if (cut != name && !cutNames.contains(name)) {
            cutNames.append(name);
            UploadFinding finding;
            finding.kind = UploadFindingKind::NameCut;
            finding.subject = name;
            finding.received = cut;
            nameCuts.append(finding);
        }

        const struct {
            char axis;
            double value;
        } kCoordinates[] = {{'Y', point.y}, {'X', point.x}, {'Z', point.z}};
        for (const auto& coordinate : kCoordinates) {
            const double folded = Folded(coordinate.value);
            if (FoldsAsUsual(coordinate.value, folded, coordinate.axis)) continue;
            UploadFinding finding;
            finding.kind = UploadFindingKind::CoordinateFolded;
            finding.axis = coordinate.axis;
            finding.subject = name;
            finding.written = Numbers::FormatFixed(coordinate.value, 3);
            finding.received = Numbers::FormatFixed(folded, 3);
            coordinates.append(finding);
        }
    }
    for (const QByteArray& cut : instrumentNames) {
        const QList<QByteArray>& names = namesOf[cut];
        if (names.size() < 2) continue;
        UploadFinding finding;
        finding.kind = UploadFindingKind::SameName;
        finding.received = cut;
        finding.others = names;
        sameNames.append(finding);
    }
    return notSent + sameNames + commas + coordinates + nameCuts;
}

// Lines left out, renumbered codes, repeated codes, then cut texts.
QList<UploadFinding> CheckCodes(const QList<QByteArray>& lines, const SurveyRecordList& list) {
    // Lines left out and numbers outside 1..50, from the lines themselves, in the
    // order of the list.
    QList<UploadFinding> notSent, renumbered, repeated, textCuts;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const std::optional<CodeLineNumber> number = ReadCodeLineNumber(lines[i]);
        if (!number) {
            if (!Blank(lines[i])) notSent.append(LineNotSent(UploadFindingKind::CodeLineNotSent, i, lines[i]));
            continue;
        }
        if (!number->hasDigits) {
            notSent.append(LineNotSent(UploadFindingKind::CodeNumberMissing, i, lines[i]));
            continue;
        }
        if (number->InRange() && number->written == number->code) continue;
        UploadFinding finding;
        finding.kind = number->InRange() ? UploadFindingKind::CodeRenumbered : UploadFindingKind::CodeNotSent;
        finding.line = static_cast<int>(i + 1);
        finding.subject = lines[i];
        finding.written = Numbers::FormatInteger(number->written);
        finding.received = Numbers::FormatInteger(number->code);
        (number->InRange() ? renumbered : notSent).append(finding);
    }

    QHash<quint16, QList<QByteArray>> textsOf;
    QList<quint16> codes;  // in the order of the list
    for (const SurveyRecord& entry : list) {
        const QByteArray text = entry.codeText.ToByteArray();
        QList<QByteArray>& texts = textsOf[entry.codeNumber];
        if (texts.isEmpty()) codes.append(entry.codeNumber);
        texts.append(text);
        // Spaces past the tenth character would be padding on the instrument anyway.
        const QByteArray cut = CutCodeText(text);
        if (OnlySpaces(text.mid(cut.size()))) continue;
        UploadFinding finding;
        finding.kind = UploadFindingKind::CodeTextCut;
        finding.subject = text;
        finding.written = Numbers::FormatInteger(entry.codeNumber);
        finding.received = cut;
        textCuts.append(finding);
    }
    for (const quint16 code : codes) {
        const QList<QByteArray>& texts = textsOf[code];
        if (texts.size() < 2) continue;
        UploadFinding finding;
        finding.kind = UploadFindingKind::CodeRepeated;
        finding.written = Numbers::FormatInteger(code);
        finding.others = texts;
        repeated.append(finding);
    }
    return notSent + renumbered + repeated + textCuts;
}

}  // namespace

QList<UploadFinding> CheckUploadList(const QList<QByteArray>& lines, const SurveyRecordList& list, UploadKind kind) {
    // Gathered per kind, so that the worst come first however many cuts there are.
    return kind == UploadKind::Points ? CheckPoints(lines, list) : CheckCodes(lines, list);
}

QByteArray FindingText(const UploadFinding& finding) {
    const QByteArray line = Numbers::FormatInteger(finding.line);
    switch (finding.kind) {
        case UploadFindingKind::PointLineNotSent:
            return TextFilled(Texts::kFindingPointLineNotSent, {line, Shown(finding.subject)});
        case UploadFindingKind::CodeLineNotSent:
            return TextFilled(Texts::kFindingCodeLineNotSent, {line, Shown(finding.subject)});
        case UploadFindingKind::CodeNumberMissing:
            return TextFilled(Texts::kFindingCodeNumberMissing, {line, Shown(finding.subject)});
        case UploadFindingKind::CommaNotRead:
            return TextFilled(Texts::kFindingCommaNotRead,
                              {line, finding.subject.isEmpty() ? Text(Texts::kUnnamedPoint) : finding.subject,
                               finding.written, finding.received});
        case UploadFindingKind::SameName:
            return TextFilled(Texts::kFindingSameName, {Joined(finding.others, false), finding.received});
        case UploadFindingKind::CoordinateFolded:
            return TextFilled(Texts::kFindingCoordinate,
                              {finding.subject.isEmpty() ? Text(Texts::kUnnamedPoint) : finding.subject,
                               QByteArray(1, finding.axis), finding.written, finding.received});
        case UploadFindingKind::CodeNotSent:
            return TextFilled(Texts::kFindingCodeNotSent,
                              {Numbers::FormatInteger(finding.line), Shown(finding.subject), finding.written});
        case UploadFindingKind::CodeRenumbered:
            return TextFilled(
                Texts::kFindingCodeRenumbered,
                {Numbers::FormatInteger(finding.line), Shown(finding.subject), finding.written, finding.received});
        case UploadFindingKind::CodeRepeated:
            return TextFilled(Texts::kFindingCodeRepeated, {finding.written, Joined(finding.others, true)});
        case UploadFindingKind::NameCut:
            return TextFilled(Texts::kFindingNameCut, {finding.subject, finding.received});
        case UploadFindingKind::CodeTextCut:
            return TextFilled(Texts::kFindingCodeTextCut, {finding.written, Shown(finding.subject), finding.received});
    }
    return {};
}

QByteArray FindingsText(const QList<UploadFinding>& findings, int shown) {
    QByteArray text = Text(Texts::kFindingsHeading);
    const qsizetype count = shown > 0 && shown < findings.size() ? shown : findings.size();
    for (qsizetype i = 0; i < count; ++i) text += '\n' + TextFilled(Texts::kFindingLine, {FindingText(findings[i])});
    if (count < findings.size())
        text += '\n' + TextFilled(Texts::kFindingsMore, {Numbers::FormatInteger(findings.size())});
    return text;
}
