// The results file: the line a contest leaves for each way it can end, as
// the operator drives the board, and the file kept append-only with one
// header; a file that cannot be written warns once and the contest goes on.

#include "support/BoardFixture.h"

#include "day/MatchDay.h"

#include "controls/ClockDisplay.h"
#include "controls/DigitDisplay.h"
#include "controls/Label.h"
#include "controls/PictureBox.h"
#include "settings/DialogAnswers.h"
#include "settings/SettingsStore.h"

#include <QTest>

using Rules::SetId;

namespace {

QStringList header()
{
    return ContestResult::header();
}

} // namespace

class BoardResults : public BoardFixture
{
protected:
    void SetUp() override
    {
        BoardFixture::SetUp();
        SettingsStore::useFile(dir.filePath(QStringLiteral("store.conf")));
        DialogAnswers::clear();
        results = dir.filePath(QStringLiteral("day/results.csv"));
        board->day().setResultsFile(results);
        showBoard(*board);
    }
    void TearDown() override
    {
        SettingsStore::useFile(QString());
        DialogAnswers::clear();
    }

    void press(QWidget *target, Qt::Key key)
    {
        target->setFocus();
        QTest::keyClick(target, key);
    }
    void startClock() { press(board->tledPeriod, Qt::Key_S); }
    // The ended contest's field by its header name.
    QString field(const char *name) const
    {
        return ContestResult::fields(board->endedContest()).at(header().indexOf(QLatin1String(name)));
    }
    QList<QByteArray> lines() const
    {
        board->day().waitForDisk();
        QFile file(results);
        if (!file.open(QIODevice::ReadOnly))
            return {};
        QList<QByteArray> all = file.readAll().split('\n');
        all.removeLast();
        return all;
    }
    void runOut(qint64 seconds)
    {
        board->tkPeriod->setSeconds(TimeValue::fromSeconds(seconds));
        for (qint64 ms = 0; ms <= seconds * 1000 + 100; ms += 50)
            tick(50);
    }

    QString results;
};

TEST_F(BoardResults, EachWayAContestEndsGivesItsWinnerAndHow)
{
    // Ippon from a hold under IJF 2018.
    board->setRules(Rules::preset(SetId::Ijf2018));
    startClock();
    press(board->picContainerHoldVisitor, Qt::Key_Right);
    for (int ms = 0; ms < 21000; ms += 50)
        tick(50);
    EXPECT_EQ(field("winner"), QStringLiteral("visitor"));
    EXPECT_EQ(field("won_by"), QStringLiteral("ippon"));
    EXPECT_EQ(field("visitor_ippon"), QStringLiteral("yes"));
    EXPECT_EQ(field("time_used"), QStringLiteral("0:20")) << "ippon at 20 s of hold stops the clock";
    EXPECT_EQ(field("golden_score_time"), QString());

    // Hansoku-make: the third shido.
    board->day().loadMatchList("A,B\nC,D\nE,F\nG,H\nI,J\n");
    for (int i = 0; i < 3; ++i)
        press(board->picKHome, Qt::Key_Return);
    EXPECT_EQ(field("winner"), QStringLiteral("visitor"));
    EXPECT_EQ(field("won_by"), QStringLiteral("hansoku-make"));
    EXPECT_EQ(field("home_hansoku_make"), QStringLiteral("yes"));
    EXPECT_EQ(field("home_penalties"), QStringLiteral("3"));

    // A direct hansoku-make, with no shido before it.
    press(board->tledPeriod, Qt::Key_N);
    QTest::keyClick(board->picKVisitor, Qt::Key_Return, Qt::ShiftModifier);
    EXPECT_EQ(field("winner"), QStringLiteral("home"));
    EXPECT_EQ(field("won_by"), QStringLiteral("hansoku-make"));
    EXPECT_EQ(field("visitor_hansoku_make"), QStringLiteral("yes"));
    EXPECT_EQ(field("visitor_penalties"), QStringLiteral("0"));

    // Golden score: level at the time, then the first score.
    press(board->tledPeriod, Qt::Key_N);
    startClock();
    runOut(2);
    ASSERT_TRUE(board->goldenScore());
    startClock();
    tick(3000);
    press(board->nledWHome, Qt::Key_1);
    EXPECT_EQ(field("winner"), QStringLiteral("home"));
    EXPECT_EQ(field("won_by"), QStringLiteral("golden score"));
    EXPECT_EQ(field("golden_score_time"), QStringLiteral("0:03"));
    EXPECT_EQ(field("home_waza_ari"), QStringLiteral("1"));
    EXPECT_EQ(field("home_yuko"), QString()) << "a score the set does not use is blank";

    // Score: ahead when the time runs out.
    press(board->tledPeriod, Qt::Key_N);
    startClock();
    press(board->nledWVisitor, Qt::Key_1);
    runOut(1);
    EXPECT_EQ(field("winner"), QStringLiteral("visitor"));
    EXPECT_EQ(field("won_by"), QStringLiteral("score"));

    // Under the design's set the operator decides; no winner is none.
    press(board->tledPeriod, Qt::Key_N);
    board->setRules(Rules::preset(SetId::Design));
    press(board->picSVisitor, Qt::Key_Return);
    EXPECT_EQ(field("winner"), QStringLiteral("none"));
    EXPECT_EQ(field("won_by"), QString());
    EXPECT_EQ(field("visitor_penalties"), QStringLiteral("S"));
    press(board->picWinnerHome, Qt::Key_Return);
    EXPECT_EQ(field("won_by"), QStringLiteral("operator"));
    EXPECT_EQ(field("home"), QStringLiteral("I"));
    const QDateTime finished = QDateTime::fromString(field("finished"), Qt::ISODate);
    EXPECT_TRUE(finished.isValid());
    EXPECT_TRUE(field("finished").contains(QRegularExpression(QStringLiteral("([+-]\\d\\d:\\d\\d|Z)$"))));
}

TEST_F(BoardResults, TheNextMatchAppendsOneLineForAContestThatHappened)
{
    board->day().loadMatchList("home,visitor\n\"Kim, J.\",Lee\nC,D\nE,F\nG,H\n");
    press(board->tledPeriod, Qt::Key_N);
    EXPECT_TRUE(lines().isEmpty()) << "nothing scored and the clock never ran";

    press(board->nledYHome, Qt::Key_2);
    DialogAnswers::setNextAnswer(true); // recorded undecided
    press(board->tledPeriod, Qt::Key_N);
    const QList<QByteArray> written = lines();
    ASSERT_EQ(written.size(), 2);
    EXPECT_EQ(written[0], ContestResult::fileStart().trimmed());
    EXPECT_TRUE(written[1].contains(",C,D,0,2,0,,no,no,0,0,0,,no,no,none,,0:00,"))
        << written[1].toStdString();

    startClock();
    tick(1000);
    DialogAnswers::setNextAnswer(true);
    press(board->tledPeriod, Qt::Key_N);
    ASSERT_EQ(lines().size(), 3) << "a contest in which only the clock ran";
    EXPECT_EQ(lines()[1], written[1]) << "an earlier line is never rewritten";
}

TEST_F(BoardResults, AFileThatCannotBeWrittenWarnsOnceAndTheContestGoesOn)
{
    QDir(dir.path()).mkpath(results); // a folder where the file should be
    board->day().loadMatchList("A,B\nC,D\nE,F\n");
    // Yes to going on undecided, twice.
    for (int i = 0; i < 2; ++i)
        DialogAnswers::setNextAnswer(true);
    press(board->picCHome, Qt::Key_Return);
    press(board->tledPeriod, Qt::Key_N);
    EXPECT_EQ(board->day().matchIndex(), 2);
    press(board->picCHome, Qt::Key_Return);
    press(board->tledPeriod, Qt::Key_N);
    EXPECT_EQ(board->day().matchIndex(), 3);
    ASSERT_TRUE(board->day().waitForDisk());
    // The failures come back from the disk writer as events.
    QTest::qWait(50);
    // Said on the board, with no box to wait on.
    EXPECT_TRUE(DialogAnswers::warnings().isEmpty());
    EXPECT_EQ(board->lblCreatedBy->Caption(), QStringLiteral("Results are not being written"));
    EXPECT_TRUE(board->lblCreatedBy->toolTip().contains(QLatin1String("could not be written")));
}

TEST_F(BoardResults, TimeUsedIsWhatTheClockRanWhateverTheTimeWasCorrectedTo)
{
    board->setRules(Rules::preset(SetId::Ijf2018));
    startClock();
    tick(10000);
    startClock(); // stopped
    board->tkPeriod->setSeconds(TimeValue::fromSeconds(200)); // a correction, upwards
    tick(7000); // standing still counts nothing
    startClock();
    tick(5000);
    startClock();
    EXPECT_EQ(field("time_used"), QStringLiteral("0:15"));

    // Golden score apart: the regular time ran out, then 3 s of golden score.
    startClock();
    runOut(2);
    ASSERT_TRUE(board->goldenScore());
    startClock();
    tick(3000);
    EXPECT_EQ(field("time_used"), QStringLiteral("0:17"));
    EXPECT_EQ(field("golden_score_time"), QStringLiteral("0:03"));
}
