// The tournament day run by JudoShiai, on a fake board and a fake link:
// which offered match goes on the board and when, what the next-match key
// sends, and a result that outlives a crash before its ACK.

#include "day/MatchDay.h"
#include "day/TournamentLink.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace JudoShiai;

namespace {

class FakeBoard : public DayBoard
{
public:
    MatchMarks marks() const override { return m_marks; }
    void setMarks(const MatchMarks &marks) override { m_marks = marks; }
    const Rules::RuleSet &rules() const override { return m_rules; }
    TimeValue resetTime() const override { return TimeValue::fromSeconds(120); }
    bool clockRan() const override { return ran; }
    SavedContest contestOnBoard() const override
    {
        SavedContest c;
        c.home = shown.contest.home;
        c.visitor = shown.contest.visitor;
        c.title = shown.contest.title;
        c.marks = m_marks;
        c.rules = Rules::idText(m_rules.id);
        c.clockRan = ran;
        return c;
    }
    void putContest(const SavedContest &contest) override
    {
        m_marks = contest.marks;
        ran = contest.clockRan;
    }
    void startContest(const MatchList::Next &next) override
    {
        shown = next;
        m_marks = next.marks;
        ran = false;
        ++started;
    }
    ContestResult::Ended endedContest() const override
    {
        ContestResult::Ended ended;
        ended.home = shown.contest.home;
        ended.visitor = shown.contest.visitor;
        ended.marks = m_marks;
        ended.rules = m_rules;
        ended.timeUsed = TimeValue::fromSeconds(42);
        return ended;
    }
    void dayChanged() override { }
    void tellOperator(const QString &, const QString &) override { }
    bool askOperator(const QString &text) override
    {
        asked << text;
        return answer;
    }

    QStringList asked;
    bool answer = true;
    MatchList::Next shown;
    int started = 0;
    bool ran = false;
    MatchMarks m_marks;
    Rules::RuleSet m_rules = Rules::preset(Rules::SetId::Ijf2018);
};

class FakeLink : public TournamentLink
{
public:
    QString server() const override { return QStringLiteral("fake:2310"); }
    int tatami() const override { return 1; }
    bool isConnected() const override { return true; }
    const std::optional<NextMatchMessage> &offered() const override { return m_offered; }
    void sendResult(const ResultMessage &result) override
    {
        sent.append(result);
        m_pending = result;
    }
    const std::optional<ResultMessage> &pendingResult() const override { return m_pending; }

    void offer(qint32 number, const QString &whiteLast)
    {
        NextMatchMessage next;
        next.tatami = 1;
        next.category = 10000;
        next.match = number;
        next.minutes = timesKnown;
        next.matchTime = 300;
        next.category1 = QStringLiteral("M-73");
        next.round = 0x0100 | number;
        next.white1 = {whiteLast, QStringLiteral("W"), QStringLiteral("NOR"), QStringLiteral("Stord")};
        next.blue1 = {QStringLiteral("PERSSON"), QStringLiteral("Elias"), QStringLiteral("SWE"), QString()};
        m_offered = next;
        emit matchOffered(next);
    }

    QList<ResultMessage> sent;
    std::optional<NextMatchMessage> m_offered;
    std::optional<ResultMessage> m_pending;
};

struct DayTest : ::testing::Test
{
    DayTest() { day.setTournamentLink(link); }

    FakeBoard board;
    MatchDay day {board};
    FakeLink *link = new FakeLink; // the day owns it
};

} // namespace

TEST_F(DayTest, OfferedMatchGoesOnTheBoardBetweenContestsOnly)
{
    link->offer(1, QStringLiteral("JENSEN"));
    EXPECT_EQ(board.shown.contest.home, QStringLiteral("JENSEN W"));
    EXPECT_EQ(board.shown.contest.visitor, QStringLiteral("PERSSON Elias"));
    EXPECT_EQ(board.shown.contest.title, QStringLiteral("M-73 · Pool, round 1"));
    EXPECT_EQ(board.shown.time, TimeValue::fromSeconds(300));
    EXPECT_EQ(day.tournamentDetails(1), QStringLiteral("NOR, Stord"));

    // Nothing happened yet: a changed match replaces it.
    link->offer(2, QStringLiteral("OTHER"));
    EXPECT_EQ(board.shown.contest.home, QStringLiteral("OTHER W"));
    EXPECT_EQ(day.tournamentMatch(), 2);

    // Under way: the next offer waits for the next-match key.
    board.m_marks.scores[3] = 1;
    link->offer(3, QStringLiteral("HÄMÄLÄINEN"));
    EXPECT_EQ(day.tournamentMatch(), 2);
    EXPECT_TRUE(link->sent.isEmpty());

    // Undecided: N asks first, and No keeps the contest as it is.
    board.answer = false;
    day.nextMatch();
    ASSERT_EQ(board.asked.size(), 1);
    EXPECT_EQ(board.asked[0],
        QStringLiteral("Contest 2 is not decided. Record it as undecided and go on to the next "
                       "contest?"));
    EXPECT_TRUE(link->sent.isEmpty());
    EXPECT_EQ(day.tournamentMatch(), 2);
    board.answer = true;
    day.nextMatch();
    ASSERT_EQ(link->sent.size(), 1);
    EXPECT_EQ(link->sent[0].match, 2);
    EXPECT_EQ(link->sent[0].blueScore, packScore(0, 1, 0, 0));
    EXPECT_EQ(link->sent[0].time, 42);
    EXPECT_EQ(day.tournamentMatch(), 3);
    EXPECT_EQ(board.shown.contest.home, QStringLiteral("HÄMÄLÄINEN W"));
    EXPECT_EQ(board.marks(), MatchMarksRules::cleared(board.rules()));
}

TEST_F(DayTest, EndedContestStaysUntilJudoShiaiMovesOn)
{
    link->offer(1, QStringLiteral("JENSEN"));
    board.ran = true;
    day.nextMatch();
    ASSERT_EQ(link->sent.size(), 1);
    const int started = board.started;
    // The same match again, before JudoShiai has taken the result: nothing
    // new, and a second key press sends nothing twice.
    link->offer(1, QStringLiteral("JENSEN"));
    day.nextMatch();
    EXPECT_EQ(board.started, started);
    EXPECT_EQ(link->sent.size(), 1);
    link->offer(2, QStringLiteral("HÄMÄLÄINEN"));
    EXPECT_EQ(day.tournamentMatch(), 2);
    EXPECT_EQ(board.started, started + 1);
}

TEST_F(DayTest, DecidedContestSendsAtOnceAndWaitsForNToMoveOn)
{
    link->offer(1, QStringLiteral("JENSEN"));
    board.m_marks.scores[0] = 1;
    board.m_marks.winner = 1; // the rules decided, the clock stopped
    day.scheduleSave(); // as the board does on every change
    ASSERT_EQ(link->sent.size(), 1);
    EXPECT_EQ(link->sent[0].whiteScore, packScore(0, 1, 0, 0));
    day.scheduleSave();
    EXPECT_EQ(link->sent.size(), 1) << "once per decision";

    link->offer(2, QStringLiteral("HÄMÄLÄINEN"));
    EXPECT_EQ(day.tournamentMatch(), 1) << "the decided contest stays until N";
    day.nextMatch();
    EXPECT_EQ(link->sent.size(), 1) << "nothing changed since it was sent";
    EXPECT_EQ(day.tournamentMatch(), 2);

    // Decided, then changed by the operator before N: sent again as it ended.
    board.m_marks.winner = 2;
    day.scheduleSave();
    ASSERT_EQ(link->sent.size(), 2);
    board.m_marks.winner = 1;
    day.nextMatch();
    ASSERT_EQ(link->sent.size(), 3);
    EXPECT_EQ(link->sent[2].match, 2);
}

TEST_F(DayTest, ResultNotYetAcknowledgedOutlivesACrash)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("contest.json"));
    day.setRecoveryFile(file);
    link->offer(1, QStringLiteral("JENSEN"));
    board.m_marks.ippon = 1;
    day.nextMatch(); // sent; no ACK comes before the crash
    ASSERT_TRUE(day.waitForDisk());

    QFile saved(file);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    const std::optional<SavedContest> contest = SavedContest::fromJson(saved.readAll());
    ASSERT_TRUE(contest);
    EXPECT_EQ(contest->tournamentMatch, 1);

    FakeBoard again;
    MatchDay restarted(again);
    auto *fresh = new FakeLink;
    restarted.setTournamentLink(fresh);
    restarted.restoreContest(*contest);
    ASSERT_EQ(fresh->sent.size(), 1);
    EXPECT_EQ(fresh->sent[0], link->sent[0]);
    EXPECT_EQ(fresh->sent[0].whiteScore, packScore(1, 0, 0, 0));
    // JudoShiai still offers match 1: the restored contest is that one, ended.
    fresh->offer(1, QStringLiteral("JENSEN"));
    restarted.nextMatch();
    EXPECT_EQ(fresh->sent.size(), 1);
}

TEST(SavedTournament, DamagedLinkFieldsDropTheWholeContest)
{
    SavedContest contest;
    contest.rules = QStringLiteral("ijf2018");
    contest.marks = MatchMarksRules::cleared(Rules::preset(Rules::SetId::Ijf2018));
    contest.tournamentCategory = 10000;
    contest.tournamentMatch = 2;
    contest.tournamentEnded = true;
    ResultMessage result;
    result.tatami = 1;
    result.category = 10000;
    result.match = 2;
    contest.tournamentResult = encodeResult(result);
    const QByteArray good = contest.toJson();
    ASSERT_EQ(SavedContest::fromJson(good), contest);

    const QByteArray resultHex = contest.tournamentResult.toHex();
    for (const auto &[from, to] : std::initializer_list<std::pair<QByteArray, QByteArray>> {
             {"\"match\":2", "\"match\":1000"}, {"\"category\":10000", "\"category\":5"},
             {"\"ended\":true", "\"ended\":1"}, {resultHex, resultHex.left(20)}, {resultHex, "zz"}}) {
        QByteArray damaged = good;
        damaged.replace(from, to);
        ASSERT_NE(damaged, good) << from.constData();
        EXPECT_FALSE(SavedContest::fromJson(damaged)) << to.constData();
    }
}
