#pragma once
// The check of an NTS-350 transfer's block framing, made while the framing is
// removed: each block is STX, 128 text bytes, the block digit, three checksum
// digits, ETX (then CR LF), the same blocks the upload sends; the control records
// STX "F00F000" ETX, STX "GC" ETX and the end record STX EOT are no blocks. Text
// outside the blocks is converted as it stands and told. Offsets are bytes from
// the start of the measured-data file. A file without any STX or ETX was not
// framed (typed or edited by hand) and has no findings.

#include "base/RecordText.h"

#include <QByteArray>
#include <QList>

#include <QtGlobal>

enum class BlockFindingKind {
    Checksum,      // the three checksum digits do not match the block (or its digit is no digit)
    Lost,          // the block digit runs ahead: blocks before this one were lost
    Repeated,      // the block digit runs back: this block came again
    WrongLength,   // not 132 bytes between STX and ETX
    TrailingText,  // text after the last block
    NoEtx,         // a block whose ETX never came before the next STX or the end
    StrayEtx,      // a block cut in two by an ETX inside it
    StrayStx,      // a block cut in two by an STX inside it
    TextBetween,   // text between two blocks
    TextBefore,    // text before the first block
    NoStx,         // a block whose STX was lost: from the last ETX to its own
    Cut,           // a transfer that began with the preambles ended without its end record: the last block received
};

struct BlockFinding {
    BlockFindingKind kind = BlockFindingKind::Checksum;
    int block = 0;      // the block's number in the file, from 1 (text outside blocks: 0)
    qint64 begin = 0;   // the block's first byte (its STX) in the file, or the text's
    qint64 end = 0;     // just after its last byte (its ETX)
    char digit = 0;     // Lost, Repeated: the block digit received
    char expected = 0;  // Lost, Repeated: the digit the sequence asked for
    // The same stretch in the text the preparation hands to the parser, and the
    // records whose text lies in it (named by ReadRecords): the first, the last,
    // how many.
    qsizetype textBegin = 0;
    qsizetype textEnd = 0;
    RecordText firstRecord;
    RecordText lastRecord;
    int records = 0;
};

struct TransferFindings {
    static constexpr int kKept = 64;  // findings kept; a file of garbage may hold millions
    QList<BlockFinding> first;        // the first kKept, in file order
    qint64 count = 0;                 // all of them

    bool Any() const { return count > 0; }
    void Add(const BlockFinding& finding) {
        if (first.size() < kKept) first.append(finding);
        ++count;
    }
};

// Removes STX, CR and LF bytes, and each ETX together with the (up to) four bytes
// before it: the block digit and the three checksum digits. Those are checked on
// the way; the findings never change what is removed. The control records
// (STX "F00F000" ETX, STX "GC" ETX, the end record STX EOT) are removed whole. A
// transfer that begins with a preamble and has no end record was cut short.
TransferFindings RemoveFraming(QByteArray& bytes);

// How many findings the warning names before it gives their count.
inline constexpr int kTransferFindingsShown = 5;

// The once-per-run warning (Windows-1250): the first findings, each with the
// records it names, their count and the advice to repeat the transfer. Empty when
// there is nothing to say.
QByteArray TransferFindingsText(const TransferFindings& findings);
