#include "gui/preview/DrawingPicture.h"

#include "base/Cp1250.h"

#include <array>
#include <cmath>
#include <limits>

namespace {

// A text reaches at most this many heights per character to the side of its
// alignment point, and this many heights up or down.
constexpr double kWidthPerCharacter = 1.0;
constexpr double kTextDepth = 2.0;

// Points per grid cell on average.
constexpr double kPointsPerCell = 4.0;
constexpr int kMostCellsPerSide = 1024;

// Windows-1250 to UTF-16, one character per byte.
const std::array<char16_t, 256>& Cp1250Characters() {
    static const std::array<char16_t, 256> characters = [] {
        std::array<char16_t, 256> table{};
        for (int byte = 0; byte < 256; ++byte) {
            const QString character = Cp1250::ToUnicode(QByteArray(1, static_cast<char>(byte)));
            table[static_cast<std::size_t>(byte)] = character.isEmpty() ? u'?' : character[0].unicode();
        }
        return table;
    }();
    return characters;
}

}  // namespace

DrawingPicture::DrawingPicture(const DxfDrawing& drawing) : m_layers(drawing.Layers()) {
    // The middle of the points is the picture's origin: S-JTSK coordinates are
    // large, the marks small, and the picture keeps its coordinates in floats.
    double minEast = std::numeric_limits<double>::max(), maxEast = -minEast;
    double minNorth = minEast, maxNorth = -minEast;
    const auto eastNorth = [&drawing](double x, double y) {
        double east = 0.0, north = 0.0;
        drawing.EastNorth(x, y, east, north);
        return std::pair{east, north};
    };
    drawing.Draw([&](const DxfEntity& entity) {
        const auto [east, north] = eastNorth(entity.pointX, entity.pointY);
        if (std::isfinite(east) && std::isfinite(north)) {
            minEast = std::min(minEast, east);
            maxEast = std::max(maxEast, east);
            minNorth = std::min(minNorth, north);
            maxNorth = std::max(maxNorth, north);
        }
        return true;
    });
    double originEast = 0.0, originNorth = 0.0;
    if (minEast <= maxEast) {
        originEast = (minEast + maxEast) / 2;
        originNorth = (minNorth + maxNorth) / 2;
    }

    const qsizetype points = drawing.PointCount();
    m_lines.reserve(static_cast<std::size_t>(2 * points));
    m_labels.reserve(static_cast<std::size_t>(3 * points));
    m_pointX.reserve(static_cast<std::size_t>(points));
    m_pointY.reserve(static_cast<std::size_t>(points));
    const std::array<char16_t, 256>& characters = Cp1250Characters();
    double left = std::numeric_limits<double>::max(), right = -left, top = left, bottom = -left;
    const auto extend = [&](double x, double y, double reachX, double reachY) {
        if (!std::isfinite(x) || !std::isfinite(y)) return;
        left = std::min(left, x - reachX);
        right = std::max(right, x + reachX);
        top = std::min(top, y - reachY);
        bottom = std::max(bottom, y + reachY);
    };

    // Each point's entities start with its name and end with the arms of its cross.
    bool afterLine = true;
    drawing.Draw([&](const DxfEntity& entity) {
        const auto [east, north] = eastNorth(entity.pointX, entity.pointY);
        const double pointX = east - originEast, pointY = originNorth - north;
        // The entity around its point as drawn.
        const auto place = [&](double x, double y) {
            return std::pair{pointX + (x - entity.pointX), pointY - (y - entity.pointY)};
        };
        if (entity.kind == DxfEntity::Kind::Text && afterLine) {
            m_pointX.push_back(static_cast<float>(pointX));
            m_pointY.push_back(static_cast<float>(pointY));
            m_firstLine.push_back(m_lines.size());
            m_firstLabel.push_back(m_labels.size());
        }
        afterLine = entity.kind == DxfEntity::Kind::Line;
        const int colourNumber = entity.colour == kDxfColourByLayer
                                     ? m_layers[static_cast<std::size_t>(entity.layer)].colour
                                     : entity.colour;
        const QRgb colour = 0xFF000000u | DxfColourRgb(colourNumber);

        if (entity.kind == DxfEntity::Kind::Line) {
            const auto [x1, y1] = place(entity.x, entity.y);
            const auto [x2, y2] = place(entity.x2, entity.y2);
            m_lines.push_back({static_cast<float>(x1), static_cast<float>(y1), static_cast<float>(x2),
                               static_cast<float>(y2), colour, entity.layer});
            extend(x1, y1, 0, 0);
            extend(x2, y2, 0, 0);
            m_reach = std::max(
                {m_reach, std::abs(x1 - pointX), std::abs(y1 - pointY), std::abs(x2 - pointX), std::abs(y2 - pointY)});
            return true;
        }
        if (!(entity.height > 0.0) || !std::isfinite(entity.height)) return true;
        const auto [x, y] = place(entity.x2, entity.y2);
        Label label{};
        label.x = static_cast<float>(x);
        label.y = static_cast<float>(y);
        label.height = static_cast<float>(entity.height);
        label.colour = colour;
        label.layer = entity.layer;
        label.textBegin = static_cast<quint32>(m_texts.size());
        label.textLength = static_cast<quint16>(std::min<qsizetype>(entity.text.size(), 0xFFFF));
        label.centred = entity.horizontal == 1;
        label.middle = entity.vertical != 1;
        for (qsizetype i = 0; i < label.textLength; ++i)
            m_texts += QChar(characters[static_cast<unsigned char>(entity.text[i])]);
        m_labels.push_back(label);
        const double reachX = entity.height * kWidthPerCharacter * (label.textLength + 1);
        const double reachY = entity.height * kTextDepth;
        extend(x, y, reachX, reachY);
        m_reach = std::max({m_reach, std::abs(x - pointX) + reachX, std::abs(y - pointY) + reachY});
        return true;
    });
    m_firstLine.push_back(m_lines.size());
    m_firstLabel.push_back(m_labels.size());
    if (left <= right) m_bounds = QRectF(QPointF(left, top), QPointF(right, bottom));
    BuildGrid();
}

void DrawingPicture::BuildGrid() {
    const qsizetype points = PointCount();
    if (points == 0) return;
    double left = std::numeric_limits<double>::max(), right = -left, top = left, bottom = -left;
    for (qsizetype i = 0; i < points; ++i) {
        const double x = m_pointX[static_cast<std::size_t>(i)], y = m_pointY[static_cast<std::size_t>(i)];
        if (!std::isfinite(x) || !std::isfinite(y)) continue;
        left = std::min(left, x);
        right = std::max(right, x);
        top = std::min(top, y);
        bottom = std::max(bottom, y);
    }
    if (left > right) return;
    // Never flat: points on one line still have cells of a size.
    const double pad = std::max({1e-3, (right - left) * 1e-6, (bottom - top) * 1e-6});
    m_gridArea = QRectF(QPointF(left - pad, top - pad), QPointF(right + pad, bottom + pad));
    const double cells = std::max(1.0, static_cast<double>(points) / kPointsPerCell);
    const double aspect = m_gridArea.width() / m_gridArea.height();
    m_columns = std::clamp(static_cast<int>(std::sqrt(cells * aspect)), 1, kMostCellsPerSide);
    m_rows = std::clamp(static_cast<int>(cells / m_columns), 1, kMostCellsPerSide);

    // Counted, then filled: one array of point numbers, cell after cell.
    const auto cellOf = [this](qsizetype point) -> std::size_t {
        const double x = m_pointX[static_cast<std::size_t>(point)], y = m_pointY[static_cast<std::size_t>(point)];
        if (!std::isfinite(x) || !std::isfinite(y)) return 0;
        const int column =
            std::clamp(static_cast<int>((x - m_gridArea.left()) / m_gridArea.width() * m_columns), 0, m_columns - 1);
        const int row =
            std::clamp(static_cast<int>((y - m_gridArea.top()) / m_gridArea.height() * m_rows), 0, m_rows - 1);
        return static_cast<std::size_t>(row) * static_cast<std::size_t>(m_columns) + static_cast<std::size_t>(column);
    };
    m_cellStart.assign(static_cast<std::size_t>(m_columns) * static_cast<std::size_t>(m_rows) + 1, 0);
    for (qsizetype point = 0; point < points; ++point) ++m_cellStart[cellOf(point) + 1];
    for (std::size_t cell = 1; cell < m_cellStart.size(); ++cell) m_cellStart[cell] += m_cellStart[cell - 1];
    std::vector<quint32> filled(m_cellStart.begin(), m_cellStart.end() - 1);
    m_cellPoints.resize(static_cast<std::size_t>(points));
    for (qsizetype point = 0; point < points; ++point)
        m_cellPoints[filled[cellOf(point)]++] = static_cast<quint32>(point);
}
