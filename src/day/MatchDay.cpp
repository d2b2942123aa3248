#include "day/MatchDay.h"

#include "controls/MatchTimer.h"
#include "files/DiskWriter.h"
#include "files/SafeFile.h"
#include "files/SavePlan.h"
#include "settings/SettingsStore.h"
#include "settings/SettingsVariables.h"

#include <QCryptographicHash>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <algorithm>

MatchDay::MatchDay(DayBoard &board, QObject *parent)
    : QObject(parent)
    , m_board(board)
    , m_writer(new DiskWriter(this))
    , m_clock(MatchTimer::systemClock())
{
    connect(m_writer, &DiskWriter::failed, this,
        [this](DiskWriter::Work work, const QString &what, const QString &reason) {
            diskFailed(int(work), what, reason);
        });
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
        storeMatchPosition();
        return read.messages;
    }
    m_matches = read.contests;
    m_listHash = hashOf(csv);
    m_matchIndex = 0;
    m_pastLastMatch = false;
    m_left.clear();
    Settings::MatchList = QString::fromUtf8(csv);
    Settings::MatchIndex = 0;
    // Written once, here, off the board's thread; the store keeps only the
    // position. A link in its place is replaced, never written through.
    QDir().mkpath(dataFolder());
    m_writer->run(QStringLiteral("keeping the match list in %1").arg(listFile()),
        [path = listFile(), csv](QString *error) { return SafeFile::writeOwn(path, csv, error); });
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
    // Never through a link, nor from a FIFO that would hold the start.
    QString error;
    const std::optional<QByteArray> bytes = SafeFile::readOwn(listFile(), MaxListBytes, &error);
    if (!error.isEmpty())
        qWarning().noquote()
            << QStringLiteral("Zembrak: the kept match list %1 was not read: %2.").arg(listFile(), error);
    if (!bytes)
        return;
    const QByteArray &csv = *bytes;
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
    if (m_link) {
        tournamentNextMatch();
        return;
    }
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
        putOnBoard(*left);
        clearHistory();
        m_board.dayChanged();
    } else {
        showContest(contestAt(index));
    }
    // Saved before anything else, so that a crash now cannot bring back
    // the contest that was just ended and written.
    saveContestNow();
    Settings::MatchIndex = m_matchIndex;
    storeMatchPosition();
}

QString MatchDay::boardTitle(const QString &title) const
{
    if (m_matches.isEmpty())
        return title;
    const QString where = m_pastLastMatch ? QStringLiteral("End of list")
                                          : QStringLiteral("%1/%2").arg(m_matchIndex).arg(m_matches.size());
    if (title.isEmpty())
        return where;
    return title + QStringLiteral(" \u00b7 ") + where;
}

QString MatchDay::windowTitle(const Rules::RuleSet &rules) const
{
    QStringList parts = {QStringLiteral("Zembrak")};
    if (!m_mat.isEmpty())
        parts << QStringLiteral("Mat %1").arg(m_mat);
    if (rules.id != Rules::SetId::Design)
        parts << Rules::displayName(rules.id);
    if (m_link) {
        parts << tournamentTitle();
    } else if (!m_matches.isEmpty()) {
        QString where = QStringLiteral("Match %1 of %2").arg(m_matchIndex).arg(m_matches.size());
        if (m_pastLastMatch)
            where += QStringLiteral(", the last: no next match");
        parts << where;
    }
    return parts.join(QStringLiteral(" \u2014 "));
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
    m_usedNs = 0;
    m_runningSinceNs = -1;
    clearHistory();
    m_board.dayChanged();
}

// Results.

void MatchDay::writeResult()
{
    if (m_resultsFile.isEmpty() ||
        !ContestResult::worthALine(m_board.marks(), m_board.rules(), m_board.clockRan()))
        return;
    ContestResult::Ended ended = endedContest();
    ended.match = m_tournamentContest ? tournamentMatch() : m_matchIndex;
    m_writer->appendResult(m_resultsFile, ContestResult::fileStart(m_resultsSeparator),
        ContestResult::csvLine(ContestResult::fields(ended), m_resultsSeparator));
}

// The writer has told stderr already. A results file or a saved contest
// that cannot be written is worth a word to the operator, once each, but
// never in the way of a quit.
void MatchDay::diskFailed(int work, const QString &what, const QString &reason)
{
    if (m_quitting)
        return;
    // Storing the settings or the list's place: once for each.
    if (DiskWriter::Work(work) == DiskWriter::Work::Other) {
        if (m_otherWarned.contains(what))
            return;
        m_otherWarned.insert(what);
        m_board.tellOperator(QStringLiteral("A file could not be written"),
            QStringLiteral("Zembrak failed %1: %2.").arg(what, reason));
        return;
    }
    if (DiskWriter::Work(work) == DiskWriter::Work::Contest) {
        if (m_saveWarned)
            return;
        m_saveWarned = true;
        m_board.tellOperator(QStringLiteral("Crash recovery is off"),
            QStringLiteral(
                "The contest could not be saved to %1: %2; crash recovery is off until this is put "
                "right.")
                .arg(QDir::toNativeSeparators(m_recoveryFile), reason));
        return;
    }
    if (DiskWriter::Work(work) != DiskWriter::Work::Result || m_resultsWarned)
        return;
    m_resultsWarned = true;
    m_board.tellOperator(QStringLiteral("Results are not being written"),
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
    tournamentBoardChanged();
    if (m_recoveryFile.isEmpty())
        return;
    if (SavePlan::due(m_written, savedContest(), (m_clock() - m_writtenAtNs) / 1'000'000))
        saveContestNow();
}

SavedContest MatchDay::savedContest() const
{
    SavedContest c = m_board.contestOnBoard();
    c.matchIndex = m_matchIndex;
    c.listHash = m_listHash;
    saveTournament(c);
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

void MatchDay::runOnDisk(const QString &what, std::function<bool(QString *error)> job)
{
    m_writer->run(what, std::move(job));
}

bool MatchDay::waitForDisk(int timeoutMs)
{
    return m_writer->waitIdle(timeoutMs);
}

void MatchDay::restoreContest(const SavedContest &saved)
{
    // A position counts only in the list it was saved under.
    if (saved.listHash == m_listHash && saved.matchIndex >= 1 && saved.matchIndex <= m_matches.size() &&
        saved.matchIndex != m_matchIndex) {
        m_matchIndex = saved.matchIndex;
        Settings::MatchIndex = m_matchIndex;
        storeMatchPosition();
    }
    putOnBoard(saved);
    restoreTournament(saved);
    clearHistory();
    m_board.dayChanged();
}

void MatchDay::putOnBoard(const SavedContest &saved)
{
    m_board.putContest(saved);
    // What the clock ran before, as far as the kept times tell.
    const TimeValue reset = m_board.resetTime();
    const TimeValue ran = saved.goldenScore ? reset : reset - saved.period;
    m_usedNs = std::max<qint64>(ran.ticks(), 0) * 100000;
    m_runningSinceNs = -1;
}

void MatchDay::clockCourse(bool running)
{
    const qint64 now = m_clock();
    if (m_runningSinceNs >= 0)
        m_usedNs += std::max<qint64>(now - m_runningSinceNs, 0);
    m_runningSinceNs = running ? now : -1;
}

TimeValue MatchDay::timeUsed() const
{
    qint64 ns = m_usedNs;
    if (m_runningSinceNs >= 0)
        ns += std::max<qint64>(m_clock() - m_runningSinceNs, 0);
    return TimeValue::fromTicks(ns / 100000);
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
