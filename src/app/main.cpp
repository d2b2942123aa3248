#include "app/SignalQuit.h"
#include "scoreboard/frmScoreboard.h"
#include "settings/SettingsStore.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const SignalQuit quitOnSignal;
    QApplication::setOrganizationName(QStringLiteral("Zembrak"));
    QApplication::setApplicationName(QStringLiteral("Zembrak"));
    QApplication::setApplicationVersion(QStringLiteral(ZEMBRAK_VERSION));

    // The settings are read once, before the board opens.
    LoadSettings();

    frmScoreboard board;
    board.show();
    return QApplication::exec();
}
