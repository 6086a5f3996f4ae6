#include "upload/UploadTransmission.h"

#include "base/Numbers.h"
#include "base/Prompter.h"
#include "base/Texts.h"
#include "upload/UploadCheck.h"
#include "upload/UploadPort.h"
#include "upload/UploadProtocol.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr qsizetype kNameWidth = 10;

// printf's "%-10.10s": the text up to its first NUL, cut to width and padded
// with spaces.
QByteArray Padded(QByteArrayView text, qsizetype width) {
    const qsizetype nul = text.indexOf('\0');
    if (nul >= 0) text.truncate(nul);
    QByteArray field = text.first(std::min(width, text.size())).toByteArray();
    if (field.size() < width) field.append(width - field.size(), ' ');
    return field;
}

}  // namespace

QByteArray FoldedMillimetres(double metres) {
    // The fraction of the value in units of 1,000,000 m keeps its sign; 1e9 of
    // those fractions are millimetres.
    double wholeMillions = 0.0;
    const double fraction = std::modf(metres * 1e-6, &wholeMillions);
    QByteArray field = Numbers::Format("%+010.0f", fraction * 1e9);
    // Within half a millimetre below a whole 1,000,000 m the rounding reaches
    // ±1000000000, one digit too many for the instrument's field: that value is
    // the next whole 1,000,000 m, folded to 0.
    if (field.size() > 10) field = "+000000000";
    return field;
}

QByteArray PointRecord(const SurveyRecord& point) {
    // 0 "_+" | 2 name (10) | 12 "_ x" | 15 X | 25 "_ y" | 28 Y | 38 "_ z" | 41 Z | 51
    QByteArray record;
    record.reserve(kPointRecordSize);
    record += "_+";
    record += Padded(point.name, kNameWidth);
    record += "_ x";
    record += FoldedMillimetres(point.x);
    record += "_ y";
    record += FoldedMillimetres(point.y);
    record += "_ z";
    record += FoldedMillimetres(point.z);
    return record;
}

QByteArray CodeRecord(const SurveyRecord& code) {
    return Numbers::Format("_:%03u", static_cast<unsigned>(code.codeNumber)) + Padded(code.codeText, kNameWidth);
}

QByteArray CutPointName(QByteArrayView name) {
    return (name.size() > kNameWidth ? name.last(kNameWidth) : name).toByteArray();
}

QByteArray CutCodeText(QByteArrayView text) { return text.first(qMin(text.size(), kNameWidth)).toByteArray(); }

void CutPointNames(SurveyRecordList& points) {
    for (SurveyRecord& point : points) point.name = CutPointName(point.name);
}

QByteArray RecordStream(const SurveyRecordList& list, UploadKind kind) {
    QByteArray stream;
    stream.reserve(static_cast<qsizetype>(list.size()) * kPointRecordSize + 1);
    for (const SurveyRecord& entry : list)
        stream += kind == UploadKind::Points ? PointRecord(entry) : CodeRecord(entry);
    // Only a code stream is closed; the instrument takes a point stream as it ends.
    if (kind == UploadKind::Codes) stream += '_';
    return stream;
}

int BlockCount(qsizetype streamLength) { return static_cast<int>((streamLength + kBlockPayload - 1) / kBlockPayload); }

QByteArray SentDataLog(const SurveyRecordList& list, UploadKind kind) {
    QByteArray log = Text(Texts::kSentDataHeading);
    for (const SurveyRecord& entry : list) {
        if (kind == UploadKind::Points) {
            log += Padded(entry.name, kNameWidth);
            Numbers::AppendFormat(log, "  %10.3f\t%10.3f\t%10.3f\r\n", entry.y, entry.x, entry.z);
        } else {
            Numbers::AppendFormat(log, "%03u\t", static_cast<unsigned>(entry.codeNumber));
            log += Padded(entry.codeText, kNameWidth);
            log += "\r\n";
        }
    }
    return log;
}

UploadResult UploadList(UploadKind kind, const QList<QByteArray>& lines, quint16 flag, UploadPort& port,
                        UploadProgress& progress, Prompter& prompter, const std::function<void(int pauseMs)>& pause) {
    UploadResult result;
    SurveyRecordList list = ParseUploadList(lines, kind, flag);
    result.entries = static_cast<int>(list.size());
    if (list.empty()) {
        result.outcome = UploadOutcome::EmptyList;
        prompter.Tell(Text(kind == UploadKind::Points ? Texts::kNoValidPoints : Texts::kNoValidCodes));
        return result;
    }

    // What the instrument would hold differently from the list is told before the
    // port is touched; No leaves everything as it was.
    const QList<UploadFinding> findings = CheckUploadList(lines, list, kind);
    if (!findings.isEmpty()) {
        const QByteArray question = FindingsText(findings, kFindingsShown) + "\n\n" + Text(Texts::kAskSendAnyway);
        if (prompter.Ask(Topic::UploadFindings, question, MessageButtons::YesNo, MessageIcon::Question) !=
            Answer::Yes) {
            result.outcome = UploadOutcome::Declined;
            return result;
        }
    }

    if (kind == UploadKind::Points) CutPointNames(list);
    const QByteArray stream = RecordStream(list, kind);

    if (port.IsOpen()) port.Close();
    if (!port.OpenWithoutReader()) {
        result.outcome = UploadOutcome::PortRefused;
        QByteArray message = Text(Texts::kBadCommSettings);
        if (const QByteArray why = port.OpenFailure(); !why.isEmpty()) message += '\n' + why;
        prompter.Tell(message);
        return result;
    }

    // Nothing comes back from the instrument: the user confirms its receive mode.
    prompter.Ask(Topic::ReceiveMode, Text(Texts::kSetReceiveMode), MessageButtons::Ok, MessageIcon::Information);

    const int blocks = BlockCount(stream.size());
    progress.Show(blocks + 2);
    progress.SetPosition(0);

    // A failed write ends the transmission: the instrument has lost part of the
    // stream, so what follows would not make a usable list.
    QByteArray error;
    const auto send = [&](const QByteArray& bytes) { return port.Write(bytes, error); };
    bool sent = send(Preamble1());
    if (sent) {
        pause(kUploadPauseMs);
        progress.SetPosition(1);
        sent = send(Preamble2());
    }
    if (sent) {
        pause(kUploadPauseMs);
        progress.SetPosition(2);
    }
    for (unsigned counter = 0; sent && counter < static_cast<unsigned>(blocks); ++counter) {
        // BuildBlock takes the first 128 characters from where the piece starts.
        sent = send(BuildBlock(QByteArrayView(stream).sliced(qsizetype(counter) * kBlockPayload), counter));
        if (!sent) break;
        pause(kUploadPauseMs);
        progress.SetPosition(static_cast<int>(counter) + 1 + 2);
    }
    if (sent) sent = send(EndRecord());

    progress.Hide();
    port.Close();

    if (!sent) {
        result.outcome = UploadOutcome::TransferFailed;
        prompter.Tell(TextWith(Texts::kUploadFailed, error));
        return result;
    }

    const QByteArray count =
        Counted(result.entries, kind == UploadKind::Points ? Texts::kPointsNoun : Texts::kCodesNoun);
    prompter.Tell(TextFilled(Texts::kSentSummary, {PluralForm(result.entries, Texts::kSentParticiple), count}),
                  MessageIcon::Information, Topic::Summary);
    result.log = SentDataLog(list, kind);
    return result;
}
