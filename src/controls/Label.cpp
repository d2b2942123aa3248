#include "controls/Label.h"

#include <QPainter>

Label::Label(QWidget *parent, qint32 index)
    : FormControl(parent)
    , m_index(index)
{
    setClickable(false);
}

void Label::setClickable(bool clickable)
{
    setAttribute(Qt::WA_TransparentForMouseEvents, !clickable);
}

void Label::setCaption(const QString &caption)
{
    if (m_caption == caption)
        return;
    m_caption = caption;
    update();
}

void Label::setFontSize(double points)
{
    if (m_fontSize == points)
        return;
    m_fontSize = points;
    update();
}

void Label::setFontBold(bool bold)
{
    if (m_fontBold == bold)
        return;
    m_fontBold = bold;
    update();
}

void Label::setForeColor(OleColor color)
{
    if (m_foreColor == color)
        return;
    m_foreColor = color;
    update();
}

void Label::setBackColor(OleColor color)
{
    if (m_backColor == color)
        return;
    m_backColor = color;
    if (m_backStyle != 0)
        update();
}

void Label::setBackStyle(qint32 style)
{
    if (m_backStyle == style)
        return;
    m_backStyle = style;
    update();
}

void Label::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (m_backStyle != 0)
        painter.fillRect(rect(), toQColor(m_backColor));
    if (m_caption.isEmpty())
        return;

    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(std::max(1, int(std::lround(m_fontSize * PixelsPerPoint))));
    font.setBold(m_fontBold);
    painter.setFont(font);
    painter.setPen(toQColor(m_foreColor));
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.drawText(rect(), Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap, m_caption);
}
