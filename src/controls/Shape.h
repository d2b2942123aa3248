#pragma once

#include "controls/FormControl.h"

// A drawn shape: rectangle, rounded rectangle or oval, filled or not, with a
// border line or none. Shapes never take clicks: those belong to the box
// they sit in.
class Shape : public FormControl
{
    Q_OBJECT
    Q_CLASSINFO("TypeName", "Shape")
    Q_PROPERTY(qint32 Shape READ ShapeKind WRITE setShapeKind)
    Q_PROPERTY(qint32 FillColor READ FillColor WRITE setFillColor)
    Q_PROPERTY(qint32 FillStyle READ FillStyle WRITE setFillStyle)
    Q_PROPERTY(qint32 BorderColor READ BorderColor WRITE setBorderColor)
    Q_PROPERTY(qint32 BorderStyle READ BorderStyle WRITE setBorderStyle)
    Q_PROPERTY(double BorderWidth READ BorderWidth WRITE setBorderWidth)

public:
    enum Kind { Rectangle = 0, Oval = 2, RoundedRectangle = 4 };
    enum Fill { Solid = 0, Transparent = 1 };

    explicit Shape(QWidget *parent = nullptr);

    qint32 ShapeKind() const { return m_kind; }
    OleColor FillColor() const { return m_fillColor; }
    qint32 FillStyle() const { return m_fillStyle; }
    OleColor BorderColor() const { return m_borderColor; }
    qint32 BorderStyle() const { return m_borderStyle; }
    // Border width in pixels, a 16-bit whole number (rounded half to even).
    double BorderWidth() const { return m_borderWidth; }

    void setShapeKind(qint32 kind);
    void setFillColor(OleColor color);
    void setFillStyle(qint32 style);
    void setBorderColor(OleColor color);
    // 0 draws no border line, 1 a solid one.
    void setBorderStyle(qint32 style);
    void setBorderWidth(double width);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    qint32 m_kind = Rectangle;
    OleColor m_fillColor = 0;
    qint32 m_fillStyle = Transparent;
    OleColor m_borderColor = 0;
    qint32 m_borderStyle = 1;
    qint16 m_borderWidth = 1;
};
