#pragma once

#include "controls/LedDisplay.h"

// One digit in the chosen lamp style, the preview of the options dialog.
// A Caption outside 0 to 9 lights no lamp.
class DigitSample : public LedDisplay
{
    Q_OBJECT
    Q_CLASSINFO("TypeName", "DigitSample")
    Q_PROPERTY(qint32 Caption READ Caption WRITE setCaption)

public:
    explicit DigitSample(QWidget *parent = nullptr);

    qint32 Caption() const { return m_caption; }
    void setCaption(qint32 digit);

protected:
    double contentWidthTwips() const override;
    void paintEvent(QPaintEvent *event) override;

private:
    qint32 m_caption = 8;
};
