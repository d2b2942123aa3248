#include "modules/Rounding.h"

#include <cmath>
#include <limits>

namespace Rounding {

double halfEven(double value)
{
    // nearbyint honours the current rounding mode, which is to-nearest-even
    // unless somebody changed it; std::remainder-based code would be slower.
    return std::nearbyint(value);
}

qint64 halfEvenSeconds(TimeValue value)
{
    const qint64 ticks = value.ticks();
    const qint64 per = TimeValue::TicksPerSecond;
    qint64 whole = ticks / per;
    qint64 rest = ticks % per;
    if (rest < 0) { // floor division
        rest += per;
        --whole;
    }
    const qint64 twice = 2 * rest;
    if (twice > per || (twice == per && (whole % 2 != 0)))
        ++whole;
    return whole;
}

template<typename Int>
static Int saturate(double value)
{
    const double r = halfEven(value);
    if (std::isnan(r))
        return 0;
    if (r <= double(std::numeric_limits<Int>::min()))
        return std::numeric_limits<Int>::min();
    if (r >= double(std::numeric_limits<Int>::max()))
        return std::numeric_limits<Int>::max();
    return Int(r);
}

qint16 toInt16(double value)
{
    return saturate<qint16>(value);
}
qint32 toInt32(double value)
{
    return saturate<qint32>(value);
}

} // namespace Rounding
