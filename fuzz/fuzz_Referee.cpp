// The referee fed any run of events under any set: it never counts a shido
// past hansoku-make, never both stops and runs the clock in one call, only
// names a side 1 or 2, and never decides twice without being reopened.

#include "modules/Referee.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

bool aSide(qint16 side)
{
    return side >= 0 && side <= 2;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1)
        return 0;
    using namespace Rules;
    const SetId sets[] = {SetId::Design, SetId::Classic, SetId::Ijf2018, SetId::Ijf2025, SetId::Custom};
    Referee referee(preset(sets[data[0] % 5]));
    Match scores;
    for (size_t i = 1; i + 1 < size; i += 2) {
        const qint16 side = qint16(data[i + 1] % 3);
        const qint16 value = qint16(data[i + 1] / 3);
        const bool wasEnded = referee.ended();
        Call call;
        switch (data[i] % 12) {
        case 0: call = referee.tick(scores, side, TimeValue::fromSeconds(value % 40)); break;
        case 1: call = referee.timeOut(scores, side); break;
        case 2:
            (side == 2 ? scores.visitor : scores.home).w = qint16(value % 10);
            call = referee.scoreTyped(scores, side);
            break;
        case 3: call = referee.ipponGiven(side); break;
        case 4: call = referee.shido(side, false); break;
        case 5: call = referee.shido(side, true); break;
        case 6: call = referee.hansokuMakeGiven(side); break;
        case 7: call = referee.sonoMama(value % 2 != 0, side); break;
        case 8:
            if (value % 2 != 0)
                referee.holdStarted();
            else
                check(aSide(referee.osaekomi(side, value % 4 > 1).run));
            break;
        case 9: referee.clockStarted(value % 2 != 0, value % 4 > 1); break;
        case 10: referee.contestReset(); break;
        default: referee.setRules(preset(sets[value % 5])); break;
        }
        check(aSide(call.winner) && aSide(call.ippon) && aSide(call.scoreSide) && aSide(call.runHold));
        check(!(call.stopAll && (call.runClock || call.runHold != 0)));
        check(!(wasEnded && call.winner != 0 && call.scoreSide == 0));
        for (qint16 s : {qint16(1), qint16(2)})
            check(referee.shidos(s) >= 0 &&
                  referee.shidos(s) <= std::max<qint16>(referee.rules().shidoLimit, 0));
        if (!referee.rules().automatic())
            check(call == Call {});
        // The board shows what the hold earned.
        Side &held = call.scoreSide == 2 ? scores.visitor : scores.home;
        if (call.earned == WazaAri)
            held.w = qint16(std::min(held.w + 1, 9));
    }
    return 0;
}
