// The board's side of JudoShiai's link: starting it from the options, and
// the settings it is started from. The day runs it.

#include "scoreboard/frmScoreboard.h"

#include "day/JudoShiaiLink.h"
#include "day/MatchDay.h"
#include "settings/SettingsVariables.h"

void frmScoreboard::linkTournament(const QString &host, quint16 port, int tatami)
{
    JudoShiaiLink *link = nullptr;
    if (!host.isEmpty()) {
        link = new JudoShiaiLink;
        link->start(host, port, tatami);
    }
    m_day->setTournamentLink(link);
}

QStringList frmScoreboard::tournamentSettings() const
{
    return {Settings::JudoShiaiServer, QString::number(Settings::JudoShiaiTatami),
        QString::number(Settings::JudoShiaiConnect)};
}

// The link as the options dialog left it: on, moved or off.
void frmScoreboard::applyTournamentSettings()
{
    QString host;
    quint16 port = JudoShiai::defaultPort;
    if (Settings::JudoShiaiConnect == 0 || !JudoShiai::parseServer(Settings::JudoShiaiServer, host, port))
        host.clear();
    linkTournament(host, port, Settings::JudoShiaiTatami);
}
