// The board as JudoShiai's timer: the match JudoShiai offers this tatami
// goes on the board between contests, and the next-match key sends the
// ended contest's result. The link itself knows nothing of the board.

#include "scoreboard/frmScoreboard.h"

#include "controls/Label.h"
#include "day/JudoShiaiLink.h"
#include "modules/JudoShiaiResult.h"
#include "settings/SettingsVariables.h"

#include <QDebug>

namespace {

bool sameMatch(const JudoShiai::NextMatchMessage &a, const JudoShiai::NextMatchMessage &b)
{
    return a.category == b.category && a.match == b.match;
}

QString details(const JudoShiai::Competitor &competitor)
{
    QStringList parts;
    for (const QString &part : {competitor.country, competitor.club})
        if (!part.isEmpty())
            parts << part;
    return parts.join(QStringLiteral(", "));
}

} // namespace

void frmScoreboard::linkTournament(const QString &host, quint16 port, int tatami)
{
    delete m_link;
    m_link = nullptr;
    m_tournamentContest.reset();
    if (!host.isEmpty()) {
        m_link = new JudoShiaiLink(this);
        connect(m_link, &JudoShiaiLink::matchOffered, this, &frmScoreboard::takeTournamentMatch);
        connect(m_link, &JudoShiaiLink::connectedChanged, this, [this](bool connected) {
            // Said once a run: the board goes on, and the link comes back by itself.
            if (!connected && !m_linkLostSaid) {
                m_linkLostSaid = true;
                qWarning().noquote() << QStringLiteral(
                    "Zembrak: the link to JudoShiai at %1 is lost; the board "
                    "goes on and the link reconnects by itself.")
                                            .arg(m_link->server());
            }
            updateWindowTitle();
            emit contentChanged();
        });
        connect(m_link, &JudoShiaiLink::resultDelivered, this, [this] { emit contentChanged(); });
        m_link->start(host, port, tatami);
    }
    updateWindowTitle();
    emit contentChanged();
}

qint32 frmScoreboard::tournamentCategory() const
{
    return m_tournamentContest ? m_tournamentContest->category : 0;
}

qint32 frmScoreboard::tournamentMatch() const
{
    return m_tournamentContest ? m_tournamentContest->match : 0;
}

QString frmScoreboard::tournamentDetails(qint16 side) const
{
    if (!m_tournamentContest)
        return QString();
    return details(side == 1 ? m_tournamentContest->white1 : m_tournamentContest->blue1);
}

QString frmScoreboard::tournamentTitle() const
{
    QString text = QStringLiteral("JudoShiai %1, tatami %2").arg(m_link->server()).arg(m_link->tatami());
    if (!m_link->isConnected())
        text += QStringLiteral(", not connected");
    if (m_tournamentContest)
        text += QStringLiteral(", match %1").arg(m_tournamentContest->match);
    return text;
}

bool frmScoreboard::contestStarted() const
{
    return m_clockRan || marks() != MatchMarksRules::cleared(m_rules);
}

void frmScoreboard::tournamentNextMatch()
{
    if (m_tournamentContest && !m_tournamentEnded && contestStarted()) {
        writeResult();
        const JudoShiai::ResultFor result =
            JudoShiai::resultFor(endedContest(), m_tournamentContest->category, m_tournamentContest->match);
        if (result.kokaWhite > 0 || result.kokaBlue > 0)
            qWarning().noquote() << QStringLiteral("Zembrak: JudoShiai's result has no koka; match %1 had %2 "
                                                   "for White (Home) and %3 for Blue (Visitor), not sent.")
                                        .arg(m_tournamentContest->match)
                                        .arg(result.kokaWhite)
                                        .arg(result.kokaBlue);
        m_link->sendResult(result.message);
        m_tournamentEnded = true;
        // Saved at once: a crash before the ACK must not lose the result.
        emit contentChanged();
    }
    takeTournamentMatch();
}

void frmScoreboard::saveTournament(SavedContest &contest) const
{
    if (!m_tournamentContest)
        return;
    contest.tournamentCategory = m_tournamentContest->category;
    contest.tournamentMatch = m_tournamentContest->match;
    contest.tournamentEnded = m_tournamentEnded;
    if (m_link && m_link->pendingResult())
        contest.tournamentResult = JudoShiai::encodeResult(*m_link->pendingResult());
}

// The match comes back as it was; a result not known to be in is sent again.
void frmScoreboard::restoreTournament(const SavedContest &saved)
{
    if (!m_link || saved.tournamentMatch <= 0)
        return;
    auto contest = std::make_shared<JudoShiai::NextMatchMessage>();
    contest->category = saved.tournamentCategory;
    contest->match = saved.tournamentMatch;
    m_tournamentContest = contest;
    m_tournamentEnded = saved.tournamentEnded;
    if (const std::optional<JudoShiai::ResultMessage> result =
            JudoShiai::decodeResult(saved.tournamentResult))
        m_link->sendResult(*result);
}

// Between contests the offered match goes on the board; during one it
// waits for the next-match key.
void frmScoreboard::takeTournamentMatch()
{
    if (!m_link || !m_link->offered())
        return;
    const JudoShiai::NextMatchMessage &next = *m_link->offered();
    if (m_tournamentContest && sameMatch(*m_tournamentContest, next))
        return;
    if (m_tournamentContest && !m_tournamentEnded && contestStarted())
        return;
    MatchList::Next contest;
    contest.index = m_matchIndex;
    contest.contest.home = next.white1.displayName();
    contest.contest.visitor = next.blue1.displayName();
    contest.contest.title = JudoShiai::matchTitle(next.category1, next.round);
    contest.marks = MatchMarksRules::cleared(m_rules);
    contest.time = (next.minutes & JudoShiai::timesKnown) && next.matchTime > 0
                       ? TimeValue::fromSeconds(next.matchTime)
                       : PeriodResetTime;
    m_tournamentContest = std::make_shared<JudoShiai::NextMatchMessage>(next);
    m_tournamentEnded = false;
    showContest(contest);

    // The set's hold times stay the operator's choice; a difference is told once.
    const bool timesKnown = next.minutes & JudoShiai::timesKnown;
    const std::array<qint16, 4> ours = {m_rules.ipponAt, m_rules.wazaAriAt, m_rules.yukoAt, m_rules.kokaAt};
    bool differ = false;
    for (int i = 0; i < 4; ++i)
        differ = differ || (next.pinTimes[size_t(i)] > 0 && next.pinTimes[size_t(i)] != ours[size_t(i)]);
    if (timesKnown && m_rules.automatic() && differ && !m_holdTimesSaid) {
        m_holdTimesSaid = true;
        qWarning().noquote() << QStringLiteral(
            "Zembrak: JudoShiai's hold times (ippon %1 s, waza-ari %2 s, yuko "
            "%3 s, koka %4 s) differ from the rule set's %5; the board keeps "
            "the rule set's.")
                                    .arg(next.pinTimes[0])
                                    .arg(next.pinTimes[1])
                                    .arg(next.pinTimes[2])
                                    .arg(next.pinTimes[3])
                                    .arg(Rules::displayName(m_rules.id));
    }
    emit contentChanged();
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
