// The audience window: what it shows of the board, that it follows the
// board, that it takes no input, and how it comes and goes.

#include "support/BoardFixture.h"
#include "support/PaintCounter.h"

#include "controls/ClockDisplay.h"
#include "controls/Label.h"
#include "controls/PictureBox.h"
#include "controls/Shape.h"
#include "modules/AudienceCues.h"
#include "scoreboard/AudienceWindow.h"

#include <QFontMetricsF>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QScreen>
#include <QTest>

namespace {

// Two screens, an operator's and a projector, set before the application starts.
const bool twoScreens = [] {
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" QT_TESTCASE_SOURCEDIR "/support/two_screens.json");
    return true;
}();

QColor colorOf(OleColor color)
{
    return QColor(int(color & 0xFF), int((color >> 8) & 0xFF), int((color >> 16) & 0xFF));
}

} // namespace

class AudienceWindowTest : public BoardFixture
{
protected:
    void SetUp() override
    {
        BoardFixture::SetUp();
        audience = new AudienceWindow(*board);
        // Twice the board's design size across, with bars above and below.
        audience->resize(2 * frmScoreboard::DesignClientWidth, 2 * frmScoreboard::DesignClientHeight + 100);
    }
    void TearDown() override { delete audience; }

    // A point of the board, in board pixels, as the audience window shows it.
    QPoint shown(QPoint boardPoint) const
    {
        const QRect target = audience->boardRect();
        return target.topLeft() + boardPoint * target.width() / board->width();
    }

    QPointer<AudienceWindow> audience;
};

TEST_F(AudienceWindowTest, ShowsTheBoardLetterBoxedInItsBackgroundColour)
{
    EXPECT_EQ(audience->boardRect(),
        QRect(0, 50, 2 * frmScoreboard::DesignClientWidth, 2 * frmScoreboard::DesignClientHeight));
    board->PenaltyHK = VbTrue;
    board->UpdateOtherColors();
    const QImage image = audience->grab().toImage();
    EXPECT_EQ(image.pixelColor(5, 5), colorOf(Settings::FormBack)); // the bar
    const QPoint lamp = board->shpKHome->mapTo(board.get(), board->shpKHome->rect().center());
    EXPECT_EQ(image.pixelColor(shown(lamp)), QColor(255, 0, 0));
}

TEST_F(AudienceWindowTest, TitleNamesAndCaptionsShowWholeAtEverySize)
{
    Settings::TitleText = QStringLiteral("WORLD JUDO CHAMPIONSHIPS!"); // the longest the box takes
    Settings::HomeText = QStringLiteral("ARGVELASHVILI");
    Settings::VisitorText = QStringLiteral("TANAKA Hiroshi (JPN)");
    board->UpdateLabels();
    board->show();
    audience->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(audience));
    const QList<Label *> labels = board->findChildren<Label *>();
    for (const QSize size :
        {QSize(632, 453), QSize(1920, 1080), QSize(1920, 400), QSize(400, 900), QSize(200, 150)}) {
        board->resize(size);
        audience->resize(size.width() * 3 / 2 + 7, size.height() * 3 / 2 + 31);
        QCoreApplication::processEvents();
        for (const Label *label : labels) {
            if (label->Caption().isEmpty())
                continue;
            const QFont shown = label->shownFont();
            const QString context = QStringLiteral("%1 \"%2\" on a %3 x %4 board")
                                        .arg(label->objectName(), label->Caption())
                                        .arg(size.width())
                                        .arg(size.height());
            EXPECT_LE(QFontMetricsF(shown).horizontalAdvance(label->Caption()), label->width())
                << context.toStdString();
            EXPECT_LE(shown.pixelSize(), std::max(1, int(std::lround(label->FontSize() * 96 / 72))));
        }

        // The audience sees the texts whole: their ink (pixels near the text
        // colour, which a box's blended edge never is) keeps clear of the
        // edges of their boxes.
        // (On a board much taller than wide the clock, whose digits follow
        // the height, runs over the names; the measures above hold there.)
        if (size.width() * 453 < size.height() * 632)
            continue;
        const QImage image = audience->grab().toImage();
        const struct
        {
            const Label *label;
            QColor ink;
        } texts[] = {{board->lblTitle, Qt::white}, {board->lblHomeName, Qt::black},
            {board->lblVisitorName, Qt::white}};
        for (const auto &text : texts) {
            // The Visitor panel runs a little past the board's right edge.
            const QRect box =
                QRect(shown(text.label->geometry().topLeft()), shown(text.label->geometry().bottomRight()))
                    .intersected(audience->boardRect());
            int first = -1;
            int last = -1;
            for (int x = box.left(); x <= box.right(); ++x) {
                for (int y = box.top() + 2; y <= box.bottom() - 2; ++y) {
                    const QColor pixel = image.pixelColor(x, y);
                    if (std::abs(pixel.red() - text.ink.red()) + std::abs(pixel.green() - text.ink.green()) +
                            std::abs(pixel.blue() - text.ink.blue()) <
                        150) {
                        first = first < 0 ? x : first;
                        last = x;
                        break;
                    }
                }
            }
            const std::string context = text.label->objectName().toStdString() + " at " +
                                        std::to_string(size.width()) + " x " + std::to_string(size.height());
            ASSERT_GE(first, 0) << context;
            EXPECT_GT(first, box.left() + 1) << context << ": ink from " << first << " to " << last << " in "
                                             << box.left() << " to " << box.right();
            EXPECT_LT(last, box.right() - 1) << context;
        }
    }
}

TEST_F(AudienceWindowTest, NewFormColourReachesTheMargins)
{
    board->show();
    audience->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(audience));
    QCoreApplication::processEvents();
    Settings::FormBack = rgbColor(0, 0, 128);
    board->UpdateFormColors();
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    // What the window last put on screen, not a fresh drawing.
    const QImage shownImage = audience->windowHandle()->screen()->grabWindow(audience->winId()).toImage();
    EXPECT_EQ(shownImage.pixelColor(5, 5), QColor(0, 0, 128));
}

TEST_F(AudienceWindowTest, LeavesOutTheSelectionFrame)
{
    Settings::LEDSelected = rgbColor(0, 255, 255);
    Settings::LEDSelectedWidth = 5; // pixels around the selected object
    board->UpdateFormColors();
    board->show(); // after its first resize, which clears the selection
    ASSERT_TRUE(QTest::qWaitForWindowExposed(board.get()));
    board->ObjectSelected(board->picKHome);
    const Shape *frame = board->shpObjectSelected;
    const QPoint edge(frame->x() + 2, frame->y() + frame->height() / 2);
    ASSERT_EQ(board->grab().toImage().pixelColor(edge), QColor(0, 255, 255)) << "the board shows its frame";
    EXPECT_NE(audience->grab().toImage().pixelColor(shown(edge)), QColor(0, 255, 255));
}

TEST_F(AudienceWindowTest, NeverShowsWhatTheOperatorOpensOverTheBoard)
{
    board->show();
    audience->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(audience));
    QCoreApplication::processEvents();
    const QImage first = audience->grab().toImage();
    // A message box of the board's, over its clock, and a plain widget
    // added to the board for the operator alone.
    QMessageBox box(QMessageBox::Question, QStringLiteral("Zembrak"), QStringLiteral("Restore?"),
        QMessageBox::Yes | QMessageBox::No, board.get());
    box.move(board->mapToGlobal(board->tledPeriod->geometry().topLeft()));
    box.show();
    QLabel note(QStringLiteral("operator only"), board.get());
    note.setGeometry(board->tledPeriod->geometry());
    note.setAutoFillBackground(true);
    note.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
    board->tledPeriod->update(); // what the board repaints, the audience redraws
    QCoreApplication::processEvents();
    EXPECT_EQ(audience->grab().toImage(), first);
    box.hide();
    note.hide();
    QCoreApplication::processEvents();
    EXPECT_EQ(audience->grab().toImage(), first);
}

TEST_F(AudienceWindowTest, RepaintsOnChangesOnly)
{
    board->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(audience));
    // The board repaints first, and the audience then redraws what it repainted.
    struct : PaintCounter
    {
        using PaintCounter::PaintCounter;
        int during(const std::function<void()> &change)
        {
            return PaintCounter::during([&] {
                change();
                QCoreApplication::processEvents();
            });
        }
    } counter(audience);
    counter.during([] {}); // the first showing
    EXPECT_EQ(counter.during([&] { tick(); }), 0) << "the clock stands still";
    EXPECT_GE(counter.during([&] {
        board->PenaltyVS = VbTrue;
        board->UpdateOtherColors();
    }),
        1);
    QTest::keyClick(board->tledPeriod, Qt::Key_S);
    EXPECT_GE(counter.during([&] { tick(1000); }), 1) << "a second of the running clock";
    EXPECT_EQ(counter.during([&] { tick(100); }), 0) << "within the same second";
}

TEST_F(AudienceWindowTest, FollowsABoardThatIsNotOnScreen)
{
    // A board that is not on screen (here: never shown; minimized on a
    // desktop) paints nothing, yet the audience still sees the match.
    audience->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(audience));
    audience->grab();
    board->PenaltyVK = VbTrue;
    PaintCounter counter(audience);
    counter.during([&] { board->UpdateOtherColors(); });
    EXPECT_EQ(counter.paints, 1);
    const QPoint lamp = board->shpKVisitor->mapTo(board.get(), board->shpKVisitor->rect().center());
    EXPECT_EQ(audience->grab().toImage().pixelColor(shown(lamp)), QColor(255, 0, 0));
}

TEST_F(AudienceWindowTest, KeysAndClicksOnItGoToNobody)
{
    const QPoint lamp = shown(board->picKHome->geometry().center());
    QTest::mouseClick(audience, Qt::LeftButton, {}, lamp);
    QTest::keyClick(audience, Qt::Key_S);
    QTest::keyClick(audience, Qt::Key_Return);
    EXPECT_EQ(board->PenaltyHK, VbFalse);
    EXPECT_FALSE(board->tkPeriod->Running());
    EXPECT_EQ(audience->focusPolicy(), Qt::NoFocus);
}

TEST_F(AudienceWindowTest, DoubleClickTogglesFullScreen)
{
    QScreen *screen = QGuiApplication::primaryScreen();
    audience->placeOn(screen);
    EXPECT_TRUE(audience->windowState() & Qt::WindowFullScreen);
    EXPECT_EQ(audience->geometry(), screen->geometry());
    QTest::mouseDClick(audience, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_FALSE(audience->windowState() & Qt::WindowFullScreen);
    EXPECT_EQ(audience->size(), screen->availableGeometry().size() / 2);
    QTest::mouseDClick(audience, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_TRUE(audience->windowState() & Qt::WindowFullScreen);
    EXPECT_EQ(audience->geometry(), screen->geometry());
}

TEST_F(AudienceWindowTest, ComesAndGoesWithTheBoard)
{
    board->show();
    EXPECT_TRUE(audience->isVisible());
    board->hide();
    EXPECT_FALSE(audience->isVisible());
    board->show();
    board.reset();
    EXPECT_TRUE(audience.isNull());
}

TEST_F(AudienceWindowTest, MovesToThePrimaryScreenWhenItsOwnIsUnplugged)
{
    const QList<QScreen *> screens = QGuiApplication::screens();
    ASSERT_EQ(screens.size(), 2);
    QScreen *operatorScreen = screens.at(0);
    QScreen *projector = screens.at(1);
    ASSERT_EQ(QGuiApplication::primaryScreen(), operatorScreen);

    audience->placeOn(projector);
    EXPECT_EQ(audience->geometry(), projector->geometry());
    emit qApp->screenRemoved(operatorScreen); // not its screen: it stays
    EXPECT_EQ(audience->geometry(), projector->geometry());
    emit qApp->screenRemoved(projector);
    EXPECT_EQ(audience->screen(), operatorScreen);
    EXPECT_EQ(audience->geometry(), operatorScreen->geometry());
    EXPECT_TRUE(audience->windowState() & Qt::WindowFullScreen);

    // A window that was not full screen stays so, at its size within the new screen.
    audience->placeOn(projector);
    audience->setFullScreen(false);
    emit qApp->screenRemoved(projector);
    EXPECT_FALSE(audience->windowState() & Qt::WindowFullScreen);
    EXPECT_TRUE(operatorScreen->geometry().contains(audience->geometry()));
}

TEST_F(AudienceWindowTest, OperatorSeesTheFrameOnlyWhenTheAudienceHasItsOwnWindow)
{
    const QColor formBack = colorOf(Settings::FormBack);
    struct Stored
    {
        OleColor color;
        qint16 width;
        QColor withAudience; // on the operator's board
    } cases[] = {
        // The design's defaults: width 0 in the form's own colour.
        {Settings::FormBack, 0, colorOf(AudienceCues::contrasting(Settings::FormBack))},
        {rgbColor(0, 255, 255), 1, QColor(0, 255, 255)},
    };
    for (const Stored &stored : cases) {
        if (!audience)
            audience = new AudienceWindow(*board);
        Settings::LEDSelected = stored.color;
        Settings::LEDSelectedWidth = stored.width;
        board->UpdateFormColors();
        showBoard(*board);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(board.get()));
        board->picKHome->setFocus();
        QCoreApplication::processEvents();
        const QRect lamp = board->picKHome->geometry();
        const int y = lamp.center().y();
        const QImage operatorView = board->grab().toImage();
        for (int outside = 1; outside <= 3; ++outside)
            EXPECT_EQ(operatorView.pixelColor(lamp.left() - outside, y), stored.withAudience)
                << outside << " px out";
        audience->resize(board->size()); // one audience pixel to one board pixel
        QCoreApplication::processEvents();
        const QImage audienceView = audience->grab().toImage();
        for (int outside = 1; outside <= 3; ++outside)
            EXPECT_EQ(audienceView.pixelColor(shown(QPoint(lamp.left() - outside, y))), formBack);

        // Without an audience window, as stored: nothing beyond its width.
        delete audience;
        QCoreApplication::processEvents();
        const QImage alone = board->grab().toImage();
        const int width = stored.width;
        if (width > 0) {
            EXPECT_EQ(alone.pixelColor(lamp.left() - width, y), colorOf(stored.color));
        }
        EXPECT_EQ(alone.pixelColor(lamp.left() - width - 1, y), formBack);
        EXPECT_EQ(board->shpObjectSelected->FillColor(), stored.color);
    }
}

TEST_F(AudienceWindowTest, CuesForTheHallUnderASetWithAutomatics)
{
    Settings::HomeText = QStringLiteral("Tanaka");
    board->UpdateLabels();
    board->show();
    audience->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(audience));
    QCoreApplication::processEvents();
    const QRect clock = board->tledPeriod->geometry();
    const QPoint clockMiddle = clock.center();
    const auto clockInk = [&] {
        // The brightest pixel of the clock as the audience sees it.
        const QImage image = audience->grab().toImage();
        int brightest = 0;
        for (int x = clock.left() + 2; x < clock.right() - 2; x += 1)
            brightest = std::max(brightest, image.pixelColor(shown(QPoint(x, clockMiddle.y()))).value());
        return brightest;
    };

    // The design set: nothing added, stopped or not.
    const int designInk = clockInk();
    EXPECT_EQ(audience->cues(), AudienceWindow::Cues());

    board->setRules(Rules::preset(Rules::SetId::Ijf2018));
    QCoreApplication::processEvents();
    EXPECT_TRUE(audience->cues().clockStopped);
    const int stoppedInk = clockInk();
    EXPECT_LE(stoppedInk, designInk * 6 / 10) << "dimmed to half";
    QTest::keyClick(board->tledPeriod, Qt::Key_S);
    QTest::keyClick(board->tledPeriod, Qt::Key_Left);
    tick(1000);
    QCoreApplication::processEvents();
    EXPECT_FALSE(audience->cues().clockStopped);
    EXPECT_EQ(audience->cues().hold, 1);
    EXPECT_GE(clockInk(), designInk * 9 / 10) << "running, as designed";

    // A hold held to ippon ends the contest: the banner names it.
    for (int i = 0; i < 20; ++i)
        tick(1000);
    QCoreApplication::processEvents();
    ASSERT_TRUE(board->contestEnded());
    const AudienceWindow::Cues ended = audience->cues();
    EXPECT_EQ(ended.banner, QStringLiteral("IPPON \u2014 TANAKA"));
    EXPECT_EQ(ended.hold, 0);
    EXPECT_TRUE(ended.clockStopped);
    // The banner is across the audience's board, not the operator's.
    const QPoint middle(board->width() / 2, board->height() * 3 / 5);
    EXPECT_NE(
        audience->grab().toImage().pixelColor(shown(middle)), board->grab().toImage().pixelColor(middle));

    // Until the clock starts again.
    QTest::keyClick(board->tledPeriod, Qt::Key_S);
    EXPECT_TRUE(audience->cues().banner.isEmpty());
}
