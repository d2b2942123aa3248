#pragma once

#include "support/FakeClock.h"
#include "support/FakeMediaBackend.h"

#include "controls/ClockDisplay.h"
#include "controls/ControlArray.h"
#include "controls/DigitDisplay.h"
#include "controls/Label.h"
#include "controls/PictureBox.h"
#include "controls/Shape.h"
#include "controls/Timer.h"
#include "platform/MMControl.h"
#include "scoreboard/frmScoreboard.h"

#include <QApplication>
#include <QTest>

#include <functional>
#include <random>

// An operator gone wild, from a seed: key presses and releases on whatever
// has the focus, left and right clicks on the board's objects, the clock
// moving on by one tick, and the buzzer sound ending. F1 and F2 are left
// out: their windows have tests of their own, and a modal dialog would wait
// for an answer no storm gives.
class RandomOperator
{
public:
    // How the board's tick is run after the clock moves on.
    using TickRunner = std::function<void(frmScoreboard &)>;

    RandomOperator(
        frmScoreboard &board, FakeClock &clock, FakeMediaBackend &media, quint32 seed, TickRunner tick)
        : m_board(board)
        , m_clock(clock)
        , m_media(media)
        , m_rng(seed)
        , m_tick(std::move(tick))
    {
        m_clickable = {board.picKHome, board.picCHome, board.picSHome, board.picKVisitor, board.picCVisitor,
            board.picSVisitor, board.lblIpponHome, board.lblIpponVisitor, board.lblMedHome->at<Label>(0),
            board.lblMedHome->at<Label>(1), board.lblMedVisitor->at<Label>(0),
            board.lblMedVisitor->at<Label>(1), board.picWinnerHome, board.picWinnerVisitor, board.nledWHome,
            board.nledYHome, board.nledKHome, board.nledWVisitor, board.nledYVisitor, board.nledKVisitor,
            board.nledHoldHome, board.nledHoldVisitor, board.tledPeriod, board.lblTitle};
    }

    // The tick as the design has it: a refresh every 50 ms, come what may.
    static void alwaysTick(frmScoreboard &board) { board.RefreshTime(); }
    // The tick on every step while its timer is awake, as a timer that
    // fires a little early or late would.
    static void timerTick(frmScoreboard &board)
    {
        if (!board.tmrClock1->Sleeping())
            emit board.tmrClock1->Tick();
    }
    // The tick as the program runs it: only when its timer is due.
    static void plannedTick(frmScoreboard &board) { board.tmrClock1->tickIfDue(); }

    // One event; returns a short name of what was done.
    const char *step()
    {
        const int kind = pick(100);
        if (kind < 38) {
            QTest::keyPress(target(), anyKey(), anyModifiers());
            return "press";
        }
        if (kind < 58) {
            QTest::keyRelease(target(), anyKey(), anyModifiers());
            return "release";
        }
        if (kind < 68) {
            QWidget *object = m_clickable.at(pick(m_clickable.size()));
            const Qt::MouseButton button = pick(4) == 0 ? Qt::RightButton : Qt::LeftButton;
            QTest::mouseClick(object, button, Qt::NoModifier, QPoint(1, 1));
            return "click";
        }
        if (kind < 69) {
            m_media.finish();
            QCoreApplication::processEvents();
            return "sound ends";
        }
        // Usually one tick; now and then a long wait, as between contests.
        const int ticks = pick(40) == 0 ? 1 + pick(400) : 1;
        for (int i = 0; i < ticks; ++i) {
            m_clock.advanceMs(50);
            m_tick(m_board);
        }
        return "tick";
    }

private:
    int pick(int below) { return std::uniform_int_distribution<int>(0, below - 1)(m_rng); }

    QWidget *target()
    {
        QWidget *focus = QApplication::focusWidget();
        return focus ? focus : &m_board;
    }

    Qt::Key anyKey()
    {
        static const Qt::Key keys[] = {Qt::Key_S, Qt::Key_R, Qt::Key_B, Qt::Key_Left, Qt::Key_Right,
            Qt::Key_Up, Qt::Key_Down, Qt::Key_0, Qt::Key_1, Qt::Key_2, Qt::Key_3, Qt::Key_5, Qt::Key_9,
            Qt::Key_Period, Qt::Key_Plus, Qt::Key_Minus, Qt::Key_Equal, Qt::Key_Return, Qt::Key_Enter,
            Qt::Key_Space, Qt::Key_Delete, Qt::Key_Tab, Qt::Key_Backtab, Qt::Key_NumLock, Qt::Key_Escape,
            Qt::Key_A, Qt::Key_Shift, Qt::Key_F5};
        return keys[pick(int(std::size(keys)))];
    }

    Qt::KeyboardModifiers anyModifiers()
    {
        switch (pick(8)) {
        case 0: return Qt::KeypadModifier;
        case 1: return Qt::ShiftModifier;
        default: return Qt::NoModifier;
        }
    }

    frmScoreboard &m_board;
    FakeClock &m_clock;
    FakeMediaBackend &m_media;
    std::mt19937 m_rng;
    TickRunner m_tick;
    QList<QWidget *> m_clickable;
};
