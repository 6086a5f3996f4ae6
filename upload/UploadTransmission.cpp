#include "upload/UploadTransmission.h"

#include "base/ConversionSettings.h"
#include "base/Numbers.h"
#include "base/PointLine.h"
#include "base/TextLines.h"
#include "base/Prompter.h"
#include "base/Texts.h"
#include "upload/UploadCheck.h"
#include "upload/UploadPort.h"
#include "upload/UploadProtocol.h"

#include <algorithm>
#include <new>
#include <optional>

namespace {

// Whether the list is to go out: what the instrument would hold differently from
// the list is told before the port is touched, and only a Yes sends it anyway.
bool SendDespiteFindings(const UploadFindings& findings, Prompter& prompter) {
    if (findings.isEmpty()) return true;
    const QByteArray question = FindingsText(findings, kFindingsShown) + "\n\n" + Text(Texts::kAskSendAnyway);
    return prompter.Ask(Topic::UploadFindings, question, MessageButtons::YesNo, MessageIcon::Question) == Answer::Yes;
}

// What the upload needs of a list, made before the port is touched: the entries
// (names cut as the instrument keeps them), what the check found, the record
// stream and the sent-data log.
struct Prepared {
    SurveyRecordList entries;
    UploadFindings findings;
    QByteArray stream;
    QByteArray log;
};

// Opens the port afresh without its reader; a port that does not open is told,
// with why where the port can say.
bool OpenPort(UploadPort& port, Prompter& prompter) {
    if (port.IsOpen()) port.Close();
    if (port.OpenWithoutReader()) return true;
    QByteArray message = Text(Texts::kBadCommSettings);
    if (const QByteArray why = port.OpenFailure(); !why.isEmpty()) message += '\n' + why;
    prompter.Tell(message);
    return false;
}

// The records on the line, each write checked: a pause after each preamble and
// each block, and then the progress one step on. A failed write ends the
// transmission, since the instrument has lost part of the stream and what follows
// would not make a usable list; Error says why.
class LineTransmission {
public:
    LineTransmission(UploadPort& port, UploadProgress& progress, const std::function<void(int pauseMs)>& pause)
        : m_port(port), m_progress(progress), m_pause(pause) {}

    // Preamble 1 and preamble 2.
    bool SendPreambles() { return SendAndPause(Preamble1()) && SendAndPause(Preamble2()); }

    // The stream in blocks of 128 characters, counted from 0.
    bool SendBlocks(const QByteArray& stream) {
        const int blocks = BlockCount(stream.size());
        for (unsigned counter = 0; counter < static_cast<unsigned>(blocks); ++counter) {
            // BuildBlock takes the first 128 characters from where the piece starts.
            if (!SendAndPause(BuildBlock(QByteArrayView(stream).sliced(qsizetype(counter) * kBlockPayload), counter)))
                return false;
        }
        return true;
    }

    // The end record; nothing follows it to wait for.
    bool SendEndRecord() { return m_port.Write(EndRecord(), m_error); }

    const QByteArray& Error() const { return m_error; }

private:
    bool SendAndPause(const QByteArray& record) {
        if (!m_port.Write(record, m_error)) return false;
        m_pause(kUploadPauseMs);
        m_progress.SetPosition(++m_position);
        return true;
    }

    UploadPort& m_port;
    UploadProgress& m_progress;
    const std::function<void(int pauseMs)>& m_pause;
    int m_position = 0;
    QByteArray m_error;
};

// What the list held, where the instrument keeps something else: "(v seznamu X
// 1045230.12)", or nothing.
QByteArray ListHeld(const QList<QByteArray>& differences) {
    if (differences.isEmpty()) return {};
    return '\t' + TextFilled(Texts::kSentListHeld, {differences.join(", ")});
}

// A number as the list wrote it, when the instrument keeps another value to the
// millimetre; the list's decimal comma is read as a point.
void CompareNumber(char axis, const QByteArray& written, double kept, QList<QByteArray>& differences) {
    QByteArray number = written;
    number.replace(',', '.');
    if (Numbers::FormatFixed(Numbers::ToDouble(number), 3) != Numbers::FormatFixed(kept, 3))
        differences.append(QByteArray(1, axis) + ' ' + written);
}

// One point of the log: the name as the instrument keeps it and the coordinates as
// its fields hold them, then what the list held that differs. Empty for a line
// the list does not send.
QByteArray PointLogLine(const QByteArray& line, quint16 flag) {
    const SurveyRecordList parsed = ParseUploadList({line}, UploadKind::Points, flag);
    if (parsed.empty()) return {};
    const SurveyRecord& point = parsed.front();
    QByteArray copy = line;  // the reader writes its points into the line
    const std::optional<PointLine> read = ReadPointLine(copy.data(), copy.data() + copy.size(), PointListKind::Upload);
    if (!read) return {};

    const QByteArray name = point.name.ToByteArray();
    const QByteArray cut = CutPointName(name);
    const double y = FoldedMetres(point.y), x = FoldedMetres(point.x), z = FoldedMetres(point.z);
    QByteArray entry = RecordTextField(cut);
    Numbers::AppendFormat(entry, "  %10.3f\t%10.3f\t%10.3f", y, x, z);

    QList<QByteArray> differences;
    if (cut != name) differences.append(TextFilled(Texts::kSentListName, {name}));
    const bool swapped = (flag & FLAG_SWAP_XY) != 0;
    const QByteArray first = line.mid(read->firstBegin, read->firstEnd - read->firstBegin);
    const QByteArray second = line.mid(read->secondBegin, read->secondEnd - read->secondBegin);
    CompareNumber('Y', swapped ? second : first, y, differences);
    CompareNumber('X', swapped ? first : second, x, differences);
    if (read->heightBegin >= 0)
        CompareNumber('Z', line.mid(read->heightBegin, read->heightEnd - read->heightBegin), z, differences);
    return entry + ListHeld(differences);
}

// One code of the log: the number and the text as sent, then what the list held
// that differs. Empty for a line the list does not send.
QByteArray CodeLogLine(const QByteArray& line) {
    const SurveyRecordList parsed = ParseUploadList({line}, UploadKind::Codes, 0);
    const std::optional<CodeLine> read = ReadCodeLine(line);
    if (parsed.empty() || !read) return {};
    const SurveyRecord& code = parsed.front();
    const QByteArray text = code.codeText.ToByteArray();
    const QByteArray cut = CutCodeText(text);
    QByteArray entry = Numbers::Format("%03u\t", static_cast<unsigned>(code.codeNumber)) + RecordTextField(cut);

    QList<QByteArray> differences;
    if (read->number.written != code.codeNumber)
        differences.append(TextFilled(Texts::kSentListCodeNumber, {Numbers::FormatInteger(read->number.written)}));
    // Spaces past the tenth character would be padding on the instrument anyway.
    const QByteArray rest = text.mid(cut.size());
    if (std::any_of(rest.begin(), rest.end(), [](char c) { return c != ' '; }))
        differences.append(TextFilled(Texts::kSentListCodeText, {text}));
    return entry + ListHeld(differences);
}

void TellSummary(int entries, UploadKind kind, Prompter& prompter) {
    const QByteArray count = Counted(entries, kind == UploadKind::Points ? Texts::kPointsNoun : Texts::kCodesNoun);
    prompter.Tell(TextFilled(Texts::kSentSummary, {PluralForm(entries, Texts::kSentParticiple), count}),
                  MessageIcon::Information, Topic::Summary);
}

}  // namespace

QByteArray SentDataLog(QByteArrayView list, UploadKind kind, quint16 flag) {
    QByteArray log = Text(kind == UploadKind::Points ? Texts::kSentPointsHeading : Texts::kSentCodesHeading);
    QByteArray line;
    ForEachLine(list, [&](QByteArrayView view) {
        line = ReadPart(view).toByteArray();
        const QByteArray entry = kind == UploadKind::Points ? PointLogLine(line, flag) : CodeLogLine(line);
        if (!entry.isEmpty()) log += entry + "\r\n";
    });
    return log;
}

namespace {

// Nothing when the list does not fit into memory; what was made of it is freed.
std::optional<Prepared> Prepare(UploadKind kind, const Cp1250::ListText& list, quint16 flag) {
    try {
        Prepared prepared;
        prepared.entries = ParseUploadList(list.bytes, kind, flag);
        if (prepared.entries.empty()) return prepared;
        prepared.findings = CheckUploadList(list, prepared.entries, kind);
        if (kind == UploadKind::Points) CutPointNames(prepared.entries);
        prepared.stream = RecordStream(prepared.entries, kind);
        prepared.log = SentDataLog(list.bytes, kind, flag);
        return prepared;
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
}

}  // namespace

UploadResult UploadList(UploadKind kind, const Cp1250::ListText& list, quint16 flag, UploadPort& port,
                        UploadProgress& progress, Prompter& prompter, const std::function<void(int pauseMs)>& pause) {
    UploadResult result;
    std::optional<Prepared> prepared = Prepare(kind, list, flag);
    if (!prepared) {
        result.outcome = UploadOutcome::TooLarge;
        prompter.Tell(Text(Texts::kListTooLarge));
        return result;
    }
    result.entries = static_cast<int>(prepared->entries.size());
    if (prepared->entries.empty()) {
        result.outcome = UploadOutcome::EmptyList;
        prompter.Tell(Text(kind == UploadKind::Points ? Texts::kNoValidPoints : Texts::kNoValidCodes));
        return result;
    }
    if (!SendDespiteFindings(prepared->findings, prompter)) {
        result.outcome = UploadOutcome::Declined;
        return result;
    }

    const QByteArray& stream = prepared->stream;
    if (!OpenPort(port, prompter)) {
        result.outcome = UploadOutcome::PortRefused;
        return result;
    }
    // Nothing comes back from the instrument: the user confirms its receive mode.
    prompter.Ask(Topic::ReceiveMode,
                 Text(kind == UploadKind::Points ? Texts::kSetReceiveModePoints : Texts::kSetReceiveModeCodes),
                 MessageButtons::Ok, MessageIcon::Information);

    // The progress counts the preambles and the blocks.
    progress.Show(BlockCount(stream.size()) + 2);
    progress.SetPosition(0);
    LineTransmission line(port, progress, pause);
    const bool sent = line.SendPreambles() && line.SendBlocks(stream) && line.SendEndRecord();
    progress.Hide();
    port.Close();
    if (!sent) {
        result.outcome = UploadOutcome::TransferFailed;
        prompter.Tell(TextWith(Texts::kUploadFailed, line.Error()));
        return result;
    }

    TellSummary(result.entries, kind, prompter);
    result.log = std::move(prepared->log);
    return result;
}
