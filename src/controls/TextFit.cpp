#include "controls/TextFit.h"

#include <QFontInfo>
#include <QFontMetricsF>
#include <QLabel>

#include <cmath>

namespace {

// What a single line shows: line breaks become spaces.
QString asOneLine(const QString &text)
{
    QString line = text;
    line.replace(QLatin1Char('\n'), QLatin1Char(' ')).replace(QLatin1Char('\r'), QLatin1Char(' '));
    return line;
}

} // namespace

namespace TextFit {

bool fits(const QFont &font, const QString &text, const QSize &room, bool wrap)
{
    const QFontMetricsF metrics(font);
    if (wrap) {
        const QRectF needed = metrics.boundingRect(QRectF(QPointF(), room), Qt::TextWordWrap, text);
        return needed.width() <= room.width() && needed.height() <= room.height();
    }
    // The em rather than the line spacing: a caption designed to fill its
    // box has only its descenders' room below it.
    return metrics.horizontalAdvance(asOneLine(text)) <= room.width() &&
           QFontInfo(font).pixelSize() <= room.height();
}

QFont shrunkToFit(QFont font, const QString &text, const QSize &room, bool wrap, qreal smallest)
{
    if (text.isEmpty() || fits(font, text, room, wrap))
        return font;
    const bool inPixels = font.pixelSize() > 0;
    const qreal step = inPixels ? 1.0 : 0.25;
    const qreal designed = inPixels ? font.pixelSize() : font.pointSizeF();
    const auto setSize = [&font, inPixels](qreal size) {
        if (inPixels)
            font.setPixelSize(int(size));
        else
            font.setPointSizeF(size);
    };

    // Width grows about in proportion to the size: start a step above that
    // estimate, where a single line is the question, and walk down.
    qreal size = designed - step;
    const qreal advance = QFontMetricsF(font).horizontalAdvance(asOneLine(text));
    if (!wrap && advance > 0 && room.width() > 0) {
        const qreal estimate = std::floor(designed * room.width() / advance / step) * step + step;
        size = std::min(size, estimate);
    }
    size = std::max(size, smallest);
    setSize(size);
    while (size - step >= smallest && !fits(font, text, room, wrap)) {
        size -= step;
        setSize(size);
    }
    return font;
}

void setLabelFont(QLabel *label, const QString &family, double points)
{
    QFont font = label->font();
    if (!family.isEmpty())
        font.setFamilies({family});
    font.setPointSizeF(points);
    label->setFont(shrunkToFit(font, label->text(), label->size(), label->wordWrap(), 6.0));
}

} // namespace TextFit
