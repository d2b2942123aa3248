#pragma once

#include "support/FakeClock.h"
#include "support/FakeMediaBackend.h"

#include "modules/modCount.h"
#include "modules/modShowDigits.h"
#include "platform/MMControl.h"
#include "scoreboard/frmScoreboard.h"
#include "settings/SettingsVariables.h"

#include <QApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

// The program-wide state a board starts from: default settings and empty
// typing buffers.
inline void resetProgramState()
{
    Settings::resetToDefaults();
    modShowDigits::DigitBuffer.clear();
    modShowDigits::DigitTarget.clear();
    modCount::TimeEntryText.clear();
    modCount::TimeEntryOwner.clear();
}

// A board on the hand-driven clock, with a recording sound service (media).
inline std::unique_ptr<frmScoreboard> makeTestBoard(FakeClock &clock, FakeMediaBackend *&media)
{
    auto board = std::make_unique<frmScoreboard>();
    board->setClock(clock.clock());
    auto backend = std::make_unique<FakeMediaBackend>();
    media = backend.get();
    board->mmcBuzzer->setBackend(std::move(backend));
    return board;
}

// Shows the board with the focus, as the operator finds it.
inline void showBoard(frmScoreboard &board)
{
    board.show();
    board.activateWindow();
    QApplication::processEvents();
}

// A board on default settings, with a hand-driven clock and a recording
// sound service, and a buzzer file that exists.
class BoardFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        resetProgramState();
        ASSERT_TRUE(dir.isValid());
        Settings::BuzzerFile = dir.filePath(QStringLiteral("buzzer.wav"));
        QFile file(Settings::BuzzerFile);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("RIFF");
        file.close();

        board = makeTestBoard(clock, media);
    }

    // Runs the tick: the clock moves on and the board refreshes, as the
    // 50 ms timer would do.
    void tick(qint64 ms = 50)
    {
        clock.advanceMs(ms);
        board->RefreshTime();
    }

    int plays() const { return int(media->calls.count(QStringLiteral("play"))); }

    QTemporaryDir dir;
    FakeClock clock;
    std::unique_ptr<frmScoreboard> board;
    FakeMediaBackend *media = nullptr;
};
