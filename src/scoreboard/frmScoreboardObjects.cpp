// The board's objects: penalty, ippon, medical and winner marks, the score
// displays, the osaekomi boxes and the contest clock. Every key-down handler
// hands its key to AllKeyCode before its own step.

#include "scoreboard/frmScoreboard.h"

#include "controls/ClockDisplay.h"
#include "controls/ControlArray.h"
#include "controls/DigitDisplay.h"
#include "controls/Label.h"
#include "controls/PictureBox.h"
#include "controls/Timer.h"
#include "modules/modCount.h"
#include "modules/modShowDigits.h"
#include "platform/MMControl.h"
#include "platform/VirtualKeys.h"

namespace {
constexpr qint16 Enter = VirtualKeys::Return;
constexpr qint16 Home = 1;
constexpr qint16 Visitor = 2;
} // namespace

void frmScoreboard::connectHandlers()
{
    connect(tmrClock1, &Timer::Tick, this, &frmScoreboard::tmrClock1_Timer);
    for (MatchTimer *timer : {tkPeriod, tkHoldHome, tkHoldVisitor})
        connect(timer, &MatchTimer::Changed, this, &frmScoreboard::wakeClock);
    connect(mmcBuzzer, &MMControl::Done, this, &frmScoreboard::mmcBuzzer_Done);

    // Every focusable object passes its releases on, and (but for the
    // osaekomi boxes) moves the selection when it gains the focus.
    const QList<FormControl *> objects = {picKHome, picCHome, picSHome, picKVisitor, picCVisitor, picSVisitor,
        picIpponHome, picIpponVisitor, picMedHome, picMedVisitor, picWinnerHome, picWinnerVisitor, nledWHome,
        nledYHome, nledKHome, nledWVisitor, nledYVisitor, nledKVisitor, tledPeriod};
    for (FormControl *object : objects) {
        connect(object, &FormControl::GotFocus, this, [this, object] { ObjectSelected(object); });
        connect(object, &FormControl::KeyUp, this,
            [this](qint16 KeyCode, qint16 &Shift) { AllKeyUp(KeyCode, Shift); });
    }

    const auto onKeyDown = [this](FormControl *object, auto handler) {
        connect(
            object, &FormControl::KeyDown, this, [handler](qint16 &KeyCode, qint16) { handler(KeyCode); });
    };
    const auto clickAsEnter = [this](PictureBox *box, auto handler) {
        connect(box, &FormControl::Click, this, [handler] { handler(Enter); });
    };

    // Penalties: the design's independent lamps, or under a shido count any
    // lamp of a side adds a shido and a right click takes the last back.
    const QList<std::tuple<PictureBox *, VbBoolean *, qint16>> penalties = {{picKHome, &PenaltyHK, Home},
        {picCHome, &PenaltyHC, Home}, {picSHome, &PenaltyHS, Home}, {picKVisitor, &PenaltyVK, Visitor},
        {picCVisitor, &PenaltyVC, Visitor}, {picSVisitor, &PenaltyVS, Visitor}};
    for (const auto &[box, flag, side] : penalties) {
        connect(box, &FormControl::KeyDown, this,
            [this, flag = flag, side = side](qint16 &KeyCode, qint16 Shift) {
                if (rules().countsShidos())
                    shidoKeyDown(side, KeyCode, Shift, false);
                else
                    penaltyKeyDown(*flag, KeyCode);
            });
        connect(box, &FormControl::MouseDown, this, [this](qint16 Button, qint16 Shift, double, double) {
            m_penaltyButton = Button;
            m_penaltyShift = Shift;
        });
        const auto click = [this, flag = flag, side = side] {
            if (rules().countsShidos())
                shidoKeyDown(side, Enter, m_penaltyShift, m_penaltyButton == 2);
            else
                penaltyKeyDown(*flag, Enter);
        };
        connect(box, &FormControl::Click, this, click);
        // Two quick clicks are two shidos; the design's lamps toggle once.
        connect(box, &FormControl::DblClick, this, [this, click] {
            if (rules().countsShidos())
                click();
        });
    }

    // Ippon: the arrow labels carry the click; the boxes turn Enter into it.
    lblIpponHome->setClickable(true);
    lblIpponVisitor->setClickable(true);
    connect(lblIpponHome, &FormControl::Click, this, [this] { ipponClick(Home); });
    connect(lblIpponVisitor, &FormControl::Click, this, [this] { ipponClick(Visitor); });
    onKeyDown(picIpponHome, [this](qint16 KeyCode) { ipponKeyDown(Home, KeyCode); });
    onKeyDown(picIpponVisitor, [this](qint16 KeyCode) { ipponKeyDown(Visitor, KeyCode); });

    // Medical: keypad plus and minus on the box, left and right presses on a lamp.
    onKeyDown(picMedHome, [this](qint16 KeyCode) { medicalKeyDown(MedHome, KeyCode); });
    onKeyDown(picMedVisitor, [this](qint16 KeyCode) { medicalKeyDown(MedVisitor, KeyCode); });
    for (int index = 0; index < 2; ++index) {
        for (auto [array, box, count] : {std::tuple {lblMedHome, picMedHome, &MedHome},
                 std::tuple {lblMedVisitor, picMedVisitor, &MedVisitor}}) {
            Label *lamp = array->at<Label>(index);
            lamp->setClickable(true);
            connect(lamp, &FormControl::MouseDown, this,
                [this, count](qint16 Button, qint16, double, double) { medicalMouseDown(*count, Button); });
            connect(lamp, &FormControl::Click, this, [box] { box->setFocus(Qt::MouseFocusReason); });
        }
    }

    // Winner.
    const auto winnerHome = [this](qint16 KeyCode) { winnerKeyDown(Home, KeyCode); };
    const auto winnerVisitor = [this](qint16 KeyCode) { winnerKeyDown(Visitor, KeyCode); };
    onKeyDown(picWinnerHome, winnerHome);
    onKeyDown(picWinnerVisitor, winnerVisitor);
    clickAsEnter(picWinnerHome, winnerHome);
    clickAsEnter(picWinnerVisitor, winnerVisitor);

    // Scores.
    for (DigitDisplay *display : {nledWHome, nledYHome, nledKHome, nledWVisitor, nledYVisitor, nledKVisitor})
        onKeyDown(display, [this, display](qint16 KeyCode) { scoreKeyDown(display, KeyCode); });

    // Osaekomi boxes only pass their keys on; a click on a hold display
    // moves the focus to its box so the keyboard keeps working.
    for (auto [box, display] : {std::pair {picContainerHoldHome, nledHoldHome},
             std::pair {picContainerHoldVisitor, nledHoldVisitor}}) {
        box->setFocusable(true);
        onKeyDown(box, [this](qint16 KeyCode) { AllKeyCode(KeyCode); });
        connect(box, &FormControl::KeyUp, this,
            [this](qint16 KeyCode, qint16 &Shift) { AllKeyUp(KeyCode, Shift); });
        connect(display, &FormControl::Click, this, [box] { box->setFocus(Qt::MouseFocusReason); });
    }

    // Contest clock.
    onKeyDown(tledPeriod, [this](qint16 KeyCode) { tledPeriodKeyDown(KeyCode); });
}

void frmScoreboard::penaltyKeyDown(VbBoolean &flag, qint16 KeyCode)
{
    AllKeyCode(KeyCode);
    if (KeyCode == Enter)
        flag = VbBoolean(~flag);
    UpdateOtherColors();
}

void frmScoreboard::ipponClick(qint16 side)
{
    Ippon = Ippon == side ? 0 : side;
    (side == Home ? picIpponHome : picIpponVisitor)->setFocus(Qt::OtherFocusReason);
    if (Ippon == side)
        applyCall(m_referee.ipponGiven(side));
    UpdateOtherColors();
}

void frmScoreboard::ipponKeyDown(qint16 side, qint16 KeyCode)
{
    AllKeyCode(KeyCode);
    if (KeyCode == Enter)
        ipponClick(side);
}

void frmScoreboard::medicalKeyDown(qint16 &count, qint16 KeyCode)
{
    AllKeyCode(KeyCode);
    if (KeyCode == VirtualKeys::Add && count < 2)
        ++count;
    else if (KeyCode == VirtualKeys::Subtract && count > 0)
        --count;
    UpdateOtherColors();
}

void frmScoreboard::medicalMouseDown(qint16 &count, qint16 Button)
{
    // Left counts up, right counts down; other buttons are not ours to use.
    if (Button == 1)
        medicalKeyDown(count, VirtualKeys::Add);
    else if (Button == 2)
        medicalKeyDown(count, VirtualKeys::Subtract);
}

void frmScoreboard::winnerKeyDown(qint16 side, qint16 KeyCode)
{
    AllKeyCode(KeyCode);
    if (KeyCode == Enter) {
        Winner = Winner == side ? 0 : side;
        UpdateOtherColors();
    }
}

void frmScoreboard::scoreKeyDown(DigitDisplay *display, qint16 KeyCode)
{
    AllKeyCode(KeyCode);
    // A display the rule set does not use stays dark.
    if (!scoreUsed(display))
        return;
    const qint16 before = display->Caption();
    modShowDigits::EnterDigitKey(display, KeyCodeToAsci(KeyCode), -1, 9);
    // The decision first, so that the score and what it decided are one step.
    if (display->Caption() != before) {
        const bool home = display == nledWHome || display == nledYHome || display == nledKHome;
        applyCall(m_referee.scoreTyped(scoresForRules(), home ? Home : Visitor));
    }
    emit contentChanged();
}

void frmScoreboard::tledPeriodKeyDown(qint16 KeyCode)
{
    AllKeyCode(KeyCode);
    const TimeValue entered = modCount::TimeEntryKey(tledPeriod, KeyCodeToAsci(KeyCode), 599);
    // The typed digits show on the clock as they come.
    emit contentChanged();
    if (entered == modCount::NoTime)
        return;
    leaveGoldenScore();
    tkHoldHome->setRunning(false);
    tkHoldVisitor->setRunning(false);
    tkPeriod->setSeconds(entered);
    tkPeriod->setRunning(false);
    PeriodResetTime = entered;
    RefreshTime();
}
