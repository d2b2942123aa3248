#pragma once

#include "controls/FormControl.h"
#include "controls/LedPainter.h"

#include <QList>

// Common ground of the LED-style displays: lamp style, colours and the digit
// metrics. Size is the digit height in pixels (a digit is 0.55 x Size wide,
// a group separator 0.18 x Size); the paddings are in twips. The control's
// Width and Height follow from these and cannot be set from outside.
// The metrics are 16-bit whole numbers: written values are rounded to the
// nearest, halves to even, and a setter given the current value does nothing.
// Negative metrics are taken as 0. Any LedType other than Dots draws Lines.
// The lit area is centred in the control, so that rounding its edges to
// whole pixels leaves the paddings even on both sides.
class LedDisplay : public FormControl
{
    Q_OBJECT
    Q_PROPERTY(qint32 LedType READ LedType WRITE setLedType)
    Q_PROPERTY(qint32 LitColor READ LitColor WRITE setLitColor)
    Q_PROPERTY(qint32 BackColor READ BackColor WRITE setBackColor)
    Q_PROPERTY(double Size READ Size WRITE setSize)
    Q_PROPERTY(double PaddingH READ PaddingH WRITE setPaddingH)
    Q_PROPERTY(double PaddingV READ PaddingV WRITE setPaddingV)
    Q_PROPERTY(double PaddingI READ PaddingI WRITE setPaddingI)

public:
    enum Style { Lines = 0, Dots = 1 };

    explicit LedDisplay(QWidget *parent = nullptr);

    qint32 LedType() const { return m_ledType; }
    OleColor LitColor() const { return m_litColor; }
    OleColor BackColor() const { return m_backColor; }
    double Size() const { return m_size; }
    double PaddingH() const { return m_paddingH; }
    double PaddingV() const { return m_paddingV; }
    double PaddingI() const { return m_paddingI; }

    void setLedType(qint32 style);
    void setLitColor(OleColor color);
    void setBackColor(OleColor color);
    void setSize(double size);
    void setPaddingH(double twips);
    void setPaddingV(double twips);
    void setPaddingI(double twips);

    // The extent follows from the metrics; outside writes are ignored.
    void setWidth(double) override { }
    void setHeight(double) override { }

    QSize sizeHint() const override;

    // Digit and separator widths in pixels for a given Size.
    static double digitWidthFor(double size) { return 0.55 * size; }
    static double separatorWidthFor(double size) { return 0.18 * size; }

protected:
    // Recomputes Width and Height from the metrics; subclasses call it when
    // anything that changes their extent changes.
    void updateExtent();
    // Width of the lit area in twips, between the horizontal paddings.
    virtual double contentWidthTwips() const = 0;

    // Drops cached drawings and schedules a repaint.
    void invalidate();
    // Rounds and stores a metric, then resizes and repaints; false when the
    // value was already held.
    bool setMetric(qint16 &metric, double value);

    // One cell of the panel, left to right: a glyph and the gap before it.
    struct Cell
    {
        LedPainter::Glyph glyph;
        double gapTwips = 0;
    };
    double cellsWidthTwips(const QList<Cell> &cells) const;
    // Fills the panel with the background colour and draws the cells that
    // reach into `exposed` (all of them when it is empty).
    void paintCells(QPainter &painter, const QList<Cell> &cells, const QRect &exposed = QRect());
    // Schedules a repaint of the cells that changed, when the others stay
    // where they were; of the whole panel otherwise.
    void updateCells(const QList<Cell> &before, const QList<Cell> &after);

    qint16 m_size = 0;
    qint16 m_paddingH = 0;
    qint16 m_paddingV = 0;
    qint16 m_paddingI = 0;

private:
    virtual void metricsChanged() { }
    // Where each cell is drawn, in pixels, with a margin for the glyph's
    // rounding to whole device pixels.
    QList<QRect> cellRects(const QList<Cell> &cells) const;

    qint32 m_ledType = Lines;
    OleColor m_litColor = rgbColor(255, 0, 0);
    OleColor m_backColor = 0;
    LedPainter::GlyphCache m_glyphs;
};
