#pragma once
// The entities of a DXF drawing as the preview paints them: every line and text
// the writer writes, in its colour (or its layer's), texts at their height and
// justification as a CAD program sets them. North is up whatever the drawing's
// axes: each point goes where it lies on the map, and its mark around it as the
// CAD program shows the mark. Picture units are metres from the middle of the
// points; y grows downwards.
//
// A drawing holds up to millions of entities, so they are kept in flat arrays (a
// few dozen bytes each) with a grid of the points for finding those in view, and
// the picture never changes once made: the window thread and a painting thread
// may read it at once.

#include "dxf/DxfDrawing.h"

#include <QRectF>
#include <QRgb>
#include <QString>

#include <algorithm>
#include <vector>

class DrawingPicture {
public:
    struct Line {
        float x1, y1, x2, y2;
        QRgb colour;
        int layer;
    };
    // A text: its alignment point and how it hangs from it (DXF justification).
    struct Label {
        float x, y;    // the alignment point
        float height;  // of the capitals, metres
        QRgb colour;
        int layer;
        quint32 textBegin;  // into Texts()
        quint16 textLength;
        bool centred;  // centred on x, else starting at x
        bool middle;   // the capitals' middle on y, else the descenders' bottom
    };

    explicit DrawingPicture(const DxfDrawing& drawing);

    const std::vector<DxfLayer>& Layers() const { return m_layers; }
    const std::vector<Line>& Lines() const { return m_lines; }
    const std::vector<Label>& Labels() const { return m_labels; }
    QStringView TextOf(const Label& label) const { return QStringView(m_texts).mid(label.textBegin, label.textLength); }
    qsizetype PointCount() const { return static_cast<qsizetype>(m_pointX.size()); }
    // Where the points lie with their marks (texts taken as wide as they may be).
    QRectF Bounds() const { return m_bounds; }

    // Calls visit(point) for every point whose mark may reach into area (picture
    // units), each once; all points when area holds them all.
    template <typename Visit>
    void ForPointsIn(const QRectF& area, Visit visit) const;
    // The entities of a point.
    std::size_t FirstLine(qsizetype point) const { return m_firstLine[static_cast<std::size_t>(point)]; }
    std::size_t EndLine(qsizetype point) const { return m_firstLine[static_cast<std::size_t>(point) + 1]; }
    std::size_t FirstLabel(qsizetype point) const { return m_firstLabel[static_cast<std::size_t>(point)]; }
    std::size_t EndLabel(qsizetype point) const { return m_firstLabel[static_cast<std::size_t>(point) + 1]; }

private:
    void BuildGrid();

    std::vector<DxfLayer> m_layers;
    std::vector<Line> m_lines;
    std::vector<Label> m_labels;
    QString m_texts;
    std::vector<float> m_pointX, m_pointY;
    std::vector<std::size_t> m_firstLine, m_firstLabel;  // per point, and one past the last
    QRectF m_bounds;
    double m_reach = 0.0;  // how far a mark reaches from its point

    // The grid: m_columns × m_rows cells over the points, each with its points.
    QRectF m_gridArea;
    int m_columns = 0, m_rows = 0;
    std::vector<quint32> m_cellStart;  // per cell, into m_cellPoints; one past the last
    std::vector<quint32> m_cellPoints;
};

template <typename Visit>
void DrawingPicture::ForPointsIn(const QRectF& area, Visit visit) const {
    const QRectF reached = area.adjusted(-m_reach, -m_reach, m_reach, m_reach);
    if (m_columns == 0 || reached.contains(m_gridArea)) {
        for (qsizetype point = 0; point < PointCount(); ++point) visit(point);
        return;
    }
    const QRectF cells = reached.intersected(m_gridArea);
    if (cells.isEmpty()) return;
    // The grid's area is never flat (BuildGrid), so its cells have a size.
    const double cellWidth = m_gridArea.width() / m_columns;
    const double cellHeight = m_gridArea.height() / m_rows;
    const auto column = [&](double x) {
        return std::clamp(static_cast<int>((x - m_gridArea.left()) / cellWidth), 0, m_columns - 1);
    };
    const auto row = [&](double y) {
        return std::clamp(static_cast<int>((y - m_gridArea.top()) / cellHeight), 0, m_rows - 1);
    };
    const int left = column(cells.left()), right = column(cells.right());
    const int top = row(cells.top()), bottom = row(cells.bottom());
    for (int r = top; r <= bottom; ++r) {
        for (int c = left; c <= right; ++c) {
            const std::size_t cell =
                static_cast<std::size_t>(r) * static_cast<std::size_t>(m_columns) + static_cast<std::size_t>(c);
            for (quint32 i = m_cellStart[cell]; i < m_cellStart[cell + 1]; ++i) visit(qsizetype(m_cellPoints[i]));
        }
    }
}
