#include "gui/preview/PictureRenderer.h"

#include <QGlyphRun>
#include <QHash>
#include <QLineF>
#include <QPainter>
#include <QRawFont>

#include <cmath>
#include <map>
#include <unordered_set>

namespace {

// The font's size at which its metrics are taken; glyphs scale from it.
constexpr double kReferencePixels = 100.0;
// How often a long paint looks whether it is still wanted.
constexpr qsizetype kCancelCheckEvery = 4096;

// The lines of one colour that are neither level nor upright, and the texts of one
// colour and size, gathered for one call each.
struct TextBatch {
    quint64 id = 0;
    QList<quint32> glyphs;
    QList<QPointF> positions;
};

class Painter {
public:
    Painter(const DrawingPicture& picture, const RenderRequest& request, QImage& image)
        : m_picture(picture), m_request(request), m_image(image) {
        m_scale = request.place.pixelsPerMetre * request.devicePixelRatio;
        m_halfWidth = image.width() / 2.0;
        m_halfHeight = image.height() / 2.0;
        m_bits = reinterpret_cast<QRgb*>(image.bits());
        m_stride = image.bytesPerLine() / static_cast<qsizetype>(sizeof(QRgb));
    }

    QPointF Device(double x, double y) const {
        return QPointF((x - m_request.place.centre.x()) * m_scale + m_halfWidth,
                       (y - m_request.place.centre.y()) * m_scale + m_halfHeight);
    }

    bool Visible(int layer) const {
        return layer < 0 || static_cast<std::size_t>(layer) >= m_request.visibleLayers.size() ||
               m_request.visibleLayers[static_cast<std::size_t>(layer)];
    }

    void AddLine(const DrawingPicture::Line& line) {
        const QPointF from = Device(line.x1, line.y1), to = Device(line.x2, line.y2);
        if (!std::isfinite(from.x()) || !std::isfinite(from.y()) || !std::isfinite(to.x()) || !std::isfinite(to.y()))
            return;
        // The marks' arms lie along the axes: straight into the pixels.
        if (std::lround(from.y()) == std::lround(to.y())) {
            Span(from.x(), to.x(), from.y(), line.colour, true);
        } else if (std::lround(from.x()) == std::lround(to.x())) {
            Span(from.y(), to.y(), from.x(), line.colour, false);
        } else {
            m_slanted[line.colour].append(QLineF(from, to));
        }
    }

    void AddLabel(const DrawingPicture::Label& label) {
        const double capitalPixels = label.height * m_scale;
        if (capitalPixels < kSmallestTextPixels * m_request.devicePixelRatio || !std::isfinite(capitalPixels)) return;
        const QPointF align = Device(label.x, label.y);
        // Far outside the image a text cannot reach in.
        const double reach = capitalPixels * (label.textLength + 2);
        if (align.x() < -reach || align.x() > m_image.width() + reach || align.y() < -reach ||
            align.y() > m_image.height() + reach)
            return;
        // One size per hundredth of a pixel: the texts of a kind share their size.
        const qint64 sizeKey = std::llround(capitalPixels * 100);
        auto [batchAt, isNew] = m_texts.try_emplace({sizeKey, label.colour});
        TextBatch& batch = batchAt->second;
        if (isNew) batch.id = m_texts.size();
        // A text of the same kind whose alignment point lies within a quarter of
        // its height of one already drawn would cover it almost wholly: where a
        // large job's marks pile up, the pile is drawn once, not thousands of times.
        const double cell = std::max(capitalPixels / 4, 1.0);
        const auto cellOf = [cell](double at) {
            return static_cast<quint64>(static_cast<qint64>(std::floor(at / cell))) & 0xFFFFF;
        };
        if (!m_taken.insert(batch.id << 40 | cellOf(align.y()) << 20 | cellOf(align.x())).second) return;
        Font& font = FontOf(sizeKey, capitalPixels);
        const QStringView text = m_picture.TextOf(label);
        QList<quint32> glyphs(text.size());
        int count = static_cast<int>(text.size());
        if (!font.raw.glyphIndexesForChars(text.data(), count, glyphs.data(), &count)) return;
        glyphs.resize(count);
        const QList<QPointF> advances = font.raw.advancesForGlyphIndexes(glyphs);
        double width = 0.0;
        for (const QPointF& advance : advances) width += advance.x();
        double x = label.centred ? align.x() - width / 2 : align.x();
        const double baseline = label.middle ? align.y() + capitalPixels / 2 : align.y() - font.raw.descent();
        for (qsizetype i = 0; i < glyphs.size(); ++i) {
            batch.glyphs.append(glyphs[i]);
            batch.positions.append(QPointF(x, baseline));
            x += advances[i].x();
        }
    }

    // The slanted lines and the texts, once every point has been looked at.
    void Finish() {
        QPainter painter(&m_image);
        for (auto it = m_slanted.cbegin(); it != m_slanted.cend(); ++it) {
            painter.setPen(QPen(QColor::fromRgb(it.key()), 0));
            painter.drawLines(it.value());
        }
        for (auto it = m_texts.begin(); it != m_texts.end(); ++it) {
            QGlyphRun run;
            run.setRawFont(m_fonts[it->first.first].raw);
            run.setGlyphIndexes(it->second.glyphs);
            run.setPositions(it->second.positions);
            painter.setPen(QColor::fromRgb(it->first.second));
            painter.drawGlyphRun(QPointF(0, 0), run);
        }
    }

private:
    struct Font {
        QRawFont raw;
    };

    Font& FontOf(qint64 key, double capitalPixels) {
        auto found = m_fonts.find(key);
        if (found != m_fonts.end()) return found->second;
        if (!m_reference.isValid()) {
            QFont font(m_request.fontFamily);
            font.setPixelSize(static_cast<int>(kReferencePixels));
            m_reference = QRawFont::fromFont(font);
        }
        Font font{m_reference};
        // A DXF text's height is that of its capitals.
        const double capHeight = m_reference.capHeight() > 0 ? m_reference.capHeight() : kReferencePixels * 0.7;
        font.raw.setPixelSize(capitalPixels * kReferencePixels / capHeight);
        return m_fonts.emplace(key, std::move(font)).first->second;
    }

    // A level (or upright) line from a to b along the axis at the given place.
    void Span(double a, double b, double at, QRgb colour, bool level) {
        const qsizetype limit = level ? m_image.width() : m_image.height();
        const qsizetype across = level ? m_image.height() : m_image.width();
        const qsizetype fixed = std::lround(at);
        if (fixed < 0 || fixed >= across) return;
        qsizetype from = std::lround(std::min(a, b)), to = std::lround(std::max(a, b));
        if (to < 0 || from >= limit) return;
        from = std::max<qsizetype>(from, 0);
        to = std::min<qsizetype>(to, limit - 1);
        if (level) {
            QRgb* row = m_bits + fixed * m_stride;
            std::fill(row + from, row + to + 1, colour);
        } else {
            for (qsizetype y = from; y <= to; ++y) m_bits[y * m_stride + fixed] = colour;
        }
    }

    const DrawingPicture& m_picture;
    const RenderRequest& m_request;
    QImage& m_image;
    double m_scale = 1.0;
    double m_halfWidth = 0.0, m_halfHeight = 0.0;
    QRgb* m_bits = nullptr;
    qsizetype m_stride = 0;
    QHash<QRgb, QList<QLineF>> m_slanted;
    QRawFont m_reference;
    std::map<qint64, Font> m_fonts;
    std::map<std::pair<qint64, QRgb>, TextBatch> m_texts;
    std::unordered_set<quint64> m_taken;  // the kinds and cells of the texts drawn
};

}  // namespace

QPointF ViewPoint(const ViewPlace& place, QSize size, QPointF picturePoint) {
    return (picturePoint - place.centre) * place.pixelsPerMetre + QPointF(size.width() / 2.0, size.height() / 2.0);
}

QImage RenderPicture(const DrawingPicture& picture, const RenderRequest& request, const std::atomic<bool>& cancelled) {
    const QSize pixels(static_cast<int>(std::ceil(request.size.width() * request.devicePixelRatio)),
                       static_cast<int>(std::ceil(request.size.height() * request.devicePixelRatio)));
    if (pixels.isEmpty() || !(request.place.pixelsPerMetre > 0)) return {};
    QImage image(pixels, QImage::Format_RGB32);
    image.fill(Qt::black);
    Painter painter(picture, request, image);

    const double halfWidth = request.size.width() / 2.0 / request.place.pixelsPerMetre;
    const double halfHeight = request.size.height() / 2.0 / request.place.pixelsPerMetre;
    const QRectF inView(request.place.centre - QPointF(halfWidth, halfHeight),
                        request.place.centre + QPointF(halfWidth, halfHeight));
    qsizetype looked = 0;
    bool stopped = false;
    picture.ForPointsIn(inView, [&](qsizetype point) {
        if (stopped || (++looked % kCancelCheckEvery == 0 && cancelled.load(std::memory_order_relaxed))) {
            stopped = true;
            return;
        }
        const auto& lines = picture.Lines();
        for (std::size_t i = picture.FirstLine(point); i < picture.EndLine(point); ++i)
            if (painter.Visible(lines[i].layer)) painter.AddLine(lines[i]);
        const auto& labels = picture.Labels();
        for (std::size_t i = picture.FirstLabel(point); i < picture.EndLabel(point); ++i)
            if (painter.Visible(labels[i].layer)) painter.AddLabel(labels[i]);
    });
    if (stopped) return {};
    painter.Finish();
    image.setDevicePixelRatio(request.devicePixelRatio);
    return image;
}
