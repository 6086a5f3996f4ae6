// Measured data of either instrument through preparation, the record parser and
// every writer of every mode, the DXF drawing included. The input's first bytes
// choose the mode, "Flag", "DeviceType" (including stored values other than 0
// and 1), how the user answers (and what the parameter sheet changes), the header,
// the orientation marker and the DXF scale; the rest is the file. The outputs go to a temporary directory that lives as
// long as the process, so that later runs meet existing files and the overwrite question.
// The block check of the transfer must never change the prepared text: the checked
// framing removal is held against the plain one on every input. The instrument's
// recognition (and its question) and the run's receipt are made on every run.

#include "convert/Conversion.h"
#include "convert/TransferCheck.h"
#include "dxf/DxfExport.h"
#include "tests/fuzz/FuzzInput.h"
#include "tests/fuzz/InputPrompter.h"
#include "tests/fuzz/WorkDir.h"
#include "tests/support/PlainFramingRemoval.h"

#include <cstdlib>

namespace {

// The input's first byte picks one of the conversion's modes, or (3) the drawing.
const ConversionMode kModes[] = {ConversionMode::Full, ConversionMode::HorizontalDistances,
                                 ConversionMode::StationHeaders};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput input(data, size);
    const unsigned run = input.Byte() % 4;
    ConversionSettings settings;
    settings.flag = input.Word();
    const quint8 device = input.Byte();
    settings.deviceType = static_cast<DeviceType>(device < 0xF0 ? device % 2 : device);
    const quint16 answers = input.Word();
    const quint8 sheet = input.Byte();
    settings.head = input.Text(24);
    settings.orMarker = input.Text(3);
    settings.dxfRatio = input.Byte();

    const QByteArray measured = input.Rest();
    QByteArray prepared = measured;
    const TransferFindings findings = RemoveFraming(prepared);
    if (prepared != PlainFramingRemoval(measured) || findings.count < findings.first.size()) std::abort();
    (void)TransferFindingsText(findings);
    const QString path = WriteWorkFile(QStringLiteral("job.sdt"), measured);

    CurrentFile currentFile;
    currentFile.RememberChosenFile(path);
    InputPrompter prompter(answers, sheet);
    ConversionContext context{settings, currentFile, prompter, (answers & 0x8000) != 0};
    if (run == 3) {
        const DxfExportResult result = DrawMeasuredData(path, context);
        (void)DrawingReceiptText(result.receipt, result.outcome);
    } else {
        const ConversionResult result = ConvertMeasuredData(path, kModes[run], context);
        (void)ReceiptText(result.receipt, result.outcome);
    }
    return 0;
}
