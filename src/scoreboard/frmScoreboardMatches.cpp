// The board's side of the tournament day: a new contest put on it, the
// contest as its result line tells it, and the titles. The day itself is
// MatchDay's.

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
    m_referee.holdStarted();
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
    ended.title = Settings::TitleText;
    ended.match = m_day->matchIndex();
    ended.mat = m_day->mat();
    ended.home = lblHomeName->Caption();
    ended.visitor = lblVisitorName->Caption();
    ended.marks = marks();
    ended.rules = rules();
    ended.goldenScore = goldenScore();
    ended.timeUsed = m_day->timeUsed();
    if (goldenScore())
        ended.goldenScoreTime = tkPeriod->Seconds();
    return ended;
}

void frmScoreboard::dayChanged()
{
    updateWindowTitle();
    lblTitle->setCaption(m_day->boardTitle(Settings::TitleText));
}

// Shown in the strip under the clock, the way the start screen names a
// silent buzzer: no box to wait on, whoever is at the board, and the whole
// reason on the tooltip.
void frmScoreboard::tellOperator(const QString &title, const QString &text)
{
    lblCreatedBy->setCaption(title);
    lblCreatedBy->setToolTip(text);
    emit contentChanged();
}

bool frmScoreboard::askOperator(const QString &text)
{
    return DialogAnswers::askYesNo(this, QStringLiteral("Zembrak"), text, true);
}

void frmScoreboard::updateWindowTitle()
{
    setWindowTitle(m_day->windowTitle(rules()));
}
