#pragma once

#include <QList>

// Which of the desktop's ways to keep the display awake the board asks,
// and in what order. The X11 screen saver is another matter: it is the X
// server's own blanking, which no desktop service reaches, so it is held off
// wherever the board runs on X11, whatever the desktop offers.
namespace AwakeChoice {

enum class Way {
    Portal, // org.freedesktop.portal.Inhibit, the idle flag
    ScreenSaverService, // org.freedesktop.ScreenSaver
};

// What the session bus offers.
struct Offer
{
    bool portal = false; // running, or started on demand
    bool screenSaverService = false;
};

// The ways to ask in turn: the next only when the one before refuses or
// does not answer. The portal first, as it is what GNOME, KDE, wlroots
// desktops and sandboxes all answer; one inhibition held is enough.
QList<Way> desktopWays(const Offer &offer);

// Whether to tell the operator that the display may blank: no desktop way
// is held or still being asked, and the X11 screen saver is not held off.
bool nothingHolds(bool x11Suspended, bool desktopHeld, bool desktopAsking);

} // namespace AwakeChoice
