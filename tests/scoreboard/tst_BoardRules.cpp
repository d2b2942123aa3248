// The board under a rule set with automatics: what a hold earns, how the
// contest ends, golden score and the shido count, as the operator drives
// them with keys, clicks and the passing time.

#include "support/BoardFixture.h"
#include "support/RandomOperator.h"

#include "controls/ClockDisplay.h"
#include "day/MatchDay.h"
#include "controls/DigitDisplay.h"
#include "controls/Label.h"
#include "controls/PictureBox.h"
#include "controls/Shape.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTest>

using Rules::SetId;

class BoardRules : public BoardFixture
{
protected:
    void SetUp() override
    {
        BoardFixture::SetUp();
        showBoard(*board);
    }

    void runUnder(SetId id) { board->setRules(Rules::preset(id)); }
    void press(QWidget *target, Qt::Key key)
    {
        target->setFocus();
        QTest::keyClick(target, key);
    }
    void startClock() { press(board->tledPeriod, Qt::Key_S); }
    void holdFor(Qt::Key side) { press(board->picContainerHoldHome, side); }
    void tickFor(qint64 ms)
    {
        for (qint64 done = 0; done < ms; done += 50)
            tick(50);
    }
    qint16 shown(DigitDisplay *display) const { return display->Caption(); }
};

TEST_F(BoardRules, AnIjfHoldScoresWazaAriAtTenAndEndsTheContestWithIpponAtTwenty)
{
    runUnder(SetId::Ijf2018);
    EXPECT_EQ(board->tledPeriod->Caption(), 240.0f) << "the set's contest time";
    startClock();
    holdFor(Qt::Key_Left);
    tickFor(9950);
    EXPECT_EQ(shown(board->nledWHome), 0) << "one tick before 10 s";
    tick(50);
    EXPECT_EQ(shown(board->nledWHome), 1);
    tickFor(9950);
    EXPECT_EQ(board->Ippon, 0);
    EXPECT_TRUE(board->tkHoldHome->Running());
    tick(50);
    EXPECT_EQ(board->Ippon, 1);
    EXPECT_EQ(board->Winner, 1);
    EXPECT_EQ(shown(board->nledWHome), 0) << "the hold's waza-ari gives way to its ippon";
    EXPECT_FALSE(board->tkHoldHome->Running());
    EXPECT_FALSE(board->tkPeriod->Running());
    EXPECT_EQ(board->shpWinnerHome->FillColor(), Settings::ScoreColor);
    tickFor(5000);
    EXPECT_EQ(plays(), 1) << "one buzz for one end";
}

TEST_F(BoardRules, AClassicHoldUpgradesItsScoreAndGoesOnPastTheTime)
{
    runUnder(SetId::Classic);
    board->tkPeriod->setSeconds(TimeValue::fromSeconds(12));
    startClock();
    holdFor(Qt::Key_Right);
    tickFor(10'000);
    EXPECT_EQ(shown(board->nledKVisitor), 1);
    tickFor(5000);
    EXPECT_EQ(shown(board->nledKVisitor), 0) << "the koka became a yuko";
    EXPECT_EQ(shown(board->nledYVisitor), 1);
    // The contest time ran out at 12 s; the hold went on without a buzz.
    EXPECT_FALSE(board->tkPeriod->Running());
    EXPECT_TRUE(board->tkHoldVisitor->Running());
    EXPECT_EQ(plays(), 0);
    // The operator ends the hold: the contest ends on the scores.
    press(board->picContainerHoldHome, Qt::Key_Up);
    tickFor(200);
    EXPECT_EQ(board->Winner, 2);
    EXPECT_EQ(plays(), 1);
    startClock(); // at 0:00 the clock stops again, with no second buzz
    tickFor(200);
    EXPECT_EQ(plays(), 1);
}

TEST_F(BoardRules, ALevelEndGoesToGoldenScoreWhereTheFirstScoreWins)
{
    runUnder(SetId::Ijf2018);
    board->tkPeriod->setSeconds(TimeValue::fromSeconds(5));
    startClock();
    press(board->picKHome, Qt::Key_Return); // a shido does not decide
    tickFor(5000);
    EXPECT_TRUE(board->goldenScore());
    EXPECT_EQ(board->Label25->Caption(), QStringLiteral("GOLDEN SCORE"));
    EXPECT_EQ(board->Winner, 0);
    EXPECT_EQ(plays(), 1);
    EXPECT_EQ(board->tledPeriod->Caption(), 0.0f);

    media->finish();
    QCoreApplication::processEvents();
    startClock();
    tickFor(3000);
    EXPECT_TRUE(board->tkPeriod->Running()) << "golden score has no end of time";
    EXPECT_EQ(board->tledPeriod->Caption(), 3.0f) << "counting up from 0:00";
    press(board->nledWVisitor, Qt::Key_1);
    EXPECT_EQ(board->Winner, 2);
    EXPECT_FALSE(board->tkPeriod->Running());
    EXPECT_EQ(plays(), 2);

    // Reset leaves golden score and puts the set's time back.
    press(board->tledPeriod, Qt::Key_R);
    EXPECT_FALSE(board->goldenScore());
    EXPECT_EQ(board->Label25->Caption(), QStringLiteral("CONTEST TIME"));
    EXPECT_EQ(board->tledPeriod->Caption(), 240.0f);
}

TEST_F(BoardRules, ScoresLevelOnlyInShidosDoNotGoToGoldenScoreWithoutIt)
{
    runUnder(SetId::Classic);
    board->tkPeriod->setSeconds(TimeValue::fromSeconds(2));
    startClock();
    tickFor(2000);
    EXPECT_FALSE(board->goldenScore());
    EXPECT_EQ(board->Winner, 0) << "the operator decides";
    EXPECT_EQ(plays(), 1);
}

TEST_F(BoardRules, ShidosCountUpToHansokuMakeAndARightClickTakesOneBack)
{
    runUnder(SetId::Ijf2018);
    EXPECT_EQ(board->Label9->Caption(), QStringLiteral("S"));
    EXPECT_EQ(board->Label11->Caption(), QStringLiteral("S"));
    EXPECT_EQ(board->Label12->Caption(), QStringLiteral("H"));
    press(board->picSHome, Qt::Key_Return); // any lamp of the side adds one
    QTest::mouseClick(board->picKHome, Qt::LeftButton, Qt::NoModifier, QPoint(2, 2));
    EXPECT_EQ(board->shidos(1), 2);
    EXPECT_EQ(board->PenaltyHK, VbTrue);
    EXPECT_EQ(board->PenaltyHC, VbTrue);
    EXPECT_EQ(board->PenaltyHS, VbFalse);
    QTest::mouseClick(board->picCHome, Qt::RightButton, Qt::NoModifier, QPoint(2, 2));
    EXPECT_EQ(board->shidos(1), 1);
    EXPECT_EQ(board->PenaltyHC, VbFalse);
    EXPECT_EQ(board->Winner, 0);
    for (int i = 0; i < 3; ++i)
        press(board->picCHome, Qt::Key_Return);
    EXPECT_EQ(board->shidos(1), 3) << "no count past hansoku-make";
    EXPECT_TRUE(board->hansokuMake(1));
    EXPECT_EQ(board->Winner, 2);
    EXPECT_EQ(board->shpWinnerVisitor->FillColor(), Settings::ScoreColor);
    EXPECT_EQ(plays(), 1);
}

TEST_F(BoardRules, TwoWazaAriMakeIpponAndUnusedScoresStayDark)
{
    runUnder(SetId::Ijf2018);
    EXPECT_EQ(board->Label5->Caption(), QString());
    EXPECT_EQ(board->Label7->Caption(), QString());
    press(board->nledYHome, Qt::Key_3);
    EXPECT_EQ(shown(board->nledYHome), -1);
    startClock();
    press(board->nledWHome, Qt::Key_1);
    EXPECT_EQ(board->Winner, 0);
    press(board->nledWHome, Qt::Key_2);
    EXPECT_EQ(board->Ippon, 1);
    EXPECT_EQ(board->Winner, 1);
    EXPECT_FALSE(board->tkPeriod->Running());
    EXPECT_EQ(plays(), 1);
}

TEST_F(BoardRules, TheOperatorsIpponEndsTheContestAndTheTitleNamesTheSet)
{
    EXPECT_EQ(board->windowTitle(), QStringLiteral("Zembrak"));
    runUnder(SetId::Classic);
    EXPECT_EQ(board->windowTitle(), QStringLiteral("Zembrak \u2014 Classic"));
    EXPECT_EQ(board->tledPeriod->Caption(), 300.0f);
    startClock();
    tickFor(1000);
    press(board->picIpponVisitor, Qt::Key_Return);
    EXPECT_EQ(board->Winner, 2);
    EXPECT_FALSE(board->tkPeriod->Running());
    EXPECT_EQ(plays(), 1);
    // A typed time is what the reset puts back, whatever the set says.
    board->tledPeriod->setFocus();
    for (Qt::Key key : {Qt::Key_3, Qt::Key_Return})
        QTest::keyClick(board->tledPeriod, key);
    press(board->tledPeriod, Qt::Key_R);
    EXPECT_EQ(board->tledPeriod->Caption(), 180.0f);
}

TEST_F(BoardRules, AHoldInGoldenScoreGoesOnPastItsWazaAriAndDecidesWhenItEnds)
{
    runUnder(SetId::Ijf2018);
    board->tkPeriod->setSeconds(TimeValue::fromSeconds(1));
    startClock();
    tickFor(1000);
    ASSERT_TRUE(board->goldenScore());
    media->finish();
    QCoreApplication::processEvents();
    startClock();
    holdFor(Qt::Key_Right);
    tickFor(12'000);
    EXPECT_EQ(shown(board->nledWVisitor), 1);
    EXPECT_TRUE(board->tkHoldVisitor->Running()) << "the hold goes on for ippon";
    EXPECT_EQ(board->Winner, 0);
    press(board->picContainerHoldHome, Qt::Key_Up); // toketa
    tickFor(100);
    EXPECT_EQ(board->Winner, 2);
    EXPECT_FALSE(board->tkPeriod->Running());
    EXPECT_EQ(plays(), 2);
}

TEST_F(BoardRules, Ijf2025ScoresYukoThenWazaAriAndAYukoDecidesAtTimeOut)
{
    runUnder(SetId::Ijf2025);
    EXPECT_EQ(board->Label5->Caption(), QStringLiteral("Y"));
    EXPECT_EQ(board->Label6->Caption(), QString());
    EXPECT_EQ(shown(board->nledYHome), 0);
    EXPECT_EQ(shown(board->nledKHome), -1);
    board->tkPeriod->setSeconds(TimeValue::fromSeconds(30));
    startClock();
    holdFor(Qt::Key_Left);
    tickFor(4950);
    EXPECT_EQ(shown(board->nledYHome), 0);
    EXPECT_EQ(board->nledHoldHome->Caption(), 4) << "whole seconds elapsed";
    tick(50);
    EXPECT_EQ(shown(board->nledYHome), 1);
    EXPECT_EQ(board->nledHoldHome->Caption(), 5);
    tickFor(5000);
    EXPECT_EQ(shown(board->nledYHome), 0) << "the yuko gave way to the waza-ari";
    EXPECT_EQ(shown(board->nledWHome), 1);
    press(board->picContainerHoldHome, Qt::Key_Up); // toketa
    tickFor(2000);
    EXPECT_EQ(board->nledHoldHome->Caption(), 10) << "the hold's time stays shown";
    EXPECT_EQ(shown(board->nledWHome), 1);
    holdFor(Qt::Key_Right);
    tickFor(5000);
    EXPECT_EQ(board->nledHoldHome->Caption(), 0);
    press(board->picContainerHoldHome, Qt::Key_Up);
    tickFor(20'000);
    EXPECT_EQ(board->Winner, 1) << "a waza-ari beats a yuko at time out";
}

TEST_F(BoardRules, SonoMamaFreezesTheClockAndTheHoldAndYoshiRunsThemOn)
{
    runUnder(SetId::Ijf2025);
    startClock();
    holdFor(Qt::Key_Right);
    tickFor(3000);
    const TimeValue clockAt = board->tkPeriod->Seconds();
    press(board->picContainerHoldHome, Qt::Key_Down);
    EXPECT_TRUE(board->referee().frozen());
    EXPECT_EQ(board->nledHoldVisitor->property("LitColor").toInt(), Settings::TimeColor) << "shown frozen";
    EXPECT_EQ(board->nledHoldHome->property("LitColor").toInt(), Settings::HoldColor);
    tickFor(10'000);
    EXPECT_EQ(board->tkPeriod->Seconds(), clockAt);
    EXPECT_EQ(board->nledHoldVisitor->Caption(), 3);
    EXPECT_EQ(shown(board->nledYVisitor), 0) << "a frozen hold earns nothing";
    press(board->picContainerHoldHome, Qt::Key_Down);
    EXPECT_EQ(board->nledHoldVisitor->property("LitColor").toInt(), Settings::HoldColor);
    EXPECT_TRUE(board->tkPeriod->Running());
    EXPECT_TRUE(board->tkHoldVisitor->Running());
    tickFor(2000);
    EXPECT_EQ(shown(board->nledYVisitor), 1) << "the hold went on from 3 s";
    // A new arrow after sono-mama starts a new hold from 0.
    press(board->picContainerHoldHome, Qt::Key_Down);
    holdFor(Qt::Key_Left);
    EXPECT_FALSE(board->referee().frozen());
    EXPECT_TRUE(board->tkHoldHome->Running());
    EXPECT_EQ(board->tkHoldHome->Seconds(), TimeValue());
}

TEST_F(BoardRules, ADirectHansokuMakeEndsTheContestAndIsTakenBackLikeAnyMark)
{
    runUnder(SetId::Ijf2018);
    startClock();
    board->picKVisitor->setFocus();
    QTest::keyClick(board->picKVisitor, Qt::Key_Return, Qt::ShiftModifier);
    EXPECT_EQ(board->shidos(2), 0);
    EXPECT_EQ(board->PenaltyVS, VbTrue) << "the hansoku-make lamp";
    EXPECT_EQ(board->PenaltyVK, VbFalse);
    EXPECT_EQ(board->Winner, 1);
    EXPECT_FALSE(board->tkPeriod->Running());
    QTest::keyClick(board->picKVisitor, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(board->PenaltyVS, VbFalse);
    EXPECT_EQ(board->Winner, 0);
    EXPECT_FALSE(board->hansokuMake(2));
    // Shift with a left click does it too; a right click takes it back.
    QTest::mouseClick(board->picCHome, Qt::LeftButton, Qt::ShiftModifier, QPoint(2, 2));
    EXPECT_EQ(board->Winner, 2);
    QTest::mouseClick(board->picCHome, Qt::RightButton, Qt::NoModifier, QPoint(2, 2));
    EXPECT_EQ(board->Winner, 0);
    EXPECT_EQ(board->PenaltyHS, VbFalse);
    startClock();
    EXPECT_TRUE(board->tkPeriod->Running()) << "the contest is open again";
}

// Faults found in review, each driven as the operator met it.
TEST_F(BoardRules, TakeBacksUndoTheDecisionsTheyCaused)
{
    runUnder(SetId::Ijf2018);
    for (int i = 0; i < 3; ++i)
        QTest::mouseClick(board->picKHome, Qt::LeftButton, Qt::NoModifier, QPoint(2, 2));
    EXPECT_EQ(board->Winner, 2);
    QTest::mouseClick(board->picKHome, Qt::RightButton, Qt::NoModifier, QPoint(2, 2));
    EXPECT_EQ(board->Winner, 0) << "the right click took back the hansoku-make";
    EXPECT_EQ(board->shpWinnerVisitor->FillColor(), board->shpWinnerHome->FillColor());

    // One Ctrl+Z takes back the typed second waza-ari with the ippon it made.
    startClock();
    press(board->nledWVisitor, Qt::Key_1);
    press(board->nledWVisitor, Qt::Key_2);
    EXPECT_EQ(board->Ippon, 2);
    QTest::keyClick(board->nledWVisitor, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(shown(board->nledWVisitor), 1);
    EXPECT_EQ(board->Ippon, 0);
    EXPECT_EQ(board->Winner, 0);
}

TEST_F(BoardRules, TwoQuickClicksOnAPenaltyLampAreTwoShidos)
{
    runUnder(SetId::Ijf2018);
    const QPoint at(2, 2);
    const QPointF global = board->picSHome->mapToGlobal(QPointF(at));
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease, QEvent::MouseButtonPress,
             QEvent::MouseButtonDblClick, QEvent::MouseButtonRelease}) {
        const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, QPointF(at), global, Qt::LeftButton, held, Qt::NoModifier);
        QApplication::sendEvent(board->picSHome, &event);
    }
    EXPECT_EQ(board->shidos(1), 2);
}

TEST_F(BoardRules, AScoreTypedDuringAGoldenScoreHoldEndsTheContestAtOnce)
{
    runUnder(SetId::Ijf2018);
    board->tkPeriod->setSeconds(TimeValue::fromSeconds(1));
    startClock();
    tickFor(1000);
    ASSERT_TRUE(board->goldenScore());
    startClock();
    tickFor(500);
    EXPECT_EQ(board->tledPeriod->Caption(), 0.0f) << "0:00 through golden score's first second";
    holdFor(Qt::Key_Left);
    tickFor(3000);
    press(board->nledWVisitor, Qt::Key_1);
    EXPECT_EQ(board->Winner, 2);
    EXPECT_FALSE(board->tkHoldHome->Running());
}

TEST_F(BoardRules, ASetChangeLeavesGoldenScoreAndShowsTheNewSetsDisplays)
{
    runUnder(SetId::Classic);
    EXPECT_EQ(shown(board->nledYHome), 0) << "Classic uses Y and K";
    EXPECT_EQ(shown(board->nledKVisitor), 0);
    startClock();
    holdFor(Qt::Key_Left);
    tickFor(10'000);
    ASSERT_EQ(shown(board->nledKHome), 1);
    runUnder(SetId::Ijf2018); // the hold goes on, to its waza-ari
    tickFor(1000);
    EXPECT_EQ(shown(board->nledKHome), -1) << "IJF's unused K stays dark";
    EXPECT_EQ(shown(board->nledWHome), 1);
    press(board->tledPeriod, Qt::Key_S);
    press(board->tledPeriod, Qt::Key_R);
    press(board->nledWHome, Qt::Key_0);
    runUnder(SetId::Classic);
    runUnder(SetId::Ijf2018);
    EXPECT_EQ(board->day().history().undoSteps(), 0) << "the history starts under the set";
    board->tkPeriod->setSeconds(TimeValue::fromSeconds(1));
    startClock();
    press(board->picKHome, Qt::Key_Return);
    press(board->picKHome, Qt::Key_Return);
    tickFor(1000);
    ASSERT_TRUE(board->goldenScore());
    startClock();
    tickFor(5000);
    runUnder(SetId::Ijf2025);
    EXPECT_FALSE(board->goldenScore());
    EXPECT_FALSE(board->tkPeriod->Running());
    EXPECT_EQ(board->tledPeriod->Caption(), 240.0f);
    tickFor(2000);
    EXPECT_EQ(board->tledPeriod->Caption(), 240.0f) << "no countdown of the golden-score time";
    EXPECT_EQ(board->shidos(1), 2);
    runUnder(SetId::Classic);
    EXPECT_EQ(board->PenaltyHK, VbFalse) << "shidos do not become keikoku and chui";
    EXPECT_EQ(board->PenaltyHC, VbFalse);
    EXPECT_EQ(shown(board->nledKHome), 0);
    EXPECT_EQ(board->Label25->Caption(), QStringLiteral("CONTEST TIME"));
}

namespace {

// One board under a set, driven by a seeded storm.
struct RulesRun
{
    RulesRun(SetId id, const QString &buzzerFile)
    {
        resetProgramState();
        Settings::BuzzerFile = buzzerFile;
        board = makeTestBoard(clock, media);
        board->setRules(Rules::preset(id));
        // Short contests, so that time-outs, golden score and ends come round.
        board->tkPeriod->setSeconds(TimeValue::fromSeconds(30));
        PeriodResetTime = TimeValue::fromSeconds(30);
        showBoard(*board);
    }

    QString observe() const
    {
        const frmScoreboard &b = *board;
        QStringList parts;
        parts << QString::number(b.tledPeriod->Caption()) << QString::number(b.nledHoldHome->Caption())
              << QString::number(b.nledHoldVisitor->Caption());
        appendScoresAndTimers(parts, b);
        parts << QString::number(b.Ippon) << QString::number(b.Winner) << QString::number(b.shidos(1))
              << QString::number(b.shidos(2)) << QString::number(b.goldenScore()) << media->calls.join(u',');
        return parts.join(u' ');
    }

    FakeClock clock;
    std::unique_ptr<frmScoreboard> board;
    FakeMediaBackend *media = nullptr;
};

} // namespace

// Under sets that score holds and end contests, the sleeping tick must still
// wake on every award and end: a board ticking every 50 ms and one on the
// planned tick see the same storm the same way. And the set's limits hold:
// no hold runs past its ippon time, no shido count past hansoku-make.
TEST_F(BoardRules, StormsUnderTheSetsTickAsPlannedAndKeepTheirLimits)
{
    const QString buzzerFile = Settings::BuzzerFile;
    constexpr int events = 4000;
    for (SetId id : {SetId::Classic, SetId::Ijf2018, SetId::Ijf2025}) {
        const Rules::RuleSet set = Rules::preset(id);
        QStringList always;
        {
            RulesRun run(id, buzzerFile);
            run.board->tmrClock1->setEnabled(false);
            RandomOperator storm(*run.board, run.clock, *run.media, 5, RandomOperator::alwaysTick);
            for (int i = 0; i < events; ++i)
                always << QString::fromLatin1(storm.step()) + u' ' + run.observe();
        }
        RulesRun run(id, buzzerFile);
        RandomOperator storm(*run.board, run.clock, *run.media, 5, RandomOperator::plannedTick);
        for (int i = 0; i < events; ++i) {
            const QString seen = QString::fromLatin1(storm.step()) + u' ' + run.observe();
            ASSERT_EQ(seen, always.at(i)) << Rules::displayName(id).toStdString() << ", event " << i;
            const frmScoreboard &b = *run.board;
            for (const MatchTimer *hold : {b.tkHoldHome, b.tkHoldVisitor}) {
                ASSERT_FALSE(hold->Running() && hold->Seconds() > TimeValue::fromSeconds(set.ipponAt + 1))
                    << "a hold ran past its ippon, event " << i;
            }
            ASSERT_LE(std::max(b.shidos(1), b.shidos(2)), set.shidoLimit) << "event " << i;
        }
    }
}
