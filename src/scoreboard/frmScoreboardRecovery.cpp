// The contest on the board as it is kept on disk against a crash, and put
// back at the next start. When and where it is kept is MatchDay's.

#include "scoreboard/frmScoreboard.h"

#include "controls/Label.h"
#include "controls/MatchTimer.h"
#include "settings/SettingsVariables.h"

SavedContest frmScoreboard::contestOnBoard() const
{
    SavedContest c;
    c.title = Settings::TitleText;
    c.home = lblHomeName->Caption();
    c.visitor = lblVisitorName->Caption();
    c.marks = marks();
    c.rules = Rules::idText(rules().id);
    c.ruleValues = rules();
    c.period = tkPeriod->Seconds();
    c.holdHome = tkHoldHome->Seconds();
    c.holdVisitor = tkHoldVisitor->Seconds();
    c.periodRunning = tkPeriod->Running();
    c.holdHomeRunning = tkHoldHome->Running();
    c.holdVisitorRunning = tkHoldVisitor->Running();
    c.goldenScore = goldenScore();
    c.clockRan = m_clockRan;
    c.resetTime = PeriodResetTime;
    return c;
}

void frmScoreboard::putContest(const SavedContest &saved)
{
    if (saved.ruleValues)
        setRules(*saved.ruleValues);
    else if (const std::optional<Rules::SetId> id = Rules::idFromText(saved.rules))
        setRules(*id == Rules::SetId::Custom ? Settings::customRules() : Rules::preset(*id));
    // After the set, whose time would otherwise be what the reset puts back.
    if (saved.resetTime > TimeValue())
        PeriodResetTime = saved.resetTime;
    Settings::TitleText = saved.title;
    Settings::HomeText = saved.home;
    Settings::VisitorText = saved.visitor;
    leaveGoldenScore();
    if (saved.goldenScore)
        enterGoldenScore();
    for (MatchTimer *timer : {tkPeriod, tkHoldHome, tkHoldVisitor})
        timer->setRunning(false);
    tkPeriod->setSeconds(saved.period);
    tkHoldHome->setSeconds(saved.holdHome);
    tkHoldVisitor->setSeconds(saved.holdVisitor);
    setMarks(saved.marks);
    m_referee.setEnded(saved.marks.winner != 0);
    m_clockRan = saved.clockRan;
    UpdateLabels();
    RefreshTime();
}
