#include "support/FakeForm.h"

#include "modules/Form.h"
#include "modules/modColor.h"

#include "controls/ControlArray.h"
#include "controls/DigitDisplay.h"
#include "controls/Image.h"
#include "controls/Label.h"
#include "controls/Line.h"
#include "controls/PictureBox.h"
#include "controls/Shape.h"
#include "settings/SettingsVariables.h"

#include <QVariant>
#include <QWidget>

#include <gtest/gtest.h>

using namespace modColor;

namespace {

// A kind named "Label" that has no ForeColor to take.
class BrokenLabel : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("TypeName", "Label")
public:
    using QObject::QObject;
};

// Kinds are told apart by their exact type name.
class LowerCaseLabel : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("TypeName", "label")
    Q_PROPERTY(qint32 ForeColor MEMBER m_foreColor)
public:
    using QObject::QObject;

private:
    qint32 m_foreColor = 0;
};

constexpr OleColor Untouched = 0x123456;
constexpr OleColor Border = 0x0000aa;
constexpr OleColor Back = 0x00bb00;
constexpr OleColor Led = 0xcc0000;

qint32 color(const QObject *control, const char *property)
{
    return control->property(property).toInt();
}

class Colors : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Settings::resetToDefaults();
        Settings::BorderColor = Border;
        Settings::FormBack = Back;
        Settings::LEDBack = Led;
    }
    void TearDown() override { Settings::resetToDefaults(); }

    // Every colour property the colouring might touch starts at Untouched.
    template<typename T>
    T *add(const char *name)
    {
        T *control = form.add<T>(name);
        for (const char *property : {"ForeColor", "BackColor", "BorderColor", "FillColor", "LitColor"}) {
            if (control->metaObject()->indexOfProperty(property) >= 0)
                control->setProperty(property, Untouched);
        }
        return control;
    }

    FakeForm form;
};

} // namespace

TEST_F(Colors, EachKindTakesItsColourExceptTheListedNames)
{
    auto *title = add<Label>("lblTitle");
    auto *homeName = add<Label>("lblHomeName");
    auto *prefixOfExempt = add<Label>("lblHome");
    auto *med0 = add<Label>("lblMedHome");
    auto *med1 = add<Label>("lblMedHome");
    auto *box = add<PictureBox>("picHomePicContainer");
    auto *holdBox = add<PictureBox>("picContainerHoldHome");
    auto *shape = add<Shape>("shpKHome");
    auto *clockFrame = add<Shape>("shpContestTime");
    auto *line = add<Line>("linTop");
    auto *image = add<Image>("imgHomePic");
    auto *display = add<DigitDisplay>("nledWHome");
    auto *lowerCase = add<LowerCaseLabel>("lblOdd");

    // One member of the medical array stands for both.
    ColorFormControls(form, {homeName, holdBox, med0, clockFrame});

    const struct
    {
        QObject *control;
        const char *property;
        OleColor expected;
    } cases[] = {
        {title, "ForeColor", Border},
        {title, "BackColor", Untouched},
        {homeName, "ForeColor", Untouched},
        {prefixOfExempt, "ForeColor", Border},
        {med0, "ForeColor", Untouched},
        {med1, "ForeColor", Untouched},
        {box, "BackColor", Back},
        {holdBox, "BackColor", Untouched},
        {shape, "BorderColor", Led},
        {shape, "FillColor", Untouched},
        {clockFrame, "BorderColor", Untouched},
        {line, "BorderColor", Border},
        {display, "BackColor", Untouched},
        {display, "LitColor", Untouched},
        {lowerCase, "ForeColor", Untouched},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(color(c.control, c.property), c.expected)
            << qPrintable(c.control->objectName()) << '.' << c.property;
    }
    EXPECT_TRUE(image->property("BackColor").isNull());
}

TEST_F(Colors, UnnamedControlIsNotExemptByAccident)
{
    // Two names side by side read "|a||b|": an empty name must not match there.
    auto *unnamed = add<Label>("");
    auto *a = add<Label>("lblA");
    auto *b = add<Label>("lblB");
    ColorFormControls(form, {a, b});
    EXPECT_EQ(unnamed->ForeColor(), Border);
}

TEST_F(Colors, ControlThatCannotTakeItsColourEndsTheRun)
{
    auto *before = add<Label>("lblBefore");
    add<BrokenLabel>("lblBroken");
    auto *after = add<Label>("lblAfter");
    ColorFormControls(form, {});
    EXPECT_EQ(before->ForeColor(), Border);
    EXPECT_EQ(after->ForeColor(), Untouched);
}

TEST_F(Colors, SetLedColorOnOneDisplay)
{
    auto *display = add<DigitDisplay>("nledWHome");
    SetLedColor(display, 0x00ff00);
    EXPECT_EQ(display->BackColor(), Led);
    EXPECT_EQ(display->LitColor(), 0x00ff00);
}

TEST_F(Colors, SetLedColorOnEveryMemberOfAnArray)
{
    // Indices need not be contiguous; every member is reached.
    const QList<qint32> indices {0, 1, 7};
    ControlArray array(QStringLiteral("nledScore"));
    QList<DigitDisplay *> members;
    for (qint32 index : indices) {
        members.append(add<DigitDisplay>("nledScore"));
        array.add(index, members.last());
    }
    SetLedColor(&array, 0x00ff00);
    for (const DigitDisplay *member : members) {
        EXPECT_EQ(member->BackColor(), Led);
        EXPECT_EQ(member->LitColor(), 0x00ff00);
    }
}

#include "tst_modColor.moc"
