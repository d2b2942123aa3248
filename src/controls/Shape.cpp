#include "controls/Shape.h"

#include "modules/Rounding.h"

#include <QPainter>
#include <QPainterPath>

Shape::Shape(QWidget *parent)
    : FormControl(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void Shape::setShapeKind(qint32 kind)
{
    if (m_kind == kind)
        return;
    m_kind = kind;
    update();
}

void Shape::setFillColor(OleColor color)
{
    if (m_fillColor == color)
        return;
    m_fillColor = color;
    if (m_fillStyle == Solid)
        update();
}

void Shape::setFillStyle(qint32 style)
{
    if (m_fillStyle == style)
        return;
    m_fillStyle = style;
    update();
}

void Shape::setBorderColor(OleColor color)
{
    if (m_borderColor == color)
        return;
    m_borderColor = color;
    if (m_borderStyle != 0)
        update();
}

void Shape::setBorderStyle(qint32 style)
{
    if (m_borderStyle == style)
        return;
    m_borderStyle = style;
    update();
}

void Shape::setBorderWidth(double width)
{
    const qint16 rounded = Rounding::toInt16(width);
    if (m_borderWidth == rounded)
        return;
    m_borderWidth = rounded;
    update();
}

void Shape::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);

    // The border lies inside the shape's extent, as on the design.
    const double pen = m_borderStyle != 0 ? std::max<double>(1, m_borderWidth) : 0;
    const QRectF area = QRectF(rect()).adjusted(pen / 2, pen / 2, -pen / 2, -pen / 2);

    QPainterPath path;
    switch (m_kind) {
    case Oval: path.addEllipse(area); break;
    case RoundedRectangle: {
        const double radius = std::min(area.width(), area.height()) / 6.0;
        path.addRoundedRect(area, radius, radius);
        break;
    }
    default: path.addRect(area); break;
    }

    if (m_fillStyle == Solid)
        painter.fillPath(path, toQColor(m_fillColor));
    if (pen > 0) {
        QPen line(toQColor(m_borderColor), pen);
        line.setJoinStyle(Qt::MiterJoin);
        painter.strokePath(path, line);
    }
}
