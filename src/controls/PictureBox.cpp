#include "controls/PictureBox.h"

#include <QPaintEvent>
#include <QPainter>

PictureBox::PictureBox(QWidget *parent)
    : FormControl(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusable(true);
}

void PictureBox::setBackColor(OleColor color)
{
    if (m_backColor == color)
        return;
    m_backColor = color;
    update();
}

void PictureBox::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    painter.fillRect(event->rect(), toQColor(m_backColor));
}
