#pragma once
// The core runs the command controller starts, gathered so that a test can put recorders in
// their place: the conversion of a measured-data file and the DXF export.

#include "convert/Conversion.h"

#include <QString>

#include <functional>

struct CoreOperations {
    // PrepareRawData: converts the file at path in the given mode.
    std::function<ConversionOutcome(const QString& path, ConversionMode mode, ConversionContext& context)>
        prepareRawData;
    // The DXF export from a chosen file (empty: the current file, "Použít aktuální").
    std::function<ConversionOutcome(const QString& chosenPath, ConversionContext& context)> exportXyzDxf;
    // The DXF writer plugged into a conversion context.
    std::function<DxfSink(ConversionContext& context)> makeDxfSink;
};

// The real ones.
CoreOperations RealCoreOperations();
