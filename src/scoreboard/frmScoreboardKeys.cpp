// Key dispatch: every key pressed on the board reaches AllKeyCode first.

#include "scoreboard/frmScoreboard.h"

#include "app/frmHelp.h"
#include "day/MatchDay.h"
#include "modules/modGrabKeys.h"
#include "modules/modStretch.h"
#include "platform/KeyEvents.h"
#include "platform/VirtualKeys.h"
#include "settings/SettingsVariables.h"
#include "settings/frmOptions.h"

#include <QKeyEvent>

void frmScoreboard::AllKeyCode(qint16 KeyCode)
{
    // Osaekomi selection stands apart: a command key bound to an arrow does both.
    if (KeyCode == VirtualKeys::Left || KeyCode == VirtualKeys::Up || KeyCode == VirtualKeys::Right) {
        TimePin = KeyCode;
        UpdatePinStatus();
    } else if (KeyCode == VirtualKeys::Down) {
        const Rules::Call call = m_referee.sonoMama(tkPeriod->Running(), runningHold());
        if (!(call == Rules::Call {})) {
            applyCall(call);
            RefreshTime();
        }
    }

    if (KeyCode == Settings::StartStopPeriodClockKey) {
        if (!tkPeriod->Running()) {
            applyHolds(m_referee.clockStarted(tkPeriod->Seconds() > TimeValue(), runningHold() != 0), false);
            tkPeriod->setRunning(true);
        } else {
            tkPeriod->setRunning(false);
            tkHoldHome->setRunning(false);
            tkHoldVisitor->setRunning(false);
        }
        RefreshTime();
    } else if (KeyCode == Settings::ResetPeriodClockKey) {
        leaveGoldenScore();
        tkPeriod->setRunning(false);
        tkPeriod->setSeconds(PeriodResetTime);
        tkHoldHome->setRunning(false);
        tkHoldVisitor->setRunning(false);
        tkHoldHome->setSeconds(TimeValue());
        tkHoldVisitor->setSeconds(TimeValue());
        RefreshTime();
    } else if (KeyCode == Settings::BuzzerKey) {
        Buzzer(Settings::BuzzerFile);
    } else if (KeyCode == Settings::NextMatchKey) {
        m_day->nextMatch();
    } else if (KeyCode == VirtualKeys::F1) {
        frmHelp::ShowHelp(this);
    } else if (KeyCode == VirtualKeys::F2) {
        // Loaded afresh for each showing. However it was closed, the board
        // re-reads its labels, colours and times and takes a new layout.
        const Rules::RuleSet rulesBefore = Settings::rules();
        const QStringList linkBefore = tournamentSettings();
        bool listPicked = false;
        {
            frmOptions options(this);
            listPicked = options.exec() == QDialog::Accepted && options.MatchListPicked;
        }
        // A set chosen in the dialog replaces the one the board runs under.
        if (Settings::rules() != rulesBefore)
            setRules(Settings::rules());
        // A list loaded in the dialog starts from its first contest.
        if (listPicked)
            m_day->loadMatchList(Settings::MatchList.toUtf8());
        if (tournamentSettings() != linkBefore)
            applyTournamentSettings();
        UpdateLabels();
        UpdateFormColors();
        RefreshTime();
        modStretch::RecordLayout(*this);
    }
}

void frmScoreboard::AllKeyUp(qint16 KeyCode, qint16 Shift)
{
    Q_UNUSED(Shift);
    if (KeyCode == VirtualKeys::NumLock)
        UpdateNumLock();
}

qint16 frmScoreboard::KeyCodeToAsci(qint16 KeyCode)
{
    if (KeyCode == VirtualKeys::Space)
        return 32;
    if (KeyCode == VirtualKeys::Return)
        return 13;
    if (KeyCode == Settings::ClearKey)
        return 0;
    if (KeyCode == VirtualKeys::OemPlus || KeyCode == VirtualKeys::Add)
        return 43;
    if (KeyCode == VirtualKeys::OemMinus || KeyCode == VirtualKeys::Subtract)
        return 45;
    if (KeyCode >= 96 && KeyCode <= 105)
        return qint16(48 + (KeyCode - 96));
    if (KeyCode >= 48 && KeyCode <= 57)
        return KeyCode;
    if (KeyCode == VirtualKeys::Decimal || KeyCode == VirtualKeys::OemPeriod)
        return 46;
    return -1;
}

void frmScoreboard::UpdateNumLock()
{
    if (Settings::NumLockForce == 1)
        modGrabKeys::SetNumLock(true);
    else if (Settings::NumLockForce == 2)
        modGrabKeys::SetNumLock(false);
}

// Keys reach the window itself only when no control has the focus.
void frmScoreboard::keyPressEvent(QKeyEvent *event)
{
    const qint16 code = VirtualKeys::fromKeyEvent(event);
    if (code == 0) {
        QWidget::keyPressEvent(event);
        return;
    }
    AllKeyCode(code);
}

void frmScoreboard::keyReleaseEvent(QKeyEvent *event)
{
    const qint16 code = VirtualKeys::fromKeyEvent(event);
    if (code == 0 || event->isAutoRepeat()) {
        QWidget::keyReleaseEvent(event);
        return;
    }
    AllKeyUp(code, VirtualKeys::shiftMask(event->modifiers()));
}
