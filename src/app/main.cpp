#include "app/frmSplash.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Zembrak"));
    QApplication::setApplicationName(QStringLiteral("Zembrak"));
    QApplication::setApplicationVersion(QStringLiteral(ZEMBRAK_VERSION));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/zembrak/logo.png")));
    QGuiApplication::setDesktopFileName(QStringLiteral("org.zembrak.Zembrak"));

    // The start screen loads the settings and leads on to the board.
    frmSplash splash;
    splash.show();
    return QApplication::exec();
}
