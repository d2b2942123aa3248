#pragma once

#include <QColor>
#include <QPixmap>

#include <array>

class QPainter;
class QPointF;
class QRectF;

// Drawing of the LED lamps shared by the displays. A glyph is one cell of a
// panel (a digit, a blank digit, a minus or the clock's colon) drawn in one
// of two lamp styles: bevelled seven-segment bars or a 5 x 9 dot matrix.
// Unlit lamps are drawn too, in a trace of the lit colour, as the lenses of
// a real board catch the light.
namespace LedPainter {

enum class Glyph {
    Digit0,
    Digit1,
    Digit2,
    Digit3,
    Digit4,
    Digit5,
    Digit6,
    Digit7,
    Digit8,
    Digit9,
    Blank,
    Minus,
    Colon
};
inline constexpr int GlyphCount = 13;

// The glyph for a character of a display text: a digit, '-', ':' or else blank.
Glyph glyphFor(QChar c);

// Width of a glyph's cell in pixels for a digit height of size pixels.
double glyphWidth(Glyph glyph, double size);

// The colour of a lamp that is off.
QColor unlitColor(const QColor &lit, const QColor &back);

// Draws the glyph's lamps with the cell's top-left corner at the origin.
// Any style other than dots (1) draws segments.
void drawGlyph(
    QPainter &painter, int style, Glyph glyph, double size, const QColor &lit, const QColor &unlit);

// Rendered glyphs for one set of drawing parameters. Anti-aliased paths are
// the dear part of a repaint, and a display changes its digits far more often
// than its look, so each glyph is rendered once, at the device resolution,
// and blitted from then on.
class GlyphCache
{
public:
    struct Look
    {
        int style = 0;
        int size = 0;
        QRgb lit = 0;
        QRgb back = 0;
        qreal scale = 1;
        bool operator==(const Look &) const = default;
    };

    void clear();
    // The glyph as drawn with look; everything is dropped when the look differs
    // from the last one asked for.
    const QPixmap &pixmap(Glyph glyph, const Look &look);

private:
    Look m_look;
    std::array<QPixmap, GlyphCount> m_pixmaps;
};

// Device pixels per logical pixel of the painter's current transform, or 0
// when it rotates or shears (glyphs are then drawn as paths).
qreal deviceScale(const QPainter &painter);

// Draws a cached glyph with its top-left corner at a logical point moved to
// the nearest device pixel, so that the blit copies pixels one to one.
void blitGlyph(QPainter &painter, const QPointF &topLeft, const QPixmap &pixmap);

// A frame of the given logical width just inside rect, its width a whole
// number of device pixels (at least one) so that it stays sharp.
void drawFrame(QPainter &painter, const QRectF &rect, double width, const QColor &color);

} // namespace LedPainter
