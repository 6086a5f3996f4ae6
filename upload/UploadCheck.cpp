#include "upload/UploadCheck.h"

#include "base/Numbers.h"
#include "base/PointLine.h"
#include "base/TextLines.h"
#include "base/Texts.h"
#include "upload/UploadProtocol.h"

#include <QHash>
#include <QSet>

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
bool Blank(QByteArrayView line) {
    for (const char c : line) {
        if (c != ' ' && c != '\t') return false;
    }
    return true;
}

// Findings of one kind: the first kFindingsKept of them, and how many in all.
class Group {
public:
    void Add(UploadFinding finding) {
        if (m_count++ < kFindingsKept) m_kept.append(std::move(finding));
    }
    void AppendTo(UploadFindings& findings) const {
        findings.kept += m_kept;
        findings.total += m_count;
    }

private:
    QList<UploadFinding> m_kept;
    qint64 m_count = 0;
};

UploadFinding LineFinding(UploadFindingKind kind, qint64 number, QByteArrayView line) {
    UploadFinding finding;
    finding.kind = kind;
    finding.line = number;
    finding.subject = line.toByteArray();
    return finding;
}

// Calls visit(number, line, offset) for every line of the list: its number from 1,
// the line without its end and where it begins in list.bytes.
template <typename Visit>
void ForEachNumberedLine(const Cp1250::ListText& list, Visit&& visit) {
    qint64 number = 0;
    ForEachLine(list.bytes, [&](QByteArrayView line) { visit(++number, line, line.data() - list.bytes.constData()); });
}

// What of the line is read; a NUL that ends it early is a finding.
QByteArrayView ReadPartTold(QByteArrayView line, qint64 number, Group& group) {
    const QByteArrayView part = ReadPart(line);
    if (part.size() < line.size()) group.Add(LineFinding(UploadFindingKind::NulByte, number, part));
    return part;
}

// The lines left out, the heights whose decimal comma is not read, and the names
// with characters Windows-1250 lacks. The list turns the first comma from a
// number's start to the line's end into a point, so Y and X always get their own
// comma, or lend theirs to a later number; a height gets none of its own and keeps
// its comma when Y and X had theirs («P1 12,5 13,7 2,1» sends the height 2).
void CheckPointLines(const Cp1250::ListText& list, Group& notSent, Group& commas, Group& foreign) {
    QByteArray line;  // the reader writes its points into the line
    ForEachNumberedLine(list, [&](qint64 number, QByteArrayView whole, qsizetype offset) {
        const QByteArrayView written = ReadPartTold(whole, number, notSent);
        CopyLine(written, line);
        const std::optional<PointLine> point =
            ReadPointLine(line.data(), line.data() + line.size(), PointListKind::Upload);
        if (!point) {
            if (!Blank(written)) notSent.Add(LineFinding(UploadFindingKind::PointLineNotSent, number, written));
            return;
        }

        // The instrument keeps the name's last characters only.
        const QByteArray name = point->name.toByteArray();
        const QByteArray received = CutPointName(name);
        const qsizetype nameEnd = offset + (point->name.data() - line.constData()) + name.size();
        if (QList<QByteArray> characters = Cp1250::ForeignCodes(list, nameEnd - received.size(), nameEnd);
            !characters.isEmpty()) {
            UploadFinding finding = LineFinding(UploadFindingKind::ForeignInName, number, name);
            finding.received = received;
            finding.others = std::move(characters);
            foreign.Add(std::move(finding));
        }

        if (point->heightBegin < 0) return;
        const QByteArray height =
            written.sliced(point->heightBegin, point->heightEnd - point->heightBegin).toByteArray();
        if (!height.contains(',')) return;
        QByteArray meant = height;
        meant[meant.indexOf(',')] = '.';
        if (Numbers::ToDouble(meant) == point->height) return;
        UploadFinding finding = LineFinding(UploadFindingKind::CommaNotRead, number, name);
        finding.written = height;
        finding.received = Numbers::FormatFixed(Folded(point->height), 3);
        commas.Add(std::move(finding));
    });
}

// Lines left out, clashing names, misread commas, foreign characters, coordinates,
// then cut names.
UploadFindings CheckPoints(const Cp1250::ListText& list, const SurveyRecordList& entries) {
    Group notSent, sameNames, commas, foreign, coordinates, nameCuts;
    CheckPointLines(list, notSent, commas, foreign);
    QHash<QByteArray, QList<QByteArray>> namesOf;  // instrument name: the different names that give it
    QList<QByteArray> instrumentNames;             // in the order of the list
    QSet<QByteArray> cutNames;
    for (const SurveyRecord& point : entries) {
        const QByteArray name = point.name.ToByteArray();
        const QByteArray cut = CutPointName(name);
        QList<QByteArray>& names = namesOf[cut];
        if (names.isEmpty()) instrumentNames.append(cut);
        if (!names.contains(name)) names.append(name);
        // A point written twice under one long name is told once.
        if (cut != name && !cutNames.contains(name)) {
            cutNames.insert(name);
            UploadFinding finding;
            finding.kind = UploadFindingKind::NameCut;
            finding.subject = name;
            finding.received = cut;
            nameCuts.Add(std::move(finding));
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
            coordinates.Add(std::move(finding));
        }
    }
    for (const QByteArray& cut : instrumentNames) {
        const QList<QByteArray>& names = namesOf[cut];
        if (names.size() < 2) continue;
        UploadFinding finding;
        finding.kind = UploadFindingKind::SameName;
        finding.received = cut;
        finding.others = names;
        sameNames.Add(std::move(finding));
    }
    UploadFindings findings;
    for (const Group* group : {&notSent, &sameNames, &commas, &foreign, &coordinates, &nameCuts})
        group->AppendTo(findings);
    return findings;
}

// Lines left out, renumbered codes, repeated codes, foreign characters, then cut
// texts.
UploadFindings CheckCodes(const Cp1250::ListText& list, const SurveyRecordList& entries) {
    // Lines left out, numbers outside 1..50 and characters Windows-1250 lacks, from
    // the lines themselves, in the order of the list.
    Group notSent, renumbered, repeated, foreign, textCuts;
    ForEachNumberedLine(list, [&](qint64 number, QByteArrayView whole, qsizetype offset) {
        const QByteArrayView written = ReadPartTold(whole, number, notSent);
        const std::optional<CodeLine> code = ReadCodeLine(written);
        if (!code) {
            if (!Blank(written)) notSent.Add(LineFinding(UploadFindingKind::CodeLineNotSent, number, written));
            return;
        }
        const CodeLineNumber& codeNumber = code->number;
        if (!codeNumber.hasDigits) {
            notSent.Add(LineFinding(UploadFindingKind::CodeNumberMissing, number, written));
            return;
        }
        if (!codeNumber.InRange() || codeNumber.written != codeNumber.code) {
            UploadFinding finding =
                LineFinding(codeNumber.InRange() ? UploadFindingKind::CodeRenumbered : UploadFindingKind::CodeNotSent,
                            number, written);
            finding.written = Numbers::FormatInteger(codeNumber.written);
            finding.received = Numbers::FormatInteger(codeNumber.code);
            (codeNumber.InRange() ? renumbered : notSent).Add(std::move(finding));
        }
        if (!codeNumber.InRange()) return;
        // The instrument keeps the text's first characters only.
        const QByteArray text = written.sliced(code->textBegin).toByteArray();
        const QByteArray received = CutCodeText(text);
        const qsizetype textBegin = offset + code->textBegin;
        if (QList<QByteArray> characters = Cp1250::ForeignCodes(list, textBegin, textBegin + received.size());
            !characters.isEmpty()) {
            UploadFinding finding = LineFinding(UploadFindingKind::ForeignInCodeText, number, text);
            finding.written = Numbers::FormatInteger(codeNumber.code);
            finding.received = received;
            finding.others = std::move(characters);
            foreign.Add(std::move(finding));
        }
    });

    QHash<quint16, QList<QByteArray>> textsOf;
    QList<quint16> codes;  // in the order of the list
    for (const SurveyRecord& entry : entries) {
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
        textCuts.Add(std::move(finding));
    }
    for (const quint16 code : codes) {
        const QList<QByteArray>& texts = textsOf[code];
        if (texts.size() < 2) continue;
        UploadFinding finding;
        finding.kind = UploadFindingKind::CodeRepeated;
        finding.written = Numbers::FormatInteger(code);
        finding.others = texts;
        repeated.Add(std::move(finding));
    }
    UploadFindings findings;
    for (const Group* group : {&notSent, &renumbered, &repeated, &foreign, &textCuts}) group->AppendTo(findings);
    return findings;
}

// The characters of a ForeignIn... finding: «znak U+00F1», «znaky U+00F1, U+4E2D».
QByteArray Characters(const QList<QByteArray>& codes) {
    return TextFilled(codes.size() == 1 ? Texts::kForeignCharacter : Texts::kForeignCharacters, {Joined(codes, false)});
}

}  // namespace

UploadFindings CheckUploadList(const Cp1250::ListText& list, const SurveyRecordList& entries, UploadKind kind) {
    // Gathered per kind, so that the worst come first however many cuts there are.
    return kind == UploadKind::Points ? CheckPoints(list, entries) : CheckCodes(list, entries);
}

QByteArray FindingText(const UploadFinding& finding) {
    const QByteArray line = Numbers::FormatInteger(finding.line);
    switch (finding.kind) {
        case UploadFindingKind::NulByte:
            return TextFilled(Texts::kFindingNulByte, {line, Shown(finding.subject)});
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
        case UploadFindingKind::ForeignInName:
            return TextFilled(Texts::kFindingForeignInName,
                              {line, finding.subject, Characters(finding.others), finding.received});
        case UploadFindingKind::ForeignInCodeText:
            return TextFilled(Texts::kFindingForeignInCodeText,
                              {line, finding.written, Characters(finding.others), finding.received});
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

QByteArray FindingsText(const UploadFindings& findings, int shown) {
    QByteArray text = Text(Texts::kFindingsHeading);
    const QList<UploadFinding>& kept = findings.kept;
    const qsizetype count = shown > 0 && shown < kept.size() ? shown : kept.size();
    for (qsizetype i = 0; i < count; ++i) text += '\n' + TextFilled(Texts::kFindingLine, {FindingText(kept[i])});
    if (count < findings.total)
        text += '\n' + TextFilled(Texts::kFindingsMore, {Numbers::FormatInteger(findings.total)});
    return text;
}
