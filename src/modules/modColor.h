#pragma once

#include "modules/VbTypes.h"

#include <QList>

class Form;
class QObject;

// Colouring by control kind, shared by the windows that follow the colour
// settings.
namespace modColor {

// Gives every control of the window its colour by kind (labels' text and
// lines BorderColor, picture boxes FormBack, shapes' borders LEDBack),
// except the controls whose names appear among Exceptions.
void ColorFormControls(const Form &window, const QList<QObject *> &Exceptions);

// BackColor LEDBack and LitColor Color on a display, or on every member
// when it is a control array (it has a Count).
void SetLedColor(QObject *Display, OleColor Color);

} // namespace modColor
