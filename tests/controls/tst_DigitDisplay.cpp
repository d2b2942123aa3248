#include "support/PaintCounter.h"

#include "controls/DigitDisplay.h"
#include "controls/DigitSample.h"

#include <QCoreApplication>
#include <QEvent>
#include <QImage>

#include <gtest/gtest.h>

#include <functional>

namespace {

constexpr OleColor Green = rgbColor(0, 192, 0);

void designScore(DigitDisplay &d)
{
    d.setPaddingH(100);
    d.setPaddingV(75);
    d.setPaddingI(50);
    d.setSize(65);
    d.setLitColor(Green);
}

// Bounding box and count of the pixels drawn in one colour.
QRect litArea(QWidget &w, OleColor color, int *count = nullptr, qreal dpr = 1)
{
    QImage image(w.size() * dpr, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(dpr);
    w.render(&image);
    QRect box;
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y) == toQColor(color)) {
                box |= QRect(x, y, 1, 1);
                ++n;
            }
    if (count)
        *count = n;
    return box;
}

} // namespace

TEST(DigitDisplay, ExtentFollowsTheMetricsOnly)
{
    DigitDisplay score;
    designScore(score);
    EXPECT_NEAR(score.Width(), 735, 15);
    EXPECT_NEAR(score.Height(), 1125, 15);

    DigitDisplay hold;
    hold.setMax(99);
    hold.setPaddingI(140);
    hold.setSize(65);
    EXPECT_NEAR(hold.Width(), 1215, 15);
    EXPECT_NEAR(hold.Height(), 975, 15);

    DigitSample sample;
    sample.setSize(65);
    EXPECT_NEAR(sample.Width(), 540, 15);

    score.setProperty("Width", 5000.0);
    score.setHeight(1);
    EXPECT_NEAR(score.Height(), 1125, 15);
    score.setProperty("Size", 129.5); // halves go to even
    EXPECT_EQ(score.Size(), 130);
    score.setPaddingH(200);
    score.setMax(10);
    EXPECT_NEAR(score.Width(), 400 + 2 * 0.55 * 130 * 15 + 50, 1e-9);
    EXPECT_DOUBLE_EQ(score.Height(), 150 + 130 * 15);
    EXPECT_EQ(score.height(), 140);
}

TEST(DigitDisplay, DigitTextForClearedOverRangeAndNegativeValues)
{
    DigitDisplay d; // Max 9
    const std::pair<qint32, const char *> one[] = {{-1, " "}, {7, "7"}, {12, "2"}, {-4, "-"}};
    for (const auto &[value, text] : one) {
        d.setCaption(value);
        EXPECT_EQ(d.digitText(), text) << value;
    }
    d.setMax(99);
    const std::pair<qint32, const char *> two[] = {
        {-1, "  "}, {0, " 0"}, {17, "17"}, {100, "00"}, {-15, "--"}};
    for (const auto &[value, text] : two) {
        d.setCaption(value);
        EXPECT_EQ(d.digitText(), text) << value;
    }
    d.setMax(-50);
    EXPECT_EQ(d.digitCount(), 1);
}

TEST(DigitDisplay, OnlyChangedValuesRepaint)
{
    DigitDisplay d;
    designScore(d);
    d.show();
    PaintCounter paints(&d);
    for (const char *name :
        {"Caption", "Max", "LedType", "LitColor", "BackColor", "Size", "PaddingH", "PaddingV", "PaddingI"})
        EXPECT_EQ(paints.during([&] { d.setProperty(name, d.property(name)); }), 0) << name;
    EXPECT_EQ(paints.during([&] { d.setSize(65.2); }), 0);

    EXPECT_GT(paints.during([&] { d.setCaption(6); }), 0);
    EXPECT_GT(paints.during([&] { d.setLedType(LedDisplay::Dots); }), 0);
    EXPECT_GT(paints.during([&] { d.setBackColor(rgbColor(20, 20, 20)); }), 0);
    EXPECT_GT(paints.during([&] { d.setPaddingI(60); }), 0);
}

TEST(DigitDisplay, LightsOnlyWhatItShows)
{
    for (int style : {LedDisplay::Lines, LedDisplay::Dots}) {
        DigitDisplay d;
        designScore(d);
        d.setLedType(style);
        int cleared = 0, one = 0, eight = 0;
        d.setCaption(-1);
        litArea(d, Green, &cleared);
        d.setCaption(1);
        litArea(d, Green, &one);
        d.setCaption(8);
        const QRect box = litArea(d, Green, &eight);
        EXPECT_EQ(cleared, 0) << style;
        EXPECT_GT(one, 0) << style;
        EXPECT_GT(eight, one) << style;
        // The digit fills its cell, inside the paddings of 7 and 5 px.
        EXPECT_TRUE(box.left() >= 6 && box.right() <= 43 && box.top() >= 5 && box.bottom() <= 70) << style;
        EXPECT_GT(box.height(), 58) << style;
    }
}

TEST(DigitDisplay, StylesDifferAndFollowTheDeviceResolution)
{
    DigitDisplay d;
    d.setMax(99);
    d.setSize(40);
    d.setCaption(88);
    const QImage lines = d.grab().toImage();
    d.setLedType(LedDisplay::Dots);
    EXPECT_NE(d.grab().toImage(), lines);
    d.setLedType(7); // unknown styles draw segments
    EXPECT_EQ(d.grab().toImage(), lines);

    const QRect one = litArea(d, d.LitColor());
    const QRect two = litArea(d, d.LitColor(), nullptr, 2);
    EXPECT_NEAR(two.width(), 2 * one.width(), 3);
    EXPECT_NEAR(two.height(), 2 * one.height(), 3);
}

TEST(DigitSample, ShowsOneDigitOrNothing)
{
    DigitSample sample;
    sample.setSize(65);
    int lit = 0;
    litArea(sample, sample.LitColor(), &lit); // 8 by default
    EXPECT_GT(lit, 0);
    sample.setCaption(10);
    litArea(sample, sample.LitColor(), &lit);
    EXPECT_EQ(lit, 0);
}
