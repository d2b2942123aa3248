#pragma once

#include "controls/FormControl.h"

// An opaque borderless box in BackColor that holds other controls; the
// board's marks are picture boxes that take the focus.
class PictureBox : public FormControl
{
    Q_OBJECT
    Q_CLASSINFO("TypeName", "PictureBox")
    Q_PROPERTY(qint32 BackColor READ BackColor WRITE setBackColor)

public:
    explicit PictureBox(QWidget *parent = nullptr);

    OleColor BackColor() const { return m_backColor; }
    void setBackColor(OleColor color);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    OleColor m_backColor = rgbColor(192, 192, 192);
};
