#include "controls/CommandButton.h"

#include <QStyleOptionButton>
#include <QStylePainter>

namespace {

constexpr int WrapFlags = Qt::AlignCenter | Qt::TextWordWrap | Qt::TextShowMnemonic;

} // namespace

CommandButton::CommandButton(const QString &caption, QWidget *parent)
    : QPushButton(caption, parent)
{ }

QRect CommandButton::captionRect() const
{
    QStyleOptionButton option;
    initStyleOption(&option);
    return style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
}

int CommandButton::captionLineCount() const
{
    const QRect bounds = fontMetrics().boundingRect(captionRect(), WrapFlags, text());
    return qMax(1, (bounds.height() + fontMetrics().lineSpacing() / 2) / fontMetrics().lineSpacing());
}

void CommandButton::paintEvent(QPaintEvent *)
{
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    const QString caption = option.text;
    // The style draws the bevel and focus; the caption is drawn here, wrapped.
    option.text.clear();
    painter.drawControl(QStyle::CE_PushButton, option);
    painter.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
    painter.drawText(captionRect(), WrapFlags, caption);
}
