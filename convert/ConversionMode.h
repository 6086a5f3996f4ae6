#pragma once
// What a conversion writes: F1 and F3 the field book, coordinate and code lists;
// the tools horizontal distances or station headers.

enum class ConversionMode : unsigned {
    Full,                 // ".zap", ".asc", ".cod" (and the ".200" copy)
    HorizontalDistances,  // ".vod"
    StationHeaders,       // ".pol"
};
