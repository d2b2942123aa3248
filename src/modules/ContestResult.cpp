#include "modules/ContestResult.h"

#include "modules/TickPlan.h"

namespace {

constexpr qint16 Home = 1;
constexpr qint16 Visitor = 2;

QString minutesSeconds(TimeValue time)
{
    const qint64 seconds = std::max<qint64>(TickPlan::clockSeconds(time), 0);
    return QStringLiteral("%1:%2").arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

QString score(qint16 value)
{
    return value < 0 ? QString() : QString::number(value);
}

// The design's lamps lit, as letters; under a shido count, the count.
QString penalties(const ContestResult::Ended &c, qint16 side)
{
    if (c.rules.countsShidos())
        return QString::number(side == Home ? c.marks.shidoHome : c.marks.shidoVisitor);
    const int first = side == Home ? 0 : 3;
    QString lit;
    for (int i = 0; i < 3; ++i)
        if (c.marks.penalties[first + i])
            lit += QLatin1Char("KCS"[i]);
    return lit;
}

bool hansokuMake(const ContestResult::Ended &c, qint16 side)
{
    if (!c.rules.countsShidos())
        return false;
    // The count's last lamp is lit by the last shido or by a direct hansoku-make.
    const int first = side == Home ? 0 : 3;
    return (side == Home ? c.marks.shidoHome : c.marks.shidoVisitor) >= c.rules.shidoLimit ||
           c.marks.penalties[first + c.rules.shidoLimit - 1];
}

// Scores compared from the highest down; blank counts as none.
int compareScores(const MatchMarks &m)
{
    for (int i = 0; i < 3; ++i) {
        const qint16 home = std::max<qint16>(m.scores[i], 0);
        const qint16 visitor = std::max<qint16>(m.scores[3 + i], 0);
        if (home != visitor)
            return home > visitor ? Home : Visitor;
    }
    return 0;
}

QString yesNo(bool value)
{
    return value ? QStringLiteral("yes") : QStringLiteral("no");
}

} // namespace

namespace ContestResult {

bool worthALine(const MatchMarks &marks, const Rules::RuleSet &rules, bool clockRan)
{
    return clockRan || !(marks == MatchMarksRules::cleared(rules));
}

QStringList header()
{
    return {QStringLiteral("finished"), QStringLiteral("title"), QStringLiteral("home"),
        QStringLiteral("visitor"), QStringLiteral("home_waza_ari"), QStringLiteral("home_yuko"),
        QStringLiteral("home_koka"), QStringLiteral("home_penalties"), QStringLiteral("home_ippon"),
        QStringLiteral("home_hansoku_make"), QStringLiteral("visitor_waza_ari"),
        QStringLiteral("visitor_yuko"), QStringLiteral("visitor_koka"), QStringLiteral("visitor_penalties"),
        QStringLiteral("visitor_ippon"), QStringLiteral("visitor_hansoku_make"), QStringLiteral("winner"),
        QStringLiteral("won_by"), QStringLiteral("time_used"), QStringLiteral("golden_score_time"),
        QStringLiteral("match"), QStringLiteral("mat"), QStringLiteral("winner_name")};
}

QStringList fields(const Ended &c)
{
    const MatchMarks &m = c.marks;
    // The winner mark decides; an ippon mark alone names its side too.
    const qint16 winner = m.winner != 0 ? m.winner : m.ippon;
    QString how;
    if (winner != 0) {
        const qint16 loser = winner == Home ? Visitor : Home;
        if (m.ippon == winner)
            how = QStringLiteral("ippon");
        else if (hansokuMake(c, loser))
            how = QStringLiteral("hansoku-make");
        else if (c.goldenScore && compareScores(m) == winner)
            how = QStringLiteral("golden score");
        else if (compareScores(m) == winner)
            how = QStringLiteral("score");
        else
            how = QStringLiteral("operator");
    }
    QStringList f = {c.finished.toOffsetFromUtc(c.finished.offsetFromUtc()).toString(Qt::ISODate), c.title,
        c.home, c.visitor};
    for (qint16 side : {Home, Visitor}) {
        const int first = side == Home ? 0 : 3;
        f << score(m.scores[first]) << score(m.scores[first + 1]) << score(m.scores[first + 2])
          << penalties(c, side) << yesNo(m.ippon == side) << yesNo(hansokuMake(c, side));
    }
    f << (winner == Home         ? QStringLiteral("home")
             : winner == Visitor ? QStringLiteral("visitor")
                                 : QStringLiteral("none"))
      << how << minutesSeconds(c.timeUsed) << (c.goldenScore ? minutesSeconds(c.goldenScoreTime) : QString());
    f << (c.match > 0 ? QString::number(c.match) : QString()) << c.mat
      << (winner == Home         ? c.home
             : winner == Visitor ? c.visitor
                                 : QString());
    return f;
}

QByteArray csvLine(const QStringList &fields, QChar separator)
{
    QStringList quoted;
    for (QString field : fields) {
        if (!field.isEmpty() && QStringView(u"=+-@\t\r").contains(field.front()))
            field.prepend(QLatin1Char('\''));
        if (field.contains(separator) || field.contains(QLatin1Char('"')) ||
            field.contains(QLatin1Char('\n')) || field.contains(QLatin1Char('\r'))) {
            field.replace(QLatin1String("\""), QLatin1String("\"\""));
            field = QLatin1Char('"') + field + QLatin1Char('"');
        }
        quoted << field;
    }
    return quoted.join(separator).toUtf8() + '\n';
}

QByteArray fileStart(QChar separator)
{
    return QByteArray("\xEF\xBB\xBF") + csvLine(header(), separator);
}

} // namespace ContestResult
