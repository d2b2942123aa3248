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
    int match = 0; // its number in the match list; 0 without one
    QString mat; // the board's mat; empty without one
};

// Whether an ending contest leaves a line: something was scored or marked,
// or the clock ran.
bool worthALine(const MatchMarks &marks, const Rules::RuleSet &rules, bool clockRan);

// The columns; those added later come after the first twenty, so that a
// day's file keeps one order.
QStringList header();
QStringList fields(const Ended &contest);
// One CSV line, fields quoted where they hold the separator, a quote or a
// line end. A field a spreadsheet would take for a formula (beginning with
// =, +, -, @, a tab or CR) gets a leading apostrophe, so it is read as text.
QByteArray csvLine(const QStringList &fields, QChar separator = QLatin1Char(','));
// What a new file begins with: a UTF-8 byte-order mark, so that spreadsheets
// read the names right, and the header line.
QByteArray fileStart(QChar separator = QLatin1Char(','));

} // namespace ContestResult
