#pragma once

#include <QMetaClassInfo>
#include <QObject>
#include <QString>

// Every control of a window names its kind ("Label", "Shape", "DigitDisplay",
// ...) in a "TypeName" class info. The scaling, colouring and digit-style
// routines dispatch on that exact, case-sensitive name.
inline QString controlTypeName(const QObject *control)
{
    if (!control)
        return {};
    const QMetaObject *meta = control->metaObject();
    const int index = meta->indexOfClassInfo("TypeName");
    return index >= 0 ? QString::fromLatin1(meta->classInfo(index).value()) : QString();
}
