#pragma once

#include "modules/MatchMarks.h"
#include "modules/RuleSet.h"
#include "modules/TimeValue.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

// The line a contest leaves in the results file once it ends: when, who,
// every score and penalty, the winner and how, and the time it took. The
// fields are a pure function of the ended contest; the file is appended
// to, never rewritten.
namespace ContestResult {

struct Ended
{
    QDateTime finished;
    QString title;
    QString home;
    QString visitor;
    MatchMarks marks;
    Rules::RuleSet rules;
    bool goldenScore = false; // the contest went to golden score
    TimeValue timeUsed; // of the regular time
    TimeValue goldenScoreTime; // counted up in golden score
    int match = 0; // the contest's number in the day's list; 0 without one
    QString mat; // the mat's name; empty without one
    QString winnerName; // empty without a winner
};

// Whether an ending contest leaves a line: something was scored or marked,
// or the clock ran.
bool worthALine(const MatchMarks &marks, const Rules::RuleSet &rules, bool clockRan);

QStringList header();
QStringList fields(const Ended &contest);
// One CSV line, fields quoted where they hold a comma, quote or line end.
QByteArray csvLine(const QStringList &fields);

// Appends the line to the file, the header first when the file is new or
// empty, then flushes and syncs it to the disk. False, with the reason in
// `error`, when it could not be written.
bool append(const QString &path, const QStringList &fields, QString *error);

} // namespace ContestResult
