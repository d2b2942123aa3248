#include "modules/AudienceCues.h"

#include <algorithm>

namespace {

constexpr qint16 Home = 1;
constexpr qint16 Visitor = 2;

int brightness(OleColor color)
{
    const int red = color & 0xFF;
    const int green = (color >> 8) & 0xFF;
    const int blue = (color >> 16) & 0xFF;
    return (299 * red + 587 * green + 114 * blue) / 1000;
}

// The highest score in which the winner is ahead, or "" when the scores
// did not decide.
QString decidingScore(const MatchMarks &marks, qint16 winner)
{
    static const char *const names[] = {"WAZA-ARI", "YUKO", "KOKA"};
    for (int i = 0; i < 3; ++i) {
        const qint16 home = std::max<qint16>(marks.scores[i], 0);
        const qint16 visitor = std::max<qint16>(marks.scores[3 + i], 0);
        if (home != visitor)
            return (home > visitor ? Home : Visitor) == winner ? QLatin1String(names[i]) : QString();
    }
    return {};
}

} // namespace

namespace AudienceCues {

Frame selectionFrame(qint16 storedWidth, OleColor stored, OleColor formBack, bool operatorOnly)
{
    if (!operatorOnly)
        return {storedWidth, stored};
    return {std::max(storedWidth, OperatorFrameWidth), stored != formBack ? stored : contrasting(formBack)};
}

OleColor contrasting(OleColor background)
{
    return brightness(background) < 128 ? rgbColor(255, 255, 0) : rgbColor(0, 0, 0);
}

QString banner(const ContestResult::Ended &contest)
{
    const MatchMarks &marks = contest.marks;
    const qint16 winner = marks.winner != 0 ? marks.winner : marks.ippon;
    if (winner != Home && winner != Visitor)
        return QStringLiteral("END OF CONTEST");
    const qint16 loser = winner == Home ? Visitor : Home;
    const bool loserOut = contest.rules.countsShidos() &&
                          (loser == Home ? marks.shidoHome : marks.shidoVisitor) >= contest.rules.shidoLimit;
    QString how = QStringLiteral("WINNER");
    if (marks.ippon == winner)
        how = QStringLiteral("IPPON");
    else if (loserOut)
        how = QStringLiteral("HANSOKU-MAKE");
    else if (const QString score = decidingScore(marks, winner); !score.isEmpty())
        how = score;
    QString text =
        how + QStringLiteral(" \u2014 ") + (winner == Home ? contest.home : contest.visitor).toUpper();
    if (contest.goldenScore)
        text += QStringLiteral(" (golden score)");
    return text;
}

} // namespace AudienceCues
