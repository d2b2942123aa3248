#pragma once

#include "day/DayBoard.h"

#include <QObject>
#include <QTimer>

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

private:
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
};
