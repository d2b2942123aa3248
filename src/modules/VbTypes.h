#pragma once

#include <QtGlobal>

// The small value conventions shared by every window and module: 16-bit
// booleans, colours with red in the low byte, and twips.

// A boolean as the match state stores it: True is all bits set. Code that
// compares with VbTrue treats any other non-zero value as false.
using VbBoolean = qint16;
inline constexpr VbBoolean VbTrue = -1;
inline constexpr VbBoolean VbFalse = 0;

inline constexpr VbBoolean vbBool(bool value)
{
    return value ? VbTrue : VbFalse;
}

// A colour as 0x00BBGGRR: red in the low byte, then green, then blue.
using OleColor = qint32;

inline constexpr OleColor rgbColor(int red, int green, int blue)
{
    return OleColor((red & 0xff) | ((green & 0xff) << 8) | ((blue & 0xff) << 16));
}

// Geometry is kept in twips: 1/1440 inch, 15 to a device-independent pixel.
inline constexpr int TwipsPerPixel = 15;
// Font sizes in points map to pixels at 96 dots per inch: 20 twips a point.
inline constexpr double PixelsPerPoint = 96.0 / 72.0;
