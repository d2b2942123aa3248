// Board captions show whole on one line: a caption keeps its designed size
// where it fits its box and is set smaller only where it would be cut.

#include "controls/Label.h"

#include <QFontMetricsF>
#include <QImage>

#include <gtest/gtest.h>

#include <cmath>

namespace {

int designPixels(double points)
{
    return int(std::lround(points * 96.0 / 72.0));
}

// The first and last columns of box in which some pixel differs clearly
// from the background: where the text's ink reaches.
std::pair<int, int> inkColumns(const QImage &image, const QRect &box, const QColor &background)
{
    int first = -1;
    int last = -1;
    for (int x = box.left(); x <= box.right(); ++x) {
        for (int y = box.top(); y <= box.bottom(); ++y) {
            const QColor pixel = image.pixelColor(x, y);
            if (std::abs(pixel.red() - background.red()) + std::abs(pixel.green() - background.green()) +
                    std::abs(pixel.blue() - background.blue()) >
                96) {
                if (first < 0)
                    first = x;
                last = x;
                break;
            }
        }
    }
    return {first, last};
}

} // namespace

TEST(Label, CaptionsShowWholeOnOneLineAtEverySize)
{
    // The name panel's design box (2600 x 495 twips) at a quarter of the
    // design size up to a 1920-pixel-wide board, with the fonts scaling by
    // height as the board's do.
    const QStringList captions = {QStringLiteral("Home"), QStringLiteral("ARGVELASHVILI"),
        QStringLiteral("TANAKA Hiroshi (JPN)"), QStringLiteral("WWWWWWWWWWWWWWWWWWWW"),
        QStringLiteral("Two\nlines")};
    for (const double scale : {0.25, 0.5, 1.0, 1.7, 3.04}) {
        for (const double widthOnly : {1.0, 0.6}) {
            Label label;
            label.setBackColor(rgbColor(255, 255, 255));
            label.setFontBold(true);
            label.setFontSize(22 * scale);
            label.setTwipsGeometry(0, 0, 2600 * scale * widthOnly, 495 * scale);
            for (const QString &caption : captions) {
                label.setCaption(caption);
                const QFont shown = label.shownFont();
                const QString context = QStringLiteral("%1 at %2 x %3 (%4)")
                                            .arg(caption)
                                            .arg(label.width())
                                            .arg(label.height())
                                            .arg(shown.pixelSize());
                const QString line = QString(caption).replace(QLatin1Char('\n'), QLatin1Char(' '));
                EXPECT_LE(QFontMetricsF(shown).horizontalAdvance(line), label.width() - 2)
                    << context.toStdString();
                EXPECT_LE(shown.pixelSize(), designPixels(label.FontSize()));
                QFont larger = shown;
                larger.setPixelSize(shown.pixelSize() + 1);
                if (shown.pixelSize() < designPixels(label.FontSize())) {
                    EXPECT_GT(QFontMetricsF(larger).horizontalAdvance(line), label.width() - 2)
                        << "shrunk more than needed: " << context.toStdString();
                }

                // What is painted: the ink stays clear of the box's edges,
                // and sits on the one line.
                const QImage image = label.grab().toImage();
                const auto [first, last] = inkColumns(image, image.rect(), Qt::white);
                ASSERT_GE(first, 0) << "nothing drawn: " << context.toStdString();
                EXPECT_GT(first, 0) << context.toStdString();
                EXPECT_LT(last, image.width() - 1) << context.toStdString();
            }
        }
    }
}

TEST(Label, AFittingCaptionKeepsItsDesignedSize)
{
    Label label;
    label.setFontBold(true);
    label.setFontSize(22);
    label.setTwipsGeometry(0, 0, 2600, 495);
    label.setCaption(QStringLiteral("Visitor"));
    EXPECT_EQ(label.shownFont().pixelSize(), designPixels(22));

    // A long caption set smaller grows back when the box widens or the
    // caption shortens.
    label.setCaption(QStringLiteral("ARGVELASHVILI Lasha"));
    const int shrunk = label.shownFont().pixelSize();
    EXPECT_LT(shrunk, designPixels(22));
    label.setWidth(2600 * 3);
    EXPECT_EQ(label.shownFont().pixelSize(), designPixels(22));
    label.setWidth(2600);
    EXPECT_EQ(label.shownFont().pixelSize(), shrunk);
    label.setCaption(QStringLiteral("Home"));
    EXPECT_EQ(label.shownFont().pixelSize(), designPixels(22));
    label.setFontSize(44);
    EXPECT_LE(label.shownFont().pixelSize(), 33) << "no taller than its box";
}
