#pragma once

#include "controls/FormControl.h"

#include <QImage>

// A picture. With Stretch off the control takes the picture's natural size
// (15 twips a pixel); with Stretch on the picture is drawn scaled to the
// control's extent. Images never take clicks.
class Image : public FormControl
{
    Q_OBJECT
    Q_CLASSINFO("TypeName", "Image")
    Q_PROPERTY(bool Stretch READ Stretch WRITE setStretch)

public:
    explicit Image(QWidget *parent = nullptr);

    bool Stretch() const { return m_stretch; }
    void setStretch(bool stretch);

    const QImage &Picture() const { return m_picture; }
    // A null image clears the picture.
    void setPicture(const QImage &picture);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void takeNaturalSize();

    QImage m_picture;
    QImage m_scaled; // the picture at the size last drawn
    bool m_stretch = false;
};
