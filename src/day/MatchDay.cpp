#include "day/MatchDay.h"

#include "settings/SettingsStore.h"
#include "settings/SettingsVariables.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <algorithm>

MatchDay::MatchDay(DayBoard &board, QObject *parent)
    : QObject(parent)
    , m_board(board)
{
    m_saveTimer.setSingleShot(true);
    m_saveTimer.setInterval(500);
    connect(&m_saveTimer, &QTimer::timeout, this, &MatchDay::saveContestNow);
}

namespace {

QString &dataFolderInUse()
{
    static QString folder;
    return folder;
}

} // namespace

QString MatchDay::dataFolder()
{
    if (!dataFolderInUse().isEmpty())
        return dataFolderInUse();
    return QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
}

void MatchDay::useDataFolder(const QString &folder)
{
    dataFolderInUse() = folder;
}

void MatchDay::setMat(const QString &mat)
{
    m_mat = mat;
    m_board.dayChanged();
}

// The match list.

QStringList MatchDay::loadMatchList(const QByteArray &csv)
{
    const MatchList::Read read = MatchList::read(csv);
    m_matches = read.contests;
    m_matchIndex = 0;
    m_pastLastMatch = false;
    m_left.clear();
    Settings::MatchList = QString::fromUtf8(csv);
    Settings::MatchIndex = 0;
    if (m_matches.isEmpty()) {
        SaveMatchSettings();
        m_board.dayChanged();
    } else {
        // The contest on the board before the list came ends here.
        writeResult();
        goToContest(1);
    }
    return read.messages;
}

void MatchDay::resumeMatchList()
{
    if (Settings::MatchList.isEmpty())
        return;
    m_matches = MatchList::read(Settings::MatchList.toUtf8()).contests;
    m_left.clear();
    const int at = std::clamp<int>(Settings::MatchIndex, 1, std::max<int>(int(m_matches.size()), 1));
    if (!m_matches.isEmpty())
        showContest(contestAt(at));
}

// A contest without its own time takes the set's, whatever was typed before.
MatchList::Next MatchDay::contestAt(int index) const
{
    const Rules::RuleSet &rules = m_board.rules();
    return MatchList::next(m_matches, index - 1, rules, TimeValue::fromSeconds(rules.contestSeconds));
}

bool MatchDay::undecided() const
{
    const MatchMarks marks = m_board.marks();
    return marks.winner == 0 && (m_board.clockRan() || marks != MatchMarksRules::cleared(m_board.rules()));
}

void MatchDay::nextMatch()
{
    // Without a list the key is free: nothing happens.
    if (m_matches.isEmpty())
        return;
    if (m_matchIndex >= m_matches.size()) {
        m_pastLastMatch = true;
        m_board.dayChanged();
        return;
    }
    if (m_matchIndex >= 1 && undecided() &&
        !m_board.askOperator(QStringLiteral("Contest %1 is not decided. Record it as undecided and go on to "
                                            "contest %2?")
                                 .arg(m_matchIndex)
                                 .arg(m_matchIndex + 1)))
        return;
    writeResult();
    goToContest(m_matchIndex + 1);
    m_cameByNext = true;
}

bool MatchDay::previousMatch()
{
    if (m_matchIndex <= 1 || m_matchIndex > m_matches.size())
        return false;
    goToContest(m_matchIndex - 1);
    return true;
}

void MatchDay::goToContest(int index)
{
    if (m_matchIndex >= 1)
        m_left.insert(m_matchIndex, savedContest());
    m_cameByNext = false;
    if (const auto left = m_left.constFind(index); left != m_left.cend()) {
        m_matchIndex = index;
        m_pastLastMatch = false;
        m_board.putContest(*left);
        clearHistory();
        m_board.dayChanged();
    } else {
        showContest(contestAt(index));
    }
    // Saved before anything else, so that a crash now cannot bring back
    // the contest that was just ended and written.
    saveContestNow();
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
    if (ContestResult::append(m_resultsFile, ContestResult::fields(m_board.endedContest()), &error))
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
    if (!m_recoveryFile.isEmpty() && !m_saveTimer.isActive())
        m_saveTimer.start();
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
    m_cameByNext = false;
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
    // Right after N, the step to take back is the N itself.
    if (m_cameByNext && m_history.undoSteps() == 0 && !m_board.clockRan())
        return previousMatch();
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
