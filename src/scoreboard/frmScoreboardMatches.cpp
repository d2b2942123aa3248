// The day's match list on the board: loading it, going on with it after a
// restart, and the next-match key. What a next match puts on the board is
// decided by MatchList::next; the board applies it.

#include "scoreboard/frmScoreboard.h"

#include "controls/Label.h"
#include "controls/Timer.h"
#include "files/DiskWriter.h"
#include "settings/SettingsStore.h"
#include "settings/SettingsVariables.h"

#include <QDebug>

QStringList frmScoreboard::loadMatchList(const QByteArray &csv)
{
    const MatchList::Read read = MatchList::read(csv);
    m_matches = read.contests;
    m_matchIndex = 0;
    m_pastLastMatch = false;
    Settings::MatchList = QString::fromUtf8(csv);
    Settings::MatchIndex = 0;
    NextMatch();
    if (m_matches.isEmpty()) {
        storeMatchPosition();
        updateWindowTitle();
    }
    return read.messages;
}

void frmScoreboard::resumeMatchList()
{
    if (Settings::MatchList.isEmpty())
        return;
    m_matches = MatchList::read(Settings::MatchList.toUtf8()).contests;
    const int at = std::clamp<int>(Settings::MatchIndex, 1, std::max<int>(int(m_matches.size()), 1));
    if (!m_matches.isEmpty())
        showContest(MatchList::next(m_matches, at - 1, m_rules, PeriodResetTime));
}

void frmScoreboard::NextMatch()
{
    // Without a list the key is free: nothing happens.
    if (m_matches.isEmpty())
        return;
    const MatchList::Next next = MatchList::next(m_matches, m_matchIndex, m_rules, PeriodResetTime);
    if (next.pastLast) {
        m_pastLastMatch = true;
        updateWindowTitle();
        return;
    }
    writeResult();
    showContest(next);
    Settings::MatchIndex = m_matchIndex;
    storeMatchPosition();
}

void frmScoreboard::storeMatchPosition()
{
    m_writer->run(QStringLiteral("storing the match list's position"), SaveMatchSettingsLater());
}

void frmScoreboard::showContest(const MatchList::Next &next)
{
    m_matchIndex = next.index;
    m_pastLastMatch = false;
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
    clearHistory();
    m_clockRan = false;
    UpdateLabels();
    RefreshTime();
    updateWindowTitle();
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
    ended.match = m_matchIndex;
    if (GoldenScore) {
        ended.timeUsed = PeriodResetTime;
        ended.goldenScoreTime = tkPeriod->Seconds();
    } else {
        ended.timeUsed =
            TimeValue::fromTicks(std::max<qint64>(PeriodResetTime.ticks() - tkPeriod->Seconds().ticks(), 0));
    }
    return ended;
}

void frmScoreboard::writeResult()
{
    if (m_resultsFile.isEmpty() || !ContestResult::worthALine(marks(), m_rules, m_clockRan))
        return;
    m_writer->appendResult(m_resultsFile, ContestResult::fileStart(m_resultsSeparator),
        ContestResult::csvLine(ContestResult::fields(endedContest()), m_resultsSeparator));
}

void frmScoreboard::updateWindowTitle()
{
    QStringList parts = {QStringLiteral("Zembrak")};
    if (m_rules.id != Rules::SetId::Design)
        parts << Rules::displayName(m_rules.id);
    if (!m_matches.isEmpty()) {
        QString where = QStringLiteral("Match %1 of %2").arg(m_matchIndex).arg(m_matches.size());
        if (m_pastLastMatch)
            where += QStringLiteral(", the last: no next match");
        parts << where;
    }
    setWindowTitle(parts.join(QStringLiteral(" \u2014 ")));
}
