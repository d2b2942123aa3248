#pragma once

#include "modules/TimeValue.h"

#include <QString>
#include <QtGlobal>

#include <optional>

// The rules a contest runs under, and what they decide. A rule set is plain
// data; the decisions are pure functions over the match as the board shows
// it, which the board applies through its own paths (the refresh, the
// lamps, the winner marks and the buzzer). The Design set decides nothing,
// so under it the board is exactly the operator's instrument.
namespace Rules {

// Stored by name, so new sets take the next number whatever their place in lists.
enum class SetId : qint16 { Design, Classic, Ijf2018, Custom, Ijf2025 };

// What a hold has earned, in rising order.
enum Award : qint16 { NoAward, Koka, Yuko, WazaAri, Ippon };

struct RuleSet
{
    SetId id = SetId::Design;
    // Which score displays the set uses; the others stay dark.
    bool useW = true;
    bool useY = true;
    bool useK = true;
    // The hold seconds that award each score; 0: a hold never awards it.
    qint16 kokaAt = 0;
    qint16 yukoAt = 0;
    qint16 wazaAriAt = 0;
    qint16 ipponAt = 0;
    // How many waza-ari make ippon; 0 for none.
    qint16 wazaAriForIppon = 0;
    // 0: the design's three independent penalty lamps. 1 to 3: a shido
    // count, that many shidos being hansoku-make.
    qint16 shidoLimit = 0;
    bool goldenScore = false;
    // In golden score a hold ends the contest with its first score, rather
    // than running on to what it reaches when it ends.
    bool holdEndsGoldenScore = false;
    qint32 contestSeconds = 120;

    // Whether anything is decided for the operator.
    bool automatic() const;
    bool countsShidos() const { return shidoLimit > 0; }
    bool uses(Award award) const;
    bool operator==(const RuleSet &) const = default;
};

// The limits of the values a set can hold; out-of-range values are brought
// into them, so that a damaged store cannot make a set that never ends.
constexpr qint16 MaxHoldSeconds = 99;
constexpr qint16 MaxWazaAriForIppon = 9;
constexpr qint16 MaxShidoLimit = 3;
constexpr qint32 MinContestSeconds = 1;
constexpr qint32 MaxContestSeconds = 599;
RuleSet bounded(RuleSet set);

RuleSet preset(SetId id); // Custom gives a copy of IJF 2018, its starting values
QString idText(SetId id); // "design", "classic", "ijf2018", "ijf2025", "custom"
std::optional<SetId> idFromText(const QString &text);
QString displayName(SetId id); // "Design", "Classic", "IJF 2018", "IJF 2025", "Custom"
// The letter under a side's penalty lamp (0 to 2): the design's K, C and S;
// under a shido count S up to the hansoku-make lamp H, nothing beyond it.
QString lampLetter(const RuleSet &set, int lamp);

// The highest score a hold of `held` seconds has earned.
Award holdAward(const RuleSet &set, TimeValue held);
// The ticks from now until a hold moving by `step` a tick earns more than it
// has now; `limit` when nothing comes sooner.
qint64 ticksUntilNextAward(const RuleSet &set, TimeValue held, qint64 step, qint64 limit);

// A side as the board shows it. Blank score displays count as 0.
struct Side
{
    qint16 w = 0;
    qint16 y = 0;
    qint16 k = 0;
    qint16 shidos = 0;
};

struct Match
{
    Side home;
    Side visitor;
    bool goldenScore = false; // the clock counts up in golden score
    bool holdGoesOn = false; // a hold is running, and will score what it reaches
};

enum class Event {
    Score, // a side's score changed (typed, or earned by a hold)
    Ippon, // the ippon mark was lit for `side`
    Penalty, // a side's shido count changed
    TimeUp, // the contest time ran out with no hold going on
};

struct Outcome
{
    bool ends = false; // stop the clock and hold, buzz once, light `winner`
    qint16 winner = 0; // 0 none (the operator decides), 1 Home, 2 Visitor
    qint16 ippon = 0; // light this side's ippon mark (waza-ari making ippon)
    bool goldenScore = false; // equal at time up: go on in golden score
    bool operator==(const Outcome &) const = default;
};

// What follows `event` on `side` (1 Home, 2 Visitor; unused for TimeUp).
Outcome decide(const RuleSet &set, const Match &match, Event event, qint16 side = 0);

// 1 or 2 for the side ahead on scores (W, then Y, then K), 0 when level.
qint16 ahead(const Side &home, const Side &visitor);

} // namespace Rules
