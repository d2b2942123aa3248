// The start screen: where it stands, what it loads, and where its clicks lead.

#include "app/frmHelp.h"
#include "app/frmSplash.h"
#include "controls/Label.h"
#include "scoreboard/frmScoreboard.h"
#include "settings/SettingsStore.h"
#include "settings/SettingsVariables.h"
#include "settings/frmOptions.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

class StartScreen : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        SettingsStore::useFile(dir.filePath(QStringLiteral("Zembrak.conf")));
        Settings::resetToDefaults();
    }
    void TearDown() override
    {
        if (frmHelp *help = frmHelp::openWindow())
            help->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        SettingsStore::useFile(QString());
    }

    QTemporaryDir dir;
};

} // namespace

TEST(StartScreenGeometry, TopIsAFixedRuleAndLeftIsCentred)
{
    // Top: (screen height - 5880) / 2 twips; left: (screen width - 6240) / 2.
    EXPECT_EQ(frmSplash::LoadGeometry(QRect(0, 0, 1280, 1024)), QRect(432, 316, 416, 216));
    EXPECT_EQ(frmSplash::LoadGeometry(QRect(0, 0, 800, 600)), QRect(192, 104, 416, 216));
    // A second screen keeps its own origin; halves of a pixel go to the even neighbour.
    EXPECT_EQ(frmSplash::LoadGeometry(QRect(1280, 0, 1024, 769)), QRect(1280 + 304, 188, 416, 216));
    EXPECT_EQ(frmSplash::LoadGeometry(QRect(0, 0, 1024, 771)), QRect(304, 190, 416, 216));
}

TEST_F(StartScreen, LoadsItsGeometryVersionAndTheSettings)
{
    SettingsStore::SaveSetting(
        QStringLiteral("TextSettings"), QStringLiteral("HomeText"), QStringLiteral("Ono"));
    frmSplash splash;
    EXPECT_EQ(Settings::HomeText, "Ono");

    EXPECT_TRUE(splash.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(splash.geometry(), frmSplash::LoadGeometry(QGuiApplication::primaryScreen()->geometry()));
    EXPECT_EQ(splash.frameSplash->geometry(), QRect(8, 0, 400, 208));
    EXPECT_EQ(splash.lblName->geometry(), QRect(8, 16, 385, 49));
    EXPECT_EQ(splash.picLogo->geometry(), QRect(16, 60, 138, 140));
    EXPECT_FALSE(splash.picLogo->pixmap().isNull());
    EXPECT_EQ(splash.cmdOptions->geometry(), QRect(304, 168, 81, 25));
    EXPECT_EQ(splash.lblVersion->text(), QStringLiteral("Version ") + QStringLiteral(ZEMBRAK_VERSION));
    EXPECT_TRUE(splash.lblVersion->alignment() & Qt::AlignRight);
    EXPECT_EQ(splash.Label1->text(), "Press ' F1 ' to view Help from the scoreboard.");
}

TEST_F(StartScreen, HelpHasTheFocusAndTabGoesToOptionsThenTheLogo)
{
    frmSplash splash;
    splash.show();
    QApplication::setActiveWindow(&splash);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&splash));
    EXPECT_EQ(QApplication::focusWidget(), splash.cmdHelp);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), splash.cmdOptions);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), splash.picLogo);
    // Enter on a button presses nothing else: neither button is the default.
    EXPECT_FALSE(splash.cmdHelp->isDefault() || splash.cmdHelp->autoDefault());
    EXPECT_FALSE(splash.cmdOptions->isDefault() || splash.cmdOptions->autoDefault());
}

TEST_F(StartScreen, AClickAnywhereButTheButtonsOpensTheBoard)
{
    SettingsStore::SaveSetting(
        QStringLiteral("TextSettings"), QStringLiteral("VisitorText"), QStringLiteral("Koga"));
    const QStringList places = {"frmSplash", "frameSplash", "picLogo", "lblName", "lblMadeBy", "lblClick",
        "lblVersion", "Label1", "Label2"};
    // A right click is a click as on the board.
    for (const Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton}) {
        for (const QString &place : places) {
            frmSplash splash;
            splash.show();
            QWidget *target = place == "frmSplash" ? &splash : splash.findChild<QWidget *>(place);
            ASSERT_NE(target, nullptr) << place.toStdString();
            // Inside the target, away from any other control it may overlap.
            const QPoint spot = place == "frmSplash"     ? QPoint(2, 100)
                                : place == "frameSplash" ? QPoint(5, 5)
                                                         : QPoint(3, 3);
            QTest::mouseClick(target, button, {}, spot);
            ASSERT_NE(splash.board(), nullptr) << place.toStdString() << " button " << button;
            EXPECT_FALSE(splash.isVisible()) << place.toStdString();
            EXPECT_TRUE(splash.board()->isVisible());
            // The board opens with the settings the start screen loaded.
            EXPECT_EQ(splash.board()->lblVisitorName->Caption(), "Koga");
        }
    }

    // The middle button, or a press of one button and a release of another, is no click.
    frmSplash splash;
    splash.show();
    QTest::mouseClick(splash.lblClick, Qt::MiddleButton);
    QTest::mousePress(splash.lblClick, Qt::RightButton);
    QTest::mouseRelease(splash.lblClick, Qt::LeftButton);
    EXPECT_EQ(splash.board(), nullptr);
    EXPECT_TRUE(splash.isVisible());
}

TEST_F(StartScreen, TheButtonsKeepTheStartScreen)
{
    frmSplash splash;
    splash.show();
    QTest::mouseClick(splash.cmdHelp, Qt::LeftButton);
    EXPECT_EQ(splash.board(), nullptr);
    EXPECT_TRUE(splash.isVisible());
    frmHelp *help = frmHelp::openWindow();
    ASSERT_NE(help, nullptr);
    EXPECT_FALSE(help->isModal());

    // The options dialog runs modally over the start screen; what it saves
    // is on the board when it opens.
    bool answered = false;
    QTimer::singleShot(0, &splash, [&answered] {
        auto *dialog = qobject_cast<frmOptions *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        dialog->txtHomeText->setText(QStringLiteral("Nomura"));
        dialog->cmdOk->click();
        answered = true;
    });
    QTest::mouseClick(splash.cmdOptions, Qt::LeftButton);
    EXPECT_TRUE(answered);
    EXPECT_EQ(splash.board(), nullptr);
    EXPECT_TRUE(splash.isVisible());

    // The help window outlives the start screen's hand-over to the board.
    QTest::mouseClick(splash.lblClick, Qt::LeftButton);
    EXPECT_EQ(frmHelp::openWindow(), help);
    ASSERT_NE(splash.board(), nullptr);
    EXPECT_EQ(splash.board()->lblHomeName->Caption(), "Nomura");
}

TEST_F(StartScreen, ClosingHelpOverTheStartScreenDoesNotEndTheRun)
{
    // Only a running event loop ends on its last window; the run is one.
    frmSplash splash;
    splash.show();
    QTest::mouseClick(splash.cmdHelp, Qt::LeftButton);
    frmHelp *help = frmHelp::openWindow();
    ASSERT_NE(help, nullptr);
    bool lastWindowClosed = false;
    const QMetaObject::Connection watch = QObject::connect(
        qApp, &QGuiApplication::lastWindowClosed, qApp, [&lastWindowClosed] { lastWindowClosed = true; });
    QTimer::singleShot(0, help, [help] { help->close(); });
    QTimer::singleShot(50, &splash, [] { QCoreApplication::exit(7); });
    EXPECT_EQ(QCoreApplication::exec(), 7);
    QObject::disconnect(watch);
    EXPECT_FALSE(lastWindowClosed);
    EXPECT_TRUE(splash.isVisible());

    // The start screen still leads on to the board.
    QTest::mouseClick(splash.lblClick, Qt::LeftButton);
    ASSERT_NE(splash.board(), nullptr);
    EXPECT_TRUE(splash.board()->isVisible());
}

TEST_F(StartScreen, TheBoardSetupRunsOnTheNewBoardBeforeItShows)
{
    frmSplash splash;
    bool shownAtSetup = true;
    frmScoreboard *setUp = nullptr;
    splash.setBoardSetup([&](frmScoreboard &board) {
        setUp = &board;
        shownAtSetup = board.isVisible();
    });
    splash.show();
    QTest::mouseClick(splash.lblName, Qt::LeftButton);
    ASSERT_NE(splash.board(), nullptr);
    EXPECT_EQ(setUp, splash.board());
    EXPECT_FALSE(shownAtSetup);
    EXPECT_TRUE(splash.board()->isVisible());
}

TEST_F(StartScreen, WarnsWhenTheBuzzerFileCannotBePlayed)
{
    SettingsStore::SaveSetting(QStringLiteral("KeySettings"), QStringLiteral("BuzzerFile"),
        dir.filePath(QStringLiteral("gone.wav")));
    {
        frmSplash splash;
        const QLabel *warning = splash.lblBuzzerWarning;
        EXPECT_EQ(warning->text(), QStringLiteral("The buzzer will be silent (see Options)."));
        EXPECT_EQ(warning->toolTip(), QStringLiteral("The buzzer will be silent: the file does not exist."));
        // Whole, on one line, clear of the logo and the buttons.
        EXPECT_TRUE(splash.frameSplash->rect().contains(warning->geometry()));
        EXPECT_LE(warning->fontMetrics().horizontalAdvance(warning->text()), warning->width());
        EXPECT_LE(warning->fontMetrics().height(), warning->height());
        for (const QWidget *other : {static_cast<QWidget *>(splash.picLogo), static_cast<QWidget *>(splash.cmdHelp),
                 static_cast<QWidget *>(splash.cmdOptions)})
            EXPECT_FALSE(warning->geometry().intersects(other->geometry())) << other->objectName().toStdString();
    }
    SettingsStore::SaveSetting(QStringLiteral("KeySettings"), QStringLiteral("BuzzerFile"), Settings::defaultBuzzerFile());
    frmSplash splash;
    EXPECT_EQ(splash.lblBuzzerWarning->text(), QString());
}
