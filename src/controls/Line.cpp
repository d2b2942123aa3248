#include "controls/Line.h"

#include "modules/Rounding.h"

#include <QPainter>

Line::Line(QWidget *parent)
    : FormControl(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void Line::setX1(double twips)
{
    setEnds(twips, m_y1, m_x2, m_y2);
}
void Line::setX2(double twips)
{
    setEnds(m_x1, m_y1, twips, m_y2);
}
void Line::setY1(double twips)
{
    setEnds(m_x1, twips, m_x2, m_y2);
}
void Line::setY2(double twips)
{
    setEnds(m_x1, m_y1, m_x2, twips);
}

void Line::setEnds(double x1, double y1, double x2, double y2)
{
    if (m_x1 == x1 && m_y1 == y1 && m_x2 == x2 && m_y2 == y2)
        return;
    m_x1 = x1;
    m_y1 = y1;
    m_x2 = x2;
    m_y2 = y2;
    place();
}

void Line::setBorderColor(OleColor color)
{
    if (m_borderColor == color)
        return;
    m_borderColor = color;
    update();
}

void Line::setBorderWidth(double width)
{
    const qint16 rounded = Rounding::toInt16(width);
    if (m_borderWidth == rounded)
        return;
    m_borderWidth = rounded;
    place();
}

void Line::place()
{
    // The widget covers the segment plus half the pen on every side.
    const double half = std::max<double>(1, m_borderWidth) * TwipsPerPixel / 2.0;
    const double left = std::min(m_x1, m_x2) - half;
    const double top = std::min(m_y1, m_y2) - half;
    setTwipsGeometry(left, top, std::abs(m_x2 - m_x1) + 2 * half, std::abs(m_y2 - m_y1) + 2 * half);
    update();
}

void Line::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPointF origin(x(), y()); // the widget's corner in the container, pixels
    const QPointF a = QPointF(m_x1, m_y1) / TwipsPerPixel - origin;
    const QPointF b = QPointF(m_x2, m_y2) / TwipsPerPixel - origin;
    QPen pen(toQColor(m_borderColor), std::max<double>(1, m_borderWidth));
    pen.setCapStyle(Qt::FlatCap);
    painter.setPen(pen);
    painter.drawLine(a, b);
}
