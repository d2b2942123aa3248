#include "day/MatchDay.h"

#include "controls/MatchTimer.h"
#include "files/DiskWriter.h"
#include "files/SavePlan.h"
#include "settings/SettingsStore.h"
#include "settings/SettingsVariables.h"

#include <QDir>

#include <algorithm>

MatchDay::MatchDay(DayBoard &board, QObject *parent)
    : QObject(parent)
    , m_board(board)
    , m_writer(new DiskWriter(this))
    , m_clock(MatchTimer::systemClock())
{
    connect(m_writer, &DiskWriter::failed, this,
        [this](DiskWriter::Work work, const QString &, const QString &reason) {
            diskFailed(int(work), reason);
        });
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
        storeMatchPosition();
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
    storeMatchPosition();
}

void MatchDay::storeMatchPosition()
{
    m_writer->run(QStringLiteral("storing the match list's position"), SaveMatchSettingsLater());
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
    ContestResult::Ended ended = m_board.endedContest();
    ended.match = m_matchIndex;
    m_writer->appendResult(m_resultsFile, ContestResult::fileStart(m_resultsSeparator),
        ContestResult::csvLine(ContestResult::fields(ended), m_resultsSeparator));
}

// The writer has told stderr already. A results file that cannot be
// written is worth a word to the operator, once, but never in the way of a
// quit. (The saved contest that cannot be written wants a board notice too.)
void MatchDay::diskFailed(int work, const QString &reason)
{
    if (DiskWriter::Work(work) != DiskWriter::Work::Result || m_resultsWarned || m_quitting)
        return;
    m_resultsWarned = true;
    m_board.tellOperator(QStringLiteral("Results"),
        QStringLiteral("The result could not be written to %1: %2. The contest goes on; results are not "
                       "being kept until this is put right.")
            .arg(QDir::toNativeSeparators(m_resultsFile), reason));
}

// The contest kept on disk.

void MatchDay::setRecoveryFile(const QString &path)
{
    m_recoveryFile = path;
    m_written.reset();
    if (!path.isEmpty())
        saveContestNow();
}

void MatchDay::scheduleSave()
{
    if (m_recoveryFile.isEmpty())
        return;
    if (SavePlan::due(m_written, savedContest(), (m_clock() - m_writtenAtNs) / 1'000'000))
        saveContestNow();
}

SavedContest MatchDay::savedContest() const
{
    SavedContest c = m_board.contestOnBoard();
    c.matchIndex = m_matchIndex;
    return c;
}

bool MatchDay::saveContestNow()
{
    if (m_recoveryFile.isEmpty())
        return false;
    const SavedContest now = savedContest();
    m_writer->saveContest(m_recoveryFile, now.toJson());
    m_written = now;
    m_writtenAtNs = m_clock();
    return true;
}

bool MatchDay::waitForDisk(int timeoutMs)
{
    return m_writer->waitIdle(timeoutMs);
}

void MatchDay::restoreContest(const SavedContest &saved)
{
    if (saved.matchIndex >= 1 && saved.matchIndex <= m_matches.size() && saved.matchIndex != m_matchIndex) {
        m_matchIndex = saved.matchIndex;
        Settings::MatchIndex = m_matchIndex;
        storeMatchPosition();
    }
    m_board.putContest(saved);
    clearHistory();
    m_board.dayChanged();
}

void MatchDay::contestEndsAtQuit()
{
    m_quitting = true;
    writeResult();
    if (!m_recoveryFile.isEmpty())
        m_writer->removeContest(m_recoveryFile);
    m_recoveryFile.clear();
    m_writer->finishAtQuit();
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
