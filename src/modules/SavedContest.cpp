#include "modules/SavedContest.h"

#include "modules/JudoShiaiCodec.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

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
    QJsonObject root {{QStringLiteral("version"), formatVersion}, {QStringLiteral("title"), title},
        {QStringLiteral("home"), home}, {QStringLiteral("visitor"), visitor},
        {QStringLiteral("marks"), marksObject}, {QStringLiteral("rules"), rules},
        {QStringLiteral("period"), timer(period, periodRunning)},
        {QStringLiteral("hold_home"), timer(holdHome, holdHomeRunning)},
        {QStringLiteral("hold_visitor"), timer(holdVisitor, holdVisitorRunning)},
        {QStringLiteral("golden_score"), goldenScore}, {QStringLiteral("clock_ran"), clockRan},
        {QStringLiteral("match_index"), matchIndex}};
    if (tournamentMatch > 0)
        root.insert(QStringLiteral("tournament"),
            QJsonObject {{QStringLiteral("category"), tournamentCategory},
                {QStringLiteral("match"), tournamentMatch}, {QStringLiteral("ended"), tournamentEnded},
                {QStringLiteral("result"), QString::fromLatin1(tournamentResult.toHex())}});
    return QJsonDocument(root).toJson(QJsonDocument::Compact);
}

std::optional<SavedContest> SavedContest::fromJson(const QByteArray &json)
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
    // Ten minutes and a little more: any time the board can show.
    constexpr double maxTicks = 1e12;
    for (const Timer &t :
        {Timer {"period", &c.period, &c.periodRunning}, Timer {"hold_home", &c.holdHome, &c.holdHomeRunning},
            Timer {"hold_visitor", &c.holdVisitor, &c.holdVisitorRunning}}) {
        const QJsonObject timer = root.value(QLatin1String(t.key)).toObject();
        const QJsonValue ticks = timer.value(QStringLiteral("ticks"));
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
    c.rules = root.value(QStringLiteral("rules")).toString();
    c.goldenScore = root.value(QStringLiteral("golden_score")).toBool();
    c.clockRan = root.value(QStringLiteral("clock_ran")).toBool();
    c.matchIndex = root.value(QStringLiteral("match_index")).toInt();
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

bool SavedContest::save(const QString &path) const
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(toJson());
    return file.commit();
}
