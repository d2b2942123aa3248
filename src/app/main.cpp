#include "app/CommandLine.h"
#include "app/SignalQuit.h"
#include "app/Venue.h"
#include "app/frmSplash.h"
#include "platform/XcbImages.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char *argv[])
{
    QApplication::setOrganizationName(QStringLiteral("Zembrak"));
    QApplication::setApplicationName(QStringLiteral("Zembrak"));
    QApplication::setApplicationVersion(QStringLiteral(ZEMBRAK_VERSION));
    // Read before any window system is needed, so that --help and --version
    // work without a display.
    const VenueOptions venue = CommandLine::process(argc, argv);
    XcbImages::chooseTransport();
    QApplication app(argc, argv);
    const SignalQuit quitOnSignal;
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/zembrak/logo.png")));
    QGuiApplication::setDesktopFileName(QStringLiteral("org.zembrak.Zembrak"));
    if (!bindVenueFeed(venue) || !claimVenueMat(venue))
        return 2;

    // The start screen loads the settings and leads on to the board, which
    // takes the venue options before it is shown; with --board it does so
    // at once, never showing itself.
    frmSplash splash;
    splash.setBoardSetup([&venue](frmScoreboard &board) { applyVenueOptions(board, venue); });
    if (venue.board)
        splash.GoScore();
    else
        splash.show();
    return QApplication::exec();
}
