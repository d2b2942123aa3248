// The referee as a table of event sequences: each step is an event the
// board would forward, and the call the referee must return to it. Scores
// follow the calls, as the board would show them.

#include "modules/Referee.h"

#include <gtest/gtest.h>

#include <vector>

using namespace Rules;

namespace {

enum class Ev { Tick, TimeOut, Typed, Ippon, Shido, TakeBack, Direct, Down, HoldStart, ClockStart, Reset };

struct Step
{
    Ev ev;
    qint16 side = 0; // the hold's side for Tick, else the side marked
    double at = 0; // Tick: the hold's seconds; Typed: the waza-ari (1) or yuko (2) typed
    Call expect {};
};

struct Case
{
    const char *what;
    SetId set;
    std::vector<Step> steps;
    bool ended;
    bool golden;
};

Call scored(qint16 side, Award earned, Award replaced = NoAward)
{
    Call c;
    c.scoreSide = side;
    c.earned = earned;
    c.replaced = replaced;
    return c;
}

Call ends(qint16 winner, qint16 ippon = 0, bool buzz = true, Call c = {})
{
    c.stopAll = true;
    c.winner = winner;
    c.ippon = ippon;
    c.buzz = buzz;
    return c;
}

Call with(Call c, void (*edit)(Call &))
{
    edit(c);
    return c;
}

TimeValue secs(double s)
{
    return TimeValue::fromTicks(qint64(s * TimeValue::TicksPerSecond + 0.5));
}

const Call none {};
const Call golden = with({}, [](Call &c) { c.goldenScore = true; });
const Call stopClock = with({}, [](Call &c) { c.stopClock = true; });
const Call freeze = with({}, [](Call &c) { c.stopAll = true; });

const Case cases[] = {
    {"design decides nothing", SetId::Design,
        {{Ev::Tick, 1, 30}, {Ev::Typed, 1, 1}, {Ev::Typed, 1, 1}, {Ev::Ippon, 2}, {Ev::Shido, 1},
            {Ev::Shido, 1}, {Ev::Shido, 1}, {Ev::Direct, 2}, {Ev::Down}, {Ev::TimeOut}},
        false, false},
    {"2025 hold: yuko at 5, waza-ari at 10 replacing it, ippon at 20", SetId::Ijf2025,
        {{Ev::HoldStart}, {Ev::Tick, 1, 4.95}, {Ev::Tick, 1, 5, scored(1, Yuko)}, {Ev::Tick, 1, 9.95},
            {Ev::Tick, 1, 10, scored(1, WazaAri, Yuko)}, {Ev::Tick, 1, 19.95},
            {Ev::Tick, 1, 20, ends(1, 1, true, scored(1, NoAward, WazaAri))}},
        true, false},
    {"2018 hold: waza-ari at 10, none at 5", SetId::Ijf2018,
        {{Ev::HoldStart}, {Ev::Tick, 2, 5}, {Ev::Tick, 2, 9.95}, {Ev::Tick, 2, 10, scored(2, WazaAri)}},
        false, false},
    {"classic hold: koka at 10, yuko at 15", SetId::Classic,
        {{Ev::HoldStart}, {Ev::Tick, 2, 9.95}, {Ev::Tick, 2, 10, scored(2, Koka)}, {Ev::Tick, 2, 14.95},
            {Ev::Tick, 2, 15, scored(2, Yuko, Koka)}},
        false, false},
    {"a hold's second waza-ari makes ippon", SetId::Ijf2018,
        {{Ev::Typed, 1, 1}, {Ev::HoldStart}, {Ev::Tick, 1, 10, ends(1, 1, true, scored(1, WazaAri))}}, true,
        false},
    {"a hold past the time decides when it ends", SetId::Ijf2025,
        {{Ev::HoldStart}, {Ev::Tick, 2, 3}, {Ev::TimeOut, 2, 0, stopClock}, {Ev::Tick, 2, 5, scored(2, Yuko)},
            {Ev::Tick, 0, 0, ends(2, 0, false, with({}, [](Call &c) { c.timeUpBuzz = true; }))}},
        true, false},
    {"time out with one yuko against none has a winner", SetId::Ijf2025,
        {{Ev::Typed, 2, 2}, {Ev::TimeOut, 0, 0, ends(2, 0, false)}}, true, false},
    {"level at time out under 2025: golden score, where a 5 s hold ends it", SetId::Ijf2025,
        {{Ev::Shido, 1}, {Ev::TimeOut, 0, 0, golden}, {Ev::ClockStart}, {Ev::HoldStart}, {Ev::Tick, 2, 4.95},
            {Ev::Tick, 2, 5, ends(2, 0, true, scored(2, Yuko))}},
        true, true},
    {"golden score under 2018: the hold runs on past its waza-ari, decides at its end", SetId::Ijf2018,
        {{Ev::TimeOut, 0, 0, golden}, {Ev::ClockStart}, {Ev::HoldStart},
            {Ev::Tick, 1, 10, scored(1, WazaAri)}, {Ev::Tick, 1, 12}, {Ev::Tick, 0, 0, ends(1)}},
        true, true},
    {"golden score: a score typed during a hold ends it at once", SetId::Ijf2018,
        {{Ev::TimeOut, 0, 0, golden}, {Ev::ClockStart}, {Ev::HoldStart}, {Ev::Tick, 1, 3},
            {Ev::Typed, 2, 1, ends(2)}},
        true, true},
    {"third shido is hansoku-make; taking it back reopens", SetId::Ijf2025,
        {{Ev::Shido, 1}, {Ev::Shido, 1}, {Ev::Shido, 1, 0, ends(2)},
            {Ev::TakeBack, 1, 0, with({}, [](Call &c) { c.undecide = true; })}, {Ev::Shido, 1, 0, ends(2)}},
        true, false},
    {"taking back the other side's shido leaves the decision", SetId::Ijf2018,
        {{Ev::Shido, 2}, {Ev::Shido, 1}, {Ev::Shido, 1}, {Ev::Shido, 1, 0, ends(2)}, {Ev::TakeBack, 2}}, true,
        false},
    {"direct hansoku-make needs no shidos and is taken back first", SetId::Ijf2025,
        {{Ev::Shido, 2}, {Ev::Direct, 2, 0, ends(1)},
            {Ev::TakeBack, 2, 0, with({}, [](Call &c) { c.undecide = true; })}},
        false, false},
    {"sono-mama freezes, the frozen hold earns nothing, yoshi runs both on", SetId::Ijf2025,
        {{Ev::HoldStart}, {Ev::Tick, 1, 4}, {Ev::Down, 1, 1, freeze}, {Ev::Tick, 0, 0}, {Ev::Tick, 0, 0},
            {Ev::Down, 0, 0,
                with({},
                    [](Call &c) {
                        c.runClock = true;
                        c.runHold = 1;
                    })},
            {Ev::Tick, 1, 5, scored(1, Yuko)}},
        false, false},
    {"matte after sono-mama ends the hold", SetId::Ijf2018,
        {{Ev::TimeOut, 0, 0, golden}, {Ev::ClockStart}, {Ev::HoldStart},
            {Ev::Tick, 1, 11, scored(1, WazaAri)}, {Ev::Down, 1, 1, freeze}, {Ev::Tick, 0, 0},
            {Ev::ClockStart}, {Ev::Tick, 0, 0, ends(1)}},
        true, true},
    {"reset leaves golden score and the end", SetId::Ijf2018,
        {{Ev::TimeOut, 0, 0, golden}, {Ev::Typed, 1, 1, ends(1)}, {Ev::Reset}, {Ev::Typed, 2, 1}}, false,
        false},
};

// Drives a referee through a case's steps, keeping the scores as shown.
void run(const Case &c)
{
    Referee referee(preset(c.set));
    Match scores;
    bool clockRunning = true;
    qint16 hold = 0;
    int n = 0;
    for (const Step &s : c.steps) {
        Call got;
        switch (s.ev) {
        case Ev::Tick:
            hold = s.side;
            got = referee.tick(scores, s.side, secs(s.at));
            break;
        case Ev::TimeOut: got = referee.timeOut(scores, s.side); break;
        case Ev::Typed: {
            Side &side = s.side == 2 ? scores.visitor : scores.home;
            ++(s.at == 2 ? side.y : side.w);
            got = referee.scoreTyped(scores, s.side);
            break;
        }
        case Ev::Ippon: got = referee.ipponGiven(s.side); break;
        case Ev::Shido: got = referee.shido(s.side, false); break;
        case Ev::TakeBack: got = referee.shido(s.side, true); break;
        case Ev::Direct: got = referee.hansokuMakeGiven(s.side); break;
        case Ev::Down: got = referee.sonoMama(s.at != 0 ? true : clockRunning, s.side); break;
        case Ev::HoldStart: referee.holdStarted(); break;
        case Ev::ClockStart: referee.clockStarted(false, false); break;
        case Ev::Reset:
            referee.contestReset();
            scores = {};
            break;
        }
        EXPECT_EQ(got, s.expect) << c.what << ", step " << n;
        // The board shows what the hold earned.
        Side &side = got.scoreSide == 2 ? scores.visitor : scores.home;
        for (auto [award, delta] : {std::pair {got.replaced, -1}, std::pair {got.earned, 1}}) {
            qint16 *count = award == WazaAri ? &side.w
                            : award == Yuko  ? &side.y
                            : award == Koka  ? &side.k
                                             : nullptr;
            if (got.scoreSide != 0 && count)
                *count = qint16(*count + delta);
        }
        ++n;
    }
    Q_UNUSED(hold);
    EXPECT_EQ(referee.ended(), c.ended) << c.what;
    EXPECT_EQ(referee.goldenScore(), c.golden) << c.what;
}

} // namespace

TEST(Referee, EventSequencesUnderEverySet)
{
    for (const Case &c : cases)
        run(c);
}

TEST(Referee, ShidoCountsStopAtHansokuMakeAndASetChangeStartsAfresh)
{
    Referee referee(preset(SetId::Ijf2025));
    for (int i = 0; i < 5; ++i)
        referee.shido(1, false);
    EXPECT_EQ(referee.shidos(1), 3);
    EXPECT_TRUE(referee.hansokuMake(1));
    EXPECT_TRUE(referee.ended());
    EXPECT_EQ(referee.timeOut({}, 0), Call {}) << "an ended contest is decided no more";

    referee.setRules(preset(SetId::Ijf2018));
    EXPECT_FALSE(referee.ended());
    EXPECT_EQ(referee.shidos(1), 3) << "shidos stay shidos under another count";
    referee.setRules(preset(SetId::Classic));
    EXPECT_EQ(referee.shidos(1), 0) << "without a count they mean nothing";
    EXPECT_FALSE(referee.hansokuMake(1));

    // Undo puts the counts back, and a decision gone lets the rules decide again.
    referee.setRules(preset(SetId::Ijf2018));
    referee.hansokuMakeGiven(2);
    MatchMarks back;
    back.shidoHome = 1;
    referee.marksPutBack(back);
    EXPECT_FALSE(referee.ended());
    EXPECT_FALSE(referee.hansokuMake(2));
    EXPECT_EQ(referee.shidos(1), 1);

    // A hansoku-make lamp lit short of the count is a direct one.
    back.penalties[5] = true;
    back.winner = 1;
    referee.marksPutBack(back);
    EXPECT_TRUE(referee.directHansokuMake(2));
    EXPECT_TRUE(referee.shidoLamp(2, 3));
    EXPECT_FALSE(referee.shidoLamp(2, 1));
    EXPECT_TRUE(referee.shidoLamp(1, 1));
    EXPECT_FALSE(referee.shidoLamp(1, 2));
}

TEST(Referee, TheArrowsAndTheClockStartSetTheHolds)
{
    Referee design;
    EXPECT_EQ(design.osaekomi(1, true), (Holds {true, 1, false})) << "a new hold from 0";
    EXPECT_EQ(design.osaekomi(0, true), (Holds {true, 0, false})) << "the design's toketa clears";
    EXPECT_EQ(design.osaekomi(2, false), Holds {}) << "no hold on a stopped clock";
    EXPECT_EQ(design.clockStarted(true, false), Holds {}) << "the design keeps what the holds show";

    Referee ijf(preset(SetId::Ijf2025));
    EXPECT_EQ(ijf.osaekomi(0, true), Holds {}) << "toketa keeps the hold's time shown";
    EXPECT_EQ(ijf.clockStarted(true, false), (Holds {true, 0, false})) << "until the clock starts again";
    EXPECT_EQ(ijf.clockStarted(true, true), Holds {}) << "a running hold is no shown time";

    // After sono-mama an arrow runs the clock on and does its own work.
    ijf.sonoMama(true, 1);
    EXPECT_EQ(ijf.osaekomi(2, false), (Holds {true, 2, true}));
    EXPECT_FALSE(ijf.frozen());
    ijf.sonoMama(false, 1);
    EXPECT_EQ(ijf.osaekomi(2, false), Holds {}) << "a clock that was stopped stays stopped";
}
