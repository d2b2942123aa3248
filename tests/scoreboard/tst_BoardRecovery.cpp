// The contest kept on disk: saved soon after a change, put back whole with
// the timers stopped, a damaged file refused, and the file gone after a
// clean quit with the result line written first.

#include "support/BoardFixture.h"

#include "day/MatchDay.h"

#include "controls/ClockDisplay.h"
#include "controls/DigitDisplay.h"
#include "controls/Label.h"
#include "controls/PictureBox.h"
#include "settings/SettingsStore.h"

#include <QTest>

class BoardRecovery : public BoardFixture
{
protected:
    void SetUp() override
    {
        BoardFixture::SetUp();
        SettingsStore::useFile(dir.filePath(QStringLiteral("store.conf")));
        saved = dir.filePath(QStringLiteral("data/contest.json"));
        showBoard(*board);
    }
    void TearDown() override { SettingsStore::useFile(QString()); }

    void press(QWidget *target, Qt::Key key)
    {
        target->setFocus();
        QTest::keyClick(target, key);
    }
    std::optional<SavedContest> onDisk() const
    {
        QFile file(saved);
        if (!file.open(QIODevice::ReadOnly))
            return std::nullopt;
        return SavedContest::fromJson(file.readAll());
    }

    QString saved;
};

TEST_F(BoardRecovery, AChangedContestIsSavedAndComesBackWithItsTimersStopped)
{
    board->setRules(Rules::preset(Rules::SetId::Classic));
    board->day().loadMatchList("A,B,Pool,3:00\nC,D\n");
    board->day().setRecoveryFile(saved);
    ASSERT_TRUE(onDisk().has_value()) << "saved as soon as a file is given";
    EXPECT_FALSE(board->day().savePending());

    press(board->tledPeriod, Qt::Key_S);
    press(board->picContainerHoldHome, Qt::Key_Left);
    tick(4000);
    press(board->nledYVisitor, Qt::Key_1);
    press(board->picCVisitor, Qt::Key_Return);
    EXPECT_TRUE(board->day().savePending()) << "a change is saved within a second";
    ASSERT_TRUE(board->day().saveContestNow());
    const SavedContest before = *onDisk();
    EXPECT_EQ(before, board->day().savedContest());
    EXPECT_TRUE(before.periodRunning);
    EXPECT_TRUE(before.holdHomeRunning);

    resetProgramState();
    LoadSettings();
    FakeMediaBackend *otherMedia = nullptr;
    auto restarted = makeTestBoard(clock, otherMedia);
    restarted->day().restoreContest(before);
    const SavedContest after = restarted->day().savedContest();
    EXPECT_EQ(after.marks, before.marks);
    EXPECT_EQ(after.period, before.period);
    EXPECT_EQ(after.holdHome, before.holdHome);
    EXPECT_FALSE(after.periodRunning || after.holdHomeRunning || after.holdVisitorRunning);
    EXPECT_EQ(restarted->lblHomeName->Caption(), QStringLiteral("A"));
    EXPECT_EQ(restarted->rules().id, Rules::SetId::Classic);
    EXPECT_EQ(restarted->day().matchIndex(), 1);
    // Ready to start again from where it was.
    press(restarted->tledPeriod, Qt::Key_S);
    EXPECT_TRUE(restarted->tkPeriod->Running());
}

TEST_F(BoardRecovery, ADamagedFileIsNoContest)
{
    const QByteArray good = board->day().savedContest().toJson();
    ASSERT_TRUE(SavedContest::fromJson(good).has_value());
    QByteArray badScore = good;
    badScore.replace("\"scores\":[0,0,0,0,0,0]", "\"scores\":[0,0,0,0,0,12]");
    ASSERT_NE(badScore, good);
    for (const QByteArray &damaged : {good.left(good.size() / 2), QByteArray(), QByteArray("[1,2]"), badScore,
             QByteArray(good).replace("\"version\":1", "\"version\":7")})
        EXPECT_FALSE(SavedContest::fromJson(damaged).has_value()) << damaged.toStdString();
}

TEST_F(BoardRecovery, ACleanQuitWritesTheResultThenRemovesTheSavedContest)
{
    const QString results = dir.filePath(QStringLiteral("results.csv"));
    board->day().setResultsFile(results);
    board->day().setRecoveryFile(saved);
    press(board->nledWHome, Qt::Key_1);
    board->day().contestEndsAtQuit();
    EXPECT_FALSE(QFile::exists(saved));
    QFile file(results);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll().count('\n'), 2);
    // Nothing is saved after the quit.
    press(board->nledWHome, Qt::Key_2);
    EXPECT_FALSE(board->day().savePending());
}
