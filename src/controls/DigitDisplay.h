#pragma once

#include "controls/LedDisplay.h"

// A small number on an LED panel: the scores and the osaekomi seconds.
// It has as many digits as its maximum (Max, 9 by default); a Caption of -1
// is the cleared display and lights no lamp.
// Leading zeros stay dark. A value with more digits than the display shows
// its last digits, as a counter that has gone round would (100 on two
// digits shows "00"); Max only sets the digit count and does not clamp.
// Any other negative value lights a minus in every digit: no count on the
// board is negative, so the display says plainly that it holds no count.
class DigitDisplay : public LedDisplay
{
    Q_OBJECT
    Q_CLASSINFO("TypeName", "DigitDisplay")
    Q_PROPERTY(qint32 Caption READ Caption WRITE setCaption)
    Q_PROPERTY(qint32 Max READ Max WRITE setMax)

public:
    explicit DigitDisplay(QWidget *parent = nullptr);

    qint32 Caption() const { return m_caption; }
    qint32 Max() const { return m_max; }
    void setCaption(qint32 value);
    void setMax(qint32 value);

    int digitCount() const;
    // The characters shown, one a digit: '0' to '9', ' ' dark, '-' minus.
    QString digitText() const;

protected:
    double contentWidthTwips() const override;
    void paintEvent(QPaintEvent *event) override;

private:
    QList<Cell> cells() const;

    qint32 m_caption = 0;
    qint32 m_max = 9;
};
