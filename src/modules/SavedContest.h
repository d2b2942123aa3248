#pragma once

#include "modules/MatchMarks.h"
#include "modules/TimeValue.h"

#include <QByteArray>
#include <QString>

#include <optional>

// The contest on the board as it is kept on disk, so that an unclean end
// (a crash, SIGKILL, power loss) does not lose it: the names and title,
// every mark and score, the three timers' times and which ran, the rule
// set and the list position.
struct SavedContest
{
    QString title;
    QString home;
    QString visitor;
    MatchMarks marks;
    QString rules; // the set's id
    TimeValue period;
    TimeValue holdHome;
    TimeValue holdVisitor;
    bool periodRunning = false;
    bool holdHomeRunning = false;
    bool holdVisitorRunning = false;
    bool goldenScore = false;
    bool clockRan = false;
    int matchIndex = 0;
    // The JudoShiai match on the board, whether its result is sent, and that
    // result as JudoShiai's RESULT message until it is known to be in.
    qint32 tournamentCategory = 0;
    qint32 tournamentMatch = 0;
    bool tournamentEnded = false;
    QByteArray tournamentResult;

    bool operator==(const SavedContest &) const = default;

    QByteArray toJson() const;
    // Nothing when the text is no saved contest or holds values out of
    // range: a damaged file is never half restored.
    static std::optional<SavedContest> fromJson(const QByteArray &json);
    // Written whole through a temporary file or not at all.
    bool save(const QString &path) const;
};
