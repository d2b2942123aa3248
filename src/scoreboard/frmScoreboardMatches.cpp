// The day's match list on the board: loading it, going on with it after a
// restart, and the next-match key. What a next match puts on the board is
// decided by MatchList::next; the board applies it.

#include "scoreboard/frmScoreboard.h"

#include "controls/Label.h"
#include "controls/Timer.h"
#include "settings/SettingsStore.h"
#include "settings/SettingsVariables.h"

#include "settings/DialogAnswers.h"

#include <QDebug>
#include <QDir>

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
        SaveMatchSettings();
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
    if (m_link) {
        tournamentNextMatch();
        return;
    }
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
    if (!SaveMatchSettings())
        qWarning().noquote() << "Zembrak: the match list's position could not be stored.";
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
    if (m_tournamentContest) {
        const auto withDetails = [this](const QString &name, qint16 side) {
            const QString details = tournamentDetails(side);
            return details.isEmpty() ? name : QStringLiteral("%1 (%2)").arg(name, details);
        };
        ended.home = withDetails(ended.home, 1);
        ended.visitor = withDetails(ended.visitor, 2);
    }
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
    QString error;
    if (ContestResult::append(m_resultsFile, ContestResult::fields(endedContest()), &error))
        return;
    qWarning().noquote()
        << QStringLiteral("Zembrak: the result could not be written to %1: %2.").arg(m_resultsFile, error);
    if (m_resultsWarned)
        return;
    m_resultsWarned = true;
    DialogAnswers::warn(this, QStringLiteral("Results"),
        QStringLiteral("The result could not be written to %1: %2. The contest goes on; results are not "
                       "being kept until this is put right.")
            .arg(QDir::toNativeSeparators(m_resultsFile), error));
}

void frmScoreboard::updateWindowTitle()
{
    QStringList parts = {QStringLiteral("Zembrak")};
    if (m_rules.id != Rules::SetId::Design)
        parts << Rules::displayName(m_rules.id);
    if (m_link) {
        parts << tournamentTitle();
    } else if (!m_matches.isEmpty()) {
        QString where = QStringLiteral("Match %1 of %2").arg(m_matchIndex).arg(m_matches.size());
        if (m_pastLastMatch)
            where += QStringLiteral(", the last: no next match");
        parts << where;
    }
    setWindowTitle(parts.join(QStringLiteral(" \u2014 ")));
}
