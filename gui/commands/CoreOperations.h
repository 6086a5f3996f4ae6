#pragma once
// The core runs the command controller starts, gathered so that a test can put recorders in
// their place: the conversion of a measured-data file (checked when it is a full one), the
// field-book check of a file on its own, and the DXF export.

#include "check/JobCheck.h"
#include "convert/Conversion.h"
#include "dxf/DxfExport.h"

#include <QString>

#include <functional>

struct CoreOperations {
    // ConvertAndCheck: reads the file at path, checks a full conversion's records and writes the files of mode.
    std::function<CheckedConversion(const QString& path, ConversionMode mode, ConversionContext& context)> convert;
    // CheckMeasuredDataFile: reads the file at path and checks it, writing nothing.
    std::function<FileCheck(const QString& path, ConversionContext& context)> checkFile;
    // ExportXyzDxf: the DXF export from a chosen file (empty: the current file, "Použít aktuální").
    std::function<DxfExportResult(const QString& chosenPath, ConversionContext& context)> exportXyzDxf;
};

// The real ones.
CoreOperations RealCoreOperations();
