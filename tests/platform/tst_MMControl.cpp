#include "support/FakeMediaBackend.h"

#include "platform/MMControl.h"
#include "platform/MediaBackend.h"

#include <QCoreApplication>
#include <QSignalSpy>
#include <QStringList>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

class MMControlTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        auto backend = std::make_unique<FakeMediaBackend>();
        m_backend = backend.get();
        m_player.setBackend(std::move(backend));
        m_player.setClock([this] { return m_now; });
    }

    void command(const char *name) { m_player.setCommand(QLatin1String(name)); }

    void openFile()
    {
        m_player.setFileName(QStringLiteral("/sounds/buzzer.wav"));
        command("Open");
    }

    // Done arrives through the event loop; this lets it.
    qsizetype doneCount()
    {
        QCoreApplication::processEvents();
        return m_done.count();
    }

    qint32 lastCode() const { return m_done.last().at(0).toInt(); }

    void advance(qint64 ms)
    {
        m_now += ms;
        m_player.checkDeadline();
    }

    MMControl m_player;
    FakeMediaBackend *m_backend = nullptr;
    QSignalSpy m_done {&m_player, &MMControl::Done};
    qint64 m_now = 1000;
};

TEST_F(MMControlTest, CommandsDriveTheBackend)
{
    openFile();
    command("Play");
    command("Stop");
    command("Prev");
    m_player.setCommand(QStringLiteral("play"));
    command("Eject");
    command("Close");
    EXPECT_EQ(
        m_backend->calls, (QStringList {QStringLiteral("open /sounds/buzzer.wav"), QStringLiteral("play"),
                              QStringLiteral("stop"), QStringLiteral("rewind"), QStringLiteral("play"),
                              QStringLiteral("stop"), QStringLiteral("close")}));
    EXPECT_EQ(m_player.Command(), QStringLiteral("Close"));
    EXPECT_EQ(m_player.FileName(), QStringLiteral("/sounds/buzzer.wav"));
    EXPECT_FALSE(m_player.isOpen());

    // Nothing reaches a closed backend but the next open.
    m_backend->calls.clear();
    command("Stop");
    command("Prev");
    command("Close");
    EXPECT_TRUE(m_backend->calls.isEmpty());
}

TEST_F(MMControlTest, DoneComesOnceWhenTheBackendReportsTheEnd)
{
    // The board's own handler: stop and rewind, then play again later.
    QObject::connect(&m_player, &MMControl::Done, &m_player, [this] {
        command("Stop");
        command("Prev");
    });
    openFile();
    for (int play = 1; play <= 2; ++play) {
        command("Play");
        EXPECT_TRUE(m_player.isPlaying());
        EXPECT_EQ(doneCount(), play - 1);

        m_backend->finish();
        EXPECT_FALSE(m_player.isPlaying());
        EXPECT_EQ(doneCount(), play);
        EXPECT_EQ(lastCode(), MMControl::NotifySuccessful);

        // A second report, and the deadline passing, belong to a finished play.
        m_backend->finish();
        advance(60000);
        EXPECT_EQ(doneCount(), play);
    }
    EXPECT_TRUE(m_player.isOpen());
}

TEST_F(MMControlTest, DeadlineRaisesDoneWhenTheBackendNeverReportsTheEnd)
{
    QTimer *timer = m_player.findChild<QTimer *>();
    ASSERT_NE(timer, nullptr);
    openFile();
    command("Play");
    ASSERT_TRUE(timer->isActive());
    EXPECT_EQ(timer->interval(), m_backend->duration + MMControl::DoneMarginMs);
    // A timer that fires early waits on for what is left.
    m_now += 1000;
    QMetaObject::invokeMethod(timer, "timeout");
    EXPECT_EQ(timer->interval(), m_backend->duration + MMControl::DoneMarginMs - 1000);

    advance(m_backend->duration + MMControl::DoneMarginMs - 1000 - 1);
    EXPECT_EQ(doneCount(), 0);
    advance(1);
    EXPECT_EQ(doneCount(), 1);
    EXPECT_EQ(lastCode(), MMControl::NotifySuccessful);

    m_backend->finish();
    EXPECT_EQ(doneCount(), 1);

    // Without a known length, the wait is capped.
    m_backend->duration = -1;
    command("Play");
    advance(MMControl::UnknownDurationMs + MMControl::DoneMarginMs - 1);
    EXPECT_EQ(doneCount(), 1);
    advance(1);
    EXPECT_EQ(doneCount(), 2);
}

TEST_F(MMControlTest, PlayThatCannotStartRaisesDoneAfterwards)
{
    // Nothing open yet.
    command("Play");
    EXPECT_EQ(m_done.count(), 0) << "Done must not come from inside the command";
    EXPECT_EQ(doneCount(), 1);
    EXPECT_EQ(lastCode(), MMControl::NotifyFailure);
    EXPECT_FALSE(m_backend->calls.contains(QStringLiteral("play")));

    // An open the backend refuses, and an empty file name.
    m_backend->openSucceeds = false;
    openFile();
    EXPECT_FALSE(m_player.isOpen());
    command("Play");
    EXPECT_EQ(doneCount(), 2);
    m_backend->openSucceeds = true;
    m_player.setFileName(QString());
    command("Open");
    EXPECT_FALSE(m_player.isOpen());
    command("Play");
    EXPECT_EQ(doneCount(), 3);

    // A play the backend refuses.
    openFile();
    m_backend->playSucceeds = false;
    command("Play");
    EXPECT_FALSE(m_player.isPlaying());
    EXPECT_EQ(m_done.count(), 3);
    EXPECT_EQ(doneCount(), 4);
    EXPECT_EQ(lastCode(), MMControl::NotifyFailure);
    advance(60000);
    EXPECT_EQ(doneCount(), 4);

    // No backend at all.
    MMControl bare;
    QSignalSpy bareDone(&bare, &MMControl::Done);
    bare.setFileName(QStringLiteral("/sounds/buzzer.wav"));
    bare.setCommand(QStringLiteral("Open"));
    bare.setCommand(QStringLiteral("Play"));
    QCoreApplication::processEvents();
    EXPECT_EQ(bareDone.count(), 1);
}

TEST_F(MMControlTest, InterruptedPlayRaisesDoneOnce)
{
    qsizetype expected = 0;
    for (const char *interruption : {"Stop", "Close", "Open"}) {
        SCOPED_TRACE(interruption);
        if (!m_player.isOpen())
            openFile();
        command("Play");
        command(interruption);
        EXPECT_FALSE(m_player.isPlaying());
        EXPECT_EQ(m_done.count(), expected);
        EXPECT_EQ(doneCount(), ++expected);
        EXPECT_EQ(lastCode(), MMControl::NotifyAborted);
        m_backend->finish();
        advance(60000);
        EXPECT_EQ(doneCount(), expected);
    }

    // A second "Play" ends the first play, and its own Done follows later.
    command("Play");
    command("Play");
    EXPECT_EQ(doneCount(), ++expected);
    EXPECT_EQ(lastCode(), MMControl::NotifySuperseded);
    EXPECT_TRUE(m_player.isPlaying());
    m_backend->finish();
    EXPECT_EQ(doneCount(), ++expected);
    EXPECT_EQ(lastCode(), MMControl::NotifySuccessful);
}

} // namespace
