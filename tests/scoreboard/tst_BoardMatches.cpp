// The day's match list on the board: the next-match key clears exactly the
// contest's marks and sets its names and time, the window title and the
// store follow where the list stands, and a restart goes on from there.

#include "support/BoardFixture.h"

#include "day/MatchDay.h"

#include "controls/ClockDisplay.h"
#include "controls/DigitDisplay.h"
#include "controls/Label.h"
#include "controls/PictureBox.h"
#include "settings/SettingsStore.h"

#include <QTest>

class BoardMatches : public BoardFixture
{
protected:
    void SetUp() override
    {
        BoardFixture::SetUp();
        SettingsStore::useFile(dir.filePath(QStringLiteral("store.conf")));
        showBoard(*board);
    }
    void TearDown() override { SettingsStore::useFile(QString()); }

    void press(QWidget *target, Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        target->setFocus();
        QTest::keyClick(target, key, mods);
    }
    void nextMatch() { press(board->tledPeriod, Qt::Key_N); }

    const QByteArray list = "home;visitor;title;time\nA;B;Pool 1;\nC;D;Final;3:00\n";
};

TEST_F(BoardMatches, NextMatchClearsTheContestAndSetsItsNamesAndTime)
{
    board->setRules(Rules::preset(Rules::SetId::Ijf2018));
    EXPECT_TRUE(board->day().loadMatchList(list).isEmpty());
    EXPECT_EQ(board->lblHomeName->Caption(), QStringLiteral("A"));
    EXPECT_EQ(board->lblTitle->Caption(), QStringLiteral("Pool 1"));
    EXPECT_EQ(board->windowTitle(), QStringLiteral("Zembrak \u2014 IJF 2018 \u2014 Match 1 of 2"));

    // A contest under way: scores, shidos, medical, marks, a hold and the clock.
    press(board->tledPeriod, Qt::Key_S);
    press(board->picContainerHoldHome, Qt::Key_Left);
    tick(3000);
    press(board->nledWVisitor, Qt::Key_1);
    press(board->picSHome, Qt::Key_Return);
    press(board->picMedVisitor, Qt::Key_Plus, Qt::KeypadModifier);
    ASSERT_EQ(board->MedVisitor, 1);
    board->Winner = 2;
    ASSERT_TRUE(board->tkHoldHome->Running());
    const qint32 pin = board->TimePin;

    nextMatch();
    EXPECT_EQ(board->marks(), MatchMarksRules::cleared(board->rules()));
    EXPECT_EQ(board->nledWVisitor->Caption(), 0);
    EXPECT_EQ(board->nledYVisitor->Caption(), -1) << "a score the set does not use stays dark";
    EXPECT_EQ(board->PenaltyHK, VbFalse);
    for (const MatchTimer *timer : {board->tkPeriod, board->tkHoldHome, board->tkHoldVisitor})
        EXPECT_FALSE(timer->Running());
    EXPECT_EQ(board->tkHoldHome->Seconds(), TimeValue());
    EXPECT_EQ(board->tkPeriod->Seconds(), TimeValue::fromSeconds(180));
    EXPECT_EQ(board->lblVisitorName->Caption(), QStringLiteral("D"));
    EXPECT_EQ(board->lblTitle->Caption(), QStringLiteral("Final"));
    EXPECT_EQ(board->TimePin, pin) << "the osaekomi selector is no mark";
    EXPECT_EQ(board->day().history().undoSteps(), 0) << "a new contest starts with an empty history";
    EXPECT_FALSE(board->day().undoMarks());

    // Past the last contest the key changes nothing but the title.
    press(board->picCHome, Qt::Key_Return);
    const MatchMarks before = board->marks();
    nextMatch();
    EXPECT_EQ(board->marks(), before);
    EXPECT_EQ(board->day().matchIndex(), 2);
    EXPECT_TRUE(board->windowTitle().endsWith(QStringLiteral("Match 2 of 2, the last: no next match")));
}

TEST_F(BoardMatches, WithoutAListTheKeyDoesNothingAndAContestWithoutTimeTakesTheResetTime)
{
    const QString title = board->windowTitle();
    press(board->picCHome, Qt::Key_Return);
    nextMatch();
    EXPECT_EQ(board->PenaltyHC, VbTrue);
    EXPECT_EQ(board->windowTitle(), title);

    press(board->tledPeriod, Qt::Key_S);
    tick(5000);
    board->day().loadMatchList("X,Y\nbad line\nZ,W\n");
    EXPECT_EQ(board->tkPeriod->Seconds(), PeriodResetTime);
    EXPECT_EQ(board->day().matchCount(), 2);
}

TEST_F(BoardMatches, TheListAndItsPositionAreStoredAndARestartGoesOnFromThere)
{
    board->day().loadMatchList(list);
    nextMatch();
    Settings::resetToDefaults();
    LoadSettings();
    EXPECT_EQ(Settings::MatchIndex, 2);
    FakeMediaBackend *otherMedia = nullptr;
    auto restarted = makeTestBoard(clock, otherMedia);
    EXPECT_EQ(restarted->day().matchIndex(), 2);
    EXPECT_EQ(restarted->day().matchCount(), 2);
    EXPECT_EQ(restarted->lblHomeName->Caption(), QStringLiteral("C"));
    EXPECT_EQ(restarted->tkPeriod->Seconds(), TimeValue::fromSeconds(180));
}
