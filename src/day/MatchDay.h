#pragma once

#include "day/DayBoard.h"

#include <QHash>
#include <QObject>
#include <QSet>

#include <functional>
#include <memory>
#include <optional>

class DiskWriter;
class TournamentLink;
namespace JudoShiai {
struct NextMatchMessage;
}

// The tournament day around the board: the match list and where it stands,
// the results file every ended contest leaves a line in, the contest kept
// on disk against a crash, and the operator's history of the contest's
// marks. It holds no widget; it reads and sets the board through DayBoard.
class MatchDay : public QObject
{
    Q_OBJECT

public:
    explicit MatchDay(DayBoard &board, QObject *parent = nullptr);

    // The folder the day's own files are kept in: Zembrak's data folder, or
    // a mat's folder within it. Set once at start-up, for the whole run.
    static QString dataFolder();
    static void useDataFolder(const QString &folder);

    // The mat this board runs, in the title, on the feed and on every
    // result line; empty for none.
    void setMat(const QString &mat);
    const QString &mat() const { return m_mat; }

    // The match list. Loading one puts its first contest on the board and
    // keeps the list in its file in the data folder; the messages of the
    // lines it skipped are returned. A list without a contest, or beyond the
    // limits, is refused (said on the board and stderr) and the kept one
    // goes on.
    QStringList loadMatchList(const QByteArray &csv);
    // The list named on the command line: the same list (by content) as the
    // one kept goes on where it stood, another starts at its first contest.
    // A list without a contest, or beyond the limits, is refused and the
    // kept one goes on. The messages of skipped lines are returned.
    QStringList useMatchList(const QByteArray &csv);
    // Goes on with the kept list where it stood, as at a restart.
    void resumeMatchList();
    // The content hash of the list in use; empty without one.
    const QString &listHash() const { return m_listHash; }
    static QString hashOf(const QByteArray &csv);
    // Far above any real day; a bigger list is refused.
    static constexpr int MaxContests = 10000;
    static constexpr qint64 MaxListBytes = 4 * 1024 * 1024;
    // "6 contests loaded, 2 lines skipped" and the first few reasons.
    static QString loadSummary(int contests, const QStringList &messages, int reasons = 5);
    // The next-match key: the next contest of the list, every mark cleared.
    // A contest that happened and has no winner goes only once the operator
    // agrees to record it undecided. The new contest is saved at once.
    void nextMatch();
    // Shift+N, and Ctrl+Z right after N: back to the previous contest as it
    // ended, names, title, marks and clock. Its line stays in the results;
    // ending it again appends another. False at the first contest.
    bool previousMatch();
    int matchIndex() const { return m_matchIndex; } // from 1; 0 for none
    int matchCount() const { return int(m_matches.size()); }
    bool pastLastMatch() const { return m_pastLastMatch; }
    // The board's title with where the list stands ("-73 kg Final · 3/40",
    // "End of list" past its last contest): a full-screen board hides its
    // window title, and the audience window and the feed show the board's.
    QString boardTitle(const QString &title) const;
    // "Zembrak — Mat A — IJF 2025 — Match 3 of 40", or the link's state.
    QString windowTitle(const Rules::RuleSet &rules) const;

    // Results: every contest that ends (at the next match or a clean quit)
    // appends a line to this file, if anything was scored or the clock ran.
    // Empty: none is written.
    void setResultsFile(const QString &path) { m_resultsFile = path; }
    void setResultsSeparator(QChar separator) { m_resultsSeparator = separator; }
    // Writes the contest's line when it is worth one; one word to the
    // operator the first time the file cannot be written.
    void writeResult();

    // Recovery after an unclean end: from the time a file is given, the
    // contest is saved to it at every change but a running time, and every
    // few seconds while a timer runs; a clean quit writes the result line
    // and removes it. The disk writer does the writing, off the board's
    // thread; so it does for the result lines and the stored position.
    void setRecoveryFile(const QString &path);
    SavedContest savedContest() const;
    // Puts a saved contest back with every timer stopped at its time.
    void restoreContest(const SavedContest &saved);
    bool saveContestNow();
    // Something the audience could see changed: saved if SavePlan says so.
    void scheduleSave();
    // Ends the contest at a quit and waits up to 3 s for the disk; what was
    // not written is told on stderr, never in a dialog.
    void contestEndsAtQuit();
    // Waits until the disk writer has nothing pending (tests).
    bool waitForDisk(int timeoutMs = 10000);
    // Other disk work in line with the day's, off the board's thread (the
    // settings store's saving).
    void runOnDisk(const QString &what, std::function<bool(QString *error)> job);
    // The contest clock started or stopped: the time a contest used, on its
    // result line, is the sum of the intervals its clock ran outside golden
    // score, whatever was typed or reset between them.
    void clockCourse(bool running);
    TimeValue timeUsed() const;
    // The monotonic clock (nanoseconds) that spaces the saves of a running
    // contest and times its use; tests hand in theirs.
    void setClock(std::function<qint64()> clock) { m_clock = std::move(clock); }

    // The history of the marks. Every change the board tells of is noted;
    // undo and redo take the last change back or give it again.
    void noteMarks();
    bool undoMarks();
    bool redoMarks();
    // A new contest: what went before cannot be taken back into it.
    void clearHistory();
    const MatchHistory &history() const { return m_history; }

    // JudoShiai, the tournament program, in place of the list: the match it
    // offers goes on the board between contests, and the next-match key
    // sends it the result (MatchDayTournament.cpp). The day takes the link
    // over; none ends it.
    void setTournamentLink(TournamentLink *link);
    TournamentLink *tournamentLink() const { return m_link; }
    // The JudoShiai match on the board: category and number, 0 for none.
    qint32 tournamentCategory() const;
    qint32 tournamentMatch() const;
    // "COUNTRY, Club" of a side (1 Home, 2 Visitor) of that match.
    QString tournamentDetails(qint16 side) const;

private:
    QString tournamentTitle() const;
    void tournamentNextMatch();
    void tournamentBoardChanged();
    void sendTournamentResult();
    void takeTournamentMatch();
    bool contestStarted() const;
    // The board's ended contest, with the country and club of JudoShiai's competitors.
    ContestResult::Ended endedContest() const;
    void saveTournament(SavedContest &contest) const;
    void restoreTournament(const SavedContest &saved);
    void putMarks(const MatchMarks &marks);
    // A kept contest back on the board, its time used as its times tell.
    void putOnBoard(const SavedContest &saved);
    void storeMatchPosition();
    void diskFailed(int work, const QString &what, const QString &reason);
    void showContest(const MatchList::Next &next);
    // Contest `index` (from 1): as it was left, if it was, or from the list.
    void goToContest(int index);
    MatchList::Next contestAt(int index) const;
    bool undecided() const;
    static QString listFile();
    // Why a list cannot be used; empty when it can.
    static QString refusal(const QByteArray &csv, const MatchList::Read &read);

    DayBoard &m_board;
    QString m_mat;
    QList<MatchList::Contest> m_matches;
    QString m_listHash;
    int m_matchIndex = 0;
    bool m_pastLastMatch = false; // the next-match key found no contest left
    QString m_resultsFile;
    QChar m_resultsSeparator = QLatin1Char(',');
    bool m_resultsWarned = false;
    bool m_saveWarned = false;
    QSet<QString> m_otherWarned; // the other disk work the operator was told of
    QString m_recoveryFile;
    DiskWriter *m_writer;
    std::optional<SavedContest> m_written; // the contest last handed to the writer
    qint64 m_writtenAtNs = 0;
    std::function<qint64()> m_clock;
    qint64 m_usedNs = 0; // the contest clock's running intervals that have ended
    qint64 m_runningSinceNs = -1; // the start of the interval under way; -1 none
    bool m_quitting = false;
    MatchHistory m_history;
    MatchMarks m_marksSeen; // the marks as the history last knew them
    // The contests left by N or Shift+N, as they stood, by their number.
    QHash<int, SavedContest> m_left;
    bool m_cameByNext = false; // nothing has happened since N brought this contest
    TournamentLink *m_link = nullptr;
    std::shared_ptr<JudoShiai::NextMatchMessage> m_tournamentContest; // the linked match on the board
    bool m_tournamentEnded = false; // ended with the next-match key
    std::optional<MatchMarks> m_resultSentFor; // the marks of the result sent for it
    bool m_holdTimesSaid = false;
    bool m_linkLostSaid = false;
};
