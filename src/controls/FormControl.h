#pragma once

#include "controls/OleColorConvert.h"

#include <QWidget>

// Base of every visible control of a window. It places itself by twips
// (Left, Top, Width, Height, relative to its container) and raises the events
// the windows handle, with virtual-key codes and the shift mask
// (1 Shift, 2 Ctrl, 4 Alt).
class FormControl : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(double Left READ Left WRITE setLeft)
    Q_PROPERTY(double Top READ Top WRITE setTop)
    Q_PROPERTY(double Width READ Width WRITE setWidth)
    Q_PROPERTY(double Height READ Height WRITE setHeight)
    Q_PROPERTY(bool Visible READ Visible WRITE setVisible_)
    Q_PROPERTY(bool TabStop READ TabStop WRITE setTabStop)
    Q_PROPERTY(QString Name READ Name)

public:
    explicit FormControl(QWidget *parent = nullptr);

    double Left() const { return m_left; }
    double Top() const { return m_top; }
    double Width() const { return m_width; }
    double Height() const { return m_height; }
    bool Visible() const { return m_visible; }
    bool TabStop() const { return m_tabStop; }
    QString Name() const { return objectName(); }

    virtual void setLeft(double twips);
    virtual void setTop(double twips);
    virtual void setWidth(double twips);
    virtual void setHeight(double twips);
    void setVisible_(bool visible);
    void setTabStop(bool tabStop);

    // Design-time placement in one call.
    void setTwipsGeometry(double left, double top, double width, double height);

    // Whether the control takes the focus at all (by click or by code).
    void setFocusable(bool focusable);

signals:
    void KeyDown(qint16 &KeyCode, qint16 Shift);
    void KeyUp(qint16 KeyCode, qint16 &Shift);
    void GotFocus();
    void Click();
    // The second press of a double-click, which raises no Click of its own.
    void DblClick();
    // Button: 1 left, 2 right, 4 middle; X and Y in twips inside the control.
    void MouseDown(qint16 Button, qint16 Shift, double X, double Y);

protected:
    // For controls whose extent follows from their own metrics.
    void setExtent(double widthTwips, double heightTwips);
    void applyGeometry();

    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    void updateFocusPolicy();

    double m_left = 0;
    double m_top = 0;
    double m_width = 0;
    double m_height = 0;
    bool m_visible = true;
    bool m_tabStop = false;
    bool m_focusable = false;
    bool m_pressed = false;
};
