// A text list of points through its reader and the DXF writer. The input's first
// bytes choose "Flag" (and with its unused bits the drawing's options), the DXF
// scale (including indexes outside the list) and how the user answers the overwrite
// question; the rest is the list.

#include "dxf/DxfWriter.h"
#include "dxf/XyzTextList.h"
#include "tests/fuzz/FuzzInput.h"
#include "tests/fuzz/InputPrompter.h"
#include "tests/fuzz/WorkDir.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput input(data, size);
    ConversionSettings settings;
    settings.flag = input.Word();
    settings.dxfRatio = input.Byte();
    // Bits of "Flag" that mean nothing choose the drawing's axes, layers and heights,
    // so that the corpus keeps what it was made for.
    settings.dxfEpsgAxes = (settings.flag & 0x400) != 0;
    settings.dxfLayers = (settings.flag & 0x800) != 0;
    settings.dxf3d = (settings.flag & 0x1000) != 0;
    InputPrompter prompter(input.Word(), 0);

    const QString path = WriteWorkFile(QStringLiteral("points.txt"), input.Rest());
    SurveyRecordList list;
    const int count = ReadXyzTextList(path, list, prompter);
    if (count != static_cast<int>(list.size())) std::abort();
    for (const SurveyRecord& record : list) {
        if (!record.Is(Coordinates)) std::abort();
    }
    WriteDxf(WorkFile(QStringLiteral("points")), list, settings, prompter);
    return 0;
}
