#pragma once

#include "day/DayBoard.h"

#include <QObject>

#include <functional>
#include <optional>

class DiskWriter;

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
    // The monotonic clock (nanoseconds) that spaces the saves of a running
    // contest; tests hand in theirs.
    void setClock(std::function<qint64()> clock) { m_clock = std::move(clock); }

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
    void storeMatchPosition();
    void diskFailed(int work, const QString &reason);
    void showContest(const MatchList::Next &next);

    DayBoard &m_board;
    QList<MatchList::Contest> m_matches;
    int m_matchIndex = 0;
    bool m_pastLastMatch = false; // the next-match key found no contest left
    QString m_resultsFile;
    QChar m_resultsSeparator = QLatin1Char(',');
    bool m_resultsWarned = false;
    QString m_recoveryFile;
    DiskWriter *m_writer;
    std::optional<SavedContest> m_written; // the contest last handed to the writer
    qint64 m_writtenAtNs = 0;
    std::function<qint64()> m_clock;
    bool m_quitting = false;
    MatchHistory m_history;
    MatchMarks m_marksSeen; // the marks as the history last knew them
};
