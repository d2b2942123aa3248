#pragma once

#include <QDialog>
#include <QString>

class QLabel;
class frmOptions;

// Shared between the options dialog and the key chooser: what the command
// being rebound does, the key it has now, and the chooser's answer (the
// accepted key code as decimal text, "0" for none).
extern QString ChooseKeyPurpose;
extern qint16 ChooseKeyCurrent;
extern QString ChosenKey;

// The small modal window in which the operator presses the new key for one
// command. It refuses keys without a name, keys bound to another command
// (as the options dialog holds them now, unconfirmed changes included), and
// F1 and F2, with a red message and a beep, and closes on the first key it
// accepts.
class frmChooseKey : public QDialog
{
    Q_OBJECT

public:
    explicit frmChooseKey(frmOptions *options);

    // One key press, by virtual-key code; the shift state plays no part.
    void Form_KeyDown(qint16 KeyCode);
    // Whether the key would be taken, without taking it.
    bool accepts(qint16 KeyCode) const;
    // Closes the chooser and gives the keyboard back to the options dialog.
    void done(int result) override;

    QLabel *lblChoose;
    QLabel *lblUsed;

protected:
    bool event(QEvent *event) override;

private:
    frmOptions *m_options;
};
