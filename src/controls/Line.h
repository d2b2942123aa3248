#pragma once

#include "controls/FormControl.h"

// A straight rule from (X1, Y1) to (X2, Y2), in twips inside its container.
// It places itself around its end points; Left and Top are not its to set.
class Line : public FormControl
{
    Q_OBJECT
    Q_CLASSINFO("TypeName", "Line")
    Q_PROPERTY(double X1 READ X1 WRITE setX1)
    Q_PROPERTY(double X2 READ X2 WRITE setX2)
    Q_PROPERTY(double Y1 READ Y1 WRITE setY1)
    Q_PROPERTY(double Y2 READ Y2 WRITE setY2)
    Q_PROPERTY(qint32 BorderColor READ BorderColor WRITE setBorderColor)
    Q_PROPERTY(double BorderWidth READ BorderWidth WRITE setBorderWidth)

public:
    explicit Line(QWidget *parent = nullptr);

    double X1() const { return m_x1; }
    double X2() const { return m_x2; }
    double Y1() const { return m_y1; }
    double Y2() const { return m_y2; }
    OleColor BorderColor() const { return m_borderColor; }
    double BorderWidth() const { return m_borderWidth; }

    void setX1(double twips);
    void setX2(double twips);
    void setY1(double twips);
    void setY2(double twips);
    void setEnds(double x1, double y1, double x2, double y2);
    void setBorderColor(OleColor color);
    void setBorderWidth(double width);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void place();

    double m_x1 = 0;
    double m_x2 = 0;
    double m_y1 = 0;
    double m_y2 = 0;
    OleColor m_borderColor = 0;
    qint16 m_borderWidth = 1;
};
