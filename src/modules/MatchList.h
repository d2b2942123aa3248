#pragma once

#include "modules/MatchMarks.h"
#include "modules/TimeValue.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// A day's contests read from a CSV file: home name, visitor name, and
// optionally a title and the contest time as m:ss. UTF-8 with or without
// a byte-order mark; comma or semicolon (whichever the first line holding
// either outside quotes uses more of); fields may be quoted, with "" for a quote inside. A
// first row reading "home" and "visitor" is a header. Empty lines are
// passed over; a bad line is skipped with one message naming its line.
namespace MatchList {

// Names and titles longer than this are cut, with a message.
constexpr int MaxTextLength = 200;

struct Contest
{
    QString home;
    QString visitor;
    QString title; // empty: the board's own title stays
    int seconds = 0; // 0: the reset time
    bool operator==(const Contest &) const = default;
};

struct Read
{
    QList<Contest> contests;
    QStringList messages; // one per skipped or cut line
};

Read read(const QByteArray &data);

// What the next-match key does from contest `index` (from 1; 0 before the
// first): the contest it puts on the board with every mark cleared and
// the clock set to the contest's own time or the reset time, or, past the
// last, nothing but say so.
struct Next
{
    bool pastLast = false;
    int index = 0;
    Contest contest;
    MatchMarks marks;
    TimeValue time;
};
Next next(const QList<Contest> &list, int index, const Rules::RuleSet &rules, TimeValue resetTime);

// The contest time as "m:ss", 0:01 to 9:59; -1 when it is not one.
int parseTime(const QString &text);

} // namespace MatchList
