// The rules engine as a table: what each set decides for a hold's seconds,
// a score, an ippon, a shido and the time running out.

#include "modules/RuleSet.h"

#include <gtest/gtest.h>

using namespace Rules;

namespace {

TimeValue seconds(double s)
{
    return TimeValue::fromTicks(qint64(s * TimeValue::TicksPerSecond + 0.5));
}

struct HoldCase
{
    SetId set;
    double held;
    Award award;
};

// Every threshold one tick (50 ms) before and at its time.
const HoldCase holdCases[] = {
    {SetId::Design, 0, NoAward},
    {SetId::Design, 300, NoAward},
    {SetId::Classic, 9.95, NoAward},
    {SetId::Classic, 10, Koka},
    {SetId::Classic, 14.95, Koka},
    {SetId::Classic, 15, Yuko},
    {SetId::Classic, 19.95, Yuko},
    {SetId::Classic, 20, WazaAri},
    {SetId::Classic, 24.95, WazaAri},
    {SetId::Classic, 25, Ippon},
    {SetId::Classic, 99, Ippon},
    {SetId::Ijf2018, 9.95, NoAward},
    {SetId::Ijf2018, 10, WazaAri},
    {SetId::Ijf2018, 19.95, WazaAri},
    {SetId::Ijf2018, 20, Ippon},
    {SetId::Ijf2025, 4.95, NoAward},
    {SetId::Ijf2025, 5, Yuko},
    {SetId::Ijf2025, 9.95, Yuko},
    {SetId::Ijf2025, 10, WazaAri},
    {SetId::Ijf2025, 19.95, WazaAri},
    {SetId::Ijf2025, 20, Ippon},
};

Match scores(Side home, Side visitor, bool golden = false, bool holding = false)
{
    return Match {home, visitor, golden, holding};
}

struct DecideCase
{
    const char *what;
    SetId set;
    Match match;
    Event event;
    qint16 side;
    Outcome outcome;
};

const DecideCase decideCases[] = {
    // Nothing is ever decided under the design's own set.
    {"design score", SetId::Design, scores({2, 0, 0, 0}, {}), Event::Score, 1, {}},
    {"design ippon", SetId::Design, scores({}, {}), Event::Ippon, 2, {}},
    {"design shidos", SetId::Design, scores({0, 0, 0, 3}, {}), Event::Penalty, 1, {}},
    {"design time up", SetId::Design, scores({1, 0, 0, 0}, {}), Event::TimeUp, 0, {}},
    // Two waza-ari make ippon; one does not.
    {"one waza-ari", SetId::Ijf2018, scores({1, 0, 0, 0}, {}), Event::Score, 1, {}},
    {"two waza-ari", SetId::Ijf2018, scores({}, {2, 0, 0, 0}), Event::Score, 2, {true, 2, 2, false}},
    {"classic two waza-ari", SetId::Classic, scores({2, 0, 0, 0}, {}), Event::Score, 1, {true, 1, 1, false}},
    {"operator's ippon", SetId::Classic, scores({}, {}), Event::Ippon, 1, {true, 1, 0, false}},
    // A shido count to hansoku-make; the design's lamps count nothing.
    {"two shidos", SetId::Ijf2018, scores({0, 0, 0, 2}, {}), Event::Penalty, 1, {}},
    {"hansoku-make", SetId::Ijf2018, scores({}, {0, 0, 0, 3}), Event::Penalty, 2, {true, 1, 0, false}},
    {"classic lamps", SetId::Classic, scores({0, 0, 0, 3}, {}), Event::Penalty, 1, {}},
    // Time up: the scores decide, W before Y before K, and shidos never.
    {"time up, W ahead", SetId::Classic, scores({1, 0, 0, 0}, {0, 5, 5, 0}), Event::TimeUp, 0,
        {true, 1, 0, false}},
    {"time up, K decides", SetId::Classic, scores({0, 1, 0, 0}, {0, 1, 1, 0}), Event::TimeUp, 0,
        {true, 2, 0, false}},
    {"time up, level, no golden score", SetId::Classic, scores({}, {}), Event::TimeUp, 0,
        {true, 0, 0, false}},
    {"time up, level, golden score", SetId::Ijf2018, scores({0, 0, 0, 2}, {0, 0, 0, 0}), Event::TimeUp, 0,
        {false, 0, 0, true}},
    {"time up, ahead, golden score set", SetId::Ijf2018, scores({}, {1, 0, 0, 0}), Event::TimeUp, 0,
        {true, 2, 0, false}},
    // In golden score the first score ends it.
    {"golden score, first score", SetId::Ijf2018, scores({}, {1, 0, 0, 0}, true), Event::Score, 2,
        {true, 2, 0, false}},
    {"golden score, a hold's waza-ari", SetId::Ijf2018, scores({1, 0, 0, 0}, {}, true, true), Event::Score, 1,
        {}},
    {"golden score, a hold's second waza-ari", SetId::Ijf2018, scores({2, 0, 0, 0}, {}, true, true),
        Event::Score, 1, {true, 1, 1, false}},
    {"golden score, taken back", SetId::Ijf2018, scores({}, {}, true), Event::Score, 2, {}},
    {"golden score, hansoku-make", SetId::Ijf2018, scores({0, 0, 0, 3}, {}, true), Event::Penalty, 1,
        {true, 2, 0, false}},
    {"before golden score, a score", SetId::Ijf2018, scores({1, 0, 0, 0}, {}), Event::Score, 1, {}},
    // Yuko count less than one waza-ari however many, and decide at time up.
    {"2025 time up, one yuko", SetId::Ijf2025, scores({0, 1, 0, 0}, {}), Event::TimeUp, 0,
        {true, 1, 0, false}},
    {"2025 time up, waza-ari over yuko", SetId::Ijf2025, scores({0, 9, 0, 0}, {1, 0, 0, 0}), Event::TimeUp, 0,
        {true, 2, 0, false}},
    {"2025 time up, shidos only", SetId::Ijf2025, scores({0, 0, 0, 2}, {}), Event::TimeUp, 0,
        {false, 0, 0, true}},
    {"2025 golden score, a yuko", SetId::Ijf2025, scores({}, {0, 1, 0, 0}, true), Event::Score, 2,
        {true, 2, 0, false}},
    {"2025 yuko do not make ippon", SetId::Ijf2025, scores({0, 5, 0, 0}, {}), Event::Score, 1, {}},
};

} // namespace

TEST(RuleSet, AHoldEarnsEachScoreAtItsSecondAndNotATickBefore)
{
    for (const HoldCase &c : holdCases)
        EXPECT_EQ(holdAward(preset(c.set), seconds(c.held)), c.award)
            << displayName(c.set).toStdString() << " at " << c.held << " s";
}

TEST(RuleSet, TheTickWakesAtTheNextAwardAndNotAfterIt)
{
    const qint64 step = seconds(0.05).ticks();
    const RuleSet ijf = preset(SetId::Ijf2018);
    // From 9 s: 20 ticks to 10 s, where the waza-ari comes.
    EXPECT_EQ(ticksUntilNextAward(ijf, seconds(9), step, 1200), 20);
    // From a time off the tick grid the wake rounds up onto the award.
    EXPECT_EQ(ticksUntilNextAward(ijf, seconds(9.99), step, 1200), 1);
    EXPECT_EQ(ticksUntilNextAward(ijf, seconds(20), step, 1200), 1200);
    EXPECT_EQ(ticksUntilNextAward(ijf, seconds(5), 0, 1200), 1200) << "a stopped hold earns nothing";
    EXPECT_EQ(ticksUntilNextAward(preset(SetId::Design), seconds(5), step, 77), 77);
}

TEST(RuleSet, DecidesWhatFollowsEachEvent)
{
    for (const DecideCase &c : decideCases)
        EXPECT_EQ(decide(preset(c.set), c.match, c.event, c.side), c.outcome) << c.what;
}

TEST(RuleSet, SetsAreNamedAndDamagedValuesAreBounded)
{
    for (SetId id : {SetId::Design, SetId::Classic, SetId::Ijf2018, SetId::Ijf2025, SetId::Custom})
        EXPECT_EQ(idFromText(idText(id)), id);
    EXPECT_EQ(idText(SetId::Ijf2025), QStringLiteral("ijf2025"));
    EXPECT_EQ(displayName(SetId::Ijf2025), QStringLiteral("IJF 2025"));
    EXPECT_EQ(idFromText(QStringLiteral("IJF2018")), std::nullopt);
    EXPECT_EQ(idFromText(QString()), std::nullopt);
    EXPECT_EQ(displayName(SetId::Ijf2018), QStringLiteral("IJF 2018"));
    EXPECT_FALSE(preset(SetId::Design).automatic());

    RuleSet wild = preset(SetId::Custom);
    wild.ipponAt = -4;
    wild.wazaAriAt = 3000;
    wild.shidoLimit = 12;
    wild.contestSeconds = 0;
    const RuleSet set = bounded(wild);
    EXPECT_EQ(set.ipponAt, 0);
    EXPECT_EQ(set.wazaAriAt, MaxHoldSeconds);
    EXPECT_EQ(set.shidoLimit, MaxShidoLimit);
    EXPECT_EQ(set.contestSeconds, MinContestSeconds);
}

TEST(RuleSet, PenaltyLampsAreLetteredByTheCount)
{
    const auto letters = [](const RuleSet &set) {
        return lampLetter(set, 0) + lampLetter(set, 1) + lampLetter(set, 2);
    };
    EXPECT_EQ(letters(preset(SetId::Design)), QStringLiteral("KCS"));
    EXPECT_EQ(letters(preset(SetId::Ijf2025)), QStringLiteral("SSH"));
    RuleSet two = preset(SetId::Custom);
    two.shidoLimit = 2;
    EXPECT_EQ(letters(two), QStringLiteral("SH")) << "no letter beyond the count's end";
}
