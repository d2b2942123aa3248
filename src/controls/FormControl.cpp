#include "controls/FormControl.h"

#include "platform/KeyEvents.h"
#include "platform/VirtualKeys.h"

#include <QKeyEvent>
#include <QMouseEvent>

#include <cmath>

FormControl::FormControl(QWidget *parent)
    : QWidget(parent)
{
    setFocusPolicy(Qt::NoFocus);
}

void FormControl::setLeft(double twips)
{
    if (m_left == twips)
        return;
    m_left = twips;
    applyGeometry();
}

void FormControl::setTop(double twips)
{
    if (m_top == twips)
        return;
    m_top = twips;
    applyGeometry();
}

void FormControl::setWidth(double twips)
{
    twips = std::max(0.0, twips);
    if (m_width == twips)
        return;
    m_width = twips;
    applyGeometry();
}

void FormControl::setHeight(double twips)
{
    twips = std::max(0.0, twips);
    if (m_height == twips)
        return;
    m_height = twips;
    applyGeometry();
}

void FormControl::setVisible_(bool visible)
{
    m_visible = visible;
    setVisible(visible);
}

void FormControl::setTabStop(bool tabStop)
{
    m_tabStop = tabStop;
    updateFocusPolicy();
}

void FormControl::setFocusable(bool focusable)
{
    m_focusable = focusable;
    updateFocusPolicy();
}

void FormControl::updateFocusPolicy()
{
    if (!m_focusable)
        setFocusPolicy(Qt::NoFocus);
    else
        setFocusPolicy(m_tabStop ? Qt::StrongFocus : Qt::ClickFocus);
}

void FormControl::setTwipsGeometry(double left, double top, double width, double height)
{
    m_left = left;
    m_top = top;
    m_width = std::max(0.0, width);
    m_height = std::max(0.0, height);
    applyGeometry();
}

void FormControl::setExtent(double widthTwips, double heightTwips)
{
    if (m_width == widthTwips && m_height == heightTwips)
        return;
    m_width = widthTwips;
    m_height = heightTwips;
    applyGeometry();
}

void FormControl::applyGeometry()
{
    // Edges are rounded rather than sizes, so neighbours that touch in twips
    // touch on screen too, at any scale.
    const auto px = [](double twips) { return int(std::lround(twips / TwipsPerPixel)); };
    const int x = px(m_left);
    const int y = px(m_top);
    setGeometry(x, y, px(m_left + m_width) - x, px(m_top + m_height) - y);
}

void FormControl::keyPressEvent(QKeyEvent *event)
{
    qint16 code = VirtualKeys::fromKeyEvent(event);
    if (code == 0) {
        QWidget::keyPressEvent(event);
        return;
    }
    emit KeyDown(code, VirtualKeys::shiftMask(event->modifiers()));
    event->accept(); // a focused control keeps its keys from the window
}

void FormControl::keyReleaseEvent(QKeyEvent *event)
{
    const qint16 code = VirtualKeys::fromKeyEvent(event);
    if (code == 0 || event->isAutoRepeat()) {
        QWidget::keyReleaseEvent(event);
        return;
    }
    qint16 shift = VirtualKeys::shiftMask(event->modifiers());
    emit KeyUp(code, shift);
    event->accept();
}

void FormControl::focusInEvent(QFocusEvent *event)
{
    QWidget::focusInEvent(event);
    emit GotFocus();
}

static qint16 buttonCode(Qt::MouseButton button)
{
    switch (button) {
    case Qt::LeftButton: return 1;
    case Qt::RightButton: return 2;
    case Qt::MiddleButton: return 4;
    default: return 0;
    }
}

void FormControl::mousePressEvent(QMouseEvent *event)
{
    // The focus moves first (Qt does it before delivering the press), then
    // the press is reported, and the click follows on release.
    // A press and release of the left or the right button is a click; the
    // medical lamps count down on the right button and must take the focus too.
    m_pressed = event->button() == Qt::LeftButton || event->button() == Qt::RightButton;
    const QPointF pos = event->position();
    emit MouseDown(buttonCode(event->button()), VirtualKeys::shiftMask(event->modifiers()),
        pos.x() * TwipsPerPixel, pos.y() * TwipsPerPixel);
    event->accept();
}

void FormControl::mouseDoubleClickEvent(QMouseEvent *event)
{
    // The second press of a double-click is no new press or click: a mark
    // double-clicked out of habit toggles once, not twice. A counter that
    // wants both clicks listens for DblClick.
    m_pressed = false;
    event->accept();
    if (event->button() == Qt::LeftButton || event->button() == Qt::RightButton)
        emit DblClick();
}

void FormControl::mouseReleaseEvent(QMouseEvent *event)
{
    const bool wasPressed = m_pressed;
    m_pressed = false;
    event->accept();
    if (wasPressed && rect().contains(event->position().toPoint()))
        emit Click();
}
