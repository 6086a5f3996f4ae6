#pragma once
// The core runs the command controller starts, gathered so that a test can put recorders in
// their place: the conversion of a measured-data file and the DXF export.

#include "convert/Conversion.h"
#include "dxf/DxfExport.h"

#include <QString>

#include <functional>

struct CoreOperations {
    // ConvertMeasuredData: reads the file at path and writes the files of mode.
    std::function<ConversionResult(const QString& path, ConversionMode mode, ConversionContext& context)> convert;
    // ExportXyzDxf: the DXF export from a chosen file (empty: the current file, "Použít aktuální").
    std::function<DxfExportResult(const QString& chosenPath, ConversionContext& context)> exportXyzDxf;
};

// The real ones.
CoreOperations RealCoreOperations();
