// The rule set at work on the board: what a hold earns, the end of the
// contest, golden score and the shido count. The decisions are the rules
// engine's; the board applies them through its lamps, marks, timers, the
// refresh and the buzzer. Under the Design set none of this acts.

#include "scoreboard/frmScoreboard.h"

#include "controls/DigitDisplay.h"
#include "controls/Label.h"
#include "controls/Timer.h"
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
    if (rules == m_rules)
        return;
    const bool clockUntouched = !tkPeriod->Running() && tkPeriod->Seconds() == PeriodResetTime;
    m_rules = rules;
    updateWindowTitle();

    // The set's contest time is what the reset puts back from now on.
    PeriodResetTime = TimeValue::fromSeconds(rules.contestSeconds);
    leaveGoldenScore();
    if (clockUntouched)
        tkPeriod->setSeconds(PeriodResetTime);

    const auto letter = [](bool used, const char *text) {
        return used ? QLatin1String(text) : QLatin1String("");
    };
    for (Label *w : {Label3, Label4})
        w->setCaption(letter(rules.useW, "W"));
    for (Label *y : {Label5, Label8})
        y->setCaption(letter(rules.useY, "Y"));
    for (Label *k : {Label6, Label7})
        k->setCaption(letter(rules.useK, "K"));
    // A shido count lights the three lamps in turn, the last of them
    // hansoku-make; lamps beyond the count's end stay unlettered.
    const QList<QList<Label *>> lampLetters = {{Label9, Label10}, {Label11, Label14}, {Label12, Label13}};
    const char *designLetters[] = {"K", "C", "S"};
    for (int lamp = 0; lamp < 3; ++lamp) {
        QString text = QLatin1String(designLetters[lamp]);
        if (rules.countsShidos())
            text = lamp + 1 < rules.shidoLimit    ? QStringLiteral("S")
                   : lamp + 1 == rules.shidoLimit ? QStringLiteral("H")
                                                  : QString();
        for (Label *label : lampLetters[lamp])
            label->setCaption(text);
    }
    for (auto [display, used] : {std::pair {nledYHome, rules.useY}, std::pair {nledKHome, rules.useK},
             std::pair {nledYVisitor, rules.useY}, std::pair {nledKVisitor, rules.useK},
             std::pair {nledWHome, rules.useW}, std::pair {nledWVisitor, rules.useW}}) {
        if (!used)
            display->setCaption(-1);
    }
    if (rules.countsShidos()) {
        ShidoHome = std::min(ShidoHome, rules.shidoLimit);
        ShidoVisitor = std::min(ShidoVisitor, rules.shidoLimit);
        showShidos();
    }
    RefreshTime();
    UpdateOtherColors();
}

bool frmScoreboard::scoreUsed(const DigitDisplay *display) const
{
    if (display == nledWHome || display == nledWVisitor)
        return m_rules.useW;
    if (display == nledYHome || display == nledYVisitor)
        return m_rules.useY;
    return m_rules.useK;
}

bool frmScoreboard::hansokuMake(qint16 side) const
{
    return m_rules.countsShidos() && (side == Visitor ? ShidoVisitor : ShidoHome) >= m_rules.shidoLimit;
}

Rules::Match frmScoreboard::matchForRules() const
{
    const auto side = [](const DigitDisplay *w, const DigitDisplay *y, const DigitDisplay *k, qint16 shidos) {
        return Rules::Side {scoreOf(w), scoreOf(y), scoreOf(k), shidos};
    };
    return Rules::Match {side(nledWHome, nledYHome, nledKHome, ShidoHome),
        side(nledWVisitor, nledYVisitor, nledKVisitor, ShidoVisitor), GoldenScore,
        tkHoldHome->Running() || tkHoldVisitor->Running()};
}

void frmScoreboard::applyRules(Rules::Event event, qint16 side)
{
    if (!m_rules.automatic() || m_contestEnded)
        return;
    const Rules::Outcome outcome = Rules::decide(m_rules, matchForRules(), event, side);
    if (outcome.goldenScore)
        enterGoldenScore();
    if (outcome.ends)
        endContest(outcome, event != Rules::Event::TimeUp);
}

void frmScoreboard::endContest(const Rules::Outcome &outcome, bool buzz)
{
    m_contestEnded = true;
    m_holdPastTime = false;
    m_holdSide = 0;
    tkPeriod->setRunning(false);
    tkHoldHome->setRunning(false);
    tkHoldVisitor->setRunning(false);
    if (outcome.ippon != 0)
        Ippon = outcome.ippon;
    if (outcome.winner != 0)
        Winner = outcome.winner;
    UpdateOtherColors();
    if (buzz)
        Buzzer(Settings::BuzzerFile);
}

void frmScoreboard::enterGoldenScore()
{
    // Level at the end of the time: the clock runs up from 0:00 at the next
    // start, and the first score decides.
    GoldenScore = true;
    Label25->setCaption(QStringLiteral("GOLDEN SCORE"));
    tkPeriod->setRunning(false);
    tkPeriod->setCountDirection(MatchTimer::Up);
    tkPeriod->setSeconds(TimeValue());
    emit contentChanged();
}

void frmScoreboard::leaveGoldenScore()
{
    m_contestEnded = false;
    m_holdPastTime = false;
    m_holdSide = 0;
    if (!GoldenScore)
        return;
    GoldenScore = false;
    Label25->setCaption(QStringLiteral("CONTEST TIME"));
    tkPeriod->setCountDirection(MatchTimer::Down);
}

void frmScoreboard::awardHold()
{
    const qint16 side = tkHoldHome->Running() ? Home : tkHoldVisitor->Running() ? Visitor : 0;
    if (side == 0)
        return;
    m_holdSide = side;
    const Rules::Award award =
        Rules::holdAward(m_rules, (side == Home ? tkHoldHome : tkHoldVisitor)->Seconds());
    if (award <= m_holdAward)
        return;
    // The hold's earlier score gives way to the higher one it has reached.
    if (DigitDisplay *earlier = awardDisplay(side, m_holdAward))
        earlier->setCaption(qint16(std::max<qint16>(scoreOf(earlier) - 1, 0)));
    m_holdAward = award;
    if (award == Rules::Ippon) {
        endContest({true, side, side, false}, true);
        return;
    }
    if (DigitDisplay *display = awardDisplay(side, award))
        display->setCaption(qint16(std::min<qint16>(scoreOf(display) + 1, 9)));
    emit contentChanged();
    applyRules(Rules::Event::Score, side);
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

bool frmScoreboard::holdGoesOnPastTime()
{
    if (!m_rules.automatic() || !(tkHoldHome->Running() || tkHoldVisitor->Running()))
        return false;
    // The contest clock stops at 0:00; the hold goes on until the operator
    // ends it or it reaches ippon, and the contest ends then.
    tkPeriod->setRunning(false);
    m_holdPastTime = true;
    return true;
}

// A hold that went on past the time, or ran in golden score, decides when
// it ends, with the score it reached.
void frmScoreboard::endOfHold()
{
    if (m_holdSide == 0 || tkHoldHome->Running() || tkHoldVisitor->Running())
        return;
    const qint16 side = m_holdSide;
    m_holdSide = 0;
    if (m_holdPastTime) {
        m_holdPastTime = false;
        if (TimeUpBuzzed == VbFalse) {
            TimeUpBuzzed = VbTrue;
            Buzzer(Settings::BuzzerFile);
        }
        applyRules(Rules::Event::TimeUp, 0);
    } else if (GoldenScore) {
        applyRules(Rules::Event::Score, side);
    }
}

void frmScoreboard::shidoKeyDown(qint16 side, qint16 KeyCode, bool takeBack)
{
    AllKeyCode(KeyCode);
    if (KeyCode == VirtualKeys::Return) {
        qint16 &count = side == Home ? ShidoHome : ShidoVisitor;
        count = qint16(std::clamp<int>(count + (takeBack ? -1 : 1), 0, m_rules.shidoLimit));
        showShidos();
        if (!takeBack)
            applyRules(Rules::Event::Penalty, side);
    }
    UpdateOtherColors();
}

void frmScoreboard::showShidos()
{
    const auto light = [](qint16 count, int lamp) { return count >= lamp ? VbTrue : VbFalse; };
    PenaltyHK = light(ShidoHome, 1);
    PenaltyHC = light(ShidoHome, 2);
    PenaltyHS = light(ShidoHome, 3);
    PenaltyVK = light(ShidoVisitor, 1);
    PenaltyVC = light(ShidoVisitor, 2);
    PenaltyVS = light(ShidoVisitor, 3);
}

qint64 frmScoreboard::ticksUntilHoldAward(qint64 stepTicks, qint64 limit) const
{
    const MatchTimer *hold = tkHoldHome->Running()      ? tkHoldHome
                             : tkHoldVisitor->Running() ? tkHoldVisitor
                                                        : nullptr;
    if (!hold || !m_rules.automatic())
        return limit;
    return Rules::ticksUntilNextAward(m_rules, hold->Seconds(), stepTicks, limit);
}
