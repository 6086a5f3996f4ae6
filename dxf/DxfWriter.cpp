#include "dxf/DxfWriter.h"

#include "base/FixedNumber.h"
#include "base/OutputWriting.h"
#include "base/Texts.h"
#include "dxf/DxfDrawing.h"

#include <charconv>
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
    "0\r\nENDSEC\r\n";
constexpr char kEntities[] = "0\r\nSECTION\r\n2\r\nENTITIES\r\n";
constexpr char kFooter[] = "0\r\nENDSEC\r\n0\r\nEOF\r\n";

// The tables of a drawing with layers: the line type every layer names, then the
// layers (see WriteLayerTable).
constexpr char kTablesStart[] =
    "0\r\nSECTION\r\n2\r\nTABLES\r\n"
    "0\r\nTABLE\r\n2\r\nLTYPE\r\n70\r\n1\r\n"
    "0\r\nLTYPE\r\n2\r\nCONTINUOUS\r\n70\r\n0\r\n3\r\nSolid line\r\n72\r\n65\r\n73\r\n0\r\n40\r\n0.0\r\n"
    "0\r\nENDTAB\r\n"
    "0\r\nTABLE\r\n2\r\nLAYER\r\n";
constexpr char kTablesEnd[] = "0\r\nENDTAB\r\n0\r\nENDSEC\r\n";

// The drawing's text, gathered in a block and handed to the sink whenever the
// block fills, so that memory does not grow with the number of points.
class Block {
public:
    explicit Block(ByteSink& sink) : m_sink(sink), m_block(kBlockSize) {}

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
    // A literal's length is known without counting.
    template <std::size_t N>
    void Put(const char (&text)[N]) {
        Put(text, N - 1);
    }
    void Put(QByteArrayView text) { Put(text.data(), static_cast<std::size_t>(text.size())); }

    // A group code line and its value with five decimals.
    template <std::size_t N>
    void Number(const char (&codeLine)[N], double value) {
        Put(codeLine);
        if (Room() < FixedNumber::kRoom + 2) Flush();
        char* end = FixedNumber::Write(m_block.data() + m_used, value, 5);
        *end++ = '\r';
        *end++ = '\n';
        m_used = static_cast<std::size_t>(end - m_block.data());
    }

    // A group code line and a whole number.
    template <std::size_t N>
    void Integer(const char (&codeLine)[N], int value) {
        Put(codeLine);
        char digits[16];
        char* end = std::to_chars(digits, digits + sizeof digits - 2, value).ptr;
        *end++ = '\r';
        *end++ = '\n';
        Put(digits, static_cast<std::size_t>(end - digits));
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

// Each layer: its name, no flags, its colour, the continuous line type.
void WriteLayerTable(const DxfDrawing& drawing, Block& block) {
    block.Put(kTablesStart);
    block.Integer("70\r\n", static_cast<int>(drawing.Layers().size()));
    for (const DxfLayer& layer : drawing.Layers()) {
        block.Put("0\r\nLAYER\r\n2\r\n");
        block.Put(QByteArrayView(layer.name));
        block.Put("\r\n70\r\n0\r\n");
        block.Integer("62\r\n", layer.colour);
        block.Put("6\r\nCONTINUOUS\r\n");
    }
    block.Put(kTablesEnd);
}

// One entity, its groups in this order:
//   TEXT: 8 layer, 62 colour, 10/20/30 first point, 40 height, 1 text,
//         72 horizontal justification (only when centred), 11/21/31 alignment
//         point, 73 vertical justification
//   LINE: 8 layer, 62 colour (none: the layer's), 10/20/30 start, 11/21/31 end
// Without heights every z is the literal 0.0.
void WriteEntity(const DxfDrawing& drawing, const DxfEntity& entity, Block& block) {
    const bool text = entity.kind == DxfEntity::Kind::Text;
    block.Put(text ? "0\r\nTEXT\r\n8\r\n" : "0\r\nLINE\r\n8\r\n");
    block.Put(QByteArrayView(drawing.Layers()[static_cast<std::size_t>(entity.layer)].name));
    block.Put("\r\n");
    if (entity.colour != kDxfColourByLayer) block.Integer("62\r\n", entity.colour);
    const auto elevation = [&]<std::size_t N>(const char(&codeLine)[N]) {
        if (drawing.ThreeD()) {
            block.Number(codeLine, entity.z);
        } else {
            block.Put(codeLine);
            block.Put("0.0\r\n");
        }
    };
    block.Number("10\r\n", entity.x);
    block.Number("20\r\n", entity.y);
    elevation("30\r\n");
    if (text) {
        block.Number("40\r\n", entity.height);
        block.Put("1\r\n");
        block.Put(entity.text);
        block.Put("\r\n");
        if (entity.horizontal != 0) block.Integer("72\r\n", entity.horizontal);
    }
    block.Number("11\r\n", entity.x2);
    block.Number("21\r\n", entity.y2);
    elevation("31\r\n");
    if (text) block.Integer("73\r\n", entity.vertical);
}

void Write(const DxfDrawing& drawing, ByteSink& sink) {
    Block block(sink);
    block.Put(kHeader);
    if (drawing.HasLayerTable()) WriteLayerTable(drawing, block);
    block.Put(kEntities);
    bool complete = true;
    drawing.Draw([&](const DxfEntity& entity) {
        WriteEntity(drawing, entity, block);
        // A failed write abandons the drawing at once.
        complete = !block.Failed();
        return complete;
    });
    if (!complete) return;
    block.Put(kFooter);
    block.Flush();
}

}  // namespace

void WriteDxfDrawing(const SurveyRecordList& records, const ConversionSettings& settings, ByteSink& sink) {
    Write(DxfDrawing(records, settings), sink);
}

DrawingOutcome WriteDxf(const QString& basePath, const SurveyRecordList& records, const ConversionSettings& settings,
                        Prompter& prompter, const QString& sourcePath) {
    const DxfDrawing drawing(records, settings);
    if (drawing.PointCount() == 0) {
        prompter.Tell(Text(Texts::kNoXyzPoints));
        return DrawingOutcome::NoPoints;
    }

    const QString path = basePath + QStringLiteral(".dxf");
    switch (WriteOutputFile(
        path, settings.Has(FLAG_ASK_OVERWRITE), MessageIcon::Exclamation, prompter,
        [&](ByteSink& sink) { Write(drawing, sink); },
        sourcePath.isEmpty() ? QStringList() : QStringList{sourcePath})) {
        case OutputWritten::Written:
            return DrawingOutcome::Written;
        case OutputWritten::Refused:
            return DrawingOutcome::Refused;
        case OutputWritten::Failed:
            break;
    }
    return DrawingOutcome::Failed;
}
