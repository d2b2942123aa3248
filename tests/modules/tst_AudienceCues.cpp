// What the board adds for the operator and the audience, as tables: the
// selection frame with and without an audience window, and the result
// banner for every way a contest ends.

#include "modules/AudienceCues.h"

#include <gtest/gtest.h>

using namespace AudienceCues;

namespace {

constexpr OleColor Grey = 4210752; // the design's form colour
constexpr OleColor Cyan = rgbColor(0, 255, 255);
constexpr OleColor Yellow = rgbColor(255, 255, 0);
constexpr OleColor White = rgbColor(255, 255, 255);
constexpr OleColor Black = rgbColor(0, 0, 0);

struct FrameCase
{
    qint16 storedWidth;
    OleColor stored;
    OleColor formBack;
    bool operatorOnly;
    Frame expected;
};

const FrameCase frameCases[] = {
    // The design's own frame, whatever it is, without an audience window.
    {0, Grey, Grey, false, {0, Grey}},
    {1, Cyan, Grey, false, {1, Cyan}},
    {40, Cyan, White, false, {40, Cyan}},
    // With one: at least three pixels, in the stored colour when it shows.
    {0, Grey, Grey, true, {3, Yellow}},
    {1, Cyan, Grey, true, {3, Cyan}},
    {7, Cyan, Grey, true, {7, Cyan}},
    {0, White, White, true, {3, Black}},
    {0, Black, Black, true, {3, Yellow}},
    {-5, Cyan, Grey, true, {3, Cyan}},
};

ContestResult::Ended contest(qint16 winner, qint16 ippon, std::array<qint16, 6> scores, bool golden = false)
{
    ContestResult::Ended c;
    c.home = QStringLiteral("Tanaka");
    c.visitor = QStringLiteral("Müller");
    c.rules = Rules::preset(Rules::SetId::Ijf2018);
    c.marks.winner = winner;
    c.marks.ippon = ippon;
    c.marks.scores = scores;
    c.goldenScore = golden;
    return c;
}

} // namespace

TEST(AudienceCues, SelectionFrame)
{
    for (const FrameCase &c : frameCases) {
        EXPECT_EQ(selectionFrame(c.storedWidth, c.stored, c.formBack, c.operatorOnly), c.expected)
            << c.storedWidth << " px in " << c.stored << " on " << c.formBack
            << (c.operatorOnly ? " (operator)" : "");
    }
}

TEST(AudienceCues, BannerNamesHowAndWho)
{
    EXPECT_EQ(banner(contest(1, 1, {1, 0, 0, 0, 0, 0})), QStringLiteral("IPPON \u2014 TANAKA"));
    // An ippon mark alone names its side.
    EXPECT_EQ(banner(contest(0, 2, {0, 0, 0, 0, 0, 0})), QStringLiteral("IPPON \u2014 MÜLLER"));
    EXPECT_EQ(banner(contest(2, 0, {0, 0, 0, 1, 0, 0}, true)),
        QStringLiteral("WAZA-ARI \u2014 MÜLLER (golden score)"));
    // The highest score that differs decides, even where the lower ones run the other way.
    EXPECT_EQ(banner(contest(1, 0, {0, 1, 0, 0, 0, 3})), QStringLiteral("YUKO \u2014 TANAKA"));
    EXPECT_EQ(banner(contest(2, 0, {0, 0, 0, 0, 0, 2})), QStringLiteral("KOKA \u2014 MÜLLER"));
    // Scores level or against the winner: the operator's decision.
    EXPECT_EQ(banner(contest(1, 0, {0, 0, 0, 0, 0, 0})), QStringLiteral("WINNER \u2014 TANAKA"));
    EXPECT_EQ(banner(contest(1, 0, {0, 0, 0, 1, 0, 0})), QStringLiteral("WINNER \u2014 TANAKA"));
    EXPECT_EQ(banner(contest(0, 0, {1, 0, 0, 0, 0, 0})), QStringLiteral("END OF CONTEST"));
    EXPECT_EQ(banner(contest(3, 0, {0, 0, 0, 0, 0, 0})), QStringLiteral("END OF CONTEST"));

    ContestResult::Ended out = contest(1, 0, {0, 0, 0, 1, 0, 0});
    out.marks.shidoVisitor = 3;
    EXPECT_EQ(banner(out), QStringLiteral("HANSOKU-MAKE \u2014 TANAKA"));
    // Without a shido count the lamps put nobody out.
    out.rules = Rules::preset(Rules::SetId::Classic);
    EXPECT_EQ(banner(out), QStringLiteral("WINNER \u2014 TANAKA"));
}
