#pragma once
// Sending a point or code list to an NTS-350: the fixed-width records, the record
// stream, the sent-data log and the whole upload run against a port, a progress
// display and the user. Texts are Windows-1250 bytes; coordinates are metres and
// go on the line as millimetres modulo 1,000,000 m.

#include "upload/UploadListParser.h"

#include "base/SurveyRecord.h"

#include <QByteArray>
#include <QList>

#include <functional>

class Prompter;
class UploadPort;
class UploadProgress;

inline constexpr int kUploadPauseMs = 350;  // after each preamble and each block
inline constexpr int kPointRecordSize = 51;
inline constexpr int kCodeRecordSize = 15;

// A coordinate as the 10-character field of a point record: the value modulo
// 1,000,000 m (the sign stays) in millimetres, sign and nine digits. A value that
// rounds to a whole 1,000,000 m from below gives +000000000 as well.
QByteArray FoldedMillimetres(double metres);

// "_+NAME      _ x+045678123_ y+680000500_ z+000250250": 51 characters, the name
// padded with spaces or cut to its first 10 characters.
QByteArray PointRecord(const SurveyRecord& point);

// "_:005STROM     ": 15 characters, the text padded or cut to its first 10.
QByteArray CodeRecord(const SurveyRecord& code);

// A point name as the instrument keeps it: a longer name's last 10 characters.
QByteArray CutPointName(QByteArrayView name);
// A code text as the instrument keeps it: its first 10 characters.
QByteArray CutCodeText(QByteArrayView text);

// Cuts every point name longer than 10 characters to its last 10, in the list.
void CutPointNames(SurveyRecordList& points);

// The records one after another; a code stream ends with one more "_".
QByteArray RecordStream(const SurveyRecordList& list, UploadKind kind);

// How many 128-character blocks carry a stream of that length.
int BlockCount(qsizetype streamLength);

// The heading and one line per entry, as the editor shows them after an upload;
// full coordinates, CR LF line ends.
QByteArray SentDataLog(const SurveyRecordList& list, UploadKind kind);

enum class UploadOutcome {
    Sent,           // every byte went out; the summary was shown
    EmptyList,      // no valid line; nothing was sent and the port was not touched
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

// The whole upload of the editor's lines: parse, check the list and, when the
// check finds anything, ask whether to send it anyway (Topic::UploadFindings; No
// ends the run as Declined), build the stream, open the port without reader, ask
// for the instrument's receive mode, send preamble 1 and 2, the blocks and the
// end record with a pause after each preamble and block, close the port and show
// the summary. Every failure is told through prompter and leaves the editor as
// it is; the caller replaces the editor's text only with a Sent result's log.
// pause(ms) holds the caller for that long.
UploadResult UploadList(UploadKind kind, const QList<QByteArray>& lines, quint16 flag, UploadPort& port,
                        UploadProgress& progress, Prompter& prompter, const std::function<void(int pauseMs)>& pause);
