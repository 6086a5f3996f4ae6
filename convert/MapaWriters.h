#pragma once
// The MAPA2 input files: the field book (".zap" with slope distances, ".vod" with
// horizontal distances, ".pol" with stations and orientation sightings only), the
// coordinate list (".asc") and the code list (".cod"). Windows-1250 bytes, CR LF
// line ends, "." as the decimal point. Texts of any length are written whole.

#include "base/ConversionSettings.h"
#include "base/FileIo.h"
#include "base/SurveyRecord.h"
#include "convert/ConversionMode.h"

#include <QByteArray>

// Collects lines and hands them to the file in large pieces, so that a writer
// never holds a whole file in memory nor calls the file once per number.
class TextSink {
public:
    explicit TextSink(OutputFile& file) : m_file(file) { m_pending.reserve(kChunk + 1024); }
    ~TextSink() { Flush(); }
    TextSink(const TextSink&) = delete;
    TextSink& operator=(const TextSink&) = delete;

    // The buffer to append a line to; call LineDone() after each line.
    QByteArray& Text() { return m_pending; }
    void LineDone() {
        if (m_pending.size() >= kChunk) Flush();
    }
    void Flush() {
        m_file.Write(m_pending);
        m_pending.resize(0);
    }

private:
    static constexpr qsizetype kChunk = 1 << 16;
    OutputFile& m_file;
    QByteArray m_pending;
};

// The field book of mode Full (".zap"), HorizontalDistances (".vod") or
// StationHeaders (".pol"). correctionMmPerKm goes into the "Korekce" line when
// the header is in use.
void WriteFieldBook(const SurveyRecordList& records, ConversionMode mode, const ConversionSettings& settings,
                    double correctionMmPerKm, TextSink& sink);

// The coordinate list; addMillion adds 1 000 000 to every x written.
void WriteCoordinateList(const SurveyRecordList& records, const ConversionSettings& settings, bool addMillion,
                         TextSink& sink);

// The code list: «number,description» per code entry.
void WriteCodeList(const SurveyRecordList& records, TextSink& sink);
