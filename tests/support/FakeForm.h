#pragma once

#include "modules/Form.h"

#include <QWidget>

// A window for the shared routines: a list of controls under one parent,
// a settable outer size, and a count of the layout brackets.
class FakeForm : public Form
{
public:
    QList<QObject *> Controls() const override { return controls; }
    double OuterWidth() const override { return width; }
    double OuterHeight() const override { return height; }
    bool IsMinimized() const override { return minimized; }
    void BeginLayoutUpdate() override { ++begins; }
    void EndLayoutUpdate() override { ++ends; }

    template<typename T>
    T *add(const char *name)
    {
        auto *control = new T(&root);
        control->setObjectName(QString::fromLatin1(name));
        controls.append(control);
        return control;
    }

    QWidget root;
    QList<QObject *> controls;
    double width = 9600;
    double height = 7200;
    bool minimized = false;
    int begins = 0;
    int ends = 0;
};
