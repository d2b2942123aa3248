#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    // Widget tests need no display; a caller may still choose another platform.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("ZembrakTests"));
    QApplication::setApplicationName(QStringLiteral("ZembrakTests"));
    return RUN_ALL_TESTS();
}
