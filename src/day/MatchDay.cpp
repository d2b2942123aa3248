#include "day/MatchDay.h"

#include "settings/SettingsStore.h"
#include "settings/SettingsVariables.h"

#include <QCryptographicHash>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
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

QString MatchDay::listFile()
{
    return dataFolder() + QStringLiteral("/matches.csv");
}

QString MatchDay::hashOf(const QByteArray &csv)
{
    return QString::fromLatin1(QCryptographicHash::hash(csv, QCryptographicHash::Sha256).toHex());
}

QString MatchDay::loadSummary(int contests, const QStringList &messages, int reasons)
{
    QString text = QStringLiteral("%1 contests loaded").arg(contests);
    if (messages.isEmpty())
        return text + QLatin1Char('.');
    text += QStringLiteral(", %1 lines skipped:").arg(messages.size());
    for (const QString &message : messages.mid(0, reasons))
        text += QLatin1Char('\n') + message;
    if (messages.size() > reasons)
        text += QStringLiteral("\n... and %1 more.").arg(messages.size() - reasons);
    return text;
}

QString MatchDay::refusal(const QByteArray &csv, const MatchList::Read &read)
{
    if (csv.size() > MaxListBytes || read.contests.size() > MaxContests)
        return QStringLiteral(
            "The match list is too long (more than %1 contests or 4 MB) and was not loaded; "
            "the list kept before, if any, goes on.")
            .arg(MaxContests);
    if (read.contests.isEmpty())
        return QStringLiteral("The match list holds no contest and was not loaded; the list kept before, if "
                              "any, goes on.");
    return QString();
}

QStringList MatchDay::loadMatchList(const QByteArray &csv)
{
    // Not even read past the limit, so that a huge file cannot hold the board.
    const MatchList::Read read = csv.size() > MaxListBytes ? MatchList::Read() : MatchList::read(csv);
    if (const QString refused = refusal(csv, read); !refused.isEmpty()) {
        qWarning().noquote() << QStringLiteral("Zembrak: ") + refused;
        m_board.tellOperator(QStringLiteral("The match list was not loaded"), refused);
        // Where the kept list stands stays stored, whatever a dialog reset.
        Settings::MatchIndex = m_matchIndex;
        SaveMatchSettings();
        return read.messages;
    }
    m_matches = read.contests;
    m_listHash = hashOf(csv);
    m_matchIndex = 0;
    m_pastLastMatch = false;
    m_left.clear();
    Settings::MatchList = QString::fromUtf8(csv);
    Settings::MatchIndex = 0;
    // Written once, here; the store keeps only the position. A link in its
    // place is replaced, never written through.
    if (QFileInfo(listFile()).isSymLink())
        QFile::remove(listFile());
    QDir().mkpath(dataFolder());
    QSaveFile file(listFile());
    if (!file.open(QIODevice::WriteOnly) || file.write(csv) != csv.size() || !file.commit())
        qWarning().noquote() << QStringLiteral("Zembrak: the match list could not be kept in %1: %2.")
                                    .arg(listFile(), file.errorString());
    // The contest on the board before the list came ends here.
    writeResult();
    goToContest(1);
    if (!read.messages.isEmpty())
        m_board.tellOperator(QStringLiteral("Match list: %1 lines skipped").arg(read.messages.size()),
            loadSummary(int(m_matches.size()), read.messages));
    return read.messages;
}

QStringList MatchDay::useMatchList(const QByteArray &csv)
{
    if (!m_listHash.isEmpty() && hashOf(csv) == m_listHash)
        return MatchList::read(csv).messages;
    return loadMatchList(csv);
}

void MatchDay::resumeMatchList()
{
    QFile file(listFile());
    if (!QFileInfo(file).isFile() || file.size() > MaxListBytes || !file.open(QIODevice::ReadOnly))
        return;
    const QByteArray csv = file.readAll();
    m_matches = MatchList::read(csv).contests.mid(0, MaxContests);
    m_listHash = hashOf(csv);
    Settings::MatchList = QString::fromUtf8(csv);
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
    m_board.tellOperator(QStringLiteral("Results are not being written"),
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
    c.listHash = m_listHash;
    return c;
}

bool MatchDay::saveContestNow()
{
    if (m_recoveryFile.isEmpty())
        return false;
    if (savedContest().save(m_recoveryFile))
        return true;
    // Once: a line every second tells nobody anything more.
    if (!m_saveWarned) {
        m_saveWarned = true;
        const QString why = QStringLiteral("The contest could not be saved to %1; crash recovery is off.")
                                .arg(QDir::toNativeSeparators(m_recoveryFile));
        qWarning().noquote() << QStringLiteral("Zembrak: ") + why;
        m_board.tellOperator(QStringLiteral("Crash recovery is off"), why);
    }
    return false;
}

void MatchDay::restoreContest(const SavedContest &saved)
{
    // A position counts only in the list it was saved under.
    if (saved.listHash == m_listHash && saved.matchIndex >= 1 && saved.matchIndex <= m_matches.size() &&
        saved.matchIndex != m_matchIndex) {
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
