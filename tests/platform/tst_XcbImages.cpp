// Which way the board's images go to an X server: over the connection
// unless the site said otherwise.

#include "platform/XcbImages.h"

#include <QByteArray>

#include <gtest/gtest.h>

TEST(XcbImages, OverTheConnectionUnlessTheSiteChoseOtherwise)
{
    struct Case
    {
        const char *siteSetting; // QT_XCB_NO_MITSHM before the call; nullptr: unset
        const char *keepShared; // ZEMBRAK_XCB_SHM
        const char *after; // QT_XCB_NO_MITSHM after; nullptr: unset
    };
    const Case cases[] = {
        {nullptr, nullptr, "1"},
        {nullptr, "0", "1"},
        {nullptr, "1", nullptr},
        {"0", nullptr, "0"}, // the site's own word stands
        {"", "1", ""},
    };
    for (const Case &c : cases) {
        const auto set = [](const char *name, const char *value) {
            if (value)
                qputenv(name, QByteArray(value));
            else
                qunsetenv(name);
        };
        set("QT_XCB_NO_MITSHM", c.siteSetting);
        set("ZEMBRAK_XCB_SHM", c.keepShared);
        XcbImages::chooseTransport();
        SCOPED_TRACE(testing::Message() << "site " << (c.siteSetting ? c.siteSetting : "unset") << ", keep "
                                        << (c.keepShared ? c.keepShared : "unset"));
        EXPECT_EQ(qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM"), c.after != nullptr);
        if (c.after) {
            EXPECT_EQ(qgetenv("QT_XCB_NO_MITSHM"), QByteArray(c.after));
        }
    }
    qunsetenv("QT_XCB_NO_MITSHM");
    qunsetenv("ZEMBRAK_XCB_SHM");
}
