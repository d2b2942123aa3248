// The day as JudoShiai's timer: the match JudoShiai offers this tatami goes
// on the board between contests, and the next-match key sends the ended
// contest's result. The link knows nothing of the board.

#include "day/MatchDay.h"

#include "day/TournamentLink.h"
#include "modules/JudoShiaiResult.h"

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

void MatchDay::setTournamentLink(TournamentLink *link)
{
    delete m_link;
    m_link = link;
    m_tournamentContest.reset();
    if (link) {
        link->setParent(this);
        connect(link, &TournamentLink::matchOffered, this, &MatchDay::takeTournamentMatch);
        connect(link, &TournamentLink::connectedChanged, this, [this](bool connected) {
            // Told once a run: the board goes on, and the link comes back by itself.
            if (!connected && !m_linkLostSaid) {
                m_linkLostSaid = true;
                const QString why =
                    QStringLiteral("The link to JudoShiai at %1 is lost; the board goes on and "
                                   "the link reconnects by itself.")
                        .arg(m_link->server());
                qWarning().noquote() << QStringLiteral("Zembrak: ") + why;
                m_board.tellOperator(QStringLiteral("JudoShiai link lost"), why);
            }
            m_board.dayChanged();
        });
        connect(link, &TournamentLink::resultDelivered, this, [this] {
            scheduleSave();
            m_board.dayChanged();
        });
    }
    m_board.dayChanged();
}

qint32 MatchDay::tournamentCategory() const
{
    return m_tournamentContest ? m_tournamentContest->category : 0;
}

qint32 MatchDay::tournamentMatch() const
{
    return m_tournamentContest ? m_tournamentContest->match : 0;
}

QString MatchDay::tournamentDetails(qint16 side) const
{
    if (!m_tournamentContest)
        return QString();
    return details(side == 1 ? m_tournamentContest->white1 : m_tournamentContest->blue1);
}

bool MatchDay::contestStarted() const
{
    return m_board.clockRan() || m_board.marks() != MatchMarksRules::cleared(m_board.rules());
}

QString MatchDay::tournamentTitle() const
{
    QString text = QStringLiteral("JudoShiai %1, tatami %2").arg(m_link->server()).arg(m_link->tatami());
    if (!m_link->isConnected())
        text += QStringLiteral(", not connected");
    if (tournamentMatch() > 0)
        text += QStringLiteral(", match %1").arg(tournamentMatch());
    return text;
}

ContestResult::Ended MatchDay::endedContest() const
{
    ContestResult::Ended ended = m_board.endedContest();
    const auto withDetails = [this](const QString &name, qint16 side) {
        const QString text = tournamentDetails(side);
        return text.isEmpty() ? name : QStringLiteral("%1 (%2)").arg(name, text);
    };
    ended.home = withDetails(ended.home, 1);
    ended.visitor = withDetails(ended.visitor, 2);
    return ended;
}

// A contest the rules or the operator decided (a winner lit, the clock
// stopped) sends its result at once; the next match still waits for N.
void MatchDay::tournamentBoardChanged()
{
    if (!m_link || !m_tournamentContest || m_tournamentEnded || m_resultSentFor)
        return;
    if (m_board.marks().winner == 0 || m_board.contestOnBoard().periodRunning)
        return;
    sendTournamentResult();
}

void MatchDay::sendTournamentResult()
{
    const JudoShiai::ResultFor result =
        JudoShiai::resultFor(endedContest(), m_tournamentContest->category, m_tournamentContest->match);
    if (result.kokaWhite > 0 || result.kokaBlue > 0)
        qWarning().noquote() << QStringLiteral("Zembrak: JudoShiai's result has no koka; match %1 had %2 "
                                               "for White (Home) and %3 for Blue (Visitor), not sent.")
                                    .arg(m_tournamentContest->match)
                                    .arg(result.kokaWhite)
                                    .arg(result.kokaBlue);
    m_link->sendResult(result.message);
    m_resultSentFor = m_board.marks();
    // Saved at once: a crash before the ACK must not lose the result.
    saveContestNow();
}

void MatchDay::tournamentNextMatch()
{
    if (m_tournamentContest && !m_tournamentEnded && contestStarted()) {
        // Under the same question as a list's contest: one stray key cannot
        // end a contest that has no winner.
        if (undecided() &&
            !m_board.askOperator(QStringLiteral(
                "Contest %1 is not decided. Record it as undecided and go on to the next contest?")
                                     .arg(m_tournamentContest->match)))
            return;
        writeResult();
        // Ended before it is sent, so that the saved contest says both.
        m_tournamentEnded = true;
        // Changed since it was decided: JudoShiai gets the contest as it ended.
        if (m_resultSentFor != m_board.marks())
            sendTournamentResult();
    }
    takeTournamentMatch();
    m_board.dayChanged();
}

// Between contests the offered match goes on the board; during one it
// waits for the next-match key.
void MatchDay::takeTournamentMatch()
{
    if (!m_link || !m_link->offered())
        return;
    const JudoShiai::NextMatchMessage &next = *m_link->offered();
    if (m_tournamentContest && sameMatch(*m_tournamentContest, next))
        return;
    if (m_tournamentContest && !m_tournamentEnded && contestStarted())
        return;
    const Rules::RuleSet &rules = m_board.rules();
    MatchList::Next contest;
    contest.index = m_matchIndex;
    contest.contest.home = next.white1.displayName();
    contest.contest.visitor = next.blue1.displayName();
    contest.contest.title = JudoShiai::matchTitle(next.category1, next.round);
    contest.marks = MatchMarksRules::cleared(rules);
    const bool timesKnown = next.minutes & JudoShiai::timesKnown;
    contest.time =
        timesKnown && next.matchTime > 0 ? TimeValue::fromSeconds(next.matchTime) : m_board.resetTime();
    m_tournamentContest = std::make_shared<JudoShiai::NextMatchMessage>(next);
    m_tournamentEnded = false;
    m_resultSentFor.reset();
    showContest(contest);

    // The set's hold times stay the operator's choice; a difference is told once.
    const std::array<qint16, 4> ours = {rules.ipponAt, rules.wazaAriAt, rules.yukoAt, rules.kokaAt};
    bool differ = false;
    for (size_t i = 0; i < ours.size(); ++i)
        differ = differ || (next.pinTimes[i] > 0 && next.pinTimes[i] != ours[i]);
    if (timesKnown && rules.automatic() && differ && !m_holdTimesSaid) {
        m_holdTimesSaid = true;
        const QString why =
            QStringLiteral("JudoShiai's hold times (ippon %1 s, waza-ari %2 s, yuko %3 s, koka "
                           "%4 s) differ from the rule set's %5; the board keeps the rule set's.")
                .arg(next.pinTimes[0])
                .arg(next.pinTimes[1])
                .arg(next.pinTimes[2])
                .arg(next.pinTimes[3])
                .arg(Rules::displayName(rules.id));
        qWarning().noquote() << QStringLiteral("Zembrak: ") + why;
        m_board.tellOperator(QStringLiteral("JudoShiai's hold times differ"), why);
    }
    scheduleSave();
}

void MatchDay::saveTournament(SavedContest &contest) const
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
void MatchDay::restoreTournament(const SavedContest &saved)
{
    if (!m_link || saved.tournamentMatch <= 0)
        return;
    auto contest = std::make_shared<JudoShiai::NextMatchMessage>();
    contest->category = saved.tournamentCategory;
    contest->match = saved.tournamentMatch;
    m_tournamentContest = contest;
    m_tournamentEnded = saved.tournamentEnded;
    m_resultSentFor.reset();
    if (const std::optional<JudoShiai::ResultMessage> result =
            JudoShiai::decodeResult(saved.tournamentResult))
        m_link->sendResult(*result);
}
