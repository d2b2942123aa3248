#include "controls/Label.h"

#include "controls/TextFit.h"

#include <QFontMetricsF>
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
    refit();
}

void Label::setFontSize(double points)
{
    if (m_fontSize == points)
        return;
    m_fontSize = points;
    refit();
}

void Label::setFontBold(bool bold)
{
    if (m_fontBold == bold)
        return;
    m_fontBold = bold;
    refit();
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

void Label::refit()
{
    m_fitted = false;
    update();
}

QFont Label::designFont() const
{
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(std::max(1, int(std::lround(m_fontSize * PixelsPerPoint))));
    font.setBold(m_fontBold);
    return font;
}

QRect Label::textRoom() const
{
    // Only the part of the box inside its container shows: the Visitor
    // name runs a little past the board's right edge.
    QRect shown = rect();
    if (const QWidget *container = parentWidget())
        shown &= QRect(mapFromParent(QPoint(0, 0)), container->size());
    return shown.adjusted(1, 0, -1, 0);
}

QFont Label::shownFont() const
{
    const QSize room = textRoom().size();
    if (!m_fitted || room != m_fittedRoom) {
        m_shownFont = TextFit::shrunkToFit(designFont(), m_caption, room, false, 1);
        m_fitted = true;
        m_fittedRoom = room;
    }
    return m_shownFont;
}

void Label::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (m_backStyle != 0)
        painter.fillRect(rect(), toQColor(m_backColor));
    if (m_caption.isEmpty())
        return;

    const QFont font = shownFont();
    QRectF room = textRoom();
    // A caption set smaller keeps the middle of the line it was designed on.
    const QFont designed = designFont();
    if (font.pixelSize() < designed.pixelSize()) {
        const QFontMetricsF wanted(designed);
        const QFontMetricsF shown(font);
        const qreal designedLine = std::min(wanted.ascent() + wanted.descent(), room.height());
        room.setTop((designedLine - shown.ascent() - shown.descent()) / 2);
    }
    painter.setFont(font);
    painter.setPen(toQColor(m_foreColor));
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.drawText(room, Qt::AlignHCenter | Qt::AlignTop | Qt::TextSingleLine, m_caption);
}
