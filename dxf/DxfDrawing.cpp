#include "dxf/DxfDrawing.h"

#include "base/Cp1250.h"
#include "base/FixedNumber.h"
#include "dxf/DxfScale.h"

#include <QHash>
#include <QString>

#include <algorithm>
#include <cmath>
#include <iterator>

namespace {

// A point's mark. Its size is kMarkPerExtent of the job's larger extent at 1:1;
// everything else is in units of that size, from the point: the cross reaches
// kCrossArm each way, and each text has its DXF colour, first point, height and
// alignment point (a centred text is aligned on the point's own x) with its DXF
// justification.
constexpr double kMarkPerExtent = 0.05;
constexpr double kCrossArm = 0.5;
constexpr int kRed = 1, kGreen = 3, kCyan = 4, kWhite = 7;

struct MarkText {
    int colour;
    double x, y, height;
    int horizontal;  // 1: centred on the point's x
    double alignX, alignY;
    int vertical;
};
constexpr MarkText kNameText{kRed, -0.5, 0.7, 0.2, 1, 0.0, 0.6, 1};       // above the cross
constexpr MarkText kHeightText{kCyan, 0.2, 0.225, 0.1, 0, 0.2, 0.3, 2};   // to its upper right
constexpr MarkText kCodeText{kGreen, 0.2, -0.225, 0.1, 0, 0.2, -0.3, 2};  // to its lower right

constexpr char kNoCodeLayer[] = "BEZ_KODU";
constexpr qsizetype kLayerNameLength = 31;

// Layer colours, given in the order of the layers' first points: hues that read
// on a white sheet and on a black screen alike, with their screen colours, chosen
// so that any two of them differ clearly (at least 25 apart in CIELAB) and each
// stands apart from the texts' red, green and cyan. A drawing of more layers uses
// them again from the first.
struct Colour {
    int number;
    quint32 rgb;
};
constexpr Colour kLayerColours[] = {{180, 0x3F00FF}, {62, 0x7CA500},  {11, 0xFF7F7F},  {140, 0x00BFFF},
                                    {34, 0x7F3F00},  {191, 0xBF7FFF}, {232, 0xA50052}, {40, 0xFFBF00},
                                    {134, 0x007F7F}, {30, 0xFF7F00},  {150, 0x007FFF}, {42, 0xA57C00},
                                    {114, 0x007F3F}, {220, 0xFF00BF}, {152, 0x0052A5}};
constexpr Colour kTextColours[] = {{kRed, 0xFF0000}, {kGreen, 0x00FF00}, {kCyan, 0x00FFFF}, {kWhite, 0xFFFFFF}};

bool IsControl(char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; }

// The text with every control byte as a space; scratch holds the copy when one is
// needed.
QByteArrayView Printable(QByteArrayView text, QByteArray& scratch) {
    if (std::none_of(text.begin(), text.end(), IsControl)) return text;
    scratch = text.toByteArray();
    std::replace_if(scratch.begin(), scratch.end(), IsControl, ' ');
    return scratch;
}

}  // namespace

QByteArray DxfLayerName(QByteArrayView code) {
    const auto blank = [](char c) { return static_cast<unsigned char>(c) <= 0x20 || c == 0x7F; };
    while (!code.isEmpty() && blank(code.front())) code = code.sliced(1);
    while (!code.isEmpty() && blank(code.back())) code.chop(1);
    if (code.isEmpty()) return kNoCodeLayer;

    // Decomposed, an accented letter is its base letter and a combining accent,
    // which is dropped: "mezník" becomes "MEZNIK".
    const QString decomposed = Cp1250::ToUnicode(code.toByteArray()).normalized(QString::NormalizationForm_D);
    QByteArray name;
    for (const QChar c : decomposed) {
        if (c.category() == QChar::Mark_NonSpacing) continue;
        const char16_t upper = c.toUpper().unicode();
        const bool legal = (upper >= u'A' && upper <= u'Z') || (upper >= u'0' && upper <= u'9') || upper == u'_' ||
                           upper == u'-' || upper == u'$';
        name += legal ? static_cast<char>(upper) : '_';
        if (name.size() == kLayerNameLength) break;
    }
    return name;
}

int DxfLayerColour(std::size_t layer) { return kLayerColours[layer % std::size(kLayerColours)].number; }

quint32 DxfColourRgb(int colour) {
    for (const Colour& known : kTextColours)
        if (known.number == colour) return known.rgb;
    for (const Colour& known : kLayerColours)
        if (known.number == colour) return known.rgb;
    return 0x808080;
}

DxfDrawing::DxfDrawing(const SurveyRecordList& records, const ConversionSettings& settings)
    : m_records(records),
      m_swap(settings.Has(FLAG_SWAP_XY)),
      m_epsgAxes(settings.dxfEpsgAxes),
      m_layered(settings.dxfLayers),
      m_threeD(settings.dxf3d) {
    if (!m_layered) m_layers.push_back({"0", kWhite});
    QHash<QByteArray, int> layerOfCode;
    QHash<QByteArray, int> layerOfName;
    if (m_layered) m_recordLayers.assign(records.size(), 0);

    // The extent of the drawn points themselves: S-JTSK coordinates lie hundreds of
    // kilometres from the origin, and a range measured from 0 would size the marks
    // by that distance instead of by the job.
    double minX = 0.0, maxX = 0.0, minY = 0.0, maxY = 0.0;
    for (std::size_t i = 0; i < records.size(); ++i) {
        const SurveyRecord& record = records[i];
        if (!record.Is(Coordinates)) continue;
        double x, y;
        Place(record, x, y);
        if (m_pointCount++ == 0) {
            minX = maxX = x;
            minY = maxY = y;
        } else {
            minX = std::min(minX, x);
            maxX = std::max(maxX, x);
            minY = std::min(minY, y);
            maxY = std::max(maxY, y);
        }
        if (!m_layered) continue;
        // Codes repeat: each is named once.
        const QByteArrayView code = record.codeText;
        const QByteArray key = QByteArray::fromRawData(code.data(), code.size());
        auto known = layerOfCode.constFind(key);
        if (known == layerOfCode.cend()) {
            const QByteArray name = DxfLayerName(code);
            auto layer = layerOfName.constFind(name);
            if (layer == layerOfName.cend()) {
                layer = layerOfName.insert(name, static_cast<int>(m_layers.size()));
                m_layers.push_back({name, DxfLayerColour(m_layers.size())});
            }
            known = layerOfCode.insert(code.toByteArray(), *layer);
        }
        m_recordLayers[i] = *known;
    }

    // Marks a twentieth of the job's larger extent at 1:1. Points without an extent
    // (one point, or all at one place) get 1 m marks at 1:1 so that they stay
    // visible; so does an extent that is not a finite number.
    const double ratio = DxfScaleRatio(settings.dxfRatio);
    const double extent = std::max(maxX - minX, maxY - minY);
    m_size = extent > 0.0 && std::isfinite(extent) ? kMarkPerExtent * extent * ratio : ratio;
}

void DxfDrawing::Place(const SurveyRecord& record, double& x, double& y) const {
    x = m_epsgAxes ? -record.y : m_swap ? record.x : record.y;
    y = m_epsgAxes ? -record.x : m_swap ? record.y : record.x;
}

void DxfDrawing::EastNorth(double x, double y, double& east, double& north) const {
    // Y grows to the west and X to the south.
    if (m_epsgAxes) {
        east = x;
        north = y;
    } else if (m_swap) {
        east = -y;
        north = -x;
    } else {
        east = -x;
        north = -y;
    }
}

int DxfDrawing::LayerOf(std::size_t recordIndex) const { return m_layered ? m_recordLayers[recordIndex] : 0; }

void DxfDrawing::Draw(const std::function<bool(const DxfEntity&)>& draw) const {
    const double size = m_size;
    QByteArray scratch;
    for (std::size_t i = 0; i < m_records.size(); ++i) {
        const SurveyRecord& record = m_records[i];
        if (!record.Is(Coordinates)) continue;
        DxfEntity entity;
        Place(record, entity.pointX, entity.pointY);
        entity.layer = LayerOf(i);
        entity.z = m_threeD && !record.Is(NoHeight) ? record.z : 0.0;
        const double x = entity.pointX;
        const double y = entity.pointY;

        // The texts, then the two arms of the cross.
        entity.kind = DxfEntity::Kind::Text;
        const auto text = [&](const MarkText& mark, QByteArrayView value) {
            entity.colour = mark.colour;
            entity.x = x + mark.x * size;
            entity.y = y + mark.y * size;
            entity.height = mark.height * size;
            entity.text = value;
            entity.horizontal = mark.horizontal;
            entity.x2 = mark.horizontal == 1 ? x : x + mark.alignX * size;
            entity.y2 = y + mark.alignY * size;
            entity.vertical = mark.vertical;
            return draw(entity);
        };
        if (!text(kNameText, Printable(record.name, scratch))) return;
        if (!record.Is(NoHeight)) {
            char height[FixedNumber::kRoom];
            if (!text(kHeightText, QByteArrayView(height, FixedNumber::Write(height, record.z, 3) - height))) return;
        }
        if (!record.codeText.isEmpty() && !text(kCodeText, Printable(record.codeText, scratch))) return;

        entity.kind = DxfEntity::Kind::Line;
        entity.colour = kDxfColourByLayer;
        entity.text = {};
        entity.height = 0.0;
        entity.horizontal = entity.vertical = 0;
        entity.x = x - kCrossArm * size;
        entity.y = y;
        entity.x2 = x + kCrossArm * size;
        entity.y2 = y;
        if (!draw(entity)) return;
        entity.x = x;
        entity.y = y - kCrossArm * size;
        entity.x2 = x;
        entity.y2 = y + kCrossArm * size;
        if (!draw(entity)) return;
    }
}
