// The board's side of the tournament day: a new contest put on it, the
// contest as its result line tells it, and where the list stands in the
// window title. The day itself is MatchDay's.

#include "scoreboard/frmScoreboard.h"

#include "controls/Label.h"
#include "controls/MatchTimer.h"
#include "day/MatchDay.h"
#include "settings/DialogAnswers.h"
#include "settings/SettingsVariables.h"

TimeValue frmScoreboard::resetTime() const
{
    return PeriodResetTime;
}

void frmScoreboard::startContest(const MatchList::Next &next)
{
    Settings::HomeText = next.contest.home;
    Settings::VisitorText = next.contest.visitor;
    if (!next.contest.title.isEmpty())
        Settings::TitleText = next.contest.title;

    leaveGoldenScore();
    m_holdAward = Rules::NoAward;
    tkPeriod->setRunning(false);
    tkHoldHome->setRunning(false);
    tkHoldVisitor->setRunning(false);
    tkHoldHome->setSeconds(TimeValue());
    tkHoldVisitor->setSeconds(TimeValue());
    tkPeriod->setSeconds(next.time);
    // A contest's own time is what the reset puts back during it.
    PeriodResetTime = next.time;
    setMarks(next.marks);
    m_clockRan = false;
    UpdateLabels();
    RefreshTime();
}

ContestResult::Ended frmScoreboard::endedContest() const
{
    ContestResult::Ended ended;
    ended.finished = QDateTime::currentDateTime();
    ended.title = lblTitle->Caption();
    ended.home = lblHomeName->Caption();
    ended.visitor = lblVisitorName->Caption();
    ended.marks = marks();
    ended.rules = m_rules;
    ended.goldenScore = GoldenScore;
    if (GoldenScore) {
        ended.timeUsed = PeriodResetTime;
        ended.goldenScoreTime = tkPeriod->Seconds();
    } else {
        ended.timeUsed =
            TimeValue::fromTicks(std::max<qint64>(PeriodResetTime.ticks() - tkPeriod->Seconds().ticks(), 0));
    }
    return ended;
}

void frmScoreboard::dayChanged()
{
    updateWindowTitle();
}

void frmScoreboard::tellOperator(const QString &title, const QString &text)
{
    DialogAnswers::warn(this, title, text);
}

void frmScoreboard::updateWindowTitle()
{
    QStringList parts = {QStringLiteral("Zembrak")};
    if (m_rules.id != Rules::SetId::Design)
        parts << Rules::displayName(m_rules.id);
    if (m_day->tournamentLink()) {
        parts << tournamentTitle();
    } else if (m_day->matchCount() > 0) {
        QString where = QStringLiteral("Match %1 of %2").arg(m_day->matchIndex()).arg(m_day->matchCount());
        if (m_day->pastLastMatch())
            where += QStringLiteral(", the last: no next match");
        parts << where;
    }
    setWindowTitle(parts.join(QStringLiteral(" \u2014 ")));
}
