// The operator's objects driven as an operator would, with keys and clicks
// on the real window: marks, medical lamps, scores, the clock entry, the
// focus order and the selection highlight, and the lamp colours.

#include "support/BoardFixture.h"

#include "controls/ClockDisplay.h"
#include "controls/ControlArray.h"
#include "controls/DigitDisplay.h"
#include "controls/Label.h"
#include "controls/PictureBox.h"
#include "controls/Shape.h"

#include <QApplication>
#include <QTest>

using namespace Settings;

class BoardObjects : public BoardFixture
{
protected:
    void SetUp() override
    {
        BoardFixture::SetUp();
        showBoard(*board);
    }

    void press(QWidget *target, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        target->setFocus();
        QTest::keyClick(target, key, modifiers);
    }
    void type(QWidget *target, const QList<Qt::Key> &keys)
    {
        target->setFocus();
        for (Qt::Key key : keys)
            QTest::keyClick(target, key);
    }
    Label *medLamp(ControlArray *array, int index) { return array->at<Label>(index); }
    OleColor fill(Shape *shape) { return shape->FillColor(); }
};

TEST_F(BoardObjects, PenaltiesToggleWithEnterAndClick)
{
    press(board->picSVisitor, Qt::Key_Return);
    EXPECT_EQ(board->PenaltyVS, VbTrue);
    EXPECT_EQ(fill(board->shpSVisitor), HoldColor);
    press(board->picSVisitor, Qt::Key_Enter); // keypad Enter too
    EXPECT_EQ(board->PenaltyVS, VbFalse);
    EXPECT_EQ(fill(board->shpSVisitor), FormBack);

    QTest::mouseClick(board->picCHome, Qt::LeftButton);
    EXPECT_EQ(board->PenaltyHC, VbTrue);
    EXPECT_EQ(QApplication::focusWidget(), board->picCHome);
    EXPECT_EQ(board->PenaltyHK, VbFalse) << "the marks of a side are independent";

    // A double-click toggles once, as its second press is no click.
    QTest::mouseClick(board->picKVisitor, Qt::LeftButton);
    QTest::mouseDClick(board->picKVisitor, Qt::LeftButton);
    EXPECT_EQ(board->PenaltyVK, VbTrue);

    // A value other than True shows dark.
    board->PenaltyHC = 1;
    board->UpdateOtherColors();
    EXPECT_EQ(fill(board->shpCHome), FormBack);
}

TEST_F(BoardObjects, ClickOnAPenaltyAlsoRunsACommandBoundToEnter)
{
    StartStopPeriodClockKey = 13;
    QTest::mouseClick(board->picKHome, Qt::LeftButton);
    EXPECT_EQ(board->PenaltyHK, VbTrue);
    EXPECT_TRUE(board->tkPeriod->Running());
}

TEST_F(BoardObjects, WinnerAndIpponAreExclusive)
{
    press(board->picWinnerHome, Qt::Key_Return);
    EXPECT_EQ(board->Winner, 1);
    EXPECT_EQ(fill(board->shpWinnerHome), ScoreColor);
    press(board->picWinnerVisitor, Qt::Key_Return);
    EXPECT_EQ(board->Winner, 2);
    EXPECT_EQ(fill(board->shpWinnerHome), FormBack);
    EXPECT_EQ(fill(board->shpWinnerVisitor), ScoreColor);
    press(board->picWinnerVisitor, Qt::Key_Return);
    EXPECT_EQ(board->Winner, 0);

    board->Ippon = 2;
    QTest::mouseClick(board->lblIpponHome, Qt::LeftButton);
    EXPECT_EQ(board->Ippon, 1);
    EXPECT_EQ(QApplication::focusWidget(), board->picIpponHome);
    EXPECT_EQ(board->lblIpponHome->ForeColor(), HoldColor);
    EXPECT_EQ(board->lblIpponVisitor->ForeColor(), FormBack);
    press(board->picIpponHome, Qt::Key_Return);
    EXPECT_EQ(board->Ippon, 0);
    press(board->picIpponVisitor, Qt::Key_Return);
    EXPECT_EQ(board->Ippon, 2);
}

TEST_F(BoardObjects, MedicalLampsCountWithKeypadAndMouse)
{
    press(board->picMedHome, Qt::Key_Plus, Qt::KeypadModifier);
    press(board->picMedHome, Qt::Key_Plus, Qt::KeypadModifier);
    press(board->picMedHome, Qt::Key_Plus, Qt::KeypadModifier);
    EXPECT_EQ(board->MedHome, 2);
    EXPECT_EQ(medLamp(board->lblMedHome, 1)->ForeColor(), HoldColor);
    press(board->picMedHome, Qt::Key_Plus); // the main-block plus does not count
    press(board->picMedHome, Qt::Key_Minus);
    EXPECT_EQ(board->MedHome, 2);
    for (int i = 0; i < 3; ++i)
        press(board->picMedHome, Qt::Key_Minus, Qt::KeypadModifier);
    EXPECT_EQ(board->MedHome, 0);

    board->picKHome->setFocus();
    QTest::mouseClick(medLamp(board->lblMedVisitor, 0), Qt::LeftButton);
    EXPECT_EQ(board->MedVisitor, 1);
    EXPECT_EQ(medLamp(board->lblMedVisitor, 0)->ForeColor(), HoldColor);
    EXPECT_EQ(medLamp(board->lblMedVisitor, 1)->ForeColor(), FormBack);
    EXPECT_EQ(QApplication::focusWidget(), board->picMedVisitor);
    board->picKHome->setFocus();
    QTest::mouseClick(medLamp(board->lblMedVisitor, 1), Qt::RightButton);
    EXPECT_EQ(board->MedVisitor, 0);
    EXPECT_EQ(QApplication::focusWidget(), board->picMedVisitor) << "a right click selects the box too";
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Plus, Qt::KeypadModifier);
    EXPECT_EQ(board->MedVisitor, 1) << "the keypad goes to the box just clicked";
    QTest::mouseClick(medLamp(board->lblMedVisitor, 1), Qt::MiddleButton);
    EXPECT_EQ(board->MedVisitor, 1);

    // A right click on a penalty or winner box toggles it like a left one.
    QTest::mouseClick(board->picSVisitor, Qt::RightButton);
    EXPECT_EQ(board->PenaltyVS, VbTrue);
    EXPECT_EQ(QApplication::focusWidget(), board->picSVisitor);
    QTest::mouseClick(board->picWinnerHome, Qt::RightButton);
    EXPECT_EQ(board->Winner, 1);

    board->MedHome = 3; // out of range leaves the lamps as they were
    board->UpdateOtherColors();
    EXPECT_EQ(medLamp(board->lblMedHome, 0)->ForeColor(), FormBack);
}

TEST_F(BoardObjects, ScoresAreTypedOnTheirDisplays)
{
    type(board->nledWHome, {Qt::Key_3});
    EXPECT_EQ(board->nledWHome->Caption(), 3);
    type(board->nledWHome, {Qt::Key_Plus, Qt::Key_4});
    EXPECT_EQ(board->nledWHome->Caption(), 7);
    type(board->nledWHome, {Qt::Key_Equal, Qt::Key_8}); // 15 is out of range
    EXPECT_EQ(board->nledWHome->Caption(), 7);
    type(board->nledWHome, {Qt::Key_Delete});
    EXPECT_EQ(board->nledWHome->Caption(), -1);
    type(board->nledWHome, {Qt::Key_Plus, Qt::Key_Return});
    EXPECT_EQ(board->nledWHome->Caption(), 0);

    // A pending sign belongs to its display only.
    type(board->nledWHome, {Qt::Key_Plus});
    type(board->nledYHome, {Qt::Key_2});
    EXPECT_EQ(board->nledYHome->Caption(), 2);
    EXPECT_EQ(board->nledWHome->Caption(), 0);

    // Keypad digits and signs work alike.
    board->nledKVisitor->setFocus();
    QTest::keyClick(board->nledKVisitor, Qt::Key_5, Qt::KeypadModifier);
    QTest::keyClick(board->nledKVisitor, Qt::Key_Minus, Qt::KeypadModifier);
    QTest::keyClick(board->nledKVisitor, Qt::Key_1, Qt::KeypadModifier);
    EXPECT_EQ(board->nledKVisitor->Caption(), 4);
}

TEST_F(BoardObjects, ATypedTimeStopsTheClockAndBecomesTheResetTime)
{
    board->AllKeyCode(83);
    board->AllKeyCode(37);
    tick(2000);
    type(board->tledPeriod, {Qt::Key_4, Qt::Key_Period, Qt::Key_3, Qt::Key_0, Qt::Key_Return});
    EXPECT_FALSE(board->tkPeriod->Running());
    EXPECT_FALSE(board->tkHoldHome->Running());
    EXPECT_EQ(board->nledHoldHome->Caption(), 2) << "hold values stay on the displays";
    EXPECT_EQ(board->tledPeriod->Caption(), 270.0f);
    EXPECT_EQ(PeriodResetTime, TimeValue::fromSeconds(270));

    board->AllKeyCode(83);
    tick(5000);
    type(board->tledPeriod, {Qt::Key_1, Qt::Key_0, Qt::Key_Return}); // above 9:59
    EXPECT_TRUE(board->tkPeriod->Running()) << "a rejected entry leaves the clock running";
    board->AllKeyCode(82);
    EXPECT_EQ(board->tledPeriod->Caption(), 270.0f);

    type(board->tledPeriod, {Qt::Key_4, Qt::Key_Space, Qt::Key_2, Qt::Key_Return});
    EXPECT_EQ(board->tledPeriod->Caption(), 120.0f);
    type(board->tledPeriod, {Qt::Key_Return}); // nothing typed: 0:00, silently
    EXPECT_EQ(board->tledPeriod->Caption(), 0.0f);
    EXPECT_EQ(plays(), 0);
}

TEST_F(BoardObjects, TabVisitsTheObjectsInDesignOrder)
{
    const QList<QWidget *> order = {board->tledPeriod, board->picMedHome, board->picWinnerHome,
        board->picMedVisitor, board->picWinnerVisitor, board->picIpponHome, board->nledWHome,
        board->nledYHome, board->nledKHome, board->picIpponVisitor, board->nledWVisitor, board->nledYVisitor,
        board->nledKVisitor, board->picKHome, board->picCHome, board->picSHome, board->picKVisitor,
        board->picCVisitor, board->picSVisitor, board->tledPeriod};
    board->tledPeriod->setFocus();
    for (qsizetype i = 1; i < order.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        ASSERT_EQ(QApplication::focusWidget(), order[i]) << "step " << i;
    }
    // The osaekomi boxes keep their places in the chain without being visited.
    board->picContainerHoldVisitor->setFocus();
    QTest::keyClick(board->picContainerHoldVisitor, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), board->picMedHome);
}

TEST_F(BoardObjects, HighlightFollowsTheFocusButNotTheHoldBoxes)
{
    LEDSelectedWidth = 3;
    press(board->picKHome, Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), board->picCHome);
    const Shape *frame = board->shpObjectSelected;
    EXPECT_TRUE(frame->isVisible());
    EXPECT_EQ(frame->Left(), 2640 - 45);
    EXPECT_EQ(frame->Top(), 5700 - 45);
    EXPECT_EQ(frame->Width(), 495 + 90 + 15);
    EXPECT_EQ(frame->Height(), 375 + 90 + 15);

    QTest::mouseClick(board->nledHoldHome, Qt::LeftButton);
    EXPECT_EQ(QApplication::focusWidget(), board->picContainerHoldHome);
    EXPECT_EQ(frame->Left(), 2640 - 45) << "the highlight stays on the previous object";
    QTest::keyClick(board->picContainerHoldHome, Qt::Key_S);
    EXPECT_TRUE(board->tkPeriod->Running()) << "keys still reach the dispatcher";

    board->resize(800, 600);
    QApplication::processEvents();
    EXPECT_FALSE(frame->isVisible()) << "a resize clears the selection";

    LEDSelectedWidth = 32000; // held to the range that fits the margin
    board->ObjectSelected(board->picKHome);
    EXPECT_TRUE(frame->isVisible());
    EXPECT_LT(frame->Left(), 0);
}

TEST_F(BoardObjects, ColoursFollowTheSettings)
{
    BorderColor = rgbColor(10, 20, 30);
    LEDBack = rgbColor(1, 1, 1);
    FormBack = LEDBack; // unlit lamps vanish on their marks
    LEDSelected = rgbColor(9, 9, 9);
    board->UpdateFormColors();
    EXPECT_EQ(board->Label3->ForeColor(), BorderColor);
    EXPECT_EQ(board->lblHomeName->ForeColor(), rgbColor(0, 0, 0)) << "name panels keep their design";
    EXPECT_EQ(board->lblVisitorName->BackColor(), rgbColor(0, 153, 255));
    EXPECT_EQ(board->picKHome->BackColor(), FormBack);
    EXPECT_EQ(board->picContainerHoldHome->BackColor(), LEDBack);
    EXPECT_EQ(board->shpKHome->BorderColor(), LEDBack);
    EXPECT_EQ(board->shpContestTime->BorderColor(), BorderColor);
    EXPECT_EQ(board->shpHoldVisitor->FillColor(), BorderColor);
    EXPECT_EQ(board->shpObjectSelected->FillColor(), LEDSelected);
    EXPECT_EQ(board->tledPeriod->BorderColor(), BorderColor);
    EXPECT_EQ(board->tledPeriod->LitColor(), TimeColor);
    EXPECT_EQ(board->nledHoldVisitor->LitColor(), HoldColor);
    EXPECT_EQ(board->nledKVisitor->BackColor(), LEDBack);
    EXPECT_EQ(medLamp(board->lblMedHome, 1)->BackColor(), LEDBack);
    EXPECT_EQ(fill(board->shpSHome), LEDBack);
}
