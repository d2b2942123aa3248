#include "app/CommandLine.h"
#include "app/Venue.h"
#include "scoreboard/frmScoreboard.h"
#include "settings/SettingsStore.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication::setOrganizationName(QStringLiteral("Zembrak"));
    QApplication::setApplicationName(QStringLiteral("Zembrak"));
    QApplication::setApplicationVersion(QStringLiteral(ZEMBRAK_VERSION));
    // Read before any window system is needed, so that --help and --version
    // work without a display.
    const VenueOptions venue = CommandLine::process(argc, argv);
    QApplication app(argc, argv);

    // The settings are read once, before the board opens.
    LoadSettings();

    frmScoreboard board;
    applyVenueOptions(board, venue);
    board.show();
    return QApplication::exec();
}
