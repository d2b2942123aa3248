// The contest kept on disk while it runs, so that a crash or a lost power
// supply does not lose it, and put back on the board at the next start.

#include "scoreboard/frmScoreboard.h"

#include "controls/Label.h"
#include "settings/SettingsStore.h"
#include "settings/SettingsVariables.h"

#include <QDebug>
#include <QFile>

void frmScoreboard::setRecoveryFile(const QString &path)
{
    m_recoveryFile = path;
    if (path.isEmpty()) {
        m_saveTimer.stop();
        return;
    }
    saveContestNow();
}

// Every change the audience could see is a reason to save soon; while a
// timer runs that comes with every second shown.
void frmScoreboard::scheduleSave()
{
    if (!m_recoveryFile.isEmpty() && !m_saveTimer.isActive())
        m_saveTimer.start();
}

SavedContest frmScoreboard::savedContest() const
{
    SavedContest c;
    c.title = lblTitle->Caption();
    c.home = lblHomeName->Caption();
    c.visitor = lblVisitorName->Caption();
    c.marks = marks();
    c.rules = Rules::idText(m_rules.id);
    c.period = tkPeriod->Seconds();
    c.holdHome = tkHoldHome->Seconds();
    c.holdVisitor = tkHoldVisitor->Seconds();
    c.periodRunning = tkPeriod->Running();
    c.holdHomeRunning = tkHoldHome->Running();
    c.holdVisitorRunning = tkHoldVisitor->Running();
    c.goldenScore = GoldenScore;
    c.clockRan = m_clockRan;
    c.matchIndex = m_matchIndex;
    saveTournament(c);
    return c;
}

bool frmScoreboard::saveContestNow()
{
    if (m_recoveryFile.isEmpty())
        return false;
    if (savedContest().save(m_recoveryFile))
        return true;
    qWarning().noquote()
        << QStringLiteral("Zembrak: the contest could not be saved to %1.").arg(m_recoveryFile);
    return false;
}

void frmScoreboard::restoreContest(const SavedContest &saved)
{
    if (const std::optional<Rules::SetId> id = Rules::idFromText(saved.rules))
        setRules(*id == Rules::SetId::Custom ? Settings::customRules() : Rules::preset(*id));
    Settings::TitleText = saved.title;
    Settings::HomeText = saved.home;
    Settings::VisitorText = saved.visitor;
    if (saved.matchIndex >= 1 && saved.matchIndex <= m_matches.size() && saved.matchIndex != m_matchIndex) {
        m_matchIndex = saved.matchIndex;
        Settings::MatchIndex = m_matchIndex;
        SaveMatchSettings();
    }
    leaveGoldenScore();
    if (saved.goldenScore)
        enterGoldenScore();
    for (MatchTimer *timer : {tkPeriod, tkHoldHome, tkHoldVisitor})
        timer->setRunning(false);
    tkPeriod->setSeconds(saved.period);
    tkHoldHome->setSeconds(saved.holdHome);
    tkHoldVisitor->setSeconds(saved.holdVisitor);
    setMarks(saved.marks);
    clearHistory();
    m_contestEnded = saved.marks.winner != 0;
    m_clockRan = saved.clockRan;
    restoreTournament(saved);
    UpdateLabels();
    RefreshTime();
    updateWindowTitle();
}

void frmScoreboard::contestEndsAtQuit()
{
    writeResult();
    m_saveTimer.stop();
    if (!m_recoveryFile.isEmpty())
        QFile::remove(m_recoveryFile);
    m_recoveryFile.clear();
}
