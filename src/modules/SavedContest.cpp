#include "modules/SavedContest.h"

#include "files/SafeFile.h"

#include "modules/JudoShiaiCodec.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>

namespace {

constexpr int formatVersion = 1;

QJsonArray arrayOf(const auto &values)
{
    QJsonArray array;
    for (auto value : values)
        array.append(value);
    return array;
}

bool inRange(const QJsonValue &value, double low, double high)
{
    return value.isDouble() && value.toDouble() >= low && value.toDouble() <= high &&
           value.toDouble() == double(qint64(value.toDouble()));
}

QJsonObject ruleValuesObject(const Rules::RuleSet &set)
{
    QString scores;
    for (auto [used, letter] :
        {std::pair {set.useW, 'W'}, std::pair {set.useY, 'Y'}, std::pair {set.useK, 'K'}})
        if (used)
            scores += QLatin1Char(letter);
    return QJsonObject {{QStringLiteral("id"), Rules::idText(set.id)}, {QStringLiteral("scores"), scores},
        {QStringLiteral("koka"), set.kokaAt}, {QStringLiteral("yuko"), set.yukoAt},
        {QStringLiteral("waza_ari"), set.wazaAriAt}, {QStringLiteral("ippon"), set.ipponAt},
        {QStringLiteral("waza_ari_for_ippon"), set.wazaAriForIppon},
        {QStringLiteral("shido_limit"), set.shidoLimit}, {QStringLiteral("golden_score"), set.goldenScore},
        {QStringLiteral("hold_ends_golden_score"), set.holdEndsGoldenScore},
        {QStringLiteral("contest_seconds"), set.contestSeconds}};
}

// Values out of range are brought into bounds, as from the settings store.
std::optional<Rules::RuleSet> ruleValuesFrom(const QJsonObject &o)
{
    const std::optional<Rules::SetId> id = Rules::idFromText(o.value(QStringLiteral("id")).toString());
    if (!id)
        return std::nullopt;
    Rules::RuleSet set;
    set.id = *id;
    const QString scores = o.value(QStringLiteral("scores")).toString();
    set.useW = scores.contains(QLatin1Char('W'));
    set.useY = scores.contains(QLatin1Char('Y'));
    set.useK = scores.contains(QLatin1Char('K'));
    const auto small = [&o](const char *key) {
        return qint16(std::clamp(o.value(QLatin1String(key)).toInt(), -1, 1000));
    };
    set.kokaAt = small("koka");
    set.yukoAt = small("yuko");
    set.wazaAriAt = small("waza_ari");
    set.ipponAt = small("ippon");
    set.wazaAriForIppon = small("waza_ari_for_ippon");
    set.shidoLimit = small("shido_limit");
    set.goldenScore = o.value(QStringLiteral("golden_score")).toBool();
    set.holdEndsGoldenScore = o.value(QStringLiteral("hold_ends_golden_score")).toBool();
    set.contestSeconds = o.value(QStringLiteral("contest_seconds")).toInt();
    return Rules::bounded(set);
}

} // namespace

QByteArray SavedContest::toJson() const
{
    QJsonObject marksObject {{QStringLiteral("penalties"), arrayOf(marks.penalties)},
        {QStringLiteral("ippon"), marks.ippon}, {QStringLiteral("med_home"), marks.medHome},
        {QStringLiteral("med_visitor"), marks.medVisitor}, {QStringLiteral("winner"), marks.winner},
        {QStringLiteral("scores"), arrayOf(marks.scores)}, {QStringLiteral("shido_home"), marks.shidoHome},
        {QStringLiteral("shido_visitor"), marks.shidoVisitor}};
    const auto timer = [](TimeValue time, bool running) {
        return QJsonObject {
            {QStringLiteral("ticks"), double(time.ticks())}, {QStringLiteral("running"), running}};
    };
    // Cut as at load, so that what is written always fits what is read back.
    QJsonObject root {{QStringLiteral("version"), formatVersion},
        {QStringLiteral("title"), title.left(MaxTextLength)},
        {QStringLiteral("home"), home.left(MaxTextLength)},
        {QStringLiteral("visitor"), visitor.left(MaxTextLength)}, {QStringLiteral("marks"), marksObject},
        {QStringLiteral("rules"), rules}, {QStringLiteral("period"), timer(period, periodRunning)},
        {QStringLiteral("hold_home"), timer(holdHome, holdHomeRunning)},
        {QStringLiteral("hold_visitor"), timer(holdVisitor, holdVisitorRunning)},
        {QStringLiteral("golden_score"), goldenScore}, {QStringLiteral("clock_ran"), clockRan},
        {QStringLiteral("match_index"), matchIndex}, {QStringLiteral("list_hash"), listHash},
        {QStringLiteral("reset_ticks"), double(resetTime.ticks())}};
    if (ruleValues)
        root.insert(QStringLiteral("rule_values"), ruleValuesObject(*ruleValues));
    if (tournamentMatch > 0)
        root.insert(QStringLiteral("tournament"),
            QJsonObject {{QStringLiteral("category"), tournamentCategory},
                {QStringLiteral("match"), tournamentMatch}, {QStringLiteral("ended"), tournamentEnded},
                {QStringLiteral("result"), QString::fromLatin1(tournamentResult.toHex())}});
    return QJsonDocument(root).toJson(QJsonDocument::Compact);
}

std::optional<SavedContest> SavedContest::fromJson(const QByteArray &json, QStringList *warnings)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return std::nullopt;
    const QJsonObject root = document.object();
    const QJsonObject m = root.value(QStringLiteral("marks")).toObject();
    const QJsonArray penalties = m.value(QStringLiteral("penalties")).toArray();
    const QJsonArray scores = m.value(QStringLiteral("scores")).toArray();
    if (root.value(QStringLiteral("version")).toInt() != formatVersion || penalties.size() != 6 ||
        scores.size() != 6)
        return std::nullopt;

    SavedContest c;
    for (int i = 0; i < 6; ++i) {
        if (!penalties[i].isBool() || !inRange(scores[i], -1, 9))
            return std::nullopt;
        c.marks.penalties[i] = penalties[i].toBool();
        c.marks.scores[i] = qint16(scores[i].toInt());
    }
    struct Small
    {
        const char *key;
        qint16 *field;
        int high;
    };
    for (const Small &s :
        {Small {"ippon", &c.marks.ippon, 2}, Small {"med_home", &c.marks.medHome, 2},
            Small {"med_visitor", &c.marks.medVisitor, 2}, Small {"winner", &c.marks.winner, 2},
            Small {"shido_home", &c.marks.shidoHome, 3}, Small {"shido_visitor", &c.marks.shidoVisitor, 3}}) {
        const QJsonValue value = m.value(QLatin1String(s.key));
        if (!inRange(value, 0, s.high))
            return std::nullopt;
        *s.field = qint16(value.toInt());
    }
    struct Timer
    {
        const char *key;
        TimeValue *time;
        bool *running;
    };
    // Any time the board can show: ten minutes, or an hour of golden score
    // counting up. A larger one would stand still on the display.
    const bool golden = root.value(QStringLiteral("golden_score")).toBool();
    constexpr double tenMinutes = 600.0 * TimeValue::TicksPerSecond;
    for (const Timer &t :
        {Timer {"period", &c.period, &c.periodRunning}, Timer {"hold_home", &c.holdHome, &c.holdHomeRunning},
            Timer {"hold_visitor", &c.holdVisitor, &c.holdVisitorRunning}}) {
        const QJsonObject timer = root.value(QLatin1String(t.key)).toObject();
        const QJsonValue ticks = timer.value(QStringLiteral("ticks"));
        const double maxTicks = golden && t.time == &c.period ? 6 * tenMinutes : tenMinutes;
        if (!inRange(ticks, 0, maxTicks) || !timer.value(QStringLiteral("running")).isBool())
            return std::nullopt;
        *t.time = TimeValue::fromTicks(qint64(ticks.toDouble()));
        *t.running = timer.value(QStringLiteral("running")).toBool();
    }
    for (const char *key : {"title", "home", "visitor", "rules"}) {
        if (!root.value(QLatin1String(key)).isString())
            return std::nullopt;
    }
    if (!inRange(root.value(QStringLiteral("match_index")), 0, 1e6))
        return std::nullopt;
    c.title = root.value(QStringLiteral("title")).toString();
    c.home = root.value(QStringLiteral("home")).toString();
    c.visitor = root.value(QStringLiteral("visitor")).toString();
    for (QString *text : {&c.title, &c.home, &c.visitor}) {
        if (text->size() > MaxTextLength) {
            text->truncate(MaxTextLength);
            if (warnings)
                *warnings << QStringLiteral("a name or title of the saved contest was cut to %1 characters.")
                                 .arg(MaxTextLength);
        }
    }
    c.rules = root.value(QStringLiteral("rules")).toString();
    c.goldenScore = root.value(QStringLiteral("golden_score")).toBool();
    c.clockRan = root.value(QStringLiteral("clock_ran")).toBool();
    c.matchIndex = root.value(QStringLiteral("match_index")).toInt();
    if (const QJsonValue values = root.value(QStringLiteral("rule_values")); !values.isUndefined()) {
        c.ruleValues = ruleValuesFrom(values.toObject());
        if (!c.ruleValues)
            return std::nullopt;
    }
    // Absent from files of earlier versions.
    const QJsonValue reset = root.value(QStringLiteral("reset_ticks"));
    if (!reset.isUndefined() && !inRange(reset, 0, tenMinutes))
        return std::nullopt;
    c.resetTime = TimeValue::fromTicks(qint64(reset.toDouble()));
    c.listHash = root.value(QStringLiteral("list_hash")).toString().left(64);
    if (root.contains(QStringLiteral("tournament"))) {
        const QJsonObject t = root.value(QStringLiteral("tournament")).toObject();
        const QByteArray result = t.value(QStringLiteral("result")).toString().toLatin1();
        if (!inRange(t.value(QStringLiteral("category")), JudoShiai::firstCategory, 1e9) ||
            !inRange(t.value(QStringLiteral("match")), 1, JudoShiai::noMatch - 1) ||
            !t.value(QStringLiteral("ended")).isBool() ||
            (!result.isEmpty() && !JudoShiai::decodeResult(QByteArray::fromHex(result))))
            return std::nullopt;
        c.tournamentCategory = t.value(QStringLiteral("category")).toInt();
        c.tournamentMatch = t.value(QStringLiteral("match")).toInt();
        c.tournamentEnded = t.value(QStringLiteral("ended")).toBool();
        c.tournamentResult = QByteArray::fromHex(result);
    }
    return c;
}

bool SavedContest::save(const QString &path, QString *error) const
{
    QString ignored;
    return SafeFile::writeOwn(path, toJson(), error ? error : &ignored);
}
