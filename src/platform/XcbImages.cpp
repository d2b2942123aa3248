#include "platform/XcbImages.h"

#include <QByteArray>

namespace XcbImages {

void chooseTransport()
{
    if (qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM") || qgetenv("ZEMBRAK_XCB_SHM") == "1")
        return;
    qputenv("QT_XCB_NO_MITSHM", QByteArrayLiteral("1"));
}

} // namespace XcbImages
