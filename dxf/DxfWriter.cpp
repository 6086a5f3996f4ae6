#include "dxf/DxfWriter.h"

#include "base/Cp1250.h"
#include "base/FixedNumber.h"
#include "base/OutputWriting.h"
#include "base/Texts.h"
#include "dxf/DxfScale.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace {

// The header declares the Windows-1250 code page, without which readers take the
// names and codes of a release-12 drawing as Windows-1252 and garble every Czech
// letter.
constexpr char kHeader[] =
    "0\r\nSECTION\r\n2\r\nHEADER\r\n"
    "9\r\n$ACADVER\r\n1\r\nAC1009\r\n"
    "9\r\n$DWGCODEPAGE\r\n3\r\nANSI_1250\r\n"
    "0\r\nENDSEC\r\n"
    "0\r\nSECTION\r\n2\r\nENTITIES\r\n";
constexpr char kFooter[] = "0\r\nENDSEC\r\n0\r\nEOF\r\n";

constexpr const char* kDigitLines[] = {"0\r\n", "1\r\n", "2\r\n", "3\r\n", "4\r\n"};

// A point's mark. Its size is kMarkPerExtent of the job's larger extent at 1:1;
// everything else is in units of that size, from the point: the cross reaches
// kCrossArm each way, and each text has its DXF colour, first point, height and
// alignment point (a centred text is aligned on the point's own x) with its DXF
// vertical justification (1 bottom, 2 middle).
constexpr double kMarkPerExtent = 0.05;
constexpr double kCrossArm = 0.5;
constexpr int kRed = 1, kGreen = 3, kCyan = 4;

struct MarkText {
    int colour;
    double x, y, height;
    bool centred;
    double alignX, alignY;
    int vertical;
};
constexpr MarkText kNameText{kRed, -0.5, 0.7, 0.2, true, 0.0, 0.6, 1};        // above the cross
constexpr MarkText kHeightText{kCyan, 0.2, 0.225, 0.1, false, 0.2, 0.3, 2};   // to its upper right
constexpr MarkText kCodeText{kGreen, 0.2, -0.225, 0.1, false, 0.2, -0.3, 2};  // to its lower right

// The drawing's text, gathered in a block and handed to the sink whenever the
// block fills, so that memory does not grow with the number of points.
class Drawing {
public:
    explicit Drawing(ByteSink& sink) : m_sink(sink), m_block(kBlockSize) {}

    bool Failed() const { return m_sink.Failed(); }

    void Put(const char* text, std::size_t length) {
        if (length > Room()) {
            Flush();
            if (length > m_block.size()) {
                m_sink.Write(text, length);
                return;
            }
        }
        std::memcpy(m_block.data() + m_used, text, length);
        m_used += length;
    }
    void Put(const char* text) { Put(text, std::strlen(text)); }
    void Put(QByteArrayView text) { Put(text.data(), static_cast<std::size_t>(text.size())); }

    // A group code line and its value with five decimals.
    void Number(const char* codeLine, double value) {
        Put(codeLine);
        if (Room() < FixedNumber::kRoom + 2) Flush();
        char* end = FixedNumber::Write(m_block.data() + m_used, value, 5);
        *end++ = '\r';
        *end++ = '\n';
        m_used = static_cast<std::size_t>(end - m_block.data());
    }

    // A TEXT entity: colour, first point, height, the text, then the alignment
    // point with its vertical justification (the horizontal one only when
    // centred).
    void TextEntity(int colour, double x, double y, double height, QByteArrayView text, bool centred, double alignX,
                    double alignY, int vertical) {
        Put("0\r\nTEXT\r\n8\r\n0\r\n62\r\n");
        Put(kDigitLines[colour]);
        Number("10\r\n", x);
        Number("20\r\n", y);
        Put("30\r\n0.0\r\n");
        Number("40\r\n", height);
        Put("1\r\n");
        Put(text);
        Put("\r\n");
        if (centred) Put("72\r\n1\r\n");
        Number("11\r\n", alignX);
        Number("21\r\n", alignY);
        Put("31\r\n0.0\r\n73\r\n");
        Put(kDigitLines[vertical]);
    }

    void Line(double x1, double y1, double x2, double y2) {
        Put("0\r\nLINE\r\n8\r\n0\r\n");
        Number("10\r\n", x1);
        Number("20\r\n", y1);
        Put("30\r\n0.0\r\n");
        Number("11\r\n", x2);
        Number("21\r\n", y2);
        Put("31\r\n0.0\r\n");
    }

    void Flush() {
        m_sink.Write(m_block.data(), m_used);
        m_used = 0;
    }

private:
    static constexpr std::size_t kBlockSize = 1 << 16;

    std::size_t Room() const { return m_block.size() - m_used; }

    ByteSink& m_sink;
    std::vector<char> m_block;
    std::size_t m_used = 0;
};

// Where the drawn points lie, in drawing axes.
struct PointExtent {
    std::size_t count = 0;
    double minX = 0.0, maxX = 0.0, minY = 0.0, maxY = 0.0;
};

double DrawingX(const SurveyRecord& r, bool swap) { return swap ? r.x : r.y; }
double DrawingY(const SurveyRecord& r, bool swap) { return swap ? r.y : r.x; }

// The extent of the drawn points themselves: S-JTSK coordinates lie hundreds of
// kilometres from the origin, and a range measured from 0 would size the marks by
// that distance instead of by the job.
PointExtent MeasurePoints(const SurveyRecordList& records, bool swap) {
    PointExtent extent;
    for (const SurveyRecord& record : records) {
        if (!record.Is(Coordinates)) continue;
        const double x = DrawingX(record, swap);
        const double y = DrawingY(record, swap);
        if (extent.count++ == 0) {
            extent.minX = extent.maxX = x;
            extent.minY = extent.maxY = y;
            continue;
        }
        extent.minX = std::min(extent.minX, x);
        extent.maxX = std::max(extent.maxX, x);
        extent.minY = std::min(extent.minY, y);
        extent.maxY = std::max(extent.maxY, y);
    }
    return extent;
}

void Draw(const SurveyRecordList& records, const ConversionSettings& settings, const PointExtent& points,
          ByteSink& sink) {
    const bool swap = settings.Has(FLAG_SWAP_XY);
    // Marks a twentieth of the job's larger extent at 1:1. Points without an extent
    // (one point, or all at one place) get 1 m marks at 1:1 so that they stay
    // visible; so does an extent that is not a finite number.
    const double ratio = DxfScaleRatio(settings.dxfRatio);
    const double extent = std::max(points.maxX - points.minX, points.maxY - points.minY);
    const double size = extent > 0.0 && std::isfinite(extent) ? kMarkPerExtent * extent * ratio : ratio;
    Drawing drawing(sink);
    drawing.Put(kHeader);
    for (const SurveyRecord& record : records) {
        if (!record.Is(Coordinates)) continue;
        const double x = DrawingX(record, swap);
        const double y = DrawingY(record, swap);
        const auto text = [&](const MarkText& mark, QByteArrayView value) {
            drawing.TextEntity(mark.colour, x + mark.x * size, y + mark.y * size, mark.height * size, value,
                               mark.centred, mark.centred ? x : x + mark.alignX * size, y + mark.alignY * size,
                               mark.vertical);
        };
        // The texts, then the two arms of the cross.
        text(kNameText, record.name);
        if (!record.Is(NoHeight)) {
            char height[FixedNumber::kRoom];
            text(kHeightText, QByteArrayView(height, FixedNumber::Write(height, record.z, 3) - height));
        }
        if (!record.codeText.isEmpty()) text(kCodeText, record.codeText);
        drawing.Line(x - kCrossArm * size, y, x + kCrossArm * size, y);
        drawing.Line(x, y - kCrossArm * size, x, y + kCrossArm * size);
        // A failed write abandons the drawing at once.
        if (drawing.Failed()) return;
    }
    drawing.Put(kFooter);
    drawing.Flush();
}

}  // namespace

void WriteDxfDrawing(const SurveyRecordList& records, const ConversionSettings& settings, ByteSink& sink) {
    Draw(records, settings, MeasurePoints(records, settings.Has(FLAG_SWAP_XY)), sink);
}

bool WriteDxf(const QString& basePath, const SurveyRecordList& records, const ConversionSettings& settings,
              Prompter& prompter) {
    const PointExtent points = MeasurePoints(records, settings.Has(FLAG_SWAP_XY));
    if (points.count == 0) {
        prompter.Tell(Text(Texts::kNoXyzPoints));
        return false;
    }

    const QString path = basePath + QStringLiteral(".dxf");
    return WriteOutputFile(path, settings.Has(FLAG_ASK_OVERWRITE), MessageIcon::Exclamation, prompter,
                           [&](ByteSink& sink) { Draw(records, settings, points, sink); }) == OutputWritten::Written;
}
