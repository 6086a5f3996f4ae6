#include "app/CoreOperations.h"

// The DXF core is plugged in here once it is part of the program; until then the
// DXF command does nothing.
CoreOperations RealCoreOperations() {
    CoreOperations core;
    core.prepareRawData = &PrepareRawData;
    return core;
}
