#pragma once
// The MAPA2 input files: the field book (".zap" with slope distances, ".vod" with
// horizontal distances, ".pol" with stations and orientation sightings only), the
// coordinate list (".asc") and the code list (".cod"). Windows-1250 bytes, CR LF
// line ends, "." as the decimal point. Texts of any length are written whole.
// Each writer hands its bytes to the sink in large pieces; a failed sink shows in
// its Failed(), which the caller checks.

#include "base/ByteSink.h"
#include "base/ConversionSettings.h"
#include "base/SurveyRecord.h"
#include "convert/ConversionMode.h"

// A sighting of the station's orientation: one the instrument marked as its
// backsight, or one whose code is the orientation marker ("OR") byte for byte.
// The field book groups these after their station and writes them without code.
bool IsOrientationSighting(const SurveyRecord& record, const QByteArray& orMarker);

// The field book of mode Full (".zap"), HorizontalDistances (".vod") or
// StationHeaders (".pol"). correctionMmPerKm goes into the "Korekce" line when
// the header is in use.
void WriteFieldBook(const SurveyRecordList& records, ConversionMode mode, const ConversionSettings& settings,
                    double correctionMmPerKm, ByteSink& sink);

// The coordinate list; addMillion adds 1 000 000 to every x written. The points
// of more ("StationXYZ": the stations' coordinate lines) follow those of records.
void WriteCoordinateList(const SurveyRecordList& records, const ConversionSettings& settings, bool addMillion,
                         ByteSink& sink, const SurveyRecordList& more = {});

// The code list: «number,description» per code entry.
void WriteCodeList(const SurveyRecordList& records, ByteSink& sink);
