#include "day/MatchDay.h"

#include "settings/SettingsStore.h"
#include "settings/SettingsVariables.h"

#include <QDebug>
#include <QDir>
#include <QFile>

#include <algorithm>

MatchDay::MatchDay(DayBoard &board, QObject *parent)
    : QObject(parent)
    , m_board(board)
{
    m_saveTimer.setSingleShot(true);
    m_saveTimer.setInterval(500);
    connect(&m_saveTimer, &QTimer::timeout, this, &MatchDay::saveContestNow);
}

// The match list.

QStringList MatchDay::loadMatchList(const QByteArray &csv)
{
    const MatchList::Read read = MatchList::read(csv);
    m_matches = read.contests;
    m_matchIndex = 0;
    m_pastLastMatch = false;
    Settings::MatchList = QString::fromUtf8(csv);
    Settings::MatchIndex = 0;
    nextMatch();
    if (m_matches.isEmpty()) {
        SaveMatchSettings();
        m_board.dayChanged();
    }
    return read.messages;
}

void MatchDay::resumeMatchList()
{
    if (Settings::MatchList.isEmpty())
        return;
    m_matches = MatchList::read(Settings::MatchList.toUtf8()).contests;
    const int at = std::clamp<int>(Settings::MatchIndex, 1, std::max<int>(int(m_matches.size()), 1));
    if (!m_matches.isEmpty())
        showContest(MatchList::next(m_matches, at - 1, m_board.rules(), m_board.resetTime()));
}

void MatchDay::nextMatch()
{
    if (m_link) {
        tournamentNextMatch();
        return;
    }
    // Without a list the key is free: nothing happens.
    if (m_matches.isEmpty())
        return;
    const MatchList::Next next =
        MatchList::next(m_matches, m_matchIndex, m_board.rules(), m_board.resetTime());
    if (next.pastLast) {
        m_pastLastMatch = true;
        m_board.dayChanged();
        return;
    }
    writeResult();
    showContest(next);
    Settings::MatchIndex = m_matchIndex;
    if (!SaveMatchSettings())
        qWarning().noquote() << "Zembrak: the match list's position could not be stored.";
}

void MatchDay::showContest(const MatchList::Next &next)
{
    m_matchIndex = next.index;
    m_pastLastMatch = false;
    m_board.startContest(next);
    clearHistory();
    m_board.dayChanged();
}

// Results.

void MatchDay::writeResult()
{
    if (m_resultsFile.isEmpty() ||
        !ContestResult::worthALine(m_board.marks(), m_board.rules(), m_board.clockRan()))
        return;
    QString error;
    if (ContestResult::append(m_resultsFile, ContestResult::fields(endedContest()), &error))
        return;
    qWarning().noquote()
        << QStringLiteral("Zembrak: the result could not be written to %1: %2.").arg(m_resultsFile, error);
    if (m_resultsWarned)
        return;
    m_resultsWarned = true;
    m_board.tellOperator(QStringLiteral("Results"),
        QStringLiteral("The result could not be written to %1: %2. The contest goes on; results are not "
                       "being kept until this is put right.")
            .arg(QDir::toNativeSeparators(m_resultsFile), error));
}

// The contest kept on disk.

void MatchDay::setRecoveryFile(const QString &path)
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
void MatchDay::scheduleSave()
{
    tournamentBoardChanged();
    if (!m_recoveryFile.isEmpty() && !m_saveTimer.isActive())
        m_saveTimer.start();
}

SavedContest MatchDay::savedContest() const
{
    SavedContest c = m_board.contestOnBoard();
    c.matchIndex = m_matchIndex;
    saveTournament(c);
    return c;
}

bool MatchDay::saveContestNow()
{
    if (m_recoveryFile.isEmpty())
        return false;
    if (savedContest().save(m_recoveryFile))
        return true;
    qWarning().noquote()
        << QStringLiteral("Zembrak: the contest could not be saved to %1.").arg(m_recoveryFile);
    return false;
}

void MatchDay::restoreContest(const SavedContest &saved)
{
    if (saved.matchIndex >= 1 && saved.matchIndex <= m_matches.size() && saved.matchIndex != m_matchIndex) {
        m_matchIndex = saved.matchIndex;
        Settings::MatchIndex = m_matchIndex;
        SaveMatchSettings();
    }
    m_board.putContest(saved);
    restoreTournament(saved);
    clearHistory();
    m_board.dayChanged();
}

void MatchDay::contestEndsAtQuit()
{
    writeResult();
    m_saveTimer.stop();
    if (!m_recoveryFile.isEmpty())
        QFile::remove(m_recoveryFile);
    m_recoveryFile.clear();
}

// The history of the marks.

void MatchDay::noteMarks()
{
    const MatchMarks now = m_board.marks();
    if (now == m_marksSeen)
        return;
    m_history.record(m_marksSeen);
    m_marksSeen = now;
}

// Known to the history first, so that putting marks back is no new step.
void MatchDay::putMarks(const MatchMarks &marks)
{
    m_marksSeen = marks;
    m_board.setMarks(marks);
}

bool MatchDay::undoMarks()
{
    noteMarks();
    const std::optional<MatchMarks> earlier = m_history.undo(m_marksSeen);
    if (earlier)
        putMarks(*earlier);
    return earlier.has_value();
}

bool MatchDay::redoMarks()
{
    noteMarks();
    const std::optional<MatchMarks> later = m_history.redo(m_marksSeen);
    if (later)
        putMarks(*later);
    return later.has_value();
}

void MatchDay::clearHistory()
{
    m_history.clear();
    m_marksSeen = m_board.marks();
}
