// The tournament day against a fake board: what the next-match key asks and
// does, going back a contest, the time a list contest starts with, and what
// the day keeps on disk.

#include "day/MatchDay.h"

#include "settings/SettingsStore.h"
#include "settings/SettingsVariables.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// A board reduced to the values the day reads and sets.
class FakeBoard : public DayBoard
{
public:
    FakeBoard() { contest.marks = MatchMarksRules::cleared(set); }
    MatchMarks marks() const override { return contest.marks; }
    void setMarks(const MatchMarks &m) override { contest.marks = m; }
    const Rules::RuleSet &rules() const override { return set; }
    TimeValue resetTime() const override { return reset; }
    bool clockRan() const override { return contest.clockRan; }
    SavedContest contestOnBoard() const override { return contest; }
    void putContest(const SavedContest &c) override { contest = c; }
    void startContest(const MatchList::Next &next) override
    {
        contest = SavedContest();
        contest.home = next.contest.home;
        contest.visitor = next.contest.visitor;
        contest.title = next.contest.title;
        contest.marks = next.marks;
        contest.period = next.time;
    }
    ContestResult::Ended endedContest() const override
    {
        ContestResult::Ended e;
        e.home = contest.home;
        e.visitor = contest.visitor;
        e.marks = contest.marks;
        e.rules = set;
        return e;
    }
    void dayChanged() override { }
    void tellOperator(const QString &, const QString &text) override { told << text; }
    bool askOperator(const QString &text) override
    {
        asked << text;
        return answer;
    }

    Rules::RuleSet set = Rules::preset(Rules::SetId::Ijf2018);
    SavedContest contest;
    TimeValue reset = TimeValue::fromSeconds(45); // a time typed in earlier
    bool answer = false;
    QStringList asked;
    QStringList told;
};

class MatchDayTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        Settings::resetToDefaults();
        SettingsStore::useFile(dir.filePath(QStringLiteral("store.conf")));
        day.setResultsFile(dir.filePath(QStringLiteral("results.csv")));
        day.loadMatchList("A,B,Pool,3:00\nC,D\nE,F,Final\n");
    }
    void TearDown() override { SettingsStore::useFile(QString()); }

    int resultLines()
    {
        EXPECT_TRUE(day.waitForDisk());
        QFile file(dir.filePath(QStringLiteral("results.csv")));
        return file.open(QIODevice::ReadOnly) ? int(file.readAll().count('\n')) - 1 : 0;
    }

    QTemporaryDir dir;
    FakeBoard board;
    MatchDay day {board};
};

} // namespace

TEST_F(MatchDayTest, TheNextMatchKeyAsksOnlyAboutAContestThatHappenedWithoutAWinner)
{
    struct Case
    {
        const char *name;
        bool clockRan;
        qint16 score; // Home's waza-ari
        qint16 winner;
        bool answer;
        bool asked;
        bool goesOn;
    };
    const Case cases[] = {
        {"untouched", false, 0, 0, false, false, true},
        {"clock ran, No", true, 0, 0, false, true, false},
        {"scored, No", false, 1, 0, false, true, false},
        {"scored, Yes", false, 1, 0, true, true, true},
        {"decided", true, 1, 1, false, false, true},
    };
    for (const Case &c : cases) {
        day.loadMatchList("A,B\nC,D\n");
        board.asked.clear();
        board.contest.clockRan = c.clockRan;
        board.contest.marks.scores[0] = c.score;
        board.contest.marks.winner = c.winner;
        board.answer = c.answer;
        const SavedContest before = board.contest;
        day.nextMatch();
        EXPECT_EQ(board.asked.size(), c.asked ? 1 : 0) << c.name;
        EXPECT_EQ(day.matchIndex(), c.goesOn ? 2 : 1) << c.name;
        if (!c.goesOn) {
            EXPECT_EQ(board.contest, before) << c.name << ": No keeps everything";
        }
    }
    board.contest.clockRan = true;
    day.previousMatch();
    board.contest.marks.winner = 0;
    board.asked.clear();
    day.nextMatch();
    ASSERT_EQ(board.asked.size(), 1);
    EXPECT_EQ(board.asked[0],
        QStringLiteral("Contest 1 is not decided. Record it as undecided and go on to contest 2?"));
}

TEST_F(MatchDayTest, GoingBackBringsTheContestAsItEndedAndEndingItAgainAddsALine)
{
    board.contest.marks.scores[0] = 1;
    board.contest.marks.winner = 1;
    board.contest.period = TimeValue::fromSeconds(17);
    board.contest.clockRan = true;
    const SavedContest first = board.contest;
    day.nextMatch();
    EXPECT_EQ(resultLines(), 1);
    EXPECT_EQ(board.contest.home, QStringLiteral("C"));

    EXPECT_TRUE(day.previousMatch());
    EXPECT_EQ(day.matchIndex(), 1);
    EXPECT_EQ(board.contest.marks, first.marks);
    EXPECT_EQ(board.contest.period, first.period);
    EXPECT_EQ(board.contest.home, QStringLiteral("A"));
    EXPECT_EQ(resultLines(), 1) << "its line is not rewritten";
    EXPECT_FALSE(day.previousMatch()) << "nothing before the first";

    day.nextMatch();
    EXPECT_EQ(resultLines(), 2) << "ended again: a new line";
    // Ctrl+Z right after N goes back as well; once a mark was set it takes
    // back the mark.
    EXPECT_TRUE(day.undoMarks());
    EXPECT_EQ(day.matchIndex(), 1);
    day.nextMatch();
    board.contest.marks.scores[3] = 1;
    day.noteMarks();
    EXPECT_TRUE(day.undoMarks());
    EXPECT_EQ(day.matchIndex(), 2);
    EXPECT_EQ(board.contest.marks.scores[3], 0);
    EXPECT_FALSE(day.undoMarks()) << "undo does not run on into the contest before";
}

TEST_F(MatchDayTest, AListContestWithoutItsOwnTimeTakesTheSetsTime)
{
    EXPECT_EQ(board.contest.period, TimeValue::fromSeconds(180)) << "its own time";
    day.nextMatch();
    EXPECT_EQ(board.contest.period, TimeValue::fromSeconds(board.set.contestSeconds))
        << "not the time typed in before";
    EXPECT_NE(board.contest.period, board.reset);
}

TEST_F(MatchDayTest, NextMatchSavesTheNewContestAtOnce)
{
    const QString saved = dir.filePath(QStringLiteral("contest.json"));
    day.setRecoveryFile(saved);
    board.contest.marks.winner = 2;
    board.contest.clockRan = true;
    day.nextMatch();
    // Handed to the disk writer by N itself, not left for a later change.
    ASSERT_TRUE(day.waitForDisk());
    QFile file(saved);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const std::optional<SavedContest> onDisk = SavedContest::fromJson(file.readAll());
    ASSERT_TRUE(onDisk.has_value());
    EXPECT_EQ(onDisk->matchIndex, 2);
    EXPECT_EQ(onDisk->home, QStringLiteral("C"));
}

TEST_F(MatchDayTest, TheSameListAtARestartGoesOnAndAnotherStartsAtItsFirstContest)
{
    const QByteArray first = "A,B,Pool,3:00\nC,D\nE,F,Final\n";
    board.contest.marks.winner = 1;
    day.nextMatch();
    ASSERT_EQ(day.matchIndex(), 2);
    ASSERT_TRUE(day.waitForDisk());
    struct Case
    {
        const char *name;
        QByteArray list;
        int at;
        const char *home;
    };
    const Case cases[] = {
        {"same list", first, 2, "C"},
        {"another list", "X,Y\nZ,W\n", 1, "X"},
        {"empty list", "", 1, "X"},
        {"only a byte-order mark", "\xEF\xBB\xBF", 1, "X"},
    };
    for (const Case &c : cases) {
        LoadSettings();
        FakeBoard restarted;
        MatchDay again(restarted);
        again.resumeMatchList();
        again.useMatchList(c.list);
        EXPECT_EQ(again.matchIndex(), c.at) << c.name;
        EXPECT_EQ(restarted.contest.home, QLatin1String(c.home)) << c.name;
        ASSERT_TRUE(again.waitForDisk());
        if (c.list.size() < 4) {
            EXPECT_EQ(again.matchCount(), 2) << c.name << ": the kept list goes on";
            EXPECT_EQ(restarted.told.size(), 1) << c.name << ": said on the board";
        }
    }
}

TEST_F(MatchDayTest, ARestoreUnderAnotherListKeepsThatListsPosition)
{
    board.contest.marks.winner = 1;
    day.nextMatch();
    SavedContest saved = day.savedContest();
    saved.home = QStringLiteral("Saved");
    EXPECT_EQ(saved.listHash, day.listHash());

    day.loadMatchList("P,Q\nR,S\nT,U\n");
    day.restoreContest(saved);
    EXPECT_EQ(day.matchIndex(), 1) << "position 2 of the other list is not this list's";
    EXPECT_EQ(board.contest.home, QStringLiteral("Saved"));

    saved.listHash = day.listHash();
    day.restoreContest(saved);
    EXPECT_EQ(day.matchIndex(), 2);
}

TEST_F(MatchDayTest, LoadMessagesAreCappedAndAHugeListIsRefused)
{
    QByteArray bad = "A,B\n";
    for (int i = 0; i < 1000; ++i)
        bad += "only one field\n";
    const QStringList messages = day.loadMatchList(bad);
    EXPECT_EQ(messages.size(), 1000) << "all of them for stderr, which the caller caps";
    const QString summary = board.told.constLast();
    EXPECT_TRUE(summary.startsWith(QStringLiteral("1 contests loaded, 1000 lines skipped:")))
        << summary.toStdString();
    EXPECT_LT(summary.count(u'\n'), 8);
    EXPECT_TRUE(summary.endsWith(QStringLiteral("... and 995 more.")));

    QByteArray huge;
    for (int i = 0; i <= MatchDay::MaxContests; ++i)
        huge += "A,B\n";
    day.loadMatchList(huge);
    EXPECT_EQ(day.matchCount(), 1) << "refused; the list before goes on";
}

TEST_F(MatchDayTest, AContestThatCannotBeSavedIsToldOnce)
{
    // A file where its folder should be.
    QFile blocker(dir.filePath(QStringLiteral("blocker")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    day.setRecoveryFile(dir.filePath(QStringLiteral("blocker/contest.json")));
    // The writer tells of each failure; the operator hears of it once.
    for (int i = 0; i < 3; ++i) {
        day.saveContestNow();
        ASSERT_TRUE(day.waitForDisk());
        QCoreApplication::processEvents();
    }
    ASSERT_EQ(board.told.size(), 1);
    EXPECT_TRUE(board.told[0].contains(QLatin1String("crash recovery is off")));
}
