// The result line as a spreadsheet reads it: the new columns after the old
// ones, the byte-order mark, the formula escape and the separator, read
// back with a plain CSV reader.

#include "modules/ContestResult.h"

#include <QTimeZone>

#include <gtest/gtest.h>

namespace {

// RFC 4180 fields of one line.
QStringList readCsv(const QString &line, QChar separator)
{
    QStringList fields;
    QString field;
    bool quoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        if (quoted && c == u'"' && i + 1 < line.size() && line[i + 1] == u'"') {
            field += c;
            ++i;
        } else if (c == u'"') {
            quoted = !quoted;
        } else if (!quoted && c == separator) {
            fields << field;
            field.clear();
        } else if (quoted || c != u'\n') {
            field += c;
        }
    }
    return fields << field;
}

ContestResult::Ended contest()
{
    ContestResult::Ended c;
    c.finished = QDateTime(QDate(2026, 5, 2), QTime(10, 30), QTimeZone::utc());
    c.title = QStringLiteral("-73 kg Final");
    c.home = QStringLiteral("=HYPERLINK(\"http://x\";\"y\")");
    c.visitor = QStringLiteral("大野; Müller");
    c.marks.winner = 2;
    c.match = 3;
    c.mat = QStringLiteral("+2");
    return c;
}

} // namespace

TEST(ContestResult, NewColumnsComeAfterTheOldOnes)
{
    const QStringList header = ContestResult::header();
    ASSERT_EQ(header.size(), 23);
    EXPECT_EQ(header.at(16), QStringLiteral("winner"));
    EXPECT_EQ(header.mid(20), (QStringList {"match", "mat", "winner_name"}));
    const QStringList fields = ContestResult::fields(contest());
    EXPECT_EQ(fields.at(16), QStringLiteral("visitor"));
    EXPECT_EQ(fields.mid(20), (QStringList {"3", "+2", QStringLiteral("大野; Müller")}));
    ContestResult::Ended none = contest();
    none.match = 0;
    none.marks.winner = 0;
    EXPECT_EQ(ContestResult::fields(none).mid(20), (QStringList {"", "+2", ""}));
}

TEST(ContestResult, ASpreadsheetReadsEveryFieldAsTextWithEitherSeparator)
{
    for (const QChar separator : {QLatin1Char(','), QLatin1Char(';')}) {
        const QStringList fields = ContestResult::fields(contest());
        const QByteArray line = ContestResult::csvLine(fields, separator);
        const QStringList back = readCsv(QString::fromUtf8(line), separator);
        ASSERT_EQ(back.size(), fields.size()) << line.toStdString();
        for (qsizetype i = 0; i < fields.size(); ++i) {
            const QString &field = fields.at(i);
            const bool formula = !field.isEmpty() && QStringView(u"=+-@\t\r").contains(field.front());
            EXPECT_EQ(back.at(i), formula ? u'\'' + field : field) << separator.toLatin1() << i;
        }
        const QByteArray start = ContestResult::fileStart(separator);
        EXPECT_TRUE(start.startsWith("\xEF\xBB\xBF"));
        EXPECT_EQ(readCsv(QString::fromUtf8(start.mid(3)), separator), ContestResult::header());
    }
    EXPECT_EQ(ContestResult::csvLine({QStringLiteral("\tx"), QStringLiteral("@y"), QStringLiteral("a-b")}),
        "'\tx,'@y,a-b\n");
}
