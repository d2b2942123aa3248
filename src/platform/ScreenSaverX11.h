#pragma once

// The X server's own screen saver and display power management, held off
// through the MIT-SCREEN-SAVER extension on Qt's X connection. The server
// lifts the suspension by itself when the connection closes. Off X11, or
// without the extension, nothing happens and false is returned.
namespace ScreenSaverX11 {

bool setSuspended(bool suspended);

} // namespace ScreenSaverX11
