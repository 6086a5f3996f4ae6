#pragma once
// What a conversion run produces: F1/F3 write the field book, coordinate and code
// lists; the tools write horizontal distances or station headers; the DXF export
// hands its points to the drawing. 2 is not used.

enum class ConversionMode : unsigned {
    Full = 0,                 // ".zap", ".asc", ".cod"
    HorizontalDistances = 1,  // ".vod"
    StationHeaders = 3,       // ".pol"
    DxfExport = 4,            // ".dxf" through the DXF writer
};
