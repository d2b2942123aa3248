#pragma once

#include <QColor>
#include <QList>
#include <QString>

#include <optional>

class QWidget;
class frmChooseKey;

// Every modal question the options dialog asks the operator goes through
// here: the colour chooser, the file chooser, the Yes/No message box, the
// warning box and the key chooser. An answer queued in advance is taken
// instead of showing the dialog, so that tests (and any caller that already
// knows the answer) run the same code without a person at the keyboard.
class DialogAnswers
{
public:
    DialogAnswers() = delete;

    // The chosen colour, or nothing when the operator cancelled.
    static std::optional<QColor> getColor(QWidget *parent, const QColor &initial);
    // The chosen file, or an empty name when the operator chose nothing.
    // filter is in Qt's form; mustExist refuses names of missing files.
    static QString getOpenFileName(
        QWidget *parent, const QString &directory, const QString &filter, bool mustExist);
    // True for Yes. With noByDefault, Enter answers No.
    static bool askYesNo(
        QWidget *parent, const QString &title, const QString &text, bool noByDefault = false);
    // A warning with an OK button; a queued Yes/No answer stands for the OK.
    static void warn(QWidget *parent, const QString &title, const QString &text);
    // Runs the chooser modally, or hands it the queued key presses one by
    // one until it takes one or none are left.
    static void chooseKey(frmChooseKey &chooser);

    static void setNextColor(std::optional<QColor> color);
    static void setNextFile(const QString &fileName);
    static void setNextAnswer(bool yes);
    static void setNextKeys(const QList<qint16> &keys);

    // The texts of the warnings given and of the questions asked since the
    // last clear.
    static QStringList warnings();
    static QStringList questions();
    // Forgets every queued answer and every warning.
    static void clear();
};
