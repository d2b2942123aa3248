#include "controls/LedPainter.h"

#include "controls/LedDisplay.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <cmath>

namespace LedPainter {

namespace {

// Segments a to g as bits 0 to 6: top, upper right, lower right, bottom,
// lower left, upper left, middle.
constexpr std::array<quint8, GlyphCount> SegmentMasks = {
    0x3F, 0x06, 0x5B, 0x4F, 0x66, 0x6D, 0x7D, 0x07, 0x7F, 0x6F, // 0 to 9
    0x00, // blank
    0x40, // minus
    0x00, // the colon has no segments
};

// Each digit on a 5 x 9 matrix, one string per row, '#' for a lit dot.
constexpr int MatrixColumns = 5;
constexpr int MatrixRows = 9;
using Matrix = std::array<const char *, MatrixRows>;
constexpr std::array<Matrix, 12> DotMatrices = {{
    {".###.", "#...#", "#...#", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."},
    {"..#..", ".##..", "#.#..", "..#..", "..#..", "..#..", "..#..", "..#..", "#####"},
    {".###.", "#...#", "....#", "....#", "...#.", "..#..", ".#...", "#....", "#####"},
    {".###.", "#...#", "....#", "....#", "..##.", "....#", "....#", "#...#", ".###."},
    {"...#.", "..##.", ".#.#.", "#..#.", "#..#.", "#####", "...#.", "...#.", "...#."},
    {"#####", "#....", "#....", "####.", "....#", "....#", "....#", "#...#", ".###."},
    {"..##.", ".#...", "#....", "#....", "####.", "#...#", "#...#", "#...#", ".###."},
    {"#####", "....#", "....#", "...#.", "..#..", "..#..", ".#...", ".#...", ".#..."},
    {".###.", "#...#", "#...#", "#...#", ".###.", "#...#", "#...#", "#...#", ".###."},
    {".###.", "#...#", "#...#", "#...#", ".####", "....#", "....#", "...#.", ".##.."},
    {".....", ".....", ".....", ".....", ".....", ".....", ".....", ".....", "....."},
    {".....", ".....", ".....", ".....", ".###.", ".....", ".....", ".....", "....."},
}};

// Proportions of a digit, as fractions of its height.
constexpr double SegmentThickness = 0.12;
constexpr double SegmentGap = 0.011;
constexpr double DotFill = 0.8; // dot diameter over dot pitch
constexpr double UnlitShare = 0.09;

QPolygonF horizontalSegment(double x0, double x1, double y, double half, double gap)
{
    x0 += gap;
    x1 -= gap;
    return QPolygonF({{x0, y}, {x0 + half, y - half}, {x1 - half, y - half}, {x1, y}, {x1 - half, y + half},
        {x0 + half, y + half}});
}

QPolygonF verticalSegment(double x, double y0, double y1, double half, double gap)
{
    y0 += gap;
    y1 -= gap;
    return QPolygonF({{x, y0}, {x + half, y0 + half}, {x + half, y1 - half}, {x, y1}, {x - half, y1 - half},
        {x - half, y0 + half}});
}

// A square lamp with its corners cut, in keeping with the bevelled segments.
QPolygonF bevelledSquare(const QPointF &centre, double side)
{
    const double h = side / 2;
    const double c = side * 0.25;
    const double x = centre.x();
    const double y = centre.y();
    return QPolygonF({{x - h + c, y - h}, {x + h - c, y - h}, {x + h, y - h + c}, {x + h, y + h - c},
        {x + h - c, y + h}, {x - h + c, y + h}, {x - h, y + h - c}, {x - h, y - h + c}});
}

void drawSegments(QPainter &painter, Glyph glyph, double size, const QColor &lit, const QColor &unlit)
{
    const double t = SegmentThickness * size;
    const double half = t / 2;
    const double gap = SegmentGap * size;

    if (glyph == Glyph::Colon) {
        const double x = glyphWidth(Glyph::Colon, size) / 2;
        const double upper = (half + size / 2) / 2;
        const double lower = size - upper;
        QPainterPath dots;
        dots.addPolygon(bevelledSquare({x, upper}, t));
        dots.addPolygon(bevelledSquare({x, lower}, t));
        painter.fillPath(dots, lit);
        return;
    }

    const double w = glyphWidth(Glyph::Digit0, size);
    const double left = half;
    const double right = w - half;
    const double top = half;
    const double middle = size / 2;
    const double bottom = size - half;
    const std::array<QPolygonF, 7> segments = {
        horizontalSegment(left, right, top, half, gap),
        verticalSegment(right, top, middle, half, gap),
        verticalSegment(right, middle, bottom, half, gap),
        horizontalSegment(left, right, bottom, half, gap),
        verticalSegment(left, middle, bottom, half, gap),
        verticalSegment(left, top, middle, half, gap),
        horizontalSegment(left, right, middle, half, gap),
    };

    const quint8 mask = SegmentMasks[size_t(glyph)];
    QPainterPath on;
    QPainterPath off;
    for (size_t i = 0; i < segments.size(); ++i)
        ((mask >> i) & 1 ? on : off).addPolygon(segments[i]);
    painter.fillPath(off, unlit);
    painter.fillPath(on, lit);
}

void drawDots(QPainter &painter, Glyph glyph, double size, const QColor &lit, const QColor &unlit)
{
    const double w = glyphWidth(Glyph::Digit0, size);
    const double pitch = std::min(w / MatrixColumns, size / MatrixRows);
    const double radius = pitch * DotFill / 2;
    const double top = (size - pitch * MatrixRows) / 2;
    const auto centreY = [&](int row) { return top + (row + 0.5) * pitch; };

    if (glyph == Glyph::Colon) {
        const double x = glyphWidth(Glyph::Colon, size) / 2;
        QPainterPath dots;
        dots.addEllipse(QPointF(x, centreY(2)), radius, radius);
        dots.addEllipse(QPointF(x, centreY(MatrixRows - 3)), radius, radius);
        painter.fillPath(dots, lit);
        return;
    }

    const double left = (w - pitch * MatrixColumns) / 2;
    const Matrix &rows = DotMatrices[size_t(glyph)];
    QPainterPath on;
    QPainterPath off;
    for (int r = 0; r < MatrixRows; ++r) {
        for (int c = 0; c < MatrixColumns; ++c) {
            const QPointF centre(left + (c + 0.5) * pitch, centreY(r));
            (rows[size_t(r)][c] == '#' ? on : off).addEllipse(centre, radius, radius);
        }
    }
    painter.fillPath(off, unlit);
    painter.fillPath(on, lit);
}

} // namespace

Glyph glyphFor(QChar c)
{
    if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
        return Glyph(c.unicode() - '0');
    if (c == QLatin1Char('-'))
        return Glyph::Minus;
    if (c == QLatin1Char(':'))
        return Glyph::Colon;
    return Glyph::Blank;
}

double glyphWidth(Glyph glyph, double size)
{
    return glyph == Glyph::Colon ? LedDisplay::separatorWidthFor(size) : LedDisplay::digitWidthFor(size);
}

QColor unlitColor(const QColor &lit, const QColor &back)
{
    const auto mix = [](int from, int to) { return int(std::lround(from + (to - from) * UnlitShare)); };
    return QColor(mix(back.red(), lit.red()), mix(back.green(), lit.green()), mix(back.blue(), lit.blue()));
}

void drawGlyph(QPainter &painter, int style, Glyph glyph, double size, const QColor &lit, const QColor &unlit)
{
    if (size <= 0)
        return;
    if (style == 1)
        drawDots(painter, glyph, size, lit, unlit);
    else
        drawSegments(painter, glyph, size, lit, unlit);
}

void GlyphCache::clear()
{
    for (QPixmap &pixmap : m_pixmaps)
        pixmap = QPixmap();
}

const QPixmap &GlyphCache::pixmap(Glyph glyph, const Look &look)
{
    if (look != m_look) {
        clear();
        m_look = look;
    }
    QPixmap &pixmap = m_pixmaps[size_t(glyph)];
    if (pixmap.isNull() && look.size > 0 && look.scale > 0) {
        const double width = glyphWidth(glyph, look.size);
        QImage image(int(std::ceil(width * look.scale)), int(std::ceil(look.size * look.scale)),
            QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(look.scale);
        image.fill(Qt::transparent);
        {
            QPainter painter(&image);
            painter.setRenderHint(QPainter::Antialiasing);
            const QColor lit = QColor::fromRgb(look.lit);
            drawGlyph(
                painter, look.style, glyph, look.size, lit, unlitColor(lit, QColor::fromRgb(look.back)));
        }
        pixmap = QPixmap::fromImage(std::move(image));
    }
    return pixmap;
}

qreal deviceScale(const QPainter &painter)
{
    const QTransform t = painter.deviceTransform();
    if (t.type() > QTransform::TxScale || t.m11() <= 0 || !qFuzzyCompare(t.m11(), t.m22()))
        return 0;
    return t.m11();
}

void blitGlyph(QPainter &painter, const QPointF &topLeft, const QPixmap &pixmap)
{
    const QTransform t = painter.deviceTransform();
    const QPointF device = t.map(topLeft);
    const QPointF snapped(std::round(device.x()), std::round(device.y()));
    painter.drawPixmap(t.inverted().map(snapped), pixmap);
}

void drawFrame(QPainter &painter, const QRectF &rect, double width, const QColor &color)
{
    const qreal scale = deviceScale(painter);
    const double b = scale > 0 ? std::max(1.0, std::round(width * scale)) / scale : width;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.fillRect(QRectF(rect.left(), rect.top(), rect.width(), b), color);
    painter.fillRect(QRectF(rect.left(), rect.bottom() - b, rect.width(), b), color);
    painter.fillRect(QRectF(rect.left(), rect.top() + b, b, rect.height() - 2 * b), color);
    painter.fillRect(QRectF(rect.right() - b, rect.top() + b, b, rect.height() - 2 * b), color);
    painter.restore();
}

} // namespace LedPainter
