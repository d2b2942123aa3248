#pragma once

#include <QList>
#include <QObject>

// What the shared routines need of a window: its controls in the window's own
// order, its outer size in twips (frame and title bar included), and a way to
// rewrite many controls so that the operator sees one change.
class Form
{
public:
    virtual ~Form() = default;

    virtual QList<QObject *> Controls() const = 0;
    virtual double OuterWidth() const = 0;
    virtual double OuterHeight() const = 0;
    virtual bool IsMinimized() const = 0;

    // Brackets a rewrite of the controls: painting is held back in between
    // and the window repaints once at the end.
    virtual void BeginLayoutUpdate() = 0;
    virtual void EndLayoutUpdate() = 0;
};
