// The dispatcher: osaekomi keys, the command chain and its order, odd
// bindings, the character codes of keys, and keys arriving from controls.

#include "support/BoardFixture.h"

#include "controls/ClockDisplay.h"
#include "controls/DigitDisplay.h"
#include "controls/Label.h"
#include "controls/PictureBox.h"
#include "controls/Shape.h"
#include "platform/VirtualKeys.h"

#include <QApplication>
#include <QTest>
#include <QTimer>

using namespace Settings;

class KeyDispatch : public BoardFixture
{
};

TEST_F(KeyDispatch, StartStopTogglesOnlyTheContestClockUntilItStops)
{
    board->AllKeyCode(83);
    EXPECT_TRUE(board->tkPeriod->Running());
    EXPECT_FALSE(board->tkHoldHome->Running());
    EXPECT_FALSE(board->tkHoldVisitor->Running());

    board->AllKeyCode(37); // Home hold
    tick(3000);
    EXPECT_TRUE(board->tkHoldHome->Running());
    EXPECT_EQ(board->nledHoldHome->Caption(), 3);

    board->AllKeyCode(83);
    EXPECT_FALSE(board->tkPeriod->Running());
    EXPECT_FALSE(board->tkHoldHome->Running());
    tick(5000);
    EXPECT_EQ(board->nledHoldHome->Caption(), 3) << "the osaekomi time shown stays as it was";
    EXPECT_EQ(board->tledPeriod->Caption(), 117.0f);

    board->AllKeyCode(83); // starting again does not resume the hold
    EXPECT_FALSE(board->tkHoldHome->Running());
}

TEST_F(KeyDispatch, ResetTouchesTimersAloneAndKeepsTimePin)
{
    board->PenaltyHC = VbTrue;
    board->Winner = 2;
    board->AllKeyCode(83);
    board->AllKeyCode(39);
    tick(10'000);
    board->AllKeyCode(82);
    EXPECT_FALSE(board->tkPeriod->Running());
    EXPECT_FALSE(board->tkHoldVisitor->Running());
    EXPECT_EQ(board->tkPeriod->Seconds(), TimeValue::fromSeconds(120));
    EXPECT_EQ(board->tkHoldVisitor->Seconds(), TimeValue());
    EXPECT_EQ(board->tledPeriod->Caption(), 120.0f);
    EXPECT_EQ(board->nledHoldVisitor->Caption(), 0);
    EXPECT_EQ(board->TimePin, 39);
    EXPECT_EQ(board->PenaltyHC, VbTrue);
    EXPECT_EQ(board->Winner, 2);
}

TEST_F(KeyDispatch, ArrowsOnlyFreezeHoldsWhileTheClockIsStopped)
{
    board->tkHoldHome->setSeconds(TimeValue::fromSeconds(7));
    board->AllKeyCode(37);
    EXPECT_EQ(board->TimePin, 37);
    EXPECT_FALSE(board->tkHoldHome->Running());
    EXPECT_EQ(board->tkHoldHome->Seconds(), TimeValue::fromSeconds(7));

    board->AllKeyCode(40); // Down does nothing at all
    EXPECT_EQ(board->TimePin, 37);
}

TEST_F(KeyDispatch, OsaekomiKeysRestartFromZeroWhileRunning)
{
    board->AllKeyCode(83);
    board->AllKeyCode(37);
    tick(4000);
    board->AllKeyCode(39); // Visitor takes over: Home cleared, Visitor from 0
    EXPECT_EQ(board->tkHoldHome->Seconds(), TimeValue());
    EXPECT_FALSE(board->tkHoldHome->Running());
    EXPECT_TRUE(board->tkHoldVisitor->Running());
    tick(2000);
    EXPECT_EQ(board->nledHoldVisitor->Caption(), 2);
    board->AllKeyCode(38); // ended: both cleared and stopped
    EXPECT_EQ(board->tkHoldVisitor->Seconds(), TimeValue());
    EXPECT_FALSE(board->tkHoldVisitor->Running());
}

TEST_F(KeyDispatch, OddBindingsFollowTheChainOrder)
{
    // A command key on an arrow both selects the side and runs the command.
    StartStopPeriodClockKey = 37;
    board->AllKeyCode(37);
    EXPECT_EQ(board->TimePin, 37);
    EXPECT_TRUE(board->tkPeriod->Running());
    EXPECT_FALSE(board->tkHoldHome->Running()) << "the pin was applied before the clock started";

    // Two commands on one key: only the first in the chain acts.
    ResetPeriodClockKey = 66;
    BuzzerKey = 66;
    tick(1000);
    board->AllKeyCode(66);
    EXPECT_FALSE(board->tkPeriod->Running());
    EXPECT_EQ(board->tkPeriod->Seconds(), TimeValue::fromSeconds(120));
    EXPECT_EQ(plays(), 0);

    // A command on F1 runs the command instead of help.
    BuzzerKey = VirtualKeys::F1;
    board->AllKeyCode(VirtualKeys::F1);
    EXPECT_EQ(plays(), 1);
}

TEST_F(KeyDispatch, F2RefreshesEverythingAndRerecordsTheLayout)
{
    TitleText = QStringLiteral("Dojo cup");
    FormBack = rgbColor(1, 2, 3);
    // The options dialog opens modally; the operator cancels it.
    QString opened;
    QTimer::singleShot(0, [&opened] {
        if (QWidget *dialog = QApplication::activeModalWidget()) {
            opened = dialog->windowTitle();
            QTest::keyClick(dialog, Qt::Key_Escape);
        }
    });
    board->AllKeyCode(VirtualKeys::F2);
    EXPECT_EQ(opened, QStringLiteral("Options"));
    EXPECT_EQ(board->BackColor(), rgbColor(1, 2, 3));
    EXPECT_EQ(board->shpKHome->property("FillColor").toInt(), rgbColor(1, 2, 3));
    EXPECT_EQ(board->lblTitle->property("Caption").toString(), QStringLiteral("Dojo cup"));
}

TEST_F(KeyDispatch, KeyCodeToAsciiTable)
{
    const QList<QPair<qint16, qint16>> table = {{32, 32}, {13, 13}, {46, 0}, {187, 43}, {107, 43}, {189, 45},
        {109, 45}, {96, 48}, {103, 55}, {105, 57}, {48, 48}, {55, 55}, {57, 57}, {110, 46}, {190, 46},
        {116, -1}, {65, -1}, {106, -1}};
    for (const auto &[key, code] : table)
        EXPECT_EQ(frmScoreboard::KeyCodeToAsci(key), code) << "key " << key;

    ClearKey = 190;
    EXPECT_EQ(frmScoreboard::KeyCodeToAsci(190), 0);
    ClearKey = 13;
    EXPECT_EQ(frmScoreboard::KeyCodeToAsci(13), 13) << "Enter wins over the clear key";
    ClearKey = 55;
    EXPECT_EQ(frmScoreboard::KeyCodeToAsci(55), 0) << "the clear key wins over a digit";
}

TEST_F(KeyDispatch, KeysFromFocusedControlsReachTheDispatcherOnce)
{
    board->show();
    for (QWidget *target : QList<QWidget *> {
             board->tledPeriod, board->picSHome, board->nledWHome, board->picContainerHoldHome}) {
        target->setFocus();
        const bool before = board->tkPeriod->Running();
        QTest::keyClick(target, Qt::Key_S);
        EXPECT_NE(board->tkPeriod->Running(), before) << target->objectName().toStdString();
    }
    // Shift does not change the letter.
    board->picKHome->setFocus();
    const bool before = board->tkPeriod->Running();
    QTest::keyClick(board->picKHome, Qt::Key_S, Qt::ShiftModifier);
    EXPECT_NE(board->tkPeriod->Running(), before);
}
