#include "modules/MatchList.h"

#include <QStringView>

#include <algorithm>

namespace {

// One record: its fields and the line it began on. A quoted field may run
// over line ends, so a record can span lines.
struct Record
{
    QStringList fields;
    int line = 0;
    bool unclosedQuote = false;
    bool textAfterQuote = false;
};

// Decided by the first line that holds a separator outside quotes: blank
// lines and a title line such as "Day 1" before the list decide nothing.
QChar guessSeparator(QStringView text)
{
    int commas = 0;
    int semicolons = 0;
    bool quoted = false;
    for (QChar c : text) {
        if (c == u'"')
            quoted = !quoted;
        else if (!quoted && (c == u'\n' || c == u'\r') && commas + semicolons > 0)
            break;
        else if (!quoted && c == u',')
            ++commas;
        else if (!quoted && c == u';')
            ++semicolons;
    }
    return semicolons > commas ? QChar(u';') : QChar(u',');
}

QList<Record> splitRecords(QStringView text, QChar separator)
{
    QList<Record> records;
    Record record;
    QString field;
    int line = 1;
    record.line = line;
    bool quoted = false;
    bool wasQuoted = false; // the field had a closing quote; only blanks may follow
    const auto endRecord = [&] {
        record.fields << field;
        records << record;
        record = Record();
        field.clear();
        wasQuoted = false;
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == u'"') {
                if (i + 1 < text.size() && text[i + 1] == u'"') {
                    field += c;
                    ++i;
                } else {
                    quoted = false;
                    wasQuoted = true;
                }
            } else {
                if (c == u'\n')
                    ++line;
                field += c;
            }
            continue;
        }
        if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
            endRecord();
            ++line;
            record.line = line;
        } else if (c == separator) {
            record.fields << field;
            field.clear();
            wasQuoted = false;
        } else if (c == u'"' && field.trimmed().isEmpty() && !wasQuoted) {
            quoted = true;
            field.clear();
        } else {
            if (wasQuoted && !c.isSpace())
                record.textAfterQuote = true;
            if (!wasQuoted)
                field += c;
        }
    }
    if (quoted)
        record.unclosedQuote = true;
    if (quoted || !field.isEmpty() || !record.fields.isEmpty() || wasQuoted)
        endRecord();
    return records;
}

bool isEmpty(const Record &record)
{
    for (const QString &field : record.fields)
        if (!field.trimmed().isEmpty())
            return false;
    return true;
}

bool isHeader(const Record &record)
{
    return record.fields.size() >= 2 &&
           record.fields[0].trimmed().compare(u"home", Qt::CaseInsensitive) == 0 &&
           record.fields[1].trimmed().compare(u"visitor", Qt::CaseInsensitive) == 0;
}

// Why a record is no contest; empty when it is one.
QString fault(const Record &record, MatchList::Contest &contest)
{
    if (record.unclosedQuote)
        return QStringLiteral("a quote is not closed");
    if (record.textAfterQuote)
        return QStringLiteral("text follows a closing quote");
    if (record.fields.size() < 2)
        return QStringLiteral("it needs a home and a visitor name");
    if (record.fields.size() > 4)
        return QStringLiteral("it has more than four fields");
    contest.home = record.fields[0].trimmed();
    contest.visitor = record.fields[1].trimmed();
    contest.title = record.fields.value(2).trimmed();
    if (contest.home.isEmpty() || contest.visitor.isEmpty())
        return QStringLiteral("a name is empty");
    for (QString *text : {&contest.home, &contest.visitor, &contest.title})
        text->truncate(MatchList::MaxTextLength);
    const QString time = record.fields.value(3).trimmed();
    if (!time.isEmpty()) {
        contest.seconds = MatchList::parseTime(time);
        if (contest.seconds < 0)
            return QStringLiteral("'%1' is no contest time (m:ss, 0:01 to 9:59)").arg(time.left(20));
    }
    return QString();
}

} // namespace

namespace MatchList {

int parseTime(const QString &text)
{
    const QString t = text.trimmed();
    if (t.size() != 4 || t[1] != u':')
        return -1;
    for (int i : {0, 2, 3})
        if (t[i] < u'0' || t[i] > u'9')
            return -1;
    const int minutes = t[0].digitValue();
    const int seconds = t[2].digitValue() * 10 + t[3].digitValue();
    if (seconds > 59 || minutes * 60 + seconds == 0)
        return -1;
    return minutes * 60 + seconds;
}

Next next(const QList<Contest> &list, int index, const Rules::RuleSet &rules, TimeValue resetTime)
{
    Next next;
    if (index < 0 || index >= list.size()) {
        next.pastLast = true;
        next.index = int(list.size());
        return next;
    }
    next.index = index + 1;
    next.contest = list.at(index);
    next.marks = MatchMarksRules::cleared(rules);
    next.time = next.contest.seconds > 0 ? TimeValue::fromSeconds(next.contest.seconds) : resetTime;
    return next;
}

Read read(const QByteArray &data)
{
    QString text = QString::fromUtf8(data);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    Read result;
    const QList<Record> records = splitRecords(text, guessSeparator(text));
    bool first = true;
    for (const Record &record : records) {
        if (isEmpty(record) && !record.unclosedQuote)
            continue;
        if (first && isHeader(record)) {
            first = false;
            continue;
        }
        first = false;
        Contest contest;
        const QString why = fault(record, contest);
        if (why.isEmpty()) {
            result.contests << contest;
            if (std::ranges::any_of(record.fields.mid(0, 3),
                    [](const QString &field) { return field.trimmed().size() > MaxTextLength; }))
                result.messages << QStringLiteral("Line %1 of the match list: a name or title was cut to %2 "
                                                  "characters.")
                                       .arg(record.line)
                                       .arg(MaxTextLength);
        } else
            result.messages
                << QStringLiteral("Line %1 of the match list was skipped: %2.").arg(record.line).arg(why);
    }
    return result;
}

} // namespace MatchList
