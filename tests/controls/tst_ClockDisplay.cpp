#include "support/PaintCounter.h"

#include "controls/ClockDisplay.h"

#include <QCoreApplication>
#include <QEvent>
#include <QImage>
#include <QPaintEvent>
#include <QScreen>
#include <QTest>
#include <QWindow>

#include <gtest/gtest.h>

#include <functional>
#include <limits>

namespace {

void designClock(ClockDisplay &c)
{
    c.setPaddingH(180);
    c.setPaddingV(80);
    c.setPaddingI(180);
    c.setPaddingD(180);
    c.setSize(65);
    c.setCaption(120);
    c.setGroupLengths(QStringLiteral("1,2"));
}

QStringList groups(const char *text)
{
    return QString::fromLatin1(text).split(QLatin1Char(':'));
}

} // namespace

TEST(ClockDisplay, ExtentFollowsGroupsAndPaddings)
{
    ClockDisplay c;
    designClock(c);
    EXPECT_NEAR(c.Width(), 2685, 15);
    EXPECT_NEAR(c.Height(), 1140, 15);
    const double width = c.Width();

    c.setPaddingD(280); // on both sides of the colon
    EXPECT_NEAR(c.Width(), width + 200, 1e-9);
    c.setGroupLengths(QStringLiteral("2,2"));
    EXPECT_NEAR(c.Width(), width + 200 + 0.55 * 65 * 15 + 180, 1e-9);
    c.setWidth(10);
    EXPECT_NEAR(c.Width(), width + 200 + 0.55 * 65 * 15 + 180, 1e-9);
}

TEST(ClockDisplay, GroupTextsForMinutesAndSeconds)
{
    ClockDisplay c;
    const float inf = std::numeric_limits<float>::infinity();
    const std::pair<float, const char *> cases[] = {
        {0, "0:00"},
        {59, "0:59"},
        {60, "1:00"},
        {120, "2:00"},
        {599, "9:59"},
        {90.5f, "1:30"},
        {-1, "0:00"},
        {-0.5f, "0:00"},
        {600, "9:59"},
        {1e30f, "9:59"},
        {inf, "9:59"},
        {std::numeric_limits<float>::quiet_NaN(), "0:00"},
    };
    for (const auto &[seconds, shown] : cases) {
        c.setCaption(seconds);
        EXPECT_EQ(c.groupTexts(), groups(shown)) << seconds;
    }
}

TEST(ClockDisplay, OtherUnitsAndLengths)
{
    ClockDisplay c;
    c.setCaption(599);
    c.setGroupBases(QStringLiteral("100,1"));
    EXPECT_EQ(c.groupTexts(), groups("5:99"));
    c.setGroupBases(QStringLiteral("1000,1")); // an inner group too narrow shows its last digits
    c.setCaption(1234);
    EXPECT_EQ(c.groupTexts(), groups("1:34"));

    c.setGroupBases(QStringLiteral("3600, 60, 1"));
    c.setGroupLengths(QStringLiteral("1,2,2"));
    c.setCaption(3725);
    EXPECT_EQ(c.groupTexts(), groups("1:02:05"));
    c.setGroupBases(QStringLiteral("60")); // a group without a unit stays dark
    EXPECT_EQ(c.groupTexts(), groups("9:  :  "));
}

TEST(ClockDisplay, MalformedGroupListsKeepTheLastGoodOne)
{
    ClockDisplay c;
    designClock(c);
    c.setCaption(95);
    const double width = c.Width();
    for (const char *bad :
        {"", ",", "abc", "60,,1", "60;1", "60,0", "-60,1", "60,1.5", "99999999999,1", "1,1,1,1,1,1,1,1,1"}) {
        c.setGroupBases(QString::fromLatin1(bad));
        c.setGroupLengths(QString::fromLatin1(bad));
        EXPECT_EQ(c.GroupBases(), QStringLiteral("60,1")) << bad;
        EXPECT_EQ(c.GroupLengths(), QStringLiteral("1,2")) << bad;
        EXPECT_EQ(c.groupTexts(), groups("1:35")) << bad;
        EXPECT_DOUBLE_EQ(c.Width(), width) << bad;
    }
    c.setGroupLengths(QStringLiteral("1,10"));
    EXPECT_EQ(c.GroupLengths(), QStringLiteral("1,2"));
}

TEST(ClockDisplay, OnlyChangedValuesRepaint)
{
    ClockDisplay c;
    designClock(c);
    c.show();
    PaintCounter paints(&c);
    for (const char *name : {"Caption", "GroupBases", "GroupLengths", "BorderColor", "PaddingD", "Size"})
        EXPECT_EQ(paints.during([&] { c.setProperty(name, c.property(name)); }), 0) << name;
    EXPECT_EQ(paints.during([&] { c.setGroupBases(QStringLiteral("60,x")); }), 0);

    EXPECT_GT(paints.during([&] { c.setCaption(119); }), 0);
    EXPECT_GT(paints.during([&] { c.setGroupBases(QStringLiteral("100,1")); }), 0);
    EXPECT_GT(paints.during([&] { c.setBorderColor(0); }), 0);
    EXPECT_GT(paints.during([&] { c.setPaddingD(100); }), 0);
}

TEST(ClockDisplay, DrawsDigitsColonAndBorder)
{
    ClockDisplay c;
    designClock(c);
    const QColor lit = toQColor(c.LitColor());
    const QColor border = toQColor(c.BorderColor());
    const int colonX = int((180 + 0.55 * 65 * 15 + 180 + 0.09 * 65 * 15) / 15);
    QImage previous;
    for (int style : {LedDisplay::Lines, LedDisplay::Dots}) {
        c.setLedType(style);
        const QImage image = c.grab().toImage();
        const int w = image.width(), h = image.height();
        EXPECT_TRUE(image.pixelColor(w / 2, 0) == border && image.pixelColor(w - 1, h / 2) == border &&
                    image.pixelColor(0, h / 3) == border && image.pixelColor(w / 3, h - 1) == border);
        EXPECT_NE(image.pixelColor(1, h / 2), border) << "one pixel wide at the design size";
        int colonLit = 0;
        for (int y = 0; y < h; ++y)
            colonLit += image.pixelColor(colonX, y) == lit;
        EXPECT_GT(colonLit, 5) << style;
        EXPECT_NE(image, previous);
        previous = image;
    }
    c.setSize(195); // the border thickens with the digits
    const QImage large = c.grab().toImage();
    EXPECT_EQ(large.pixelColor(2, large.height() / 2), border);
    EXPECT_NE(large.pixelColor(3, large.height() / 2), border);
}

namespace {

// The region each paint event asks for.
class PaintRegions : public QObject
{
public:
    explicit PaintRegions(QWidget *watched) { watched->installEventFilter(this); }
    QRegion during(const std::function<void()> &change)
    {
        QCoreApplication::processEvents();
        region = QRegion();
        change();
        QCoreApplication::processEvents();
        return region;
    }
    QRegion region;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            region += static_cast<QPaintEvent *>(event)->region();
        return false;
    }
};

QImage onScreen(QWidget &w)
{
    return w.windowHandle()->screen()->grabWindow(w.winId()).toImage();
}

} // namespace

// A running clock repaints the digit that changed, and what the screen then
// shows is what a whole repaint draws.
TEST(ClockDisplay, ATickRepaintsOnlyTheDigitThatChanged)
{
    ClockDisplay c;
    designClock(c);
    c.resize(c.sizeHint());
    c.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&c));
    PaintRegions paints(&c);
    c.setCaption(119);
    const QRegion tick = paints.during([&] { c.setCaption(118); });
    ASSERT_FALSE(tick.isEmpty());
    EXPECT_LT(tick.boundingRect().width(), c.width() / 3) << "1:59 to 1:58 changes the last digit alone";
    EXPECT_GT(tick.boundingRect().left(), c.width() / 2);
    EXPECT_EQ(paints.during([&] { c.setCaption(118.5f); }), QRegion()) << "nothing shows a half second";

    for (float seconds : {float(109), float(60), float(59), float(0)}) {
        c.setCaption(seconds);
        QCoreApplication::processEvents();
        const QImage partial = onScreen(c);
        c.update();
        QCoreApplication::processEvents();
        EXPECT_EQ(partial, onScreen(c)) << seconds;
    }
}
