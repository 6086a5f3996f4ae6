#include "app/CoreOperations.h"

// The conversion and DXF cores are plugged in here as they become part of the
// program; a command whose core is absent does nothing.
CoreOperations RealCoreOperations() { return CoreOperations{}; }
