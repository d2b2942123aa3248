#include "modules/Referee.h"

#include <algorithm>

namespace Rules {

namespace {

qint16 other(qint16 side)
{
    return side == 2 ? 1 : 2;
}

// The scores after a hold's award, as the board will show them.
Match afterAward(Match scores, qint16 side, Award earned, Award replaced)
{
    Side &mine = side == 2 ? scores.visitor : scores.home;
    const auto count = [&mine](Award award) -> qint16 * {
        switch (award) {
        case Koka: return &mine.k;
        case Yuko: return &mine.y;
        case WazaAri: return &mine.w;
        default: return nullptr;
        }
    };
    if (qint16 *lower = count(replaced))
        *lower = std::max<qint16>(*lower - 1, 0);
    if (qint16 *higher = count(earned))
        *higher = std::min<qint16>(*higher + 1, 9);
    return scores;
}

} // namespace

Referee::Referee(const RuleSet &rules)
    : m_rules(rules)
{ }

void Referee::setRules(const RuleSet &rules)
{
    m_rules = rules;
    contestReset();
    for (int i = 0; i < 2; ++i) {
        // Shidos under one count stay shidos under another; without a
        // count they mean nothing.
        m_shidos[i] = rules.countsShidos() ? std::min(m_shidos[i], rules.shidoLimit) : qint16(0);
        m_direct[i] = m_direct[i] && rules.countsShidos();
    }
}

bool Referee::hansokuMake(qint16 side) const
{
    return m_rules.countsShidos() && (m_direct[index(side)] || m_shidos[index(side)] >= m_rules.shidoLimit);
}

bool Referee::shidoLamp(qint16 side, int lamp) const
{
    return shidos(side) >= lamp || (lamp == m_rules.shidoLimit && directHansokuMake(side));
}

Match Referee::withShidos(Match scores) const
{
    scores.home.shidos = m_shidos[0];
    scores.visitor.shidos = m_shidos[1];
    scores.goldenScore = m_goldenScore;
    return scores;
}

void Referee::end(Call &call, qint16 winner, qint16 ippon, bool buzz)
{
    m_ended = true;
    m_holdPastTime = false;
    m_holdSide = 0;
    m_penaltyCause = 0;
    call.stopAll = true;
    call.winner = winner;
    call.ippon = ippon;
    call.buzz = buzz;
}

Call Referee::decideOn(Event event, const Match &scores, qint16 side, bool holdGoesOn, Call call)
{
    if (!m_rules.automatic() || m_ended)
        return call;
    Match match = withShidos(scores);
    match.holdGoesOn = holdGoesOn;
    const Outcome outcome = decide(m_rules, match, event, side);
    if (outcome.goldenScore) {
        m_goldenScore = true;
        call.goldenScore = true;
    }
    if (outcome.ends)
        end(call, outcome.winner, outcome.ippon, event != Event::TimeUp);
    return call;
}

Call Referee::tick(const Match &scores, qint16 hold, TimeValue held)
{
    // A frozen hold has neither ended nor earned anything more.
    if (!m_rules.automatic() || m_frozen)
        return {};
    if (hold == 0)
        return m_holdSide != 0 ? endedByHold(scores) : Call {};
    m_holdSide = hold;
    const Award award = holdAward(m_rules, held);
    if (award <= m_holdAward)
        return {};
    Call call;
    call.scoreSide = hold;
    call.replaced = m_holdAward;
    m_holdAward = award;
    if (award == Ippon) {
        end(call, hold, hold, true);
        return call;
    }
    call.earned = award;
    // In golden score the hold decides at once, or at its end.
    const bool goesOn = !(m_goldenScore && m_rules.holdEndsGoldenScore);
    return decideOn(Event::Score, afterAward(scores, hold, award, call.replaced), hold, goesOn, call);
}

// A hold that went on past the time, or ran in golden score, decides when
// it ends, with the score it reached.
Call Referee::endedByHold(const Match &scores)
{
    const qint16 side = m_holdSide;
    m_holdSide = 0;
    if (m_holdPastTime) {
        m_holdPastTime = false;
        Call call;
        call.timeUpBuzz = true;
        return decideOn(Event::TimeUp, scores, 0, false, call);
    }
    if (m_goldenScore)
        return decideOn(Event::Score, scores, side, false);
    return {};
}

Call Referee::timeOut(const Match &scores, qint16 hold)
{
    if (!m_rules.automatic())
        return {};
    if (hold != 0) {
        // The clock stops at 0:00; the hold goes on until the operator ends
        // it or it reaches ippon, and the contest ends then.
        m_holdPastTime = true;
        Call call;
        call.stopClock = true;
        return call;
    }
    return decideOn(Event::TimeUp, scores, 0, false);
}

Call Referee::scoreTyped(const Match &scores, qint16 side)
{
    // A typed score decides at once, even in golden score during a hold.
    return decideOn(Event::Score, scores, side, false);
}

Call Referee::ipponGiven(qint16 side)
{
    return decideOn(Event::Ippon, Match {}, side, false);
}

Call Referee::shido(qint16 side, bool takeBack)
{
    if (!m_rules.countsShidos() || (side != 1 && side != 2))
        return {};
    const int i = index(side);
    Call call;
    if (takeBack) {
        // The last mark goes first: a direct hansoku-make before the shidos.
        if (m_direct[i])
            m_direct[i] = false;
        else
            m_shidos[i] = std::max<qint16>(m_shidos[i] - 1, 0);
        if (m_ended && m_penaltyCause == side && !hansokuMake(side)) {
            m_ended = false;
            m_penaltyCause = 0;
            call.undecide = true;
        }
        return call;
    }
    m_shidos[i] = std::min<qint16>(m_shidos[i] + 1, m_rules.shidoLimit);
    if (hansokuMake(side) && !m_ended) {
        end(call, other(side), 0, true);
        m_penaltyCause = side;
    }
    return call;
}

Call Referee::hansokuMakeGiven(qint16 side)
{
    if (!m_rules.countsShidos() || (side != 1 && side != 2))
        return {};
    m_direct[index(side)] = true;
    Call call;
    if (!m_ended) {
        end(call, other(side), 0, true);
        m_penaltyCause = side;
    }
    return call;
}

Call Referee::sonoMama(bool clockRunning, qint16 hold)
{
    Call call;
    if (!m_rules.automatic())
        return call;
    if (m_frozen) {
        m_frozen = false;
        call.runClock = m_frozenClock;
        call.runHold = m_frozenHold;
        return call;
    }
    if (!clockRunning && hold == 0)
        return call;
    m_frozen = true;
    m_frozenClock = clockRunning;
    m_frozenHold = hold;
    call.stopAll = true;
    return call;
}

Holds Referee::osaekomi(qint16 side, bool clockRunning)
{
    Holds holds;
    if (m_frozen) {
        m_frozen = false;
        holds.runClock = m_frozenClock;
    }
    if (!clockRunning && !holds.runClock)
        return holds;
    if (side == 0 && m_rules.automatic())
        return holds;
    holdStarted();
    holds.clear = true;
    holds.run = side;
    return holds;
}

void Referee::holdStarted()
{
    m_holdAward = NoAward;
    m_frozen = false;
}

Holds Referee::clockStarted(bool timeLeft, bool holdRunning)
{
    if (timeLeft || m_goldenScore) {
        m_ended = false;
        m_penaltyCause = 0;
    }
    m_frozen = false;
    return Holds {m_rules.automatic() && !holdRunning, 0, false};
}

void Referee::contestReset()
{
    m_ended = false;
    m_holdPastTime = false;
    m_holdSide = 0;
    m_goldenScore = false;
    m_penaltyCause = 0;
    m_frozen = false;
}

void Referee::marksPutBack(const MatchMarks &marks)
{
    m_shidos[0] = marks.shidoHome;
    m_shidos[1] = marks.shidoVisitor;
    const qint16 limit = m_rules.shidoLimit;
    const auto direct = [&marks, limit](int first, qint16 count) {
        return limit > 0 && marks.penalties[size_t(first + limit - 1)] && count < limit;
    };
    m_direct[0] = direct(0, marks.shidoHome);
    m_direct[1] = direct(3, marks.shidoVisitor);
    // Taking back the award that ended the contest lets the rules decide again.
    if (marks.winner == 0 && marks.ippon == 0) {
        m_ended = false;
        m_penaltyCause = 0;
    }
}

} // namespace Rules
