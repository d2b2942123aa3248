#pragma once

#include <QtGlobal>

class QKeyEvent;

namespace VirtualKeys {

// The code of a key event. On X11 and native Wayland the main digit row and
// the punctuation keys are recognised by their physical key, so that digits
// type as digits and a punctuation key keeps its code on any keyboard layout.
qint16 fromKeyEvent(const QKeyEvent *event);

} // namespace VirtualKeys
