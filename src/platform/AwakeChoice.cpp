#include "platform/AwakeChoice.h"

namespace AwakeChoice {

QList<Way> desktopWays(const Offer &offer)
{
    QList<Way> ways;
    if (offer.portal)
        ways.append(Way::Portal);
    if (offer.screenSaverService)
        ways.append(Way::ScreenSaverService);
    return ways;
}

bool nothingHolds(bool x11Suspended, bool desktopHeld, bool desktopAsking)
{
    return !x11Suspended && !desktopHeld && !desktopAsking;
}

} // namespace AwakeChoice
