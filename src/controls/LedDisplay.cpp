#include "controls/LedDisplay.h"

#include "modules/Rounding.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

LedDisplay::LedDisplay(QWidget *parent)
    : FormControl(parent)
{
    // Every paint covers the whole panel with the background colour.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void LedDisplay::setLedType(qint32 style)
{
    if (m_ledType == style)
        return;
    m_ledType = style;
    invalidate();
}

void LedDisplay::setLitColor(OleColor color)
{
    if (m_litColor == color)
        return;
    m_litColor = color;
    invalidate();
}

void LedDisplay::setBackColor(OleColor color)
{
    if (m_backColor == color)
        return;
    m_backColor = color;
    invalidate();
}

bool LedDisplay::setMetric(qint16 &metric, double value)
{
    const qint16 rounded = std::max<qint16>(0, Rounding::toInt16(value));
    if (metric == rounded)
        return false;
    metric = rounded;
    metricsChanged();
    updateExtent();
    update();
    return true;
}

void LedDisplay::setSize(double size)
{
    if (setMetric(m_size, size))
        m_glyphs.clear();
}

void LedDisplay::setPaddingH(double twips)
{
    setMetric(m_paddingH, twips);
}
void LedDisplay::setPaddingV(double twips)
{
    setMetric(m_paddingV, twips);
}
void LedDisplay::setPaddingI(double twips)
{
    setMetric(m_paddingI, twips);
}

QSize LedDisplay::sizeHint() const
{
    return QSize(int(std::lround(Width() / TwipsPerPixel)), int(std::lround(Height() / TwipsPerPixel)));
}

void LedDisplay::updateExtent()
{
    setExtent(2.0 * m_paddingH + contentWidthTwips(), 2.0 * m_paddingV + double(m_size) * TwipsPerPixel);
}

void LedDisplay::invalidate()
{
    m_glyphs.clear();
    update();
}

double LedDisplay::cellsWidthTwips(const QList<Cell> &cells) const
{
    double width = 0;
    for (const Cell &cell : cells)
        width += cell.gapTwips + LedPainter::glyphWidth(cell.glyph, m_size) * TwipsPerPixel;
    return width;
}

QList<QRect> LedDisplay::cellRects(const QList<Cell> &cells) const
{
    QList<QRect> rects;
    rects.reserve(cells.size());
    const double perTwip = 1.0 / TwipsPerPixel;
    double x = (width() - cellsWidthTwips(cells) * perTwip) / 2;
    const double y = (height() - m_size) / 2.0;
    for (const Cell &cell : cells) {
        x += cell.gapTwips * perTwip;
        const double w = LedPainter::glyphWidth(cell.glyph, m_size);
        rects.append(QRectF(x, y, w, m_size).toAlignedRect().adjusted(-2, -2, 2, 2));
        x += w;
    }
    return rects;
}

// A running clock changes one digit a second: repainting that digit alone
// spares the rest of the panel, and whatever overlaps it, a repaint.
void LedDisplay::updateCells(const QList<Cell> &before, const QList<Cell> &after)
{
    if (!isVisible())
        return;
    const QList<QRect> was = cellRects(before);
    const QList<QRect> now = cellRects(after);
    if (was != now || m_size <= 0) {
        update();
        return;
    }
    QRegion changed;
    for (qsizetype i = 0; i < after.size(); ++i)
        if (before[i].glyph != after[i].glyph)
            changed += now[i];
    if (!changed.isEmpty())
        update(changed & rect());
}

void LedDisplay::paintCells(QPainter &painter, const QList<Cell> &cells, const QRect &exposed)
{
    const QColor back = toQColor(m_backColor);
    const QColor lit = toQColor(m_litColor);
    const QRect area = exposed.isEmpty() ? rect() : exposed & rect();
    painter.fillRect(area, back);
    if (m_size <= 0)
        return;

    const QList<QRect> rects = cellRects(cells);
    const double perTwip = 1.0 / TwipsPerPixel;
    double x = (width() - cellsWidthTwips(cells) * perTwip) / 2;
    const double y = (height() - m_size) / 2.0;
    const qreal scale = LedPainter::deviceScale(painter);
    const LedPainter::GlyphCache::Look look {m_ledType, m_size, lit.rgb(), back.rgb(), scale};
    for (qsizetype i = 0; i < cells.size(); ++i) {
        const Cell &cell = cells[i];
        x += cell.gapTwips * perTwip;
        if (!rects[i].intersects(area)) {
            x += LedPainter::glyphWidth(cell.glyph, m_size);
            continue;
        }
        if (scale > 0) {
            LedPainter::blitGlyph(painter, QPointF(x, y), m_glyphs.pixmap(cell.glyph, look));
        } else {
            // A rotated or sheared painter gets paths, which follow any transform.
            painter.save();
            painter.setRenderHint(QPainter::Antialiasing);
            painter.translate(x, y);
            LedPainter::drawGlyph(
                painter, m_ledType, cell.glyph, m_size, lit, LedPainter::unlitColor(lit, back));
            painter.restore();
        }
        x += LedPainter::glyphWidth(cell.glyph, m_size);
    }
}
