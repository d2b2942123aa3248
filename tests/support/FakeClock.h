#pragma once

#include "controls/MatchTimer.h"

#include <memory>

// A monotonic clock that moves only when a test says so.
class FakeClock
{
public:
    MatchTimer::Clock clock() const
    {
        return [now = m_now] { return *now; };
    }
    void advanceMs(qint64 ms) { *m_now += ms * 1'000'000; }
    void advanceTicks(qint64 ticks) { *m_now += ticks * 100'000; }

private:
    std::shared_ptr<qint64> m_now = std::make_shared<qint64>(1'000'000'000);
};
