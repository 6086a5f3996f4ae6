#include "convert/MapaWriters.h"

#include "base/FixedNumber.h"
#include "base/Numbers.h"
#include "base/Texts.h"

#include <QByteArray>

#include <charconv>
#include <cmath>

namespace {

// 3.14159265 / 200 in double precision: the field book's horizontal distances
// are computed with this shortened pi, and MAPA2 users compare them to the digit.
constexpr double kGonToRadian = 3.14159265 / 200.0;

// Collects lines and hands them to the sink in large pieces, so that a writer
// never holds a whole file in memory nor calls the sink once per number.
class LineBuffer {
public:
    explicit LineBuffer(ByteSink& sink) : m_sink(sink) { m_pending.reserve(kChunk + 1024); }
    ~LineBuffer() { Flush(); }
    LineBuffer(const LineBuffer&) = delete;
    LineBuffer& operator=(const LineBuffer&) = delete;

    // The buffer to append a line to; call LineDone() after each line.
    QByteArray& Text() { return m_pending; }
    void LineDone() {
        if (m_pending.size() >= kChunk) Flush();
    }

private:
    void Flush() {
        m_sink.Write(m_pending.constData(), static_cast<std::size_t>(m_pending.size()));
        m_pending.resize(0);
    }

    static constexpr qsizetype kChunk = 1 << 16;
    ByteSink& m_sink;
    QByteArray m_pending;
};

void AppendCodeSuffix(QByteArray& out, QByteArrayView codeText) {
    out += " *";
    out += codeText;
    out += "\r\n";
}

}  // namespace

bool IsOrientationSighting(const SurveyRecord& record, const QByteArray& orMarker) {
    return record.Is(Backsight) || record.codeText == orMarker;
}

void WriteFieldBook(const SurveyRecordList& records, ConversionMode mode, const ConversionSettings& settings,
                    double correctionMmPerKm, ByteSink& sink) {
    LineBuffer lines(sink);
    QByteArray& out = lines.Text();
    if (settings.Has(FLAG_USE_HEADER)) {
        out += settings.head;
        Numbers::AppendFormat(out, "\r\nKorekce: %.1f mm/km\r\n", correctionMmPerKm);
    }
    out += Text(mode == ConversionMode::Full ? Texts::kFieldBookPreambleFull : Texts::kFieldBookPreambleTools);
    lines.LineDone();

    bool stationWritten = false;
    bool inOrientation = false;
    for (const SurveyRecord& record : records) {
        if (record.Is(Station)) {
            if (inOrientation) out += "-1\r\n";
            inOrientation = false;
            if (stationWritten) out += "/\r\n";
            stationWritten = true;
            out += "1 ";
            out += record.name;
            out += "  ";
            FixedNumber::Append(out, record.height, 3);
            AppendCodeSuffix(out, record.codeText);
        } else if (record.Is(Measurement) || record.Is(Angles)) {
            const bool orientation = IsOrientationSighting(record, settings.orMarker);
            if (!orientation && inOrientation) {
                out += "-1\r\n";
                inOrientation = false;
            }
            if (orientation) inOrientation = true;
            if (mode == ConversionMode::StationHeaders && !orientation) {
                lines.LineDone();
                continue;
            }
            // An angles-only sighting carries distance 0.
            out += record.name;
            if (mode == ConversionMode::Full) {
                // "%s  %.3f %.3f %.4f %.4f"
                out += "  ";
                FixedNumber::Append(out, record.slopeDistance, 3);
                out += ' ';
                FixedNumber::Append(out, record.height, 3);
                out += ' ';
                FixedNumber::Append(out, record.direction, 4);
                out += ' ';
                FixedNumber::Append(out, record.zenithAngle, 4);
            } else {
                // "%s\t%.3f\t%.4f\t"
                out += '\t';
                FixedNumber::Append(out, record.slopeDistance * std::sin(record.zenithAngle * kGonToRadian), 3);
                out += '\t';
                FixedNumber::Append(out, record.direction, 4);
                out += '\t';
            }
            if (orientation)
                out += "\r\n";
            else
                AppendCodeSuffix(out, record.codeText);
        }
        lines.LineDone();
    }
    out += "/\r\n-2\r\n";
}

void WriteCoordinateList(const SurveyRecordList& records, const ConversionSettings& settings, bool addMillion,
                         ByteSink& sink, const SurveyRecordList& more) {
    LineBuffer lines(sink);
    QByteArray& out = lines.Text();
    if (settings.Has(FLAG_USE_HEADER)) {
        out += settings.head;
        out += "\r\n\r\n";
    }
    const bool swap = settings.Has(FLAG_SWAP_XY);
    for (const SurveyRecordList* list : {&records, &more}) {
        for (const SurveyRecord& record : *list) {
            if (!record.Is(Coordinates)) continue;
            out += record.name;
            // Without the million x is written as read (adding 0 would turn -0 into 0).
            const double x = addMillion ? record.x + 1000000.0 : record.x;
            // "%s  %.3f %.3f %.3f"
            out += "  ";
            FixedNumber::Append(out, swap ? x : record.y, 3);
            out += ' ';
            FixedNumber::Append(out, swap ? record.y : x, 3);
            out += ' ';
            FixedNumber::Append(out, record.z, 3);
            if (record.codeText.isEmpty())
                out += "\r\n";
            else
                AppendCodeSuffix(out, record.codeText);
            lines.LineDone();
        }
    }
}

void WriteCodeList(const SurveyRecordList& records, ByteSink& sink) {
    LineBuffer lines(sink);
    QByteArray& out = lines.Text();
    for (const SurveyRecord& record : records) {
        if (!record.Is(CodeListEntry)) continue;
        Numbers::AppendFormat(out, "%u,", static_cast<unsigned>(record.codeNumber));
        out += record.codeText;
        out += "\r\n";
        lines.LineDone();
    }
}
