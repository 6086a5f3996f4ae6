#include "gui/commands/CoreOperations.h"

CoreOperations RealCoreOperations() {
    CoreOperations core;
    core.convert = &ConvertMeasuredData;
    core.exportXyzDxf = &ExportXyzDxf;
    return core;
}
