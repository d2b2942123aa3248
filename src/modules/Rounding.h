#pragma once

#include "modules/TimeValue.h"

#include <QtGlobal>

// Every rounding to whole numbers in the program goes to the nearest integer
// with halves to the even neighbour, on the clock as in the recorded layout.
namespace Rounding {

// Nearest whole number, ties to even. Works on any finite double.
double halfEven(double value);

// The whole seconds nearest to a time value, ties to even, computed exactly.
qint64 halfEvenSeconds(TimeValue value);

// Nearest 16-bit integer, ties to even; values outside the range saturate.
qint16 toInt16(double value);

// Nearest 32-bit integer, ties to even; values outside the range saturate.
qint32 toInt32(double value);

} // namespace Rounding
