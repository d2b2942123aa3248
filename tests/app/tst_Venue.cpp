// The venue options put into effect on a board, on two screens: an
// operator's and a projector.

#include "support/BoardFixture.h"

#include "app/MatchFeed.h"
#include "app/Venue.h"
#include "controls/Label.h"
#include "day/MatchDay.h"
#include "scoreboard/AudienceWindow.h"
#include "settings/DialogAnswers.h"

#include <QScreen>
#include <QTcpServer>
#include <QTest>

namespace {

const bool twoScreens = [] {
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" QT_TESTCASE_SOURCEDIR "/support/two_screens.json");
    return true;
}();

} // namespace

class Venue : public BoardFixture
{
protected:
    QScreen *projector() const { return QGuiApplication::screens().value(1); }

    static AudienceWindow *audienceWindow()
    {
        for (QWidget *window : QApplication::topLevelWidgets()) {
            if (auto *audience = qobject_cast<AudienceWindow *>(window))
                return audience;
        }
        return nullptr;
    }
};

TEST_F(Venue, TheBoardFullScreenOnTheScreenAskedFor)
{
    ASSERT_NE(projector(), nullptr);
    VenueOptions options;
    options.screen = 1;
    options.fullScreen = true;
    applyVenueOptions(*board, options);
    board->show();
    EXPECT_EQ(board->screen(), projector());
    EXPECT_TRUE(board->isFullScreen());
    EXPECT_EQ(board->geometry(), projector()->geometry());
}

TEST_F(Venue, AScreenThatIsNotThereFallsBackToThePrimary)
{
    VenueOptions options;
    options.screen = 7;
    options.audience = 9;
    testing::internal::CaptureStderr();
    applyVenueOptions(*board, options);
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("--screen 7: there is no such screen"), std::string::npos) << said;
    EXPECT_NE(said.find("--audience 9: there is no such screen"), std::string::npos) << said;
    EXPECT_EQ(board->screen(), QGuiApplication::primaryScreen());
    EXPECT_TRUE(QGuiApplication::primaryScreen()->availableGeometry().contains(board->geometry()));
}

TEST_F(Venue, TheAudienceWindowAndTheFeedComeOnlyWhenAskedFor)
{
    applyVenueOptions(*board, VenueOptions());
    EXPECT_EQ(audienceWindow(), nullptr);
    EXPECT_EQ(board->findChild<MatchFeed *>(), nullptr);

    QTcpServer taken; // the port is in use: told, and the board goes on without a feed
    ASSERT_TRUE(taken.listen(QHostAddress::LocalHost));
    VenueOptions options;
    options.audience = 1;
    options.feedPort = taken.serverPort();
    testing::internal::CaptureStderr();
    applyVenueOptions(*board, options);
    const std::string said = testing::internal::GetCapturedStderr();
    board->show();
    const AudienceWindow *audience = audienceWindow();
    ASSERT_NE(audience, nullptr);
    EXPECT_TRUE(audience->isVisible());
    EXPECT_EQ(audience->geometry(), projector()->geometry());
    EXPECT_NE(said.find("--feed: cannot serve"), std::string::npos) << said;
    EXPECT_EQ(board->findChild<MatchFeed *>(), nullptr);
}

TEST_F(Venue, ARestoreUnderAnotherListAndSetSaysSoAndTheCommandLineWins)
{
    QDir().mkpath(MatchDay::dataFolder());
    SavedContest saved;
    saved.home = QStringLiteral("Saved home");
    saved.visitor = QStringLiteral("Saved visitor");
    saved.rules = QStringLiteral("ijf2018");
    saved.matchIndex = 2;
    saved.listHash = MatchDay::hashOf("another,list\nof,three\nand,more\n");
    saved.period = TimeValue::fromSeconds(100);
    saved.resetTime = TimeValue::fromSeconds(200);
    saved.marks.scores[0] = 1;
    ASSERT_TRUE(saved.save(MatchDay::dataFolder() + QStringLiteral("/contest.json")));
    const QString list = dir.filePath(QStringLiteral("day.csv"));
    QFile file(list);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("A,B\nC,D\nE,F\n");
    file.close();

    VenueOptions options;
    options.matches = list;
    options.rules = QStringLiteral("classic");
    DialogAnswers::setNextAnswer(true);
    applyVenueOptions(*board, options);
    QApplication::processEvents();

    ASSERT_EQ(DialogAnswers::questions().size(), 1);
    EXPECT_TRUE(DialogAnswers::questions()[0].endsWith(
        QStringLiteral("(from another match list, under another rule set)?")))
        << DialogAnswers::questions()[0].toStdString();
    EXPECT_EQ(board->rules().id, Rules::SetId::Classic) << "--rules wins over the saved set";
    EXPECT_EQ(board->day().matchIndex(), 1) << "the saved position belongs to the other list";
    EXPECT_EQ(board->lblHomeName->Caption(), QStringLiteral("Saved home"));
    EXPECT_EQ(PeriodResetTime, TimeValue::fromSeconds(200)) << "the saved reset time comes back";
    DialogAnswers::clear();
}
