#pragma once

#include <QtGlobal>

class QKeyEvent;

namespace VirtualKeys {

// The code of a key event. On X11 the main digit row is recognised by its
// physical key, so that digits type as digits on any keyboard layout.
qint16 fromKeyEvent(const QKeyEvent *event);

} // namespace VirtualKeys
