// Undo and redo on the real board: Ctrl+Z and Ctrl+Shift+Z take the marks
// back and give them again, whatever led to them, and leave the clock alone.

#include "support/BoardFixture.h"

#include "day/MatchDay.h"
#include "support/RandomOperator.h"

#include "controls/ClockDisplay.h"
#include "controls/DigitDisplay.h"
#include "controls/PictureBox.h"

#include <QTest>

using Rules::SetId;

class BoardHistory : public BoardFixture
{
protected:
    void SetUp() override
    {
        BoardFixture::SetUp();
        showBoard(*board);
    }

    void press(QWidget *target, Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        target->setFocus();
        QTest::keyClick(target, key, mods);
    }
    void undo() { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Z, Qt::ControlModifier); }
    void redo()
    {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    }
};

// A storm of keys, clicks and ticks, under the design's set and under one
// whose automatics award scores and end contests. Every state seen between
// events is met again, in reverse order, on the way back to the start; redo
// walks the same way forward to where the storm left off; the clock is
// never touched by either.
TEST_F(BoardHistory, UndoAndRedoOverAStormReturnTheExactEarlierStates)
{
    for (SetId id : {SetId::Design, SetId::Ijf2018}) {
        for (quint32 seed : {11u, 12u}) {
            board->setRules(Rules::preset(id));
            board->day().clearHistory();
            RandomOperator storm(*board, clock, *media, seed, RandomOperator::alwaysTick);
            QList<MatchMarks> seen = {board->marks()};
            // Few enough events that the history holds every change.
            for (int i = 0; i < 3000 && board->day().history().undoSteps() < 150; ++i) {
                storm.step();
                if (!(board->marks() == seen.last()))
                    seen << board->marks();
            }
            ASSERT_GT(seen.size(), 20) << "seed " << seed;
            const MatchMarks last = board->marks();
            const bool running = board->tkPeriod->Running();
            const qint64 clockTicks = board->tkPeriod->Seconds().ticks();

            QList<MatchMarks> walk = {board->marks()};
            while (board->day().undoMarks())
                walk << board->marks();
            EXPECT_EQ(walk.last(), seen.first()) << "seed " << seed;
            qsizetype at = 0;
            for (qsizetype i = seen.size() - 1; i >= 0; --i) {
                at = walk.indexOf(seen.at(i), at);
                ASSERT_GE(at, 0) << "state " << i << " of seed " << seed << " is not met on the way back";
            }
            for (qsizetype i = walk.size() - 2; i >= 0; --i) {
                ASSERT_TRUE(board->day().redoMarks());
                EXPECT_EQ(board->marks(), walk.at(i));
            }
            EXPECT_FALSE(board->day().redoMarks());
            EXPECT_EQ(board->marks(), last);
            EXPECT_EQ(board->tkPeriod->Running(), running);
            EXPECT_EQ(board->tkPeriod->Seconds().ticks(), clockTicks);
        }
    }
}

TEST_F(BoardHistory, CtrlZComesBeforeTheDispatcherAndKeepsAHundredSteps)
{
    Settings::StartStopPeriodClockKey = 90; // Z
    for (int i = 0; i < 120; ++i)
        press(board->picCHome, Qt::Key_Return);
    EXPECT_EQ(board->PenaltyHC, VbFalse);
    for (int i = 0; i < 101; ++i)
        undo();
    EXPECT_EQ(board->PenaltyHC, VbTrue);
    EXPECT_FALSE(board->tkPeriod->Running());
    redo();
    EXPECT_EQ(board->PenaltyHC, VbFalse);
    // Without Ctrl, Z is the command key it was bound to.
    press(board->picCHome, Qt::Key_Z);
    EXPECT_TRUE(board->tkPeriod->Running());
    EXPECT_EQ(board->PenaltyHC, VbFalse);
}

TEST_F(BoardHistory, AnAutomaticAwardIsAStepOfItsOwnAndTakingItBackReopensTheContest)
{
    board->setRules(Rules::preset(SetId::Ijf2018));
    press(board->tledPeriod, Qt::Key_S);
    press(board->nledWHome, Qt::Key_1);
    press(board->nledWHome, Qt::Key_2);
    ASSERT_EQ(board->Winner, 1);
    undo();
    EXPECT_EQ(board->Winner, 0);
    EXPECT_EQ(board->Ippon, 0);
    EXPECT_EQ(board->nledWHome->Caption(), 2);
    undo();
    EXPECT_EQ(board->nledWHome->Caption(), 1);
    // The contest is open again: the second waza-ari ends it once more.
    press(board->tledPeriod, Qt::Key_S);
    press(board->nledWHome, Qt::Key_2);
    EXPECT_EQ(board->Winner, 1);
    // A change after undo drops what could have been redone.
    EXPECT_FALSE(board->day().redoMarks());
}
