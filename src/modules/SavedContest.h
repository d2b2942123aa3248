#pragma once

#include "modules/MatchMarks.h"
#include "modules/TimeValue.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

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
    // The values of the set the contest ran under, so that a Custom set
    // edited since does not change it; none in files from before they were kept.
    std::optional<Rules::RuleSet> ruleValues;
    TimeValue period;
    TimeValue holdHome;
    TimeValue holdVisitor;
    bool periodRunning = false;
    bool holdHomeRunning = false;
    bool holdVisitorRunning = false;
    bool goldenScore = false;
    bool clockRan = false;
    int matchIndex = 0;
    QString listHash; // the content hash of the list matchIndex counts in; empty without one
    TimeValue resetTime; // what the reset key puts back in this contest; 0 unknown
    // The JudoShiai match on the board, whether its result is sent, and that
    // result as JudoShiai's RESULT message until it is known to be in.
    qint32 tournamentCategory = 0;
    qint32 tournamentMatch = 0;
    bool tournamentEnded = false;
    QByteArray tournamentResult;

    bool operator==(const SavedContest &) const = default;

    // Names and the title are cut to this at load, and when written.
    static constexpr int MaxTextLength = 200;
    // Larger files are no saved contest: what is written always fits.
    static constexpr qint64 MaxFileBytes = 1 << 20;

    QByteArray toJson() const;
    // Nothing when the text is no saved contest or holds values out of
    // range: a damaged file is never half restored. A text cut to length
    // is said in `warnings`.
    static std::optional<SavedContest> fromJson(const QByteArray &json, QStringList *warnings = nullptr);
    // Written whole through a temporary file or not at all, never through a link.
    bool save(const QString &path, QString *error = nullptr) const;
};
