// The buzzer: one sound at a time, the file kept open between plays, and
// silence for a missing file.

#include "support/BoardFixture.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QSignalSpy>

using namespace Settings;

class BuzzerTest : public BoardFixture
{
protected:
    // The sound ends: the service says so and the player raises Done.
    void finishSound()
    {
        QSignalSpy done(board->mmcBuzzer, &MMControl::Done);
        media->finish();
        if (done.isEmpty())
            done.wait(1000);
        ASSERT_EQ(done.size(), 1);
    }
};

TEST_F(BuzzerTest, PlaysOnceAtATimeAndRewindsForTheNext)
{
    board->AllKeyCode(66);
    EXPECT_EQ(board->BuzzerPlaying, VbTrue);
    EXPECT_EQ(board->mmcBuzzer->FileName(), BuzzerFile);
    board->AllKeyCode(66); // dropped while playing
    EXPECT_EQ(plays(), 1);

    finishSound();
    EXPECT_EQ(board->BuzzerPlaying, VbFalse);
    EXPECT_EQ(media->calls.mid(media->calls.size() - 2), (QStringList {"stop", "rewind"}));

    board->AllKeyCode(66);
    EXPECT_EQ(plays(), 2);
    EXPECT_EQ(media->calls.count(QStringLiteral("open ") + BuzzerFile), 1) << "kept open between plays";
}

TEST_F(BuzzerTest, AnotherFileIsLoadedBeforePlaying)
{
    board->AllKeyCode(66);
    finishSound();
    const QString other = dir.filePath(QStringLiteral("horn.wav"));
    QFile(BuzzerFile).copy(other);
    BuzzerFile = other;
    media->calls.clear();
    board->AllKeyCode(66);
    EXPECT_EQ(media->calls, (QStringList {"close", "open " + other, "play"}));
}

TEST_F(BuzzerTest, NoSoundWithoutAPlayableFile)
{
    const QString hidden = dir.filePath(QStringLiteral(".hidden.wav"));
    QFile(BuzzerFile).copy(hidden);
    for (const QString &name : {QString(), dir.path(), dir.filePath(QStringLiteral("gone.wav")), hidden}) {
        BuzzerFile = name;
        board->AllKeyCode(66);
        EXPECT_EQ(board->BuzzerPlaying, VbFalse) << name.toStdString();
    }
    EXPECT_TRUE(media->calls.isEmpty());
}

TEST_F(BuzzerTest, ClosingReleasesTheFileOnlyWhenOneIsOpen)
{
    QCloseEvent first;
    QApplication::sendEvent(board.get(), &first);
    EXPECT_TRUE(media->calls.isEmpty()) << "a board that never buzzed leaves the player alone";

    board->AllKeyCode(66);
    QCloseEvent second;
    QApplication::sendEvent(board.get(), &second);
    EXPECT_EQ(media->calls.last(), QStringLiteral("close"));
}
