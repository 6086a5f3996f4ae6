#include "upload/UploadTransmission.h"

#include "base/Numbers.h"
#include "base/Prompter.h"
#include "base/Texts.h"
#include "upload/UploadCheck.h"
#include "upload/UploadPort.h"
#include "upload/UploadProtocol.h"

QByteArray SentDataLog(const SurveyRecordList& list, UploadKind kind) {
    QByteArray log = Text(Texts::kSentDataHeading);
    for (const SurveyRecord& entry : list) {
        if (kind == UploadKind::Points) {
            log += RecordTextField(entry.name);
            Numbers::AppendFormat(log, "  %10.3f\t%10.3f\t%10.3f\r\n", entry.y, entry.x, entry.z);
        } else {
            Numbers::AppendFormat(log, "%03u\t", static_cast<unsigned>(entry.codeNumber));
            log += RecordTextField(entry.codeText);
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
