#include "convert/TransferCheck.h"

#include "base/Numbers.h"
#include "base/Texts.h"

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
    }
    return {};
}

}  // namespace

QByteArray TransferFindingsText(const TransferFindings& findings) {
    if (!findings.Any()) return {};
    QByteArray text = Text(Texts::kTransferFindingsHeading);
    for (qsizetype i = 0; i < findings.first.size() && i < kTransferFindingsShown; ++i) {
        text += '\n';
        text += TextFilled(Texts::kFindingLine, {FindingText(findings.first[i])});
    }
    if (findings.count > kTransferFindingsShown) {
        text += '\n';
        text += TextFilled(Texts::kFindingsMore, {Numbers::FormatInteger(findings.count)});
    }
    text += "\n\n";
    text += Text(Texts::kRepeatTransfer);
    return text;
}
