#include "files/SavePlan.h"

namespace {

bool running(const SavedContest &c)
{
    return c.periodRunning || c.holdHomeRunning || c.holdVisitorRunning;
}

SavedContest withoutTimes(SavedContest c)
{
    c.period = c.holdHome = c.holdVisitor = TimeValue();
    return c;
}

} // namespace

namespace SavePlan {

bool due(const std::optional<SavedContest> &written, const SavedContest &now, qint64 msSinceWritten)
{
    if (!written || withoutTimes(*written) != withoutTimes(now))
        return true;
    if (!running(now))
        return *written != now;
    return msSinceWritten >= RunningIntervalMs;
}

} // namespace SavePlan
