#pragma once
// Sending a point or code list to an NTS-350: the whole upload run against a port,
// a progress display and the user, and the sent-data log it leaves in the editor.
// Texts are Windows-1250 bytes; what the records look like on the line is
// UploadProtocol's.

#include "upload/UploadListParser.h"

#include "base/Cp1250.h"
#include "base/SurveyRecord.h"

#include <QByteArray>
#include <QList>

#include <functional>

class Prompter;
class UploadPort;
class UploadProgress;

inline constexpr int kUploadPauseMs = 350;  // after each preamble and each block

// The sent-data log of a list's lines: the heading and one line per entry sent,
// as the instrument keeps it (the name's last 10 characters, coordinates without
// whole millions, the code number and the first 10 characters of its text), with
// what the list held beside it where that differs («X 1045230.12», «název
// BOD_S_DLOUHYM_NAZVEM»); CR LF line ends.
QByteArray SentDataLog(QByteArrayView list, UploadKind kind, quint16 flag);

enum class UploadOutcome {
    Sent,           // every byte went out; the summary was shown
    EmptyList,      // no valid line; nothing was sent and the port was not touched
    TooLarge,       // the list does not fit into memory (told); the port was not touched
    Declined,       // the user chose not to send after the check; the port was not touched
    PortRefused,    // the port did not open with its settings
    TransferFailed  // a write failed; the transmission stopped there
};

struct UploadResult {
    UploadOutcome outcome = UploadOutcome::Sent;
    int entries = 0;  // entries of the parsed list
    QByteArray log;   // the sent-data log for the editor; empty unless Sent
    explicit operator bool() const { return outcome == UploadOutcome::Sent; }
};

// The whole upload of a list: parse, check the list and, when the
// check finds anything, ask whether to send it anyway (Topic::UploadFindings; No
// ends the run as Declined), build the stream, open the port without reader, ask
// for the instrument's receive mode, send preamble 1 and 2, the blocks and the
// end record with a pause after each preamble and block, close the port and show
// the summary. Every failure is told through prompter and leaves the editor as
// it is; the caller replaces the editor's text only with a Sent result's log.
// pause(ms) holds the caller for that long.
UploadResult UploadList(UploadKind kind, const Cp1250::ListText& list, quint16 flag, UploadPort& port,
                        UploadProgress& progress, Prompter& prompter, const std::function<void(int pauseMs)>& pause);
