// The contest clock, the osaekomi counters and the buzzer.

#include "scoreboard/frmScoreboard.h"

#include "controls/ClockDisplay.h"
#include "controls/DigitDisplay.h"
#include "controls/Timer.h"
#include "modules/Rounding.h"
#include "platform/MMControl.h"
#include "settings/SettingsVariables.h"

#include <QFileInfo>

TimeValue PeriodResetTime = TimeValue::fromSeconds(120);

// The hold boxes have two digits. Past 99 s they stay at 99 rather than wrap
// round to a small number that could be read as a short hold.
static qint16 wholeHoldSeconds(TimeValue value)
{
    constexpr qint64 holdDisplayLimit = 99;
    const qint64 whole = Rounding::halfEvenSeconds(value);
    return qint16(std::clamp<qint64>(whole, -32768, holdDisplayLimit));
}

void frmScoreboard::RefreshTime()
{
    const TimeValue T = tkPeriod->Seconds();
    tledPeriod->setGroupBases(QStringLiteral("60,1"));
    // Adding 0.4999 shows the remaining time rounded up to the next whole
    // second, so the clock reads 0:00 only when the time is really out.
    tledPeriod->setCaption(float(Rounding::halfEvenSeconds(T + TimeValue::fromTicks(4999))));
    nledHoldHome->setCaption(wholeHoldSeconds(tkHoldHome->Seconds()));
    nledHoldVisitor->setCaption(wholeHoldSeconds(tkHoldVisitor->Seconds()));
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
    if (tkPeriod->Running()) {
        // Stops all three timers; the nested refresh finds the clock stopped.
        AllKeyCode(Settings::StartStopPeriodClockKey);
        if (TimeUpBuzzed == VbFalse) {
            TimeUpBuzzed = VbTrue;
            Buzzer(Settings::BuzzerFile);
        }
    }
}

void frmScoreboard::tmrClock1_Timer()
{
    RefreshTime();
    // With every timer stopped the refresh has reached a fixed point: the
    // same captions again, TimeUpBuzzed as it is, no time-out to notice.
    // Waking costs the idle board its 20 wake-ups a second.
    if (!tkPeriod->Running() && !tkHoldHome->Running() && !tkHoldVisitor->Running())
        tmrClock1->setSleeping(true);
}

void frmScoreboard::wakeClock()
{
    tmrClock1->setSleeping(false);
}

void frmScoreboard::UpdatePinStatus()
{
    if (tkPeriod->Running()) {
        tkHoldHome->setSeconds(TimeValue());
        tkHoldVisitor->setSeconds(TimeValue());
        tkHoldHome->setRunning(TimePin == 37);
        tkHoldVisitor->setRunning(TimePin == 39);
    } else {
        tkHoldHome->setRunning(false);
        tkHoldVisitor->setRunning(false);
    }
}

void frmScoreboard::Buzzer(const QString &FileName)
{
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
