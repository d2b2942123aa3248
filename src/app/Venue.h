#pragma once

#include "app/CommandLine.h"

class frmScoreboard;

// Puts the command line's venue options into effect on a newly created
// board, before it is shown: its screen and full screen, the audience
// window, the live feed, and keeping the display awake (always on). What
// cannot be had (a screen that does not exist) is told on
// stderr and the board goes on without it.
void applyVenueOptions(frmScoreboard &board, const VenueOptions &options);

// Binds the live feed's address and port, if one was asked for, before any
// window opens: a feed the operator asked for and cannot have is told on
// stderr, naming the address and port, and false is returned so that the
// program ends rather than run without it. The board's feed then serves on
// that socket.
bool bindVenueFeed(const VenueOptions &options);

// Claims the board's mat (or the board without one) for this process before
// any window opens: a mat gets a settings store and a data folder of its
// own, and a lock in that folder keeps a second instance away. False, after
// "Zembrak is already running for mat NAME (process N)" on stderr, when
// another instance holds it. A lock left by a crashed process is taken over.
bool claimVenueMat(const VenueOptions &options);
