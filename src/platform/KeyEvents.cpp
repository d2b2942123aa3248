#include "platform/KeyEvents.h"

#include "platform/VirtualKeys.h"

#include <QGuiApplication>
#include <QKeyEvent>

namespace VirtualKeys {

qint16 fromKeyEvent(const QKeyEvent *event)
{
    static const bool x11Codes = scanCodesAreX11(QGuiApplication::platformName());
    if (x11Codes && !(event->modifiers() & Qt::KeypadModifier)) {
        const quint32 keycode = event->nativeScanCode();
        if (const qint16 digit = fromX11DigitRow(keycode))
            return digit;
        if (const qint16 punctuation = fromX11Punctuation(keycode))
            return punctuation;
    }
    return fromQtKey(event->key(), event->modifiers());
}

} // namespace VirtualKeys
