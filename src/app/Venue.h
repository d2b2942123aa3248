#pragma once

#include "app/CommandLine.h"

class frmScoreboard;

// Puts the command line's venue options into effect on a newly created
// board, before it is shown: its screen and full screen, the audience
// window, the live feed, and keeping the display awake (always on). What
// cannot be had (a screen that does not exist, a port in use) is told on
// stderr and the board goes on without it.
void applyVenueOptions(frmScoreboard &board, const VenueOptions &options);
