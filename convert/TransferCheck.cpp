#include "convert/TransferCheck.h"

#include "base/ControlBytes.h"
#include "base/Numbers.h"
#include "base/Texts.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr qsizetype kBlockTrailer = 4;  // block digit and three checksum digits before ETX
constexpr qsizetype kBlockBody = 132;   // between STX and ETX: 128 text bytes, the digit, three checksum digits

// Whether a record of length bytes, the last eight of them in window, is text.
template <std::size_t N>
bool Holds(quint64 window, qsizetype length, const char (&text)[N]) {
    constexpr std::size_t size = N - 1;
    static_assert(size < 8, "the text fits the checker's window");
    quint64 packed = 0;
    for (std::size_t i = 0; i < size; ++i) packed = (packed << 8) | static_cast<unsigned char>(text[i]);
    return length == static_cast<qsizetype>(size) && (window & ((quint64(1) << (8 * size)) - 1)) == packed;
}

// The counter nearest to expected whose block digit is digit, the later one on a
// tie: a lost block makes the digit run ahead, a repeated one makes it run back.
int NearestCounter(int expected, char digit) {
    for (int distance = 0; distance <= 16; ++distance) {
        if (BlockDigit(static_cast<unsigned>(expected + distance)) == digit) return expected + distance;
        if (expected - distance >= 0 && BlockDigit(static_cast<unsigned>(expected - distance)) == digit)
            return expected - distance;
    }
    return expected;
}

// The check of the blocks, fed by the removal loop as it reads. Every byte from an
// STX on goes into a running XOR and a window of the last eight, so that at the
// ETX the block's own digits can be compared with what it carried, and the
// control records told by their text.
//
// What the line carries and how each piece is taken:
//   STX "F00F000" ETX, STX "GC" ETX    the preambles: no block, nothing to say
//   STX EOT                             the end record: likewise
//   STX, 132 bytes, ETX                 a block: its digit and checksum are checked
//   STX, any other length, ETX          a damaged block
//   STX, no ETX before the next STX     a block that lost its ETX
//   ETX, no STX, 4 or more text bytes   a block that lost its STX
//   ETX, no STX, less text              a stray ETX outside the blocks
//   any other text outside a block      text before, between or after the blocks
// A damaged block and the piece after it are one block cut by a stray ETX or STX
// when together they have a block's length, the stray byte put in or put in place
// of one; the block keeps one number and one finding. A damaged block may or may
// not have carried a counter: the next whole block's digit may stand for either
// without a word, so one damage is told only once. A transfer whose first record
// is a preamble ends with the end record; without it the line went down before
// the end, and the last block received is told.
//
// Each finding also says where its stretch lies in the text left for the parser:
// the removal loop hands the checker its write index (written), the length of
// that text so far, at each byte it may note a beginning or an end at. Handed by
// value, the index stays in a register of the loop.
class BlockChecker {
public:
    explicit BlockChecker(TransferFindings* findings) : m_findings(findings) {}

    // Text bytes (above CR), the common case; the byte is written already.
    void Text(unsigned char c, qsizetype at, qsizetype written) {
        Take(c);
        if (m_open < 0) MarkOutside(at, written - 1, written);
    }
    void LineEnd(unsigned char c) { Take(c); }
    // Control bytes other than STX, ETX, CR and LF. True for the EOT of the end
    // record, which is framing, not text.
    bool Control(unsigned char c, qsizetype at, qsizetype written) {
        m_written = written;
        if (c == kEot && m_open >= 0 && at == m_open + 1) {
            m_open = -1;  // the end record
            m_ended = true;
            return true;
        }
        Take(c);
        if (m_open < 0 && c != kEot) MarkOutside(at, m_written, m_written + 1);
        return false;
    }
    void Stx(qsizetype at, qsizetype written) {
        m_written = written;
        m_framed = true;
        FlushPending();
        if (m_open >= 0) {
            ++m_blocks;
            Hold(BlockFindingKind::NoEtx, m_open, at, true, m_openText,
                 m_written);  // unless this STX is a stray one in it
        }
        ReportOutside(m_recordsSeen ? BlockFindingKind::TextBetween : BlockFindingKind::TextBefore);
        m_recordsSeen = true;
        m_open = at;
        m_openText = m_written;
        m_xor = 0;
        m_window = 0;
    }
    // True when the ETX closes a control record (a preamble), which is framing as
    // a whole, text and all.
    bool Etx(qsizetype at, qsizetype written) {
        m_written = written;
        m_framed = true;
        bool control = false;
        // The ETX takes the block's digit and checksum back from the text.
        const qsizetype textEnd = m_written - std::min(m_written, kBlockTrailer);
        if (m_open >= 0) {
            control = ClosedBlock(at, textEnd);
        } else if (Continues(BlockFindingKind::WrongLength, at)) {
            m_pendingFinding.kind = BlockFindingKind::StrayEtx;
            m_pendingFinding.end = at + 1;
            m_pendingFinding.textEnd = textEnd;
            ClearOutside();
        } else if (m_outsideFirst >= 0 && at - m_outsideFirst >= kBlockTrailer) {
            // Text that could hold a block's digit and checksum: a block whose STX
            // was lost, running from the last ETX.
            FlushPending();
            ++m_blocks;
            Hold(BlockFindingKind::NoStx, m_lastEtx + 1, at + 1, false, m_lastEtxText, textEnd);
            ClearOutside();
            m_recordsSeen = true;
        } else {
            MarkOutside(at, textEnd, textEnd);  // a stray ETX outside any block, and what little text came with it
        }
        m_lastEtx = at;
        m_lastEtxText = control ? m_openText : textEnd;
        return control;
    }
    void Finish(qsizetype size, qsizetype written) {
        m_written = written;
        if (!m_framed) return;
        FlushPending();
        if (m_open >= 0) {
            ++m_blocks;
            Hold(BlockFindingKind::NoEtx, m_open, size, true, m_openText, m_written);
            FlushPending();
        }
        ReportOutside(m_recordsSeen ? BlockFindingKind::TrailingText : BlockFindingKind::TextBefore);
        if (m_preambleFirst && !m_ended)
            Add(BlockFindingKind::Cut, m_lastBlockNumber, m_lastBlock, size, m_lastBlockText, m_written);
    }
    bool Framed() const { return m_framed; }

private:
    void Take(unsigned char c) {
        m_xor ^= c;
        m_window = (m_window << 8) | c;
    }
    // A byte outside the records, at textFirst of the text (textAfter just after it).
    void MarkOutside(qsizetype at, qsizetype textFirst, qsizetype textAfter) {
        if (m_outsideFirst < 0) {
            m_outsideFirst = at;
            m_outsideFirstText = textFirst;
        }
        m_outsideLast = at;
        m_outsideLastText = textAfter;
    }
    void ClearOutside() { m_outsideFirst = m_outsideLast = -1; }
    void ReportOutside(BlockFindingKind kind) {
        if (m_outsideFirst < 0) return;
        Add(kind, 0, m_outsideFirst, m_outsideLast + 1, m_outsideFirstText, m_outsideLastText);
        ClearOutside();
    }

    // The record from the open STX to the ETX at etx (its text ending at textEnd);
    // true when it is a control record.
    bool ClosedBlock(qsizetype etx, qsizetype textEnd) {
        const qsizetype length = etx - m_open - 1;
        const bool control = Holds(m_window, length, kPreamble1Text) || Holds(m_window, length, kPreamble2Text);
        if (control && !m_recordClosed) m_preambleFirst = true;
        m_recordClosed = true;
        if (!control && Continues(BlockFindingKind::NoEtx, etx)) {
            m_pendingFinding.kind = BlockFindingKind::StrayStx;
            m_pendingFinding.end = etx + 1;
            m_pendingFinding.textEnd = textEnd;
        } else {
            FlushPending();
            if (!control) {
                ++m_blocks;
                m_lastBlock = m_open;
                m_lastBlockText = m_openText;
                m_lastBlockNumber = m_blocks;
                if (length != kBlockBody)
                    Hold(BlockFindingKind::WrongLength, m_open, etx + 1, true, m_openText, textEnd);
                else
                    CheckDigits(etx, textEnd);
            }
        }
        m_open = -1;
        ClearOutside();
        return control;
    }
    void CheckDigits(qsizetype etx, qsizetype textEnd) {
        const auto byteAt = [this](int fromEnd) { return static_cast<char>((m_window >> (8 * fromEnd)) & 0xFF); };
        const char digit = byteAt(3);
        // The checksum covers the text and the digit, not the checksum digits.
        const unsigned sum = (m_xor ^ static_cast<unsigned char>(byteAt(2)) ^ static_cast<unsigned char>(byteAt(1)) ^
                              static_cast<unsigned char>(byteAt(0))) &
                             0xFF;
        const char carried[3] = {byteAt(2), byteAt(1), byteAt(0)};
        const char computed[3] = {static_cast<char>('0' + sum / 100), static_cast<char>('0' + sum / 10 % 10),
                                  static_cast<char>('0' + sum % 10)};
        if (std::memcmp(carried, computed, 3) != 0 || digit < '0' || digit > '9') {
            Add(BlockFindingKind::Checksum, m_blocks, m_open, etx + 1, m_openText, textEnd);
            m_damaged = std::min(m_damaged + 1, kMostDamaged);
            return;
        }
        // Any counter from the expected one to the expected one after every
        // damaged block since the last whole one.
        int found = -1;
        for (int counter = m_counter; counter <= m_counter + m_damaged && found < 0; ++counter) {
            if (BlockDigit(static_cast<unsigned>(counter)) == digit) found = counter;
        }
        if (found < 0) {
            const int latest = m_counter + m_damaged;
            found = NearestCounter(latest, digit);
            BlockFinding finding;
            finding.kind = found > latest ? BlockFindingKind::Lost : BlockFindingKind::Repeated;
            finding.block = m_blocks;
            finding.begin = m_open;
            finding.end = etx + 1;
            finding.textBegin = m_openText;
            finding.textEnd = textEnd;
            finding.digit = digit;
            finding.expected = BlockDigit(static_cast<unsigned>(found > latest ? latest : m_counter));
            m_findings->Add(finding);
        }
        m_counter = found + 1;
        m_damaged = 0;
    }
    // A damaged block, told once what follows shows whether a stray byte cut it:
    // at the next STX or ETX that does not continue it, or at the end.
    void Hold(BlockFindingKind kind, qsizetype begin, qsizetype end, bool fromStx, qsizetype textBegin,
              qsizetype textEnd) {
        m_pending = true;
        m_pendingFromStx = fromStx;
        m_pendingFinding = BlockFinding();
        m_pendingFinding.kind = kind;
        m_pendingFinding.block = m_blocks;
        m_pendingFinding.begin = begin;
        m_pendingFinding.end = end;
        m_pendingFinding.textBegin = textBegin;
        m_pendingFinding.textEnd = textEnd;
        m_damaged = std::min(m_damaged + 1, kMostDamaged);
    }
    // Whether the piece up to end continues the held block of that kind: together
    // they have a block's length, give or take the stray byte.
    bool Continues(BlockFindingKind kind, qsizetype end) const {
        if (!m_pending || !m_pendingFromStx || m_pendingFinding.kind != kind) return false;
        const qsizetype body = end - m_pendingFinding.begin - 1;
        return body == kBlockBody || body == kBlockBody + 1;
    }
    void FlushPending() {
        if (!m_pending) return;
        m_findings->Add(m_pendingFinding);
        m_pending = false;
    }
    void Add(BlockFindingKind kind, int block, qsizetype begin, qsizetype end, qsizetype textBegin, qsizetype textEnd) {
        BlockFinding finding;
        finding.kind = kind;
        finding.block = block;
        finding.begin = begin;
        finding.end = end;
        finding.textBegin = textBegin;
        finding.textEnd = textEnd;
        m_findings->Add(finding);
    }

    static constexpr int kMostDamaged = 10;  // beyond ten, any digit fits anyway

    TransferFindings* m_findings;
    qsizetype m_written = 0;  // the removal loop's write index at the call in hand
    unsigned m_xor = 0;
    quint64 m_window = 0;      // the last eight bytes since the STX
    qsizetype m_open = -1;     // the open record's STX, -1 when none is open
    qsizetype m_openText = 0;  // where the open record's text begins
    qsizetype m_lastEtx = -1;
    qsizetype m_lastEtxText = 0;
    qsizetype m_outsideFirst = -1;  // text outside any record since the last one
    qsizetype m_outsideLast = -1;
    qsizetype m_outsideFirstText = 0;
    qsizetype m_outsideLastText = 0;
    qsizetype m_lastBlock = 0;  // the last block closed by its ETX: its STX, where its text begins, its number
    qsizetype m_lastBlockText = 0;
    int m_lastBlockNumber = 0;
    BlockFinding m_pendingFinding;
    bool m_pending = false;
    bool m_pendingFromStx = false;  // the held block began at its STX
    int m_blocks = 0;               // blocks met so far
    int m_counter = 0;              // the counter the next block carries when no damaged block had one
    int m_damaged = 0;              // damaged blocks since the last whole one
    bool m_framed = false;
    bool m_recordsSeen = false;    // a block or record has begun: text outside is between or after them
    bool m_recordClosed = false;   // a record was closed by its ETX
    bool m_preambleFirst = false;  // the first record closed was a preamble
    bool m_ended = false;          // the end record came
};

}  // namespace

TransferFindings RemoveFraming(QByteArray& bytes) {
    // One pass with a write index: what a removal would have moved down is simply
    // written lower; an ETX takes back the last four bytes written (a block's digit
    // and checksum). The control records go whole: a preamble's ETX takes back its
    // text, the end record's EOT is not written, so that a whole transfer leaves
    // nothing of them for the parser to skip. The blocks are checked on the way.
    TransferFindings findings;
    qsizetype written = 0;
    BlockChecker check(&findings);
    char* data = bytes.data();
    const qsizetype size = bytes.size();
    qsizetype writtenAtStx = 0;
    for (qsizetype read = 0; read < size; ++read) {
        const char c = data[read];
        const auto byte = static_cast<unsigned char>(c);
        if (byte > '\r') {  // the common case: text
            data[written++] = c;
            check.Text(byte, read, written);
            continue;
        }
        if (c == kStx) {
            check.Stx(read, written);
            writtenAtStx = written;
            continue;
        }
        if (c == '\r' || c == '\n') {
            check.LineEnd(byte);
            continue;
        }
        if (c == kEtx) {
            if (check.Etx(read, written))
                written = writtenAtStx;
            else
                written -= std::min(written, kBlockTrailer);
            continue;
        }
        if (!check.Control(byte, read, written)) data[written++] = c;
    }
    check.Finish(size, written);
    if (!check.Framed()) findings = TransferFindings();
    bytes.truncate(written);
    return findings;
}

namespace {

QByteArray FindingText(const BlockFinding& finding) {
    // Byte ranges are shown inclusive: "bajty 0–133" is one block with its ETX.
    const QByteArray block = Numbers::FormatInteger(finding.block);
    const QByteArray first = Numbers::FormatInteger(finding.begin);
    const QByteArray last = Numbers::FormatInteger(finding.end - 1);
    switch (finding.kind) {
        case BlockFindingKind::Checksum:
            return TextFilled(Texts::kBlockChecksum, {block, first, last});
        case BlockFindingKind::Lost:
            return TextFilled(Texts::kBlockLost,
                              {block, first, last, QByteArray(1, finding.digit), QByteArray(1, finding.expected)});
        case BlockFindingKind::Repeated:
            return TextFilled(Texts::kBlockRepeated,
                              {block, first, last, QByteArray(1, finding.digit), QByteArray(1, finding.expected)});
        case BlockFindingKind::WrongLength:
            return TextFilled(Texts::kBlockWrongLength, {block, first, last});
        case BlockFindingKind::TrailingText:
            return TextFilled(Texts::kBlockTrailingText, {first, last});
        case BlockFindingKind::NoEtx:
            return TextFilled(Texts::kBlockNoEtx, {block, first, last});
        case BlockFindingKind::StrayEtx:
            return TextFilled(Texts::kBlockStrayEtx, {block, first, last});
        case BlockFindingKind::StrayStx:
            return TextFilled(Texts::kBlockStrayStx, {block, first, last});
        case BlockFindingKind::NoStx:
            return TextFilled(Texts::kBlockNoStx, {block, first, last});
        case BlockFindingKind::TextBetween:
            return TextFilled(Texts::kBlockTextBetween, {first, last});
        case BlockFindingKind::TextBefore:
            return TextFilled(Texts::kBlockTextBefore, {first, last});
        case BlockFindingKind::Cut:
            return TextFilled(Texts::kBlockCut, {last, block, first});
    }
    return {};
}

// The records a finding names, trailing blanks of padded names left out: «4003»,
// «4003–4006»; empty when none lies in its stretch.
QByteArray RecordsText(const BlockFinding& finding) {
    const auto shown = [](const RecordText& name) {
        QByteArray text = name.ToByteArray();
        while (text.endsWith(' ')) text.chop(1);
        return text;
    };
    if (finding.records == 0) return {};
    if (finding.records == 1) return TextFilled(Texts::kFindingRecord, {shown(finding.firstRecord)});
    return TextFilled(Texts::kFindingRecords, {shown(finding.firstRecord), shown(finding.lastRecord)});
}

}  // namespace

QByteArray TransferFindingsText(const TransferFindings& findings) {
    if (!findings.Any()) return {};
    QByteArray text = Text(Texts::kTransferFindingsHeading);
    for (qsizetype i = 0; i < findings.first.size() && i < kTransferFindingsShown; ++i) {
        text += '\n';
        text += TextFilled(Texts::kFindingLine, {FindingText(findings.first[i]) + RecordsText(findings.first[i])});
    }
    if (findings.count > kTransferFindingsShown) {
        text += '\n';
        text += TextFilled(Texts::kFindingsMore, {Numbers::FormatInteger(findings.count)});
    }
    text += "\n\n";
    text += Text(Texts::kRepeatTransfer);
    return text;
}
