#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QObject>

#include <functional>

// Counts the paint events that reach a widget, or every widget when it
// watches the application.
class PaintCounter : public QObject
{
public:
    explicit PaintCounter(QObject *watched) { watched->installEventFilter(this); }

    // The paints caused by a change, once pending events have settled.
    int during(const std::function<void()> &change)
    {
        QCoreApplication::processEvents();
        paints = 0;
        change();
        QCoreApplication::processEvents();
        return paints;
    }

    int paints = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        paints += event->type() == QEvent::Paint;
        return false;
    }
};
