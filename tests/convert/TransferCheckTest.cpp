// The block check of NTS-350 transfers and the recognition of the instrument a
// file comes from. Whatever the check finds, the prepared text is the one the
// plain framing removal gives.

#include "convert/DeviceRecognition.h"
#include "convert/TransferCheck.h"

#include "base/Texts.h"
#include "tests/support/PlainFramingRemoval.h"
#include "tests/support/TestFiles.h"
#include "upload/UploadProtocol.h"

#include <QDir>
#include <QTest>

namespace {

constexpr qsizetype kBlock = 136;  // STX, 128 text bytes, digit, three checksum digits, ETX, CR, LF

QByteArray Block(const QByteArray& transfer, int number) { return transfer.mid((number - 1) * kBlock, kBlock); }

// A framed transfer of count blocks of records, as the instrument sends it.
QByteArray Generated(int count) {
    QByteArray transfer;
    const QByteArray record("_+P1_ ?+00012345m+0912345++1234567g+00012300t00+00000_*AB_,1.600_\r\n");
    QByteArray stream;
    while (stream.size() < count * 128) stream += record;
    for (int counter = 0; counter < count; ++counter)
        transfer += BuildBlock(stream.mid(counter * 128, 128), static_cast<unsigned>(counter));
    return transfer;
}

QStringList Described(const TransferFindings& findings) {
    static const char* const kKinds[] = {"checksum",  "lost",      "repeated", "wrong length", "trailing", "no ETX",
                                         "stray ETX", "stray STX", "between",  "before",       "no STX",   "cut"};
    QStringList lines;
    for (const BlockFinding& finding : findings.first) {
        QString line = QStringLiteral("%1 %2 %3-%4")
                           .arg(QLatin1String(kKinds[static_cast<int>(finding.kind)]))
                           .arg(finding.block)
                           .arg(finding.begin)
                           .arg(finding.end);
        if (finding.digit) line += QStringLiteral(" %1/%2").arg(QChar(finding.digit), QChar(finding.expected));
        lines << line;
    }
    return lines;
}

}  // namespace

class TransferCheckTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void removesFraming_data() {
        QTest::addColumn<QByteArray>("framed");
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("two blocks") << QByteArray(
                                           "\x02"
                                           "ABCDEF"
                                           "9123"
                                           "\x03\r\n\x02"
                                           "GH"
                                           "0045"
                                           "\x03\r\n")
                                    << QByteArray("ABCDEFGH");
        QTest::newRow("no framing") << QByteArray("_'S1_(K1_)1.550_") << QByteArray("_'S1_(K1_)1.550_");
        // Nothing of the preambles and the end record is left for the parser to skip.
        QTest::newRow("control records go whole") << QByteArray(
                                                         "\x02"
                                                         "F00F000\x03\r\n\x02"
                                                         "GC\x03\r\n\x02"
                                                         "ABCDEF9123\x03\r\n\x02\x04\r\n")
                                                  << QByteArray("ABCDEF");
        QTest::newRow("a damaged preamble is a block") << QByteArray(
                                                              "\x02"
                                                              "F00F00\x03"
                                                              "xy")
                                                       << QByteArray("F0xy");
        QTest::newRow("ETX with fewer than four bytes before it") << QByteArray(
                                                                         "ab\x03"
                                                                         "cd")
                                                                  << QByteArray("cd");
        QTest::newRow("ETX takes bytes before a removed CR") << QByteArray("xyz12\r\n34\x03") << QByteArray("xyz");
        QTest::newRow("lone line ends") << QByteArray("a\rb\nc\x02") << QByteArray("abc");
        QTest::newRow("empty") << QByteArray() << QByteArray();
    }
    void removesFraming() {
        QFETCH(QByteArray, framed);
        QFETCH(QByteArray, text);
        RemoveFraming(framed);
        QCOMPARE(framed, text);
    }

    void findsDamagedBlocks_data() {
        QTest::addColumn<QByteArray>("transfer");
        QTest::addColumn<QStringList>("findings");
        const QByteArray job = TestFiles::Example("nts350-job");  // seven whole blocks
        QByteArray flipped = job;
        flipped[kBlock + 10] = static_cast<char>(flipped[kBlock + 10] ^ 0x01);
        QByteArray shortBlock = job;
        shortBlock.remove(3 * kBlock + 5, 1);
        QByteArray noStx = job;
        noStx.remove(kBlock, 1);

        QTest::newRow("clean transfer") << job << QStringList();
        QTest::newRow("one flipped byte") << flipped << QStringList{"checksum 2 136-270"};
        QTest::newRow("lost block") << job.left(2 * kBlock) + job.mid(3 * kBlock) << QStringList{"lost 3 272-406 3/2"};
        QTest::newRow("repeated block") << job.left(2 * kBlock) + Block(job, 2) + job.mid(2 * kBlock)
                                        << QStringList{"repeated 3 272-406 1/2"};
        QTest::newRow("trailing garbage") << job + "junk" << QStringList{"trailing 0 952-956"};
        QTest::newRow("block one byte short") << shortBlock << QStringList{"wrong length 4 408-541"};
        QTest::newRow("ETX without its STX") << noStx << QStringList{"no STX 2 134-269"};
        QTest::newRow("end record after the last block is no text") << job + "\x02\x04\r\n" << QStringList();
        QTest::newRow("block digit wraps at 256: 255 gives 5, 256 gives 0") << Generated(260) << QStringList();
        QTest::newRow("typed by hand: no framing, no findings") << PlainFramingRemoval(job) << QStringList();
        QTest::newRow("a lone block without its ETX")
            << QByteArray("\x02_'S1_(K1_)1.550_") << QStringList{"no ETX 1 0-17"};

        // The control records around a transfer are no blocks: numbers count from the first block.
        const QByteArray opening = Preamble1() + Preamble2();
        QTest::newRow("control records and the end record are no blocks")
            << opening + job + EndRecord() << QStringList();
        QTest::newRow("block numbers count blocks only")
            << opening + flipped + EndRecord() << QStringList{"checksum 2 153-287"};
        QTest::newRow("cut between blocks: no end record after the preambles")
            << opening + job.left(3 * kBlock) << QStringList{"cut 3 289-425"};
        QTest::newRow("cut inside a block: the last whole block on")
            << opening + job.left(3 * kBlock + 40) << QStringList{"no ETX 4 425-465", "cut 3 289-465"};
        QTest::newRow("without the preambles a missing end record is no finding")
            << job.left(3 * kBlock) << QStringList();
        QTest::newRow("a point record between blocks is told")
            << job.left(2 * kBlock) + "_+B1_ x+1_ y+2_ z+3_\r\n" + job.mid(2 * kBlock)
            << QStringList{"between 0 272-292"};
        QTest::newRow("text before the first block is told") << "xx" + job << QStringList{"before 0 0-2"};
        QByteArray strayEtx = job;
        strayEtx[kBlock + 50] = '\x03';
        QTest::newRow("a stray ETX cuts one block, later numbers stay")
            << strayEtx << QStringList{"stray ETX 2 136-270"};
        QByteArray strayStx = job;
        strayStx.insert(kBlock + 40, '\x02');
        QTest::newRow("a stray STX cuts one block, later numbers stay")
            << strayStx + job.mid(3 * kBlock, kBlock) << QStringList{"stray STX 2 136-271", "repeated 8 953-1087 3/7"};
        QTest::newRow("a cut block and a short one stay two")
            << job.left(kBlock + 40) + job.mid(2 * kBlock, 10) + job.mid(2 * kBlock + 30)
            << QStringList{"no ETX 2 136-176", "wrong length 3 176-290"};
        QTest::newRow("a stray ETX between blocks is no block")
            << job.left(kBlock) + '\x03' + job.mid(kBlock) + "junk"
            << QStringList{"between 0 136-137", "trailing 0 953-957"};
    }
    void findsDamagedBlocks() {
        QFETCH(QByteArray, transfer);
        QFETCH(QStringList, findings);
        QByteArray prepared = transfer;
        const TransferFindings found = RemoveFraming(prepared);
        QCOMPARE(Described(found), findings);
        QCOMPARE(found.count, findings.size());
        QCOMPARE(prepared, PlainFramingRemoval(transfer));
    }

    // Whatever the fuzzers found, checking leaves the prepared text alone.
    void checkingNeverChangesThePreparedText() {
        const QDir corpus(QStringLiteral(TARVO_SOURCE_DIR "/tests/fuzz/corpus/ConvertFuzzer"));
        const QStringList names = corpus.entryList(QDir::Files);
        QVERIFY(!names.isEmpty());
        for (const QString& name : names) {
            const QByteArray transfer = TestFiles::Read(corpus.filePath(name));
            QByteArray prepared = transfer;
            RemoveFraming(prepared);
            QVERIFY2(prepared == PlainFramingRemoval(transfer), qPrintable(name));
        }
    }

    void warningNamesTheFirstBlocksAndCountsTheRest() {
        TransferFindings findings;
        for (int block = 1; block <= kTransferFindingsShown + 2; ++block) {
            BlockFinding finding;
            finding.block = block;
            finding.begin = (block - 1) * kBlock;
            finding.end = block * kBlock - 2;
            findings.Add(finding);
        }
        const QByteArray text = TransferFindingsText(findings);
        QVERIFY(text.contains(TextFilled(Texts::kBlockChecksum, {"1", "0", "133"})));
        QVERIFY(!text.contains(TextFilled(Texts::kBlockChecksum, {"6", "680", "813"})));
        QVERIFY(text.contains(TextFilled(Texts::kFindingsMore, {"7"})));
        QVERIFY(text.endsWith(Text(Texts::kRepeatTransfer)));
        QVERIFY(TransferFindingsText(TransferFindings()).isEmpty());
    }

    void recognisesTheInstrument_data() {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<int>("device");  // -1: fits neither
        const QByteArray nts660(
            "UNITS   M,G\r\nSTN     A1,1.550,ST\r\nSS      A2,1.600,#\r\n"
            "SD      0.0000,100.1120,152.334\r\n");
        QTest::newRow("NTS-350 example") << TestFiles::Example("nts350-job") << 0;
        QTest::newRow("NTS-660 example") << TestFiles::Example("nts660-job") << 1;
        QTest::newRow("generated NTS-350 transfer") << Generated(3) << 0;
        QTest::newRow("NTS-350 text typed by hand") << QByteArray("_'S1_(K1_)1.550_ _:007PLOT_") << 0;
        QTest::newRow("generated NTS-660 lines, LF only") << QByteArray(nts660).replace("\r", "") << 1;
        QTest::newRow("NTS-660 with a marker in a code") << nts660 + "SS      B_+1,1.600,X\r\nHV      1,2\r\n" << 1;
        QTest::newRow("keyword without its blank") << QByteArray("STNX\r\nSSS\r\n") << -1;
        QTest::newRow("as many marks of each") << QByteArray("_+A_\r\nSTN     A1,1.5,\r\n") << -1;
        QTest::newRow("plain text") << QByteArray("Zakázka 12\r\n") << -1;
        QTest::newRow("empty") << QByteArray() << -1;
    }
    void recognisesTheInstrument() {
        QFETCH(QByteArray, data);
        QFETCH(int, device);
        const std::optional<DeviceType> recognised = RecogniseDevice(data);
        QCOMPARE(recognised ? static_cast<int>(*recognised) : -1, device);
    }
};

QTEST_GUILESS_MAIN(TransferCheckTest)
#include "TransferCheckTest.moc"
