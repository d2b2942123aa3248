// The rule set at work on the board. Every rule decision is the referee's
// (modules/Referee); the board forwards the events and applies the calls
// through its lamps, marks, timers, the refresh and the buzzer. Under the
// Design set none of this acts.

#include "scoreboard/frmScoreboard.h"

#include "controls/DigitDisplay.h"
#include "controls/Label.h"
#include "day/MatchDay.h"
#include "platform/VirtualKeys.h"
#include "settings/SettingsVariables.h"

#include <algorithm>

namespace {

constexpr qint16 Home = 1;
constexpr qint16 Visitor = 2;

// A score display as the rules count it: blank is none.
qint16 scoreOf(const DigitDisplay *display)
{
    return std::max<qint16>(display->Caption(), 0);
}

} // namespace

void frmScoreboard::setRules(const Rules::RuleSet &rules)
{
    if (rules == m_referee.rules())
        return;
    const bool clockUntouched = !tkPeriod->Running() && tkPeriod->Seconds() == PeriodResetTime;
    const bool wasGolden = m_referee.goldenScore();
    const bool countedShidos = m_referee.rules().countsShidos();
    leaveGoldenScore();
    m_referee.setRules(rules);
    Settings::RuleSetInForce = Rules::idText(rules.id);
    updateWindowTitle();

    // The set's contest time is what the reset puts back from now on; a
    // change in golden score puts it on a stopped clock.
    PeriodResetTime = TimeValue::fromSeconds(rules.contestSeconds);
    if (clockUntouched || wasGolden) {
        tkPeriod->setRunning(false);
        tkPeriod->setSeconds(PeriodResetTime);
    }

    const auto letter = [](bool used, const char *text) {
        return used ? QLatin1String(text) : QLatin1String("");
    };
    for (Label *w : {Label3, Label4})
        w->setCaption(letter(rules.useW, "W"));
    for (Label *y : {Label5, Label8})
        y->setCaption(letter(rules.useY, "Y"));
    for (Label *k : {Label6, Label7})
        k->setCaption(letter(rules.useK, "K"));
    const QList<QList<Label *>> lampLetters = {{Label9, Label10}, {Label11, Label14}, {Label12, Label13}};
    for (int lamp = 0; lamp < 3; ++lamp)
        for (Label *label : lampLetters[lamp])
            label->setCaption(Rules::lampLetter(rules, lamp));
    // Used scores show a number, unused ones stay dark. The Design set
    // leaves the displays as the operator has them.
    for (auto [display, used] : {std::pair {nledYHome, rules.useY}, std::pair {nledKHome, rules.useK},
             std::pair {nledYVisitor, rules.useY}, std::pair {nledKVisitor, rules.useK},
             std::pair {nledWHome, rules.useW}, std::pair {nledWVisitor, rules.useW}}) {
        if (!used)
            display->setCaption(-1);
        else if (rules.automatic() && display->Caption() < 0)
            display->setCaption(0);
    }
    // Shidos do not become keikoku and chui lamps.
    if (countedShidos && !rules.countsShidos()) {
        for (VbBoolean *lamp : {&PenaltyHK, &PenaltyHC, &PenaltyHS, &PenaltyVK, &PenaltyVC, &PenaltyVS})
            *lamp = VbFalse;
    }
    showShidos();
    RefreshTime();
    UpdateOtherColors();
    // Undo starts from the set in force.
    m_day->clearHistory();
}

bool frmScoreboard::scoreUsed(const DigitDisplay *display) const
{
    const Rules::RuleSet &rules = m_referee.rules();
    if (display == nledWHome || display == nledWVisitor)
        return rules.useW;
    if (display == nledYHome || display == nledYVisitor)
        return rules.useY;
    return rules.useK;
}

Rules::Match frmScoreboard::scoresForRules() const
{
    const auto side = [](const DigitDisplay *w, const DigitDisplay *y, const DigitDisplay *k) {
        return Rules::Side {scoreOf(w), scoreOf(y), scoreOf(k), 0};
    };
    return Rules::Match {
        side(nledWHome, nledYHome, nledKHome), side(nledWVisitor, nledYVisitor, nledKVisitor)};
}

qint16 frmScoreboard::runningHold() const
{
    return tkHoldHome->Running() ? Home : tkHoldVisitor->Running() ? Visitor : 0;
}

void frmScoreboard::applyCall(const Rules::Call &call)
{
    if (call == Rules::Call {})
        return;
    if (call.scoreSide != 0) {
        // The hold's earlier score gives way to the higher one it has reached.
        // A score the set in force does not use stays dark, whatever the hold
        // gave under the set before.
        DigitDisplay *earlier = awardDisplay(call.scoreSide, call.replaced);
        if (earlier && scoreUsed(earlier))
            earlier->setCaption(qint16(std::max<qint16>(scoreOf(earlier) - 1, 0)));
        if (DigitDisplay *display = awardDisplay(call.scoreSide, call.earned))
            display->setCaption(qint16(std::min<qint16>(scoreOf(display) + 1, 9)));
    }
    if (call.goldenScore)
        enterGoldenScore();
    if (call.stopClock || call.stopAll)
        tkPeriod->setRunning(false);
    if (call.stopAll) {
        tkHoldHome->setRunning(false);
        tkHoldVisitor->setRunning(false);
    }
    if (call.runClock)
        tkPeriod->setRunning(true);
    if (call.runHold != 0)
        (call.runHold == Home ? tkHoldHome : tkHoldVisitor)->setRunning(true);
    if (call.ippon != 0)
        Ippon = call.ippon;
    if (call.winner != 0)
        Winner = call.winner;
    if (call.undecide)
        Winner = 0;
    showShidos();
    // The score and the decision it caused are one change to the marks.
    UpdateOtherColors();
    if (call.timeUpBuzz && TimeUpBuzzed == VbFalse) {
        TimeUpBuzzed = VbTrue;
        Buzzer(Settings::BuzzerFile);
    }
    if (call.buzz)
        Buzzer(Settings::BuzzerFile);
}

void frmScoreboard::enterGoldenScore()
{
    // Level at the end of the time: the clock runs up from 0:00 at the next
    // start, and the first score decides.
    m_referee.enterGoldenScore();
    Label25->setCaption(QStringLiteral("GOLDEN SCORE"));
    tkPeriod->setRunning(false);
    tkPeriod->setCountDirection(MatchTimer::Up);
    tkPeriod->setSeconds(TimeValue());
    emit contentChanged();
}

void frmScoreboard::leaveGoldenScore()
{
    const bool wasGolden = m_referee.goldenScore();
    m_referee.contestReset();
    if (!wasGolden)
        return;
    Label25->setCaption(QStringLiteral("CONTEST TIME"));
    tkPeriod->setCountDirection(MatchTimer::Down);
}

DigitDisplay *frmScoreboard::awardDisplay(qint16 side, Rules::Award award) const
{
    switch (award) {
    case Rules::Koka: return side == Home ? nledKHome : nledKVisitor;
    case Rules::Yuko: return side == Home ? nledYHome : nledYVisitor;
    case Rules::WazaAri: return side == Home ? nledWHome : nledWVisitor;
    default: return nullptr;
    }
}

void frmScoreboard::shidoKeyDown(qint16 side, qint16 KeyCode, qint16 Shift, bool takeBack)
{
    AllKeyCode(KeyCode);
    if (KeyCode == VirtualKeys::Return) {
        // Shift gives a direct hansoku-make, for a dangerous action.
        if (!takeBack && (Shift & 1) != 0)
            applyCall(m_referee.hansokuMakeGiven(side));
        else
            applyCall(m_referee.shido(side, takeBack));
        showShidos();
    }
    UpdateOtherColors();
}

void frmScoreboard::showShidos()
{
    if (!m_referee.rules().countsShidos())
        return;
    const auto light = [this](qint16 side, int lamp) {
        return m_referee.shidoLamp(side, lamp) ? VbTrue : VbFalse;
    };
    PenaltyHK = light(Home, 1);
    PenaltyHC = light(Home, 2);
    PenaltyHS = light(Home, 3);
    PenaltyVK = light(Visitor, 1);
    PenaltyVC = light(Visitor, 2);
    PenaltyVS = light(Visitor, 3);
}

qint64 frmScoreboard::ticksUntilHoldAward(qint64 stepTicks, qint64 limit) const
{
    const qint16 side = runningHold();
    if (side == 0 || !m_referee.rules().automatic())
        return limit;
    const MatchTimer *hold = side == Home ? tkHoldHome : tkHoldVisitor;
    return Rules::ticksUntilNextAward(m_referee.rules(), hold->Seconds(), stepTicks, limit);
}
