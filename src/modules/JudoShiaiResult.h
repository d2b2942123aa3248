#pragma once

#include "modules/ContestResult.h"
#include "modules/JudoShiaiCodec.h"

// What JudoShiai is told of an ended contest: White is Home and Blue is
// Visitor; the scores packed, the time the clock ran, the votes when the
// operator decided, hansoku-make and golden score.
namespace JudoShiai {

struct ResultFor
{
    ResultMessage message;
    // Koka has no field in JudoShiai's result: what was dropped, for stderr.
    int kokaWhite = 0;
    int kokaBlue = 0;
};

ResultFor resultFor(const ContestResult::Ended &contest, qint32 category, qint32 match);

} // namespace JudoShiai
