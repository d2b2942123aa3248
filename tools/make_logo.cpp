// Draws the program's logo as a PNG: an LED scoreboard panel with an orange
// segment "Z" over the white and blue of the two judogi. It is drawn with
// shapes only, so that every build makes the same picture at any size (the
// start screen's 138 x 140 logo and the square desktop icon alike).
//
// usage: make_logo output.png width height

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QPolygonF>

#include <cstdio>
#include <cstdlib>

namespace {

// The drawing's own coordinates.
constexpr double designWidth = 138;
constexpr double designHeight = 140;

const QColor frameGrey(64, 64, 64);
const QColor frameLight(128, 128, 128);
const QColor ledBlack(0, 0, 0);
const QColor ledOrange(255, 128, 0);
const QColor ledDim(60, 30, 0);
const QColor judogiWhite(245, 245, 245);
const QColor judogiBlue(20, 70, 170);

// A horizontal LED segment with pointed ends, as the board's digits have.
QPolygonF horizontalSegment(double left, double right, double middle, double thickness)
{
    const double half = thickness / 2;
    return QPolygonF({{left, middle}, {left + half, middle - half}, {right - half, middle - half},
        {right, middle}, {right - half, middle + half}, {left + half, middle + half}});
}

void drawLogo(QPainter &painter)
{
    painter.setRenderHint(QPainter::Antialiasing);

    // The board's grey casing with a lighter rim.
    painter.setPen(QPen(frameLight, 3));
    painter.setBrush(frameGrey);
    painter.drawRoundedRect(QRectF(2, 2, designWidth - 4, designHeight - 4), 14, 14);

    // The LED window.
    const QRectF led(14, 12, designWidth - 28, 86);
    painter.setPen(Qt::NoPen);
    painter.setBrush(ledBlack);
    painter.drawRoundedRect(led, 6, 6);

    // Unlit segments first, as a real display shows them faintly.
    const double thickness = 13;
    const double left = led.left() + 14;
    const double right = led.right() - 14;
    const double top = led.top() + 14;
    const double bottom = led.bottom() - 14;
    painter.setBrush(ledDim);
    painter.drawPolygon(horizontalSegment(left, right, (top + bottom) / 2, thickness));

    painter.setBrush(ledOrange);
    painter.drawPolygon(horizontalSegment(left, right, top, thickness));
    painter.drawPolygon(horizontalSegment(left, right, bottom, thickness));
    // The diagonal joins the bars' inner ends, as thick as a segment.
    painter.setPen(QPen(ledOrange, thickness, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(
        QPointF(right - thickness, top + thickness / 2), QPointF(left + thickness, bottom - thickness / 2));
    painter.setPen(Qt::NoPen);

    // The two competitors: a white and a blue band under the display.
    const QRectF band(14, 108, designWidth - 28, 18);
    QPainterPath rounded;
    rounded.addRoundedRect(band, 5, 5);
    painter.save();
    painter.setClipPath(rounded);
    painter.fillRect(QRectF(band.left(), band.top(), band.width() / 2, band.height()), judogiWhite);
    painter.fillRect(QRectF(band.center().x(), band.top(), band.width() / 2, band.height()), judogiBlue);
    painter.restore();
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s output.png width height\n", argv[0]);
        return 2;
    }
    const int width = std::atoi(argv[2]);
    const int height = std::atoi(argv[3]);
    if (width <= 0 || height <= 0 || width > 4096 || height > 4096) {
        std::fprintf(stderr, "make_logo: the size must be between 1 and 4096 pixels\n");
        return 2;
    }

    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    // Keep the drawing's proportions and centre it in the picture.
    const double scale = std::min(width / designWidth, height / designHeight);
    painter.translate((width - designWidth * scale) / 2, (height - designHeight * scale) / 2);
    painter.scale(scale, scale);
    drawLogo(painter);
    painter.end();

    if (!image.save(QString::fromLocal8Bit(argv[1]), "PNG")) {
        std::fprintf(stderr, "make_logo: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
