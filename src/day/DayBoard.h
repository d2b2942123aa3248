#pragma once

#include "modules/ContestResult.h"
#include "modules/MatchList.h"
#include "modules/MatchMarks.h"
#include "modules/RuleSet.h"
#include "modules/SavedContest.h"

// What the tournament day needs of the board it runs on: the contest's
// marks, the contest whole to keep and to put back, a new contest to show,
// and a word to the operator. The scoreboard window is one; tests use a
// fake.
class DayBoard
{
public:
    virtual ~DayBoard() = default;

    virtual MatchMarks marks() const = 0;
    virtual void setMarks(const MatchMarks &marks) = 0;
    virtual const Rules::RuleSet &rules() const = 0;
    // What the reset key puts back on the clock.
    virtual TimeValue resetTime() const = 0;
    // Whether the contest clock has run in this contest.
    virtual bool clockRan() const = 0;

    // The contest as it stands, as it is kept on disk; the list position is
    // the day's to fill in.
    virtual SavedContest contestOnBoard() const = 0;
    // Puts a kept contest back with every timer stopped at its time.
    virtual void putContest(const SavedContest &contest) = 0;
    // A new contest: its names, its title (an empty one keeps the board's),
    // its time and its cleared marks, with nothing running.
    virtual void startContest(const MatchList::Next &next) = 0;
    // The contest as its result line tells it.
    virtual ContestResult::Ended endedContest() const = 0;

    // Where the day stands has changed: its position, its length, its end.
    virtual void dayChanged() = 0;
    // A problem the operator has to hear of, however the board is run.
    virtual void tellOperator(const QString &title, const QString &text) = 0;
};
