// Loading, focusing and closing the board.

#include "support/BoardFixture.h"

#include "controls/ClockDisplay.h"
#include "controls/Shape.h"

#include <QApplication>
#include <QFocusEvent>
#include <QTimer>

class BoardLifecycle : public BoardFixture
{
};

TEST_F(BoardLifecycle, EveryBoardStartsAtTwoMinutes)
{
    PeriodResetTime = TimeValue::fromSeconds(270); // a time typed on an earlier board
    frmScoreboard next;
    EXPECT_EQ(PeriodResetTime, TimeValue::fromSeconds(120));
    EXPECT_EQ(next.tledPeriod->Caption(), 120.0f);
    EXPECT_EQ(next.TimePin, 0);
    EXPECT_EQ(next.BuzzerPlaying, VbFalse);
}

TEST_F(BoardLifecycle, TheWindowTakingTheFocusSelectsTheClock)
{
    QFocusEvent focusIn(QEvent::FocusIn, Qt::ActiveWindowFocusReason);
    QApplication::sendEvent(board.get(), &focusIn);
    EXPECT_TRUE(board->shpObjectSelected->isVisibleTo(board.get()));
    EXPECT_EQ(board->shpObjectSelected->Left(), board->tledPeriod->Left());
    EXPECT_EQ(board->shpObjectSelected->Width(), board->tledPeriod->Width() + 15);
}

TEST_F(BoardLifecycle, ClosingTheBoardEndsTheProgramWithItsOtherWindows)
{
    QWidget other; // stands for the help viewer
    other.show();
    board->show();
    QTimer::singleShot(0, board.get(), [this] { board->close(); });
    QTimer::singleShot(5000, qApp, [] { QApplication::exit(1); }); // a guard, never reached
    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_FALSE(other.isVisible());
}
