// The contest kept on disk while it runs, so that a crash or a lost power
// supply does not lose it, and put back on the board at the next start.
// When it is written is decided by SavePlan; the disk writer writes it.

#include "scoreboard/frmScoreboard.h"

#include "controls/Label.h"
#include "files/DiskWriter.h"
#include "files/SavePlan.h"
#include "settings/DialogAnswers.h"
#include "settings/SettingsStore.h"
#include "settings/SettingsVariables.h"

#include <QDir>

void frmScoreboard::setRecoveryFile(const QString &path)
{
    m_recoveryFile = path;
    m_written.reset();
    if (!path.isEmpty())
        saveContestNow();
}

void frmScoreboard::scheduleSave()
{
    if (m_recoveryFile.isEmpty())
        return;
    const SavedContest now = savedContest();
    if (SavePlan::due(m_written, now, (m_clock() - m_writtenAtNs) / 1'000'000))
        saveContestNow();
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
    return c;
}

bool frmScoreboard::saveContestNow()
{
    if (m_recoveryFile.isEmpty())
        return false;
    const SavedContest now = savedContest();
    m_writer->saveContest(m_recoveryFile, now.toJson());
    m_written = now;
    m_writtenAtNs = m_clock();
    return true;
}

bool frmScoreboard::waitForDisk(int timeoutMs)
{
    return m_writer->waitIdle(timeoutMs);
}

// The writer has told stderr already. A results file that cannot be
// written is worth a word on the board, once, but never in the way of a
// quit. (A notice on the board belongs here for the saved contest too.)
void frmScoreboard::diskFailed(int work, const QString &, const QString &reason)
{
    if (DiskWriter::Work(work) != DiskWriter::Work::Result || m_resultsWarned || m_quitting)
        return;
    m_resultsWarned = true;
    DialogAnswers::warn(this, QStringLiteral("Results"),
        QStringLiteral("The result could not be written to %1: %2. The contest goes on; results are not "
                       "being kept until this is put right.")
            .arg(QDir::toNativeSeparators(m_resultsFile), reason));
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
        storeMatchPosition();
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
    UpdateLabels();
    RefreshTime();
    updateWindowTitle();
}

void frmScoreboard::contestEndsAtQuit()
{
    m_quitting = true;
    writeResult();
    if (!m_recoveryFile.isEmpty())
        m_writer->removeContest(m_recoveryFile);
    m_recoveryFile.clear();
    m_writer->finishAtQuit();
}
