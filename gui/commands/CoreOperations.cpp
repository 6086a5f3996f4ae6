#include "gui/commands/CoreOperations.h"

#include "convert/RawDataPreparation.h"
#include "dxf/DxfExport.h"

CoreOperations RealCoreOperations() {
    CoreOperations core;
    core.prepareRawData = &PrepareRawData;
    core.exportXyzDxf = &ExportXyzDxf;
    core.makeDxfSink = &MakeDxfSink;
    return core;
}
