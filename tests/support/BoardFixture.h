#pragma once

#include "support/FakeClock.h"
#include "support/FakeMediaBackend.h"

#include "controls/DigitDisplay.h"
#include "controls/MatchTimer.h"
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

// The six score displays and the three timers, as text, for tests that
// compare what a board shows and runs from one event to the next.
inline void appendScoresAndTimers(QStringList &parts, const frmScoreboard &b)
{
    for (DigitDisplay *score : {b.nledWHome, b.nledYHome, b.nledKHome, b.nledWVisitor, b.nledYVisitor, b.nledKVisitor})
        parts << QString::number(score->Caption());
    for (const MatchTimer *timer : {b.tkPeriod, b.tkHoldHome, b.tkHoldVisitor})
        parts << QString::number(timer->Running()) << QString::number(timer->Seconds().ticks());
}

// The match state's fields, as text.
inline void appendMatchFields(QStringList &parts, const frmScoreboard &b)
{
    for (qint32 field : {qint32(b.TimeUpBuzzed), qint32(b.BuzzerPlaying), qint32(b.PenaltyHK), qint32(b.PenaltyHC),
             qint32(b.PenaltyHS), qint32(b.PenaltyVK), qint32(b.PenaltyVC), qint32(b.PenaltyVS), qint32(b.Ippon),
             qint32(b.MedHome), qint32(b.MedVisitor), qint32(b.Winner), b.TimePin})
        parts << QString::number(field);
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
