#include "platform/KeyEvents.h"

#include "platform/VirtualKeys.h"

#include <QGuiApplication>
#include <QKeyEvent>

namespace VirtualKeys {

qint16 fromKeyEvent(const QKeyEvent *event)
{
    static const bool x11 = QGuiApplication::platformName() == QLatin1String("xcb");
    if (x11 && !(event->modifiers() & Qt::KeypadModifier)) {
        if (const qint16 digit = fromX11DigitRow(event->nativeScanCode()))
            return digit;
    }
    return fromQtKey(event->key(), event->modifiers());
}

} // namespace VirtualKeys
