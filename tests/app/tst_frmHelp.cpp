// The help window: its file, its resize rule, reopening, and F1 on the board.

#include "support/BoardFixture.h"

#include "app/RtfTextDocument.h"
#include "app/frmHelp.h"
#include "controls/ClockDisplay.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>

#include <atomic>
#include <chrono>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Closes the open help window and lets it go, as the event loop would.
void closeHelp()
{
    if (frmHelp *help = frmHelp::openWindow())
        help->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
}

class HelpWindow : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        path = dir.filePath(QStringLiteral("zembrakhelpfile.rtf"));
        frmHelp::setHelpFilePath(path);
    }
    void TearDown() override
    {
        closeHelp();
        frmHelp::setHelpFilePath(QString());
    }

    QTemporaryDir dir;
    QString path;
};

} // namespace

TEST(HelpFile, LivesInTheProgramsFolderAndShipsThere)
{
    frmHelp::setHelpFilePath(QString());
    const QString expected = QCoreApplication::applicationDirPath() + QStringLiteral("/zembrakhelpfile.rtf");
    EXPECT_EQ(frmHelp::HelpFilePath(), expected);
    frmHelp help;
    EXPECT_NE(help.rtbHelp->toPlainText(), frmHelp::MissingFileText);
    EXPECT_TRUE(help.rtbHelp->toPlainText().contains(QStringLiteral("Getting started")));
    EXPECT_TRUE(help.rtbHelp->isReadOnly());
    EXPECT_EQ(help.windowTitle(), QStringLiteral("Zembrak Help"));
}

TEST_F(HelpWindow, AMissingFileShowsTheMessageAndAReopenedWindowReadsTheFileAgain)
{
    frmHelp *first = frmHelp::ShowHelp(nullptr);
    EXPECT_EQ(first->rtbHelp->toPlainText(),
        "Help file has been moved from its normal location.  Please reinstall the program.");

    // Showing it again while open brings the same window forward, unchanged.
    writeFile(path, R"({\rtf1 Restored {\b manual}\par})");
    EXPECT_EQ(frmHelp::ShowHelp(nullptr), first);
    EXPECT_EQ(first->rtbHelp->toPlainText(), frmHelp::MissingFileText);

    closeHelp();
    frmHelp *second = frmHelp::ShowHelp(nullptr);
    EXPECT_TRUE(second->isVisible());
    EXPECT_EQ(second->rtbHelp->toPlainText(), "Restored manual");
}

TEST_F(HelpWindow, OnlyARegularFileIsReadAsTheManual)
{
    // Opening a FIFO for reading waits for a writer. This one only ever
    // tries without waiting, so a faulty open is let go and seen, not hung.
    ASSERT_EQ(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    std::atomic<bool> opened = false;
    std::atomic<bool> done = false;
    std::thread writer([&] {
        for (int i = 0; i < 300 && !done; ++i) {
            const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_NONBLOCK);
            if (fd >= 0) {
                opened = true;
                ::close(fd);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    });
    frmHelp *fifo = frmHelp::ShowHelp(nullptr);
    done = true;
    writer.join();
    EXPECT_FALSE(opened) << "the FIFO was opened";
    EXPECT_EQ(fifo->rtbHelp->toPlainText(), frmHelp::MissingFileText);
    closeHelp();

    // A folder by that name, or a device, is no manual either.
    ASSERT_TRUE(QFile::remove(path));
    ASSERT_TRUE(QDir().mkdir(path));
    EXPECT_EQ(frmHelp::ShowHelp(nullptr)->rtbHelp->toPlainText(), frmHelp::MissingFileText);
    closeHelp();
    frmHelp::setHelpFilePath(QStringLiteral("/dev/zero"));
    EXPECT_EQ(frmHelp::ShowHelp(nullptr)->rtbHelp->toPlainText(), frmHelp::MissingFileText);
}

TEST_F(HelpWindow, FormattingReachesTheView)
{
    writeFile(path, R"({\rtf1{\colortbl;\red200\green0\blue0;}\pard\qc\li300\sa150 {\b\cf1 Bold} plain\par)"
                    R"(\pard\fs40\i big\par})");
    frmHelp help;
    const QTextDocument *doc = help.rtbHelp->document();
    ASSERT_EQ(doc->blockCount(), 2);
    const QTextBlock first = doc->firstBlock();
    EXPECT_EQ(first.blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    EXPECT_DOUBLE_EQ(first.blockFormat().leftMargin(), 20.0);
    EXPECT_DOUBLE_EQ(first.blockFormat().bottomMargin(), 10.0);
    const QTextCharFormat bold = first.begin().fragment().charFormat();
    EXPECT_EQ(first.begin().fragment().text(), "Bold");
    EXPECT_EQ(bold.fontWeight(), QFont::Bold);
    EXPECT_EQ(bold.foreground().color(), QColor(200, 0, 0));
    const QTextCharFormat big = first.next().begin().fragment().charFormat();
    EXPECT_TRUE(big.fontItalic());
    EXPECT_DOUBLE_EQ(big.fontPointSize(), 20.0);
}

TEST_F(HelpWindow, ResizingKeepsTheSmallestSizeAndReWrapsTheText)
{
    frmHelp *help = frmHelp::ShowHelp(nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(help));
    EXPECT_EQ(help->size(), QSize(frmHelp::DesignClientWidth, frmHelp::DesignClientHeight));

    // Twips to pixels, on the outer size: width - 240 is 16 less, height -
    // 420 is 28 less, the wrap 450 (30) inside the view, which stands 120
    // (8) from the left.
    help->resize(900, 700);
    QCoreApplication::processEvents();
    const QSize outer = help->frameGeometry().size();
    EXPECT_EQ(help->rtbHelp->geometry(), QRect(8, 0, outer.width() - 16, outer.height() - 28));
    EXPECT_EQ(help->rtbHelp->lineWrapColumnOrWidth(), outer.width() - 16 - 30);

    // Below 2700 x 1700 twips the window snaps back to at least that.
    help->resize(40, 30);
    QCoreApplication::processEvents();
    EXPECT_EQ(help->frameGeometry().size(), QSize(180, 114));
    EXPECT_EQ(help->rtbHelp->size(), QSize(164, 86));

    // A minimized window is left alone.
    help->resize(600, 500);
    QCoreApplication::processEvents();
    const QSize normal = help->rtbHelp->size();
    help->showMinimized();
    help->resize(300, 300);
    QCoreApplication::processEvents();
    EXPECT_EQ(help->rtbHelp->size(), normal);
}

class HelpFromTheBoard : public BoardFixture
{
protected:
    void TearDown() override { closeHelp(); }
};

TEST_F(HelpFromTheBoard, F1ShowsHelpBesideARunningBoard)
{
    board->show();
    board->AllKeyCode(Settings::StartStopPeriodClockKey);
    tick(1000);
    const float before = board->tledPeriod->Caption();

    QTest::keyClick(board->tledPeriod, Qt::Key_F1);
    frmHelp *help = frmHelp::openWindow();
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->isVisible());
    EXPECT_FALSE(help->isModal());

    // The clock keeps running and the board still takes its keys.
    tick(2000);
    EXPECT_LT(board->tledPeriod->Caption(), before);
    EXPECT_TRUE(board->tkPeriod->Running());
    QTest::keyClick(board->tledPeriod, Qt::Key_S);
    EXPECT_FALSE(board->tkPeriod->Running());

    // F1 again brings the same window forward.
    QTest::keyClick(board->tledPeriod, Qt::Key_F1);
    EXPECT_EQ(frmHelp::openWindow(), help);
}
