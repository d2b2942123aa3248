// What JudoShiai is told of an ended contest, as a table: the sides
// crossed over (White is Home), blank displays, the shido count or lamps,
// hansoku-make, the operator's decision, golden score and the time.

#include "modules/JudoShiaiResult.h"

#include <gtest/gtest.h>

using namespace JudoShiai;

namespace {

ContestResult::Ended contest(Rules::SetId set)
{
    ContestResult::Ended ended;
    ended.rules = Rules::preset(set);
    ended.marks = MatchMarksRules::cleared(ended.rules);
    ended.timeUsed = TimeValue::fromTicks(1234 * 1000); // 123.4 s
    return ended;
}

} // namespace

TEST(JudoShiaiResult, ContestsAsJudoShiaiReadsThem)
{
    struct Case
    {
        const char *name;
        ContestResult::Ended ended;
        qint32 white, blue, time;
        qint8 whiteVote, blueVote, whiteHansokumake, blueHansokumake;
        qint32 legend;
    };
    QList<Case> cases;

    ContestResult::Ended scores = contest(Rules::SetId::Classic);
    scores.marks.scores = {1, 2, 3, 0, -1, 0}; // Home W Y K, Visitor W Y K; -1 blank
    scores.marks.ippon = 2;
    cases.append({"White is Home, koka left out, Blue's ippon", scores, 0x1200, 0x10000, 123, 0, 0, 0, 0, 0});

    ContestResult::Ended lamps = contest(Rules::SetId::Design);
    lamps.marks.penalties = {true, false, true, false, false, true};
    cases.append({"the Design set's lit lamps count as shidos", lamps, 2, 1, 123, 0, 0, 0, 0, 0});

    ContestResult::Ended hansoku = contest(Rules::SetId::Ijf2018);
    hansoku.marks.shidoVisitor = 3;
    hansoku.marks.winner = 1;
    cases.append({"three shidos are hansoku-make, and no vote", hansoku, 0, 3, 123, 0, 0, 0, 1, 0});

    ContestResult::Ended decision = contest(Rules::SetId::Ijf2018);
    decision.marks.winner = 2;
    decision.goldenScore = true;
    decision.timeUsed = TimeValue::fromSeconds(240);
    decision.goldenScoreTime = TimeValue::fromTicks(615 * 1000); // 61.5 s
    cases.append(
        {"the operator's decision in golden score", decision, 0, 0, 302, 0, 1, 0, 0, legendGoldenScore});

    ContestResult::Ended ahead = contest(Rules::SetId::Ijf2018);
    ahead.marks.scores[0] = 1;
    ahead.marks.winner = 1;
    cases.append({"a winner the scores give is no vote", ahead, 0x1000, 0, 123, 0, 0, 0, 0, 0});

    for (const Case &c : cases) {
        const ResultFor result = resultFor(c.ended, 10000, 7);
        const ResultMessage &m = result.message;
        EXPECT_EQ(m.category, 10000) << c.name;
        EXPECT_EQ(m.match, 7) << c.name;
        EXPECT_EQ(m.whiteScore, c.white) << c.name;
        EXPECT_EQ(m.blueScore, c.blue) << c.name;
        EXPECT_EQ(m.time, c.time) << c.name;
        EXPECT_EQ(m.whiteVote, c.whiteVote) << c.name;
        EXPECT_EQ(m.blueVote, c.blueVote) << c.name;
        EXPECT_EQ(m.whiteHansokumake, c.whiteHansokumake) << c.name;
        EXPECT_EQ(m.blueHansokumake, c.blueHansokumake) << c.name;
        EXPECT_EQ(m.legend, c.legend) << c.name;
        // What JudoShiai reads back is what was meant.
        EXPECT_EQ(decodeResult(encodeResult(m)), m) << c.name;
    }
    EXPECT_EQ(resultFor(scores, 10000, 7).kokaWhite, 3);
}
