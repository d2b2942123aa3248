#include "controls/DigitSample.h"

#include <QPainter>

DigitSample::DigitSample(QWidget *parent)
    : LedDisplay(parent)
{
    updateExtent();
}

void DigitSample::setCaption(qint32 digit)
{
    if (m_caption == digit)
        return;
    m_caption = digit;
    update();
}

double DigitSample::contentWidthTwips() const
{
    return digitWidthFor(m_size) * TwipsPerPixel;
}

void DigitSample::paintEvent(QPaintEvent *)
{
    const bool shown = m_caption >= 0 && m_caption <= 9;
    QPainter painter(this);
    paintCells(painter, {{shown ? LedPainter::Glyph(m_caption) : LedPainter::Glyph::Blank}});
}
