#pragma once

#include <QPushButton>

// A push button whose caption wraps onto more lines when it is wider than the
// button, as the dialogs' tall command buttons expect; text() stays the
// caption as given.
class CommandButton : public QPushButton
{
    Q_OBJECT

public:
    explicit CommandButton(const QString &caption, QWidget *parent = nullptr);

    // The caption's lines at the button's current width.
    int captionLineCount() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QRect captionRect() const;
};
