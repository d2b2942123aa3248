#include "modules/RuleSet.h"

#include <algorithm>
#include <array>

namespace Rules {

bool RuleSet::automatic() const
{
    return kokaAt > 0 || yukoAt > 0 || wazaAriAt > 0 || ipponAt > 0 || wazaAriForIppon > 0 ||
           shidoLimit > 0 || goldenScore || holdEndsGoldenScore;
}

bool RuleSet::uses(Award award) const
{
    switch (award) {
    case Koka: return useK;
    case Yuko: return useY;
    case WazaAri: return useW;
    case Ippon: return true;
    case NoAward: break;
    }
    return false;
}

RuleSet bounded(RuleSet set)
{
    for (qint16 *seconds : {&set.kokaAt, &set.yukoAt, &set.wazaAriAt, &set.ipponAt})
        *seconds = std::clamp<qint16>(*seconds, 0, MaxHoldSeconds);
    set.wazaAriForIppon = std::clamp<qint16>(set.wazaAriForIppon, 0, MaxWazaAriForIppon);
    set.shidoLimit = std::clamp<qint16>(set.shidoLimit, 0, MaxShidoLimit);
    set.contestSeconds = std::clamp(set.contestSeconds, MinContestSeconds, MaxContestSeconds);
    // A set shows at least the waza-ari.
    if (!set.useW && !set.useY && !set.useK)
        set.useW = true;
    return set;
}

RuleSet preset(SetId id)
{
    RuleSet set;
    set.id = id;
    switch (id) {
    case SetId::Design: break;
    case SetId::Classic:
        set.kokaAt = 10;
        set.yukoAt = 15;
        set.wazaAriAt = 20;
        set.ipponAt = 25;
        set.wazaAriForIppon = 2;
        set.contestSeconds = 300;
        break;
    case SetId::Ijf2018:
    case SetId::Custom:
        set.useY = false;
        set.useK = false;
        set.wazaAriAt = 10;
        set.ipponAt = 20;
        set.wazaAriForIppon = 2;
        set.shidoLimit = 3;
        set.goldenScore = true;
        set.contestSeconds = 240;
        break;
    case SetId::Ijf2025:
        // Yuko is back: any number of them count less than one waza-ari.
        set.useK = false;
        set.yukoAt = 5;
        set.wazaAriAt = 10;
        set.ipponAt = 20;
        set.wazaAriForIppon = 2;
        set.shidoLimit = 3;
        set.goldenScore = true;
        set.holdEndsGoldenScore = true;
        set.contestSeconds = 240;
        break;
    }
    return set;
}

namespace {
struct Name
{
    SetId id;
    const char *text;
    const char *display;
};
constexpr std::array<Name, 5> names = {{
    {SetId::Design, "design", "Design"},
    {SetId::Classic, "classic", "Classic"},
    {SetId::Ijf2018, "ijf2018", "IJF 2018"},
    {SetId::Ijf2025, "ijf2025", "IJF 2025"},
    {SetId::Custom, "custom", "Custom"},
}};
} // namespace

QString idText(SetId id)
{
    for (const Name &name : names)
        if (name.id == id)
            return QLatin1String(name.text);
    return QLatin1String(names[0].text);
}

std::optional<SetId> idFromText(const QString &text)
{
    for (const Name &name : names)
        if (text == QLatin1String(name.text))
            return name.id;
    return std::nullopt;
}

QString displayName(SetId id)
{
    for (const Name &name : names)
        if (name.id == id)
            return QLatin1String(name.display);
    return QLatin1String(names[0].display);
}

QString lampLetter(const RuleSet &set, int lamp)
{
    if (!set.countsShidos())
        return QString(QLatin1Char("KCS"[std::clamp(lamp, 0, 2)]));
    return lamp + 1 < set.shidoLimit    ? QStringLiteral("S")
           : lamp + 1 == set.shidoLimit ? QStringLiteral("H")
                                        : QString();
}

Award holdAward(const RuleSet &set, TimeValue held)
{
    Award award = NoAward;
    const std::array<std::pair<Award, qint16>, 4> steps = {
        {{Koka, set.kokaAt}, {Yuko, set.yukoAt}, {WazaAri, set.wazaAriAt}, {Ippon, set.ipponAt}}};
    for (const auto &[step, seconds] : steps) {
        if (seconds > 0 && set.uses(step) && held >= TimeValue::fromSeconds(seconds))
            award = std::max(award, step);
    }
    return award;
}

qint64 ticksUntilNextAward(const RuleSet &set, TimeValue held, qint64 step, qint64 limit)
{
    if (step <= 0)
        return limit;
    qint64 soonest = limit;
    for (qint16 seconds : {set.kokaAt, set.yukoAt, set.wazaAriAt, set.ipponAt}) {
        const qint64 at = TimeValue::fromSeconds(seconds).ticks();
        if (seconds <= 0 || at <= held.ticks())
            continue;
        soonest = std::min(soonest, (at - held.ticks() + step - 1) / step);
    }
    return soonest;
}

qint16 ahead(const Side &home, const Side &visitor)
{
    const std::array<qint16, 3> h = {home.w, home.y, home.k};
    const std::array<qint16, 3> v = {visitor.w, visitor.y, visitor.k};
    if (h == v)
        return 0;
    return h > v ? 1 : 2;
}

Outcome decide(const RuleSet &set, const Match &match, Event event, qint16 side)
{
    Outcome outcome;
    if (!set.automatic())
        return outcome;
    const Side &mine = side == 2 ? match.visitor : match.home;
    const qint16 other = side == 2 ? 1 : 2;
    switch (event) {
    case Event::Score:
        if (side != 1 && side != 2)
            break;
        if (set.wazaAriForIppon > 0 && mine.w >= set.wazaAriForIppon) {
            outcome.ends = true;
            outcome.winner = side;
            outcome.ippon = side;
        } else if (match.goldenScore && !match.holdGoesOn) {
            // The first score in golden score decides; a hold going on
            // decides with what it has when it ends.
            if (const qint16 leader = ahead(match.home, match.visitor)) {
                outcome.ends = true;
                outcome.winner = leader;
            }
        }
        break;
    case Event::Ippon:
        if (side == 1 || side == 2) {
            outcome.ends = true;
            outcome.winner = side;
        }
        break;
    case Event::Penalty:
        if ((side == 1 || side == 2) && set.countsShidos() && mine.shidos >= set.shidoLimit) {
            outcome.ends = true;
            outcome.winner = other;
        }
        break;
    case Event::TimeUp:
        // Shidos do not decide; the scores alone do.
        outcome.winner = ahead(match.home, match.visitor);
        if (outcome.winner == 0 && set.goldenScore && !match.goldenScore)
            outcome.goldenScore = true;
        else
            outcome.ends = true;
        break;
    }
    return outcome;
}

} // namespace Rules
