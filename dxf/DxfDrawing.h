#pragma once
// The DXF drawing of a point list as entities: every record with Coordinates becomes
// a cross of two LINEs with its name above it, its height to the upper right and its
// code text to the lower right (TEXTs). The writer turns these entities into the
// file's bytes and the window program's preview paints the very same entities.
//
// Axes: drawing x = Y and y = X (FLAG_SWAP_XY: x = X, y = Y), or with DXF_Axes the
// axes of EPSG:5514 "S-JTSK / Krovak East North", x = −Y and y = −X, in which the
// drawing lies on the cadastral map and in a GIS. The mark size S is 0.05 × the
// larger of the points' own extents × the DXF scale ratio (the ratio in metres when
// the points have no extent); texts and arms are multiples of S in either axes.
// Layers: everything on "0", or with DXF_Layers a layer per point code. Elevation:
// 0, or with DXF_3D the point's height (0 without one). A control byte inside a name
// or code text is drawn as a space: a DXF value must not break its line.

#include "base/ConversionSettings.h"
#include "base/SurveyRecord.h"

#include <QByteArray>
#include <QByteArrayView>

#include <functional>
#include <vector>

// The colour number of an entity drawn in its layer's colour: no colour group.
inline constexpr int kDxfColourByLayer = 256;

struct DxfLayer {
    QByteArray name;  // A–Z, 0–9, "_", "-", "$"; at most 31 characters
    int colour;       // DXF colour number, 1..255
};

struct DxfEntity {
    enum class Kind : quint8 { Text, Line };
    Kind kind = Kind::Line;
    int layer = 0;  // index into DxfDrawing::Layers()
    int colour = kDxfColourByLayer;
    double x = 0.0, y = 0.0;            // TEXT first point, LINE start
    double x2 = 0.0, y2 = 0.0;          // TEXT alignment point, LINE end
    double z = 0.0;                     // elevation of both points
    double height = 0.0;                // TEXT height
    QByteArrayView text;                // TEXT value; valid during the call only
    int horizontal = 0;                 // TEXT justification: 0 left, 1 centre
    int vertical = 0;                   // TEXT justification: 1 bottom, 2 middle
    double pointX = 0.0, pointY = 0.0;  // the drawn point the entity marks
};

class DxfDrawing {
public:
    // Measures the points and gathers their layers; records must outlive the drawing.
    DxfDrawing(const SurveyRecordList& records, const ConversionSettings& settings);

    qsizetype PointCount() const { return m_pointCount; }
    // Layers in the order of their first point; without DXF_Layers the one layer "0".
    const std::vector<DxfLayer>& Layers() const { return m_layers; }
    // Whether the file declares its layers (DXF_Layers).
    bool HasLayerTable() const { return m_layered; }
    // Whether the entities carry the points' heights (DXF_3D).
    bool ThreeD() const { return m_threeD; }

    // East and north of a drawing point, for a map that shows north up whatever the
    // axes (up to a shift of the origin).
    void EastNorth(double x, double y, double& east, double& north) const;

    // Hands every entity to draw, in the file's order; draw returns false to stop.
    void Draw(const std::function<bool(const DxfEntity&)>& draw) const;

private:
    // A point's place in the drawing's axes.
    void Place(const SurveyRecord& record, double& x, double& y) const;
    int LayerOf(std::size_t recordIndex) const;

    const SurveyRecordList& m_records;
    bool m_swap;
    bool m_epsgAxes;
    bool m_layered;
    bool m_threeD;
    qsizetype m_pointCount = 0;
    double m_size = 0.0;
    std::vector<DxfLayer> m_layers;
    std::vector<int> m_recordLayers;  // per record, when layered
};

// The layer a point code goes on: upper case without accents, every character
// outside A–Z, 0–9, "_", "-", "$" as "_", at most 31 characters; "BEZ_KODU" for a
// point without a code (white space alone counts as none).
QByteArray DxfLayerName(QByteArrayView code);

// The colour of a drawing's layer by the order of its first point: the first
// fifteen layers differ clearly from each other, wherever their names sort (two
// names a letter apart never share a look); later layers repeat them. Never
// white, black, grey or a colour that vanishes on a white or a black sheet.
int DxfLayerColour(std::size_t layer);

// The screen colour of a DXF colour number the drawing uses (0xRRGGBB); grey for
// any other.
quint32 DxfColourRgb(int colour);
