#include "controls/Image.h"

#include <QPainter>

Image::Image(QWidget *parent)
    : FormControl(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void Image::setStretch(bool stretch)
{
    if (m_stretch == stretch)
        return;
    m_stretch = stretch;
    if (!m_stretch)
        takeNaturalSize();
    update();
}

void Image::setPicture(const QImage &picture)
{
    m_picture = picture;
    m_scaled = QImage();
    if (!m_stretch)
        takeNaturalSize();
    update();
}

void Image::takeNaturalSize()
{
    if (m_picture.isNull())
        return;
    setWidth(double(m_picture.width()) * TwipsPerPixel);
    setHeight(double(m_picture.height()) * TwipsPerPixel);
}

void Image::paintEvent(QPaintEvent *)
{
    if (m_picture.isNull() || width() <= 0 || height() <= 0)
        return;
    // Scaling a photo on every repaint is costly: keep the last result,
    // at device pixels so that it stays sharp on high-density screens.
    const QSize target = size() * devicePixelRatioF();
    if (m_scaled.size() != target) {
        m_scaled = m_picture.scaled(target, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        m_scaled.setDevicePixelRatio(devicePixelRatioF());
    }
    QPainter painter(this);
    painter.drawImage(QPoint(0, 0), m_scaled);
}
