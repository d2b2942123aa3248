#pragma once

#include "modules/TimeValue.h"
#include "modules/VbTypes.h"

// What the board knows of the match besides the scores (which live in the
// score displays) and the times (which live in the match timers). Everything
// starts at zero when the board is created; it is kept on disk only so
// that a contest survives an unclean end.
struct MatchState
{
    VbBoolean BuzzerPlaying = VbFalse; // the buzzer sound is playing
    VbBoolean PenaltyHK = VbFalse; // Home keikoku
    VbBoolean PenaltyHC = VbFalse; // Home chui
    VbBoolean PenaltyHS = VbFalse; // Home shido
    VbBoolean PenaltyVK = VbFalse; // Visitor keikoku
    VbBoolean PenaltyVC = VbFalse; // Visitor chui
    VbBoolean PenaltyVS = VbFalse; // Visitor shido
    qint16 Ippon = 0; // 0 none, 1 Home, 2 Visitor
    qint16 MedHome = 0; // lit medical lamps, 0 to 2
    qint16 MedVisitor = 0;
    qint16 Winner = 0; // 0 none, 1 Home, 2 Visitor
    qint32 TimePin = 0; // last osaekomi key: 37 Home, 38 ended, 39 Visitor
};

// The time the reset command puts back on the contest clock: 2:00 when the
// board loads, then every accepted time entry. Never saved.
extern TimeValue PeriodResetTime;
