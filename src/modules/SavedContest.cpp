#include "modules/SavedContest.h"

#include "files/SafeFile.h"

#include "modules/JudoShiaiCodec.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>

#include <algorithm>

namespace {

constexpr int formatVersion = 1;

bool inRange(const QJsonValue &value, double low, double high)
{
    return value.isDouble() && value.toDouble() >= low && value.toDouble() <= high &&
           value.toDouble() == double(qint64(value.toDouble()));
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

// The contest is saved every few seconds while the clock runs, and building
// it as a QJsonObject cost more than the rest of those seconds' work. It is
// written out directly instead, with the keys in the order, and the numbers
// and strings in the forms, that QJsonDocument writes.
class JsonOut
{
public:
    QByteArray bytes;

    JsonOut &key(const char *name)
    {
        separate();
        bytes += '"';
        bytes += name;
        bytes += "\":";
        m_first = true;
        return *this;
    }
    void open(char bracket)
    {
        separate();
        bytes += bracket;
        m_first = true;
    }
    void close(char bracket)
    {
        bytes += bracket;
        m_first = false;
    }
    void number(qint64 value)
    {
        separate();
        bytes += QByteArray::number(value);
    }
    void real(double value)
    {
        separate();
        bytes += QByteArray::number(value, 'g', QLocale::FloatingPointShortest);
    }
    void boolean(bool value)
    {
        separate();
        bytes += value ? "true" : "false";
    }
    void string(const QString &text)
    {
        separate();
        bytes += '"';
        for (const char c : text.toUtf8()) {
            const auto u = uchar(c);
            if (u >= 0x20 && c != '"' && c != '\\') {
                bytes += c;
                continue;
            }
            bytes += '\\';
            switch (c) {
            case '"': bytes += '"'; break;
            case '\\': bytes += '\\'; break;
            case '\b': bytes += 'b'; break;
            case '\f': bytes += 'f'; break;
            case '\n': bytes += 'n'; break;
            case '\r': bytes += 'r'; break;
            case '\t': bytes += 't'; break;
            default:
                bytes += "u00";
                bytes += "0123456789abcdef"[u >> 4];
                bytes += "0123456789abcdef"[u & 15];
            }
        }
        bytes += '"';
    }

private:
    void separate()
    {
        if (!m_first)
            bytes += ',';
        m_first = false;
    }
    bool m_first = true;
};

void writeRuleValues(JsonOut &out, const Rules::RuleSet &set)
{
    QString scores;
    for (auto [used, letter] :
        {std::pair {set.useW, 'W'}, std::pair {set.useY, 'Y'}, std::pair {set.useK, 'K'}})
        if (used)
            scores += QLatin1Char(letter);
    out.open('{');
    out.key("contest_seconds").number(set.contestSeconds);
    out.key("golden_score").boolean(set.goldenScore);
    out.key("hold_ends_golden_score").boolean(set.holdEndsGoldenScore);
    out.key("id").string(Rules::idText(set.id));
    out.key("ippon").number(set.ipponAt);
    out.key("koka").number(set.kokaAt);
    out.key("scores").string(scores);
    out.key("shido_limit").number(set.shidoLimit);
    out.key("waza_ari").number(set.wazaAriAt);
    out.key("waza_ari_for_ippon").number(set.wazaAriForIppon);
    out.key("yuko").number(set.yukoAt);
    out.close('}');
}

} // namespace

QByteArray SavedContest::toJson() const
{
    JsonOut out;
    out.bytes.reserve(1024);
    const auto timer = [&out](const char *name, TimeValue time, bool running) {
        out.key(name).open('{');
        out.key("running").boolean(running);
        out.key("ticks").real(double(time.ticks()));
        out.close('}');
    };
    // Texts are cut as at load, so that what is written always fits what is read back.
    out.open('{');
    out.key("clock_ran").boolean(clockRan);
    out.key("golden_score").boolean(goldenScore);
    timer("hold_home", holdHome, holdHomeRunning);
    timer("hold_visitor", holdVisitor, holdVisitorRunning);
    out.key("home").string(home.left(MaxTextLength));
    out.key("list_hash").string(listHash);
    out.key("marks").open('{');
    out.key("ippon").number(marks.ippon);
    out.key("med_home").number(marks.medHome);
    out.key("med_visitor").number(marks.medVisitor);
    out.key("penalties").open('[');
    for (bool lit : marks.penalties)
        out.boolean(lit);
    out.close(']');
    out.key("scores").open('[');
    for (qint16 score : marks.scores)
        out.number(score);
    out.close(']');
    out.key("shido_home").number(marks.shidoHome);
    out.key("shido_visitor").number(marks.shidoVisitor);
    out.key("winner").number(marks.winner);
    out.close('}');
    out.key("match_index").number(matchIndex);
    timer("period", period, periodRunning);
    out.key("reset_ticks").real(double(resetTime.ticks()));
    if (ruleValues)
        writeRuleValues(out.key("rule_values"), *ruleValues);
    out.key("rules").string(rules);
    out.key("title").string(title.left(MaxTextLength));
    if (tournamentMatch > 0) {
        out.key("tournament").open('{');
        out.key("category").number(tournamentCategory);
        out.key("ended").boolean(tournamentEnded);
        out.key("match").number(tournamentMatch);
        out.key("result").string(QString::fromLatin1(tournamentResult.toHex()));
        out.close('}');
    }
    out.key("version").number(formatVersion);
    out.key("visitor").string(visitor.left(MaxTextLength));
    out.close('}');
    return out.bytes;
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
