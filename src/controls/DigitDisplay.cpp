#include "controls/DigitDisplay.h"

#include <QPaintEvent>
#include <QPainter>

DigitDisplay::DigitDisplay(QWidget *parent)
    : LedDisplay(parent)
{
    updateExtent();
}

void DigitDisplay::setCaption(qint32 value)
{
    if (m_caption == value)
        return;
    const QList<Cell> before = cells();
    m_caption = value;
    updateCells(before, cells());
}

void DigitDisplay::setMax(qint32 value)
{
    if (m_max == value)
        return;
    m_max = value;
    updateExtent();
    update();
}

int DigitDisplay::digitCount() const
{
    return m_max > 0 ? int(QString::number(m_max).size()) : 1;
}

QString DigitDisplay::digitText() const
{
    const int count = digitCount();
    if (m_caption == -1)
        return QString(count, QLatin1Char(' '));
    if (m_caption < 0)
        return QString(count, QLatin1Char('-'));
    return QString::number(m_caption).right(count).rightJustified(count, QLatin1Char(' '));
}

QList<LedDisplay::Cell> DigitDisplay::cells() const
{
    const QString text = digitText();
    QList<Cell> cells;
    cells.reserve(text.size());
    for (const QChar c : text)
        cells.append({LedPainter::glyphFor(c), cells.isEmpty() ? 0.0 : double(m_paddingI)});
    return cells;
}

double DigitDisplay::contentWidthTwips() const
{
    return cellsWidthTwips(cells());
}

void DigitDisplay::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    paintCells(painter, cells(), event->rect());
}
