#pragma once

#include "controls/LedDisplay.h"

// A small number on an LED panel: the scores and the osaekomi seconds.
// It has as many digits as its maximum (Max, 9 by default); a Caption of -1
// is the cleared display and lights no lamp.
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

protected:
    double contentWidthTwips() const override;
    void paintEvent(QPaintEvent *event) override;

private:
    qint32 m_caption = 0;
    qint32 m_max = 9;
};
