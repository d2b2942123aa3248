#pragma once

#include "modules/MatchMarks.h"
#include "modules/RuleSet.h"

// The referee of a contest under a rule set: it keeps what the rules need to
// remember while the contest runs (what the hold has earned, golden score,
// the shido counts, whether the rules ended the contest, a frozen hold) and
// decides on every event the board forwards. It returns what the board must
// show and do; it holds no widgets and no timers. Under the Design set it
// decides nothing.
namespace Rules {

// What the board does after an event. Everything defaults to "nothing".
struct Call
{
    // A score a hold earned: one `earned` more on `scoreSide`, and one
    // `replaced` less, the lower score the same hold had given.
    qint16 scoreSide = 0;
    Award earned = NoAward;
    Award replaced = NoAward;
    bool stopClock = false; // the contest clock stops; a hold goes on
    bool stopAll = false; // the clock and both holds stop
    qint16 winner = 0; // light this side's winner lamp
    qint16 ippon = 0; // light this side's ippon mark
    // The decision the rules made was caused by a mark now taken back: its
    // winner and ippon go dark and the contest is open again.
    bool undecide = false;
    bool goldenScore = false; // golden score begins on a stopped clock at 0:00
    bool buzz = false; // one buzz for the contest's end
    bool timeUpBuzz = false; // the time-up buzz, if it has not sounded
    // Yoshi: what sono-mama froze runs on.
    bool runClock = false;
    qint16 runHold = 0;
    bool operator==(const Call &) const = default;
};

// The holds after an osaekomi key or a clock start: both back to 0 or
// not, the side whose hold runs (0: none), and the clock run on after
// sono-mama.
struct Holds
{
    bool clear = false;
    qint16 run = 0;
    bool runClock = false;
    bool operator==(const Holds &) const = default;
};

class Referee
{
public:
    explicit Referee(const RuleSet &rules = {});

    const RuleSet &rules() const { return m_rules; }
    // A new set: golden score is left and nothing stays decided. Shido
    // counts are kept where the new set counts shidos too.
    void setRules(const RuleSet &rules);

    bool goldenScore() const { return m_goldenScore; }
    bool ended() const { return m_ended; }
    bool frozen() const { return m_frozen; }
    qint16 frozenHold() const { return m_frozen ? m_frozenHold : qint16(0); }
    qint16 shidos(qint16 side) const { return m_shidos[index(side)]; }
    bool directHansokuMake(qint16 side) const { return m_direct[index(side)]; }
    bool hansokuMake(qint16 side) const;
    // Whether the shido count lights a side's lamp (1 to 3): the count has
    // reached it, or it is the hansoku-make lamp of a direct one.
    bool shidoLamp(qint16 side, int lamp) const;

    // The contest clock ticked: `hold` is the side whose hold runs (0 for
    // none), `held` its time. Scores the hold, and decides when a hold that
    // went on past the time or ran in golden score has ended.
    Call tick(const Match &scores, qint16 hold, TimeValue held);
    // The contest time ran out on a running clock, outside golden score.
    Call timeOut(const Match &scores, qint16 hold);
    Call scoreTyped(const Match &scores, qint16 side);
    Call ipponGiven(qint16 side);
    Call shido(qint16 side, bool takeBack);
    // A direct hansoku-make, for a dangerous action: no shidos needed.
    Call hansokuMakeGiven(qint16 side);
    // Down: sono-mama freezes what runs, Down again (yoshi) runs it on.
    Call sonoMama(bool clockRunning, qint16 hold);

    // An osaekomi key: a hold for `side` (0 is toketa). While the clock
    // runs a new hold starts from 0; under a set with automatics toketa
    // leaves the hold's time shown. After sono-mama the clock runs on first.
    Holds osaekomi(qint16 side, bool clockRunning);
    // A new hold from 0 begins; a frozen one is over.
    void holdStarted();
    // The clock starts: with time left, or in golden score, a contest the
    // rules ended is taken up again; a frozen hold is over (matte). Under a
    // set with automatics a hold's time shown since toketa goes.
    Holds clockStarted(bool timeLeft, bool holdRunning);
    // Reset, a typed time, a new contest: golden score is left, nothing is
    // decided any more.
    void contestReset();
    // Golden score as a restored contest had it, on top of a reset.
    void enterGoldenScore() { m_goldenScore = true; }
    // Marks put back (undo, redo, a restored contest): the counts as they
    // were, a direct hansoku-make where its lamp is lit short of the count,
    // the contest ended as far as a winner or ippon stands.
    void marksPutBack(const MatchMarks &marks);
    // A restored contest that had ended stays ended.
    void setEnded(bool ended) { m_ended = ended; }

private:
    static int index(qint16 side) { return side == 2 ? 1 : 0; }
    Match withShidos(Match scores) const;
    // Applies the rules' decision on `event`, and remembers it.
    Call decideOn(Event event, const Match &scores, qint16 side, bool holdGoesOn, Call call = {});
    void end(Call &call, qint16 winner, qint16 ippon, bool buzz);
    Call endedByHold(const Match &scores);

    RuleSet m_rules;
    Award m_holdAward = NoAward; // what the running hold has earned so far
    qint16 m_holdSide = 0; // the side of the hold last seen running, until it ends
    bool m_holdPastTime = false; // the time ran out during a hold that goes on
    bool m_goldenScore = false;
    bool m_ended = false;
    // What ended the contest: a penalty on this side (1, 2), else 0; a
    // take-back of that penalty undoes the decision.
    qint16 m_penaltyCause = 0;
    qint16 m_shidos[2] {};
    bool m_direct[2] {};
    // Sono-mama: what it froze, for yoshi to run on.
    bool m_frozen = false;
    bool m_frozenClock = false;
    qint16 m_frozenHold = 0;
};

} // namespace Rules
