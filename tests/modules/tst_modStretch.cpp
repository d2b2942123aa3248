#include "support/FakeForm.h"

#include "modules/Form.h"
#include "modules/modStretch.h"

#include "controls/ClockDisplay.h"
#include "controls/DigitDisplay.h"
#include "controls/DigitSample.h"
#include "controls/Image.h"
#include "controls/Label.h"
#include "controls/Line.h"
#include "controls/PictureBox.h"
#include "controls/Shape.h"

#include <QVariant>
#include <QWidget>

#include <gtest/gtest.h>

#include <stdexcept>

using namespace modStretch;

namespace {

// A window reduced to what the scaling asks of it.
// Controls known by type name only, with plain dynamic properties, so that
// a write shows even where a real control would place itself.
class LineProbe : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("TypeName", "Line")
public:
    using QObject::QObject;
};

class ButtonProbe : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("TypeName", "CommandButton")
public:
    using QObject::QObject;
};

class FailingShape : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("TypeName", "Shape")
    Q_PROPERTY(double Width READ Width WRITE setWidth)
public:
    using QObject::QObject;
    double Width() const { return m_width; }
    void setWidth(double width)
    {
        if (failing)
            throw std::runtime_error("refused");
        m_width = width;
    }
    bool failing = false;

private:
    double m_width = 0;
};

double prop(const QObject *control, const char *name)
{
    return control->property(name).toDouble();
}

struct Setting
{
    QObject *control;
    const char *property;
    double design;
};

// The scoreboard in miniature: one control of every recorded kind, and one
// the scaling does not know.
class Stretch : public ::testing::Test
{
protected:
    void SetUp() override
    {
        LayoutRecord.clear();
        DesignFormWidth = 0;
        DesignFormHeight = 0;

        label = form.add<Label>("lblTitle");
        shape = form.add<Shape>("shpContestTime");
        button = form.add<ButtonProbe>("cmdNothing");
        box = form.add<PictureBox>("picHomePicContainer");
        image = form.add<Image>("imgHomePic");
        line = form.add<Line>("linTop");
        digits = form.add<DigitDisplay>("nledWHome");
        clock = form.add<ClockDisplay>("tledPeriod");
        sample = form.add<DigitSample>("pledSample");

        design = {
            {label, "Left", 300},
            {label, "Top", 600},
            {label, "Width", 2400},
            {label, "Height", 480},
            {label, "FontSize", 8},
            {shape, "Left", 1200},
            {shape, "Top", 1500},
            {shape, "Width", 900},
            {shape, "Height", 700},
            {shape, "BorderWidth", 1},
            {box, "Left", 4800},
            {box, "Top", 30},
            {box, "Width", 3000},
            {box, "Height", 3000},
            {image, "Left", 150},
            {image, "Top", 150},
            {image, "Width", 2700},
            {image, "Height", 2700},
            {line, "X1", 100},
            {line, "X2", 9500},
            {line, "Y1", 6000},
            {line, "Y2", 6400},
            {line, "BorderWidth", 2},
            {digits, "Left", 600},
            {digits, "Top", 3000},
            {digits, "Size", 40},
            {digits, "PaddingH", 60},
            {digits, "PaddingV", 44},
            {digits, "PaddingI", 30},
            {clock, "Left", 3000},
            {clock, "Top", 2400},
            {clock, "Size", 80},
            {clock, "PaddingH", 90},
            {clock, "PaddingV", 60},
            {clock, "PaddingI", 46},
            {clock, "PaddingD", 30},
            {sample, "Left", 7000},
            {sample, "Top", 5000},
            {sample, "Size", 20},
        };
        for (const Setting &s : design)
            s.control->setProperty(s.property, s.design);
        button->setProperty("Left", 8000.0);
    }

    // Every design value scaled by the window's change, horizontally for
    // positions and widths, vertically for everything else.
    void expectScaled(double ratioX, double ratioY, double minimum = 0)
    {
        for (const Setting &s : design) {
            const QByteArray name(s.property);
            const bool horizontal = name == "Left" || name == "Width" || name.startsWith('X');
            const bool position =
                name == "Left" || name == "Top" || name.startsWith('X') || name.startsWith('Y');
            double expected = s.design * (horizontal ? ratioX : ratioY);
            if (!position)
                expected = std::max(expected, minimum);
            EXPECT_NEAR(prop(s.control, s.property), expected, 1e-3 * expected)
                << qPrintable(s.control->objectName()) << '.' << s.property;
        }
        EXPECT_EQ(prop(button, "Left"), 8000);
    }

    FakeForm form;
    Label *label = nullptr;
    Shape *shape = nullptr;
    ButtonProbe *button = nullptr;
    PictureBox *box = nullptr;
    Image *image = nullptr;
    Line *line = nullptr;
    DigitDisplay *digits = nullptr;
    ClockDisplay *clock = nullptr;
    DigitSample *sample = nullptr;
    QList<Setting> design;
};

} // namespace

TEST_F(Stretch, RecordFillsEntriesInWindowOrderWithoutGaps)
{
    RecordLayout(form);
    EXPECT_EQ(DesignFormWidth, 9600);
    EXPECT_EQ(DesignFormHeight, 7200);
    ASSERT_EQ(LayoutRecord.size(), form.controls.size() + 1);
    const QList<QObject *> recorded {label, shape, box, image, line, digits, clock, sample};
    for (qsizetype i = 0; i < recorded.size(); ++i)
        EXPECT_EQ(LayoutRecord.at(i).Ctl.data(), recorded.at(i)) << i;
    for (qsizetype i = recorded.size(); i < LayoutRecord.size(); ++i) {
        const ControlLayout &empty = LayoutRecord.at(i);
        EXPECT_EQ(empty.Ctl.data(), nullptr);
        EXPECT_EQ(empty.Left + empty.Top + empty.Width + empty.Height + empty.FontSize + empty.Size, 0);
    }
    // Lines place themselves by their ends; LED displays by their metrics.
    EXPECT_EQ(LayoutRecord.at(4).Left, 0);
    EXPECT_EQ(LayoutRecord.at(4).Top, 0);
    EXPECT_EQ(LayoutRecord.at(5).Width, 0);
    EXPECT_EQ(LayoutRecord.at(5).Height, 0);
}

TEST_F(Stretch, DesignSizeRewritesEveryRecordedValue)
{
    RecordLayout(form);
    for (const Setting &s : design)
        s.control->setProperty(s.property, s.design + 123);
    StretchLayout(form);
    expectScaled(1, 1);
    EXPECT_EQ(form.begins, 1);
    EXPECT_EQ(form.ends, 1);
}

TEST_F(Stretch, FontsAreRecordedInWholePointsHalvesToEven)
{
    const struct
    {
        double designed;
        double shown;
    } cases[] = {{8.25, 8}, {8.5, 8}, {9.5, 10}, {21.75, 22}, {12.75, 13}, {10.5, 10}};
    QList<Label *> labels;
    for (const auto &c : cases) {
        labels.append(form.add<Label>("lblCase"));
        labels.last()->setFontSize(c.designed);
    }
    RecordLayout(form);
    StretchLayout(form);
    for (qsizetype i = 0; i < labels.size(); ++i)
        EXPECT_EQ(labels.at(i)->FontSize(), cases[i].shown) << cases[i].designed;
}

TEST_F(Stretch, WiderWindowSpreadsWithoutGrowingTextOrDigits)
{
    RecordLayout(form);
    form.width = 2 * 9600;
    StretchLayout(form);
    expectScaled(2, 1);
    EXPECT_EQ(label->FontSize(), 8);
    EXPECT_EQ(digits->Size(), 40);
    EXPECT_EQ(clock->PaddingD(), 30);
}

TEST_F(Stretch, LowerWindowShrinksEverythingSizeLikeButNeverBelowOne)
{
    RecordLayout(form);
    form.height = 7200 / 2;
    StretchLayout(form);
    expectScaled(1, 0.5, 1);
    EXPECT_EQ(shape->BorderWidth(), 1);

    form.height = 72;
    StretchLayout(form);
    expectScaled(1, 0.01, 1);
    EXPECT_EQ(label->FontSize(), 1);
    EXPECT_EQ(digits->Size(), 1);
}

TEST_F(Stretch, RecordedZeroIsNeverWritten)
{
    label->setTwipsGeometry(0, 0, 0, 480);
    label->setFontSize(0);
    RecordLayout(form);
    label->setTwipsGeometry(11, 22, 33, 480);
    label->setFontSize(9);
    form.width *= 2;
    form.height *= 2;
    StretchLayout(form);
    EXPECT_EQ(label->Left(), 11);
    EXPECT_EQ(label->Top(), 22);
    EXPECT_EQ(label->Width(), 33);
    EXPECT_EQ(label->FontSize(), 9);
    EXPECT_EQ(label->Height(), 960);
}

TEST_F(Stretch, LineEndsMoveButItsPositionIsNeverSet)
{
    auto *probe = form.add<LineProbe>("linProbe");
    const QList<QPair<const char *, double>> ends {
        {"X1", 100}, {"X2", 900}, {"Y1", 300}, {"Y2", 700}, {"BorderWidth", 2}, {"Left", 55}, {"Top", 66}};
    for (const auto &[name, value] : ends)
        probe->setProperty(name, value);
    RecordLayout(form);
    form.width *= 2;
    form.height *= 1.5;
    StretchLayout(form);
    EXPECT_EQ(prop(probe, "X1"), 200);
    EXPECT_EQ(prop(probe, "X2"), 1800);
    EXPECT_EQ(prop(probe, "Y1"), 450);
    EXPECT_EQ(prop(probe, "Y2"), 1050);
    EXPECT_EQ(prop(probe, "BorderWidth"), 3);
    EXPECT_EQ(prop(probe, "Left"), 55);
    EXPECT_EQ(prop(probe, "Top"), 66);
}

TEST_F(Stretch, MinimizedWindowChangesNothingUntilRestored)
{
    RecordLayout(form);
    form.minimized = true;
    form.width *= 2;
    StretchLayout(form);
    EXPECT_EQ(label->Left(), 300);
    EXPECT_EQ(form.begins, 0);

    form.minimized = false;
    StretchLayout(form);
    EXPECT_EQ(label->Left(), 600);
}

TEST_F(Stretch, NothingRecordedNothingDone)
{
    StretchLayout(form);
    EXPECT_EQ(form.begins, 0);
    EXPECT_EQ(label->Left(), 300);
}

TEST_F(Stretch, ValuesBeyondSixteenBitsAreKept)
{
    form.width = 40000.5;
    form.height = 36000;
    label->setTwipsGeometry(35000.5, 33001.5, 38999.6, 480);
    RecordLayout(form);
    EXPECT_EQ(DesignFormWidth, 40000);
    EXPECT_EQ(LayoutRecord.at(0).Left, 35000);
    EXPECT_EQ(LayoutRecord.at(0).Top, 33002);
    EXPECT_EQ(LayoutRecord.at(0).Width, 39000);

    form.width = 80000;
    StretchLayout(form);
    EXPECT_EQ(label->Left(), 70000);
    EXPECT_EQ(label->Width(), 78000);
    EXPECT_EQ(label->Top(), 33002);
}

TEST_F(Stretch, ControlDeletedAfterRecordingIsSkipped)
{
    RecordLayout(form);
    form.controls.removeOne(shape);
    delete shape;
    form.width *= 2;
    StretchLayout(form);
    EXPECT_EQ(label->Left(), 600);
}

TEST_F(Stretch, FailingWriteStillEndsTheUpdate)
{
    auto *failing = form.add<FailingShape>("shpFailing");
    failing->setWidth(100);
    RecordLayout(form);
    failing->failing = true;
    EXPECT_THROW(StretchLayout(form), std::runtime_error);
    EXPECT_EQ(form.begins, 1);
    EXPECT_EQ(form.ends, 1);
}

TEST(PlausibleFrame, KeepsRealFramesAndHoldsGuessesToZeroToTwoHundred)
{
    using modStretch::PlausibleFrame;
    EXPECT_EQ(PlausibleFrame(QMargins(4, 30, 4, 4)), QMargins(4, 30, 4, 4));
    EXPECT_EQ(PlausibleFrame(QMargins()), QMargins());
    // What a burst of resizes without a window manager has been reported as.
    EXPECT_EQ(PlausibleFrame(QMargins(0, 0, 1608, -1231)), QMargins(0, 0, 200, 0));
    EXPECT_EQ(PlausibleFrame(QMargins(-333, 465, 0, 0)), QMargins(0, 200, 0, 0));
    EXPECT_EQ(PlausibleFrame(QMargins(200, 201, -1, 199)), QMargins(200, 200, 0, 199));
}

#include "tst_modStretch.moc"
