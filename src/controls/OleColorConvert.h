#pragma once

#include "modules/VbTypes.h"

#include <QColor>

// Between the stored 0x00BBGGRR colours and Qt's colours.
inline QColor toQColor(OleColor color)
{
    return QColor(color & 0xff, (color >> 8) & 0xff, (color >> 16) & 0xff);
}

inline OleColor fromQColor(const QColor &color)
{
    return rgbColor(color.red(), color.green(), color.blue());
}
