#pragma once

#include "day/DayBoard.h"

#include <QObject>
#include <QTimer>

#include <memory>
#include <optional>

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

    // The match list. Loading one puts its first contest on the board and
    // keeps the list in the store; the messages of the lines it skipped are
    // returned.
    QStringList loadMatchList(const QByteArray &csv);
    // Goes on with the stored list where it stood, as at a restart.
    void resumeMatchList();
    // The next-match key: the next contest of the list, every mark cleared.
    void nextMatch();
    int matchIndex() const { return m_matchIndex; } // from 1; 0 for none
    int matchCount() const { return int(m_matches.size()); }
    bool pastLastMatch() const { return m_pastLastMatch; }

    // Results: every contest that ends (at the next match or a clean quit)
    // appends a line to this file, if anything was scored or the clock ran.
    // Empty: none is written.
    void setResultsFile(const QString &path) { m_resultsFile = path; }
    // Writes the contest's line when it is worth one; one word to the
    // operator the first time the file cannot be written.
    void writeResult();

    // Recovery after an unclean end: from the time a file is given, the
    // contest is saved to it within a second of every change, and so every
    // second or so while a timer runs; a clean quit writes the result line
    // and removes it.
    void setRecoveryFile(const QString &path);
    SavedContest savedContest() const;
    // Puts a saved contest back with every timer stopped at its time.
    void restoreContest(const SavedContest &saved);
    bool saveContestNow();
    bool savePending() const { return m_saveTimer.isActive(); }
    // Something the audience could see changed: a reason to save soon.
    void scheduleSave();
    void contestEndsAtQuit();

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
    void showContest(const MatchList::Next &next);

    DayBoard &m_board;
    QList<MatchList::Contest> m_matches;
    int m_matchIndex = 0;
    bool m_pastLastMatch = false; // the next-match key found no contest left
    QString m_resultsFile;
    bool m_resultsWarned = false;
    QString m_recoveryFile;
    QTimer m_saveTimer;
    MatchHistory m_history;
    MatchMarks m_marksSeen; // the marks as the history last knew them
    TournamentLink *m_link = nullptr;
    std::shared_ptr<JudoShiai::NextMatchMessage> m_tournamentContest; // the linked match on the board
    bool m_tournamentEnded = false; // ended with the next-match key
    std::optional<MatchMarks> m_resultSentFor; // the marks of the result sent for it
    bool m_holdTimesSaid = false;
    bool m_linkLostSaid = false;
};
