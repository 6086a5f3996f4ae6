#include "gui/commands/CoreOperations.h"

CoreOperations RealCoreOperations() {
    CoreOperations core;
    core.convert = &ConvertAndCheck;
    core.checkFile = &CheckMeasuredDataFile;
    core.exportXyzDxf = &ExportXyzDxf;
    return core;
}
