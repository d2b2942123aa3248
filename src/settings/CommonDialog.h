#pragma once

#include "modules/VbTypes.h"

#include <QString>

class QWidget;

// The options dialog's one chooser for colours and files. It keeps its
// colour, file name, filter and must-exist option from one use to the next,
// as long as the options dialog that owns it is open.
class CommonDialog
{
public:
    // The last colour the operator confirmed.
    OleColor Color = 0;
    // The last file chosen; empty when the last file chooser was cancelled.
    QString FileName;
    // "Description|patterns|Description|patterns", patterns split by ";".
    QString Filter;
    bool FileMustExist = false;

    // Shows the colour chooser; true when the operator confirmed a colour.
    bool ShowColor(QWidget *parent);
    // Shows the file-open chooser and leaves the choice in FileName.
    void ShowOpen(QWidget *parent);

    // Filter in Qt's form: "Sounds *.wav|*.wav" becomes "Sounds *.wav (*.wav)".
    static QString qtFilter(const QString &filter);
};
