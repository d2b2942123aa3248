// The contest clock, the osaekomi counters and the buzzer.

#include "scoreboard/frmScoreboard.h"

#include "controls/ClockDisplay.h"
#include "controls/DigitDisplay.h"
#include "controls/Timer.h"
#include "modules/TickPlan.h"
#include "modules/modColor.h"
#include "platform/MMControl.h"
#include "platform/SoundCheck.h"
#include "settings/SettingsVariables.h"

#include <QFileInfo>

TimeValue PeriodResetTime = TimeValue::fromSeconds(120);

void frmScoreboard::RefreshTime()
{
    if (m_referee.rules().automatic()) {
        const qint16 hold = runningHold();
        applyCall(m_referee.tick(scoresForRules(), hold,
            hold == 0 ? TimeValue() : (hold == 1 ? tkHoldHome : tkHoldVisitor)->Seconds()));
    }
    const TimeValue T = tkPeriod->Seconds();
    if (tkPeriod->Running())
        m_clockRan = true;
    tledPeriod->setGroupBases(QStringLiteral("60,1"));
    // Under a set that scores holds, a score and the second it comes at show together.
    const bool elapsed = rules().automatic();
    const bool countsUp = tkPeriod->CountDirection() == MatchTimer::Up;
    tledPeriod->setCaption(
        float(elapsed && countsUp ? TickPlan::clockSecondsElapsed(T) : TickPlan::clockSeconds(T)));
    const auto hold = elapsed ? TickPlan::holdSecondsElapsed : TickPlan::holdSeconds;
    nledHoldHome->setCaption(hold(tkHoldHome->Seconds()));
    nledHoldVisitor->setCaption(hold(tkHoldVisitor->Seconds()));
    // A frozen hold shows in the clock's colour: held, not ended.
    if (m_referee.frozenHold() != m_frozenShown) {
        m_frozenShown = m_referee.frozenHold();
        modColor::SetLedColor(nledHoldHome, m_frozenShown == 1 ? Settings::TimeColor : Settings::HoldColor);
        modColor::SetLedColor(
            nledHoldVisitor, m_frozenShown == 2 ? Settings::TimeColor : Settings::HoldColor);
        emit contentChanged();
    }
    const Shown shown {tledPeriod->Caption(), nledHoldHome->Caption(), nledHoldVisitor->Caption(),
        {tkPeriod->Running(), tkHoldHome->Running(), tkHoldVisitor->Running()}};
    if (!(shown == m_shown)) {
        m_shown = shown;
        emit contentChanged();
    }

    if (T > TimeValue()) {
        TimeUpBuzzed = VbFalse;
        return;
    }
    // Golden score counts up from 0:00 and has no time to run out.
    if (m_referee.goldenScore())
        return;
    if (tkPeriod->Running()) {
        if (m_referee.rules().automatic() && runningHold() != 0) {
            applyCall(m_referee.timeOut(scoresForRules(), runningHold()));
            return;
        }
        // Stops all three timers; the nested refresh finds the clock stopped.
        AllKeyCode(Settings::StartStopPeriodClockKey);
        if (TimeUpBuzzed == VbFalse) {
            TimeUpBuzzed = VbTrue;
            Buzzer(Settings::BuzzerFile);
        }
        applyCall(m_referee.timeOut(scoresForRules(), 0));
    }
}

void frmScoreboard::tmrClock1_Timer()
{
    RefreshTime();
    // With every timer stopped the refresh has reached a fixed point: the
    // same captions again, TimeUpBuzzed as it is, no time-out to notice.
    // Waking costs the idle board its 20 wake-ups a second.
    if (!tkPeriod->Running() && !tkHoldHome->Running() && !tkHoldVisitor->Running()) {
        tmrClock1->setSleeping(true);
        return;
    }
    // A running timer changes its caption once a second: the ticks before
    // that would refresh to the same captions, so the timer passes them by.
    const qint64 stepTicks = qint64(tmrClock1->Interval()) * TimeValue::TicksPerSecond / 1000;
    const auto course = [stepTicks](const MatchTimer *timer) {
        qint64 step = 0;
        if (timer->Running())
            step = timer->CountDirection() == MatchTimer::Up ? stepTicks : -stepTicks;
        return TickPlan::Course {timer->Seconds(), step};
    };
    const TickPlan::Timers timers {course(tkPeriod), course(tkHoldHome), course(tkHoldVisitor),
        TimeUpBuzzed != VbFalse, rules().automatic()};
    constexpr qint64 longestSkip = 1200; // ticks: a minute, whatever the timers do
    // A hold's score comes at its second, not at the next caption.
    tmrClock1->setTicksToNext(
        ticksUntilHoldAward(stepTicks, TickPlan::ticksUntilVisibleChange(timers, longestSkip)));
}

void frmScoreboard::wakeClock()
{
    tmrClock1->wake();
}

void frmScoreboard::UpdatePinStatus()
{
    const qint16 side = TimePin == 37 ? 1 : TimePin == 39 ? 2 : 0;
    applyHolds(m_referee.osaekomi(side, tkPeriod->Running()), true);
}

void frmScoreboard::applyHolds(const Rules::Holds &holds, bool runAsSaid)
{
    if (holds.runClock)
        tkPeriod->setRunning(true);
    if (holds.clear) {
        tkHoldHome->setSeconds(TimeValue());
        tkHoldVisitor->setSeconds(TimeValue());
    }
    if (runAsSaid) {
        tkHoldHome->setRunning(holds.run == 1);
        tkHoldVisitor->setRunning(holds.run == 2);
    }
}

void frmScoreboard::Buzzer(const QString &FileName)
{
    // A file the player has not yet taken is checked, so that a silent
    // buzzer is explained once on stderr.
    if (!FileName.isEmpty() && mmcBuzzer->FileName() != FileName)
        SoundCheck::reportProblem(FileName);
    const QFileInfo file(FileName);
    if (FileName.isEmpty() || !file.isFile() || file.isHidden() || BuzzerPlaying != VbFalse)
        return;
    if (mmcBuzzer->FileName() != FileName) {
        mmcBuzzer->setCommand(QStringLiteral("Close"));
        mmcBuzzer->setFileName(FileName);
        mmcBuzzer->setCommand(QStringLiteral("Open"));
    }
    BuzzerPlaying = VbTrue;
    mmcBuzzer->setCommand(QStringLiteral("Play"));
}

void frmScoreboard::mmcBuzzer_Done(qint32 NotifyCode)
{
    Q_UNUSED(NotifyCode);
    mmcBuzzer->setCommand(QStringLiteral("Stop"));
    mmcBuzzer->setCommand(QStringLiteral("Prev"));
    BuzzerPlaying = VbFalse;
}
