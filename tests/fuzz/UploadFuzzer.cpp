// The upload editor's lines through the list parser, the record stream and the
// blocks, sent to a port that records them. The input's first byte chooses points
// or codes, the next two "Flag"; the rest are the lines, split at LF. Whatever the
// lines hold, every record keeps its width, the line carries the two preambles,
// whole 136-byte blocks with their digit and checksum and the end record, and the
// blocks carry the stream in order.

#include "tests/fuzz/FuzzInput.h"
#include "tests/fuzz/InputPrompter.h"
#include "upload/UploadCheck.h"
#include "upload/UploadPort.h"
#include "upload/UploadProtocol.h"
#include "upload/UploadTransmission.h"

#include <cstdlib>

namespace {

class RecordingPort : public UploadPort {
public:
    QByteArray sent;
    bool open = false;

    bool IsOpen() const override { return open; }
    bool OpenWithoutReader() override { return open = true; }
    bool Write(const QByteArray& bytes, QByteArray&) override {
        sent += bytes;
        return true;
    }
    void Close() override { open = false; }
};

class NoProgress : public UploadProgress {
public:
    void Show(int) override {}
    void SetPosition(int) override {}
    void Hide() override {}
};

void Check(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput input(data, size);
    const UploadKind kind = input.Byte() & 1 ? UploadKind::Codes : UploadKind::Points;
    const quint16 flag = input.Word();
    const Cp1250::ListText text = Cp1250::FromListFile(input.Rest());
    for (const Cp1250::ListText::Foreign& foreign : text.foreign) Check(text.bytes[foreign.offset] == '?');

    SurveyRecordList list = ParseUploadList(text.bytes, kind, flag);
    FindingsText(CheckUploadList(text, list, kind), kFindingsShown);
    for (const SurveyRecord& entry : list) {
        if (kind == UploadKind::Codes) {
            Check(entry.codeNumber >= 1 && entry.codeNumber <= kHighestCodeNumber);
            Check(CodeRecord(entry).size() == kCodeRecordSize);
        } else {
            Check(PointRecord(entry).size() == kPointRecordSize);
        }
    }
    CutPointNames(list);
    const QByteArray stream = RecordStream(list, kind);
    const qsizetype expected = kind == UploadKind::Codes ? qsizetype(list.size()) * kCodeRecordSize + 1
                                                         : qsizetype(list.size()) * kPointRecordSize;
    Check(list.empty() || stream.size() == expected);
    SentDataLog(text.bytes, kind, flag);

    RecordingPort port;
    NoProgress progress;
    InputPrompter prompter(0, 0);
    const UploadResult result = UploadList(kind, text, flag, port, progress, prompter, [](int) {});
    Check(!port.open);
    if (!result) {
        Check(list.empty() && port.sent.isEmpty());
        return 0;
    }
    Check(result.entries == static_cast<int>(list.size()));

    // Preambles, blocks, end record.
    const QByteArray head = Preamble1() + Preamble2();
    Check(port.sent.startsWith(head) && port.sent.endsWith(EndRecord()));
    const QByteArray blocks = port.sent.mid(head.size(), port.sent.size() - head.size() - EndRecord().size());
    Check(blocks.size() == qsizetype(BlockCount(stream.size())) * kBlockSize);
    QByteArray carried;
    for (qsizetype at = 0, counter = 0; at < blocks.size(); at += kBlockSize, ++counter) {
        const QByteArray block = blocks.mid(at, kBlockSize);
        Check(block[0] == '\x02' && block.endsWith("\x03\r\n"));
        Check(block[129] == char('0' + (counter % 256) % 10));
        unsigned checksum = 0;
        for (int i = 1; i <= 129; ++i) checksum ^= static_cast<quint8>(block[i]);
        Check(block.mid(130, 3) == QByteArray::number(checksum).rightJustified(3, '0'));
        carried += block.mid(1, kBlockPayload);
    }
    Check(carried.startsWith(stream));
    for (qsizetype i = stream.size(); i < carried.size(); ++i) Check(carried[i] == ' ');
    return 0;
}
