#include "modules/JudoShiaiResult.h"

#include <algorithm>

namespace JudoShiai {

namespace {

constexpr qint16 home = 1;
constexpr qint16 visitor = 2;

int counted(qint16 score)
{
    return std::max<int>(score, 0); // -1 is a blank display
}

} // namespace

ResultFor resultFor(const ContestResult::Ended &contest, qint32 category, qint32 match)
{
    const MatchMarks &marks = contest.marks;
    const Rules::RuleSet &rules = contest.rules;
    // Without a shido count, the lit penalty lamps are the shidos.
    const auto shidos = [&](qint16 side) {
        if (rules.countsShidos())
            return int(side == home ? marks.shidoHome : marks.shidoVisitor);
        const int first = side == home ? 0 : 3;
        return int(std::count(marks.penalties.begin() + first, marks.penalties.begin() + first + 3, true));
    };
    const auto hansokuMake = [&](qint16 side) {
        return rules.countsShidos() && shidos(side) >= rules.shidoLimit;
    };
    const auto side = [&](qint16 number) {
        const int first = number == home ? 0 : 3;
        return Rules::Side {qint16(counted(marks.scores[first])), qint16(counted(marks.scores[first + 1])),
            qint16(counted(marks.scores[first + 2])), qint16(shidos(number))};
    };
    const auto score = [&](qint16 number) {
        const Rules::Side s = side(number);
        return packScore(marks.ippon == number ? 1 : 0, s.w, s.y, s.shidos);
    };

    ResultFor out;
    ResultMessage &result = out.message;
    result.category = category;
    result.match = match;
    const qint64 ticks =
        contest.timeUsed.ticks() + (contest.goldenScore ? contest.goldenScoreTime.ticks() : 0);
    result.time =
        qint32((std::max<qint64>(ticks, 0) + TimeValue::TicksPerSecond / 2) / TimeValue::TicksPerSecond);
    result.whiteScore = score(home);
    result.blueScore = score(visitor);
    result.whiteHansokumake = hansokuMake(home) ? 1 : 0;
    result.blueHansokumake = hansokuMake(visitor) ? 1 : 0;
    // A winner the scores do not give is the operator's decision.
    const bool scoresDecide = marks.ippon != 0 || Rules::ahead(side(home), side(visitor)) != 0 ||
                              result.whiteHansokumake != result.blueHansokumake;
    if (marks.winner != 0 && !scoresDecide) {
        result.whiteVote = marks.winner == home ? 1 : 0;
        result.blueVote = marks.winner == visitor ? 1 : 0;
    }
    result.legend = contest.goldenScore ? legendGoldenScore : 0;
    out.kokaWhite = counted(marks.scores[2]);
    out.kokaBlue = counted(marks.scores[5]);
    return out;
}

} // namespace JudoShiai
