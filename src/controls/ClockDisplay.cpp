#include "controls/ClockDisplay.h"

#include <QPaintEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr int MaxGroups = 8;
constexpr int MaxGroupLength = 9;
// Sizes the border with the digits: one pixel at the design size.
constexpr double DesignSize = 65;

// A comma-separated list of whole numbers from 1 to max, or false.
bool parseGroupList(const QString &text, int max, QList<int> &out)
{
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() > MaxGroups)
        return false;
    QList<int> values;
    for (const QString &part : parts) {
        bool ok = false;
        const int value = part.trimmed().toInt(&ok);
        if (!ok || value < 1 || value > max)
            return false;
        values.append(value);
    }
    out = values;
    return true;
}

qint64 powerOfTen(int exponent)
{
    qint64 result = 1;
    while (exponent-- > 0)
        result *= 10;
    return result;
}

} // namespace

ClockDisplay::ClockDisplay(QWidget *parent)
    : LedDisplay(parent)
{
    updateExtent();
}

void ClockDisplay::setCaption(float seconds)
{
    if (m_caption == seconds || (std::isnan(m_caption) && std::isnan(seconds)))
        return;
    const QList<Cell> before = cells();
    m_caption = seconds;
    updateCells(before, cells());
}

void ClockDisplay::setGroupBases(const QString &bases)
{
    if (m_groupBases == bases || !parseGroupList(bases, std::numeric_limits<int>::max(), m_bases))
        return;
    m_groupBases = bases;
    update();
}

void ClockDisplay::setGroupLengths(const QString &lengths)
{
    if (m_groupLengths == lengths || !parseGroupList(lengths, MaxGroupLength, m_lengths))
        return;
    m_groupLengths = lengths;
    updateExtent();
    update();
}

void ClockDisplay::setBorderColor(OleColor color)
{
    if (m_borderColor == color)
        return;
    m_borderColor = color;
    update();
}

void ClockDisplay::setPaddingD(double twips)
{
    setMetric(m_paddingD, twips);
}

QStringList ClockDisplay::groupTexts() const
{
    const double floored = std::isnan(m_caption) ? 0.0 : std::floor(double(m_caption));
    qint64 value = qint64(std::clamp(floored, 0.0, 1e15));
    if (!m_bases.isEmpty() && !m_lengths.isEmpty()) {
        const qint64 unit = m_bases.first();
        const qint64 top = powerOfTen(m_lengths.first()) - 1;
        if (value / unit > top)
            value = top * unit + unit - 1;
    }

    QStringList texts;
    for (qsizetype i = 0; i < m_lengths.size(); ++i) {
        const int length = m_lengths[i];
        if (i >= m_bases.size()) {
            texts.append(QString(length, QLatin1Char(' ')));
            continue;
        }
        const qint64 rest = i == 0 ? value : value % m_bases[i - 1];
        const qint64 part = rest / m_bases[i] % powerOfTen(length);
        texts.append(QString::number(part).rightJustified(length, QLatin1Char('0')));
    }
    return texts;
}

QList<LedDisplay::Cell> ClockDisplay::cells() const
{
    QList<Cell> cells;
    const QStringList texts = groupTexts();
    for (const QString &text : texts) {
        const bool first = cells.isEmpty();
        if (!first)
            cells.append({LedPainter::Glyph::Colon, double(m_paddingD)});
        for (qsizetype i = 0; i < text.size(); ++i) {
            const double gap = i > 0 ? m_paddingI : first ? 0 : m_paddingD;
            cells.append({LedPainter::glyphFor(text[i]), gap});
        }
    }
    return cells;
}

double ClockDisplay::contentWidthTwips() const
{
    return cellsWidthTwips(cells());
}

void ClockDisplay::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    paintCells(painter, cells(), event->rect());
    LedPainter::drawFrame(painter, rect(), m_size / DesignSize, toQColor(m_borderColor));
}
