#pragma once
// What goes on the line to an NTS-350 in an upload: the fixed-width records a point
// or code entry becomes, the record stream, and the block protocol that carries it
// (the two preamble records, the 136-byte data blocks, the end record). Bytes as
// they go on the line; coordinates are metres and go as millimetres modulo
// 1,000,000 m.

#include "base/ControlBytes.h"
#include "base/SurveyRecord.h"
#include "upload/UploadListParser.h"

#include <QByteArray>
#include <QByteArrayView>

inline constexpr int kPointRecordSize = 51;
inline constexpr int kCodeRecordSize = 15;

inline constexpr int kBlockPayload = 128;  // stream characters in one block
inline constexpr int kBlockSize = 136;
inline constexpr int kBlockDigitAt = 129;  // offsets in a block
inline constexpr int kChecksumAt = 130;
inline constexpr int kBlockEndAt = 133;  // ETX CR LF

// A name or code text as its record's 10-character field: the text up to its first
// NUL, cut to its first 10 characters and padded with spaces.
QByteArray RecordTextField(QByteArrayView text);

// A coordinate as the 10-character field of a point record: the value modulo
// 1,000,000 m (the sign stays) in millimetres, sign and nine digits. A value that
// rounds to a whole 1,000,000 m from below gives +000000000 as well.
QByteArray FoldedMillimetres(double metres);
// What the instrument keeps of a coordinate, in metres: the field's digits read back.
double FoldedMetres(double metres);

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

// STX "F00F000" ETX CR LF (11 bytes).
QByteArray Preamble1();
// STX "GC" ETX CR LF (6 bytes).
QByteArray Preamble2();
// STX EOT CR LF (4 bytes).
QByteArray EndRecord();

// One upload block: STX, up to 128 stream bytes padded with spaces, the block digit,
// a three-digit XOR checksum, ETX CR LF; 136 bytes in all. A payload longer than 128
// bytes is cut to its first 128.
QByteArray BuildBlock(QByteArrayView payload, unsigned counter);
