// The match list reader: a table of files as operators write them, and the
// lines it must skip, each told by its number.

#include "modules/MatchList.h"

#include <gtest/gtest.h>

using MatchList::Contest;

namespace {

struct Case
{
    const char *name;
    QByteArray data;
    QList<Contest> contests;
    QList<int> skippedLines;
};

QList<int> linesOf(const QStringList &messages)
{
    QList<int> lines;
    for (const QString &message : messages)
        lines << message.section(u' ', 1, 1).toInt();
    return lines;
}

} // namespace

TEST(MatchList, ReadsTheFilesOperatorsWrite)
{
    const Contest ab {QStringLiteral("A"), QStringLiteral("B"), QString(), 0};
    const QList<Case> cases = {
        {"plain, no header", "A,B\nC,D,Final,4:00\n",
            {ab, {QStringLiteral("C"), QStringLiteral("D"), QStringLiteral("Final"), 240}}, {}},
        {"header, semicolons, commas inside names", "Home;Visitor;Title;Time\nOno, S.;Riner, T.;;3:00",
            {{QStringLiteral("Ono, S."), QStringLiteral("Riner, T."), QString(), 180}}, {}},
        {"BOM, CRLF and empty lines", "\xef\xbb\xbfhome,visitor\r\n\r\nA,B\r\n  \r\n,\r\n", {ab}, {}},
        {"quoted fields with quotes, separators and a line end",
            "\"Kim \"\"Tiger\"\"\",\"Lee;Park\",\"Pool\nA\"\nA,B\n",
            {{QStringLiteral("Kim \"Tiger\""), QStringLiteral("Lee;Park"), QStringLiteral("Pool\nA"), 0}, ab},
            {}},
        {"UTF-8 names, blanks trimmed", "  Müller ,  Ōno  \n",
            {{QStringLiteral("Müller"), QStringLiteral("Ōno"), QString(), 0}}, {}},
        {"bad times", "A,B,,4:60\nA,B,,0:00\nA,B,,10:00\nA,B,,4.00\nA,B,,9:59\n",
            {{QStringLiteral("A"), QStringLiteral("B"), QString(), 599}}, {1, 2, 3, 4}},
        {"missing and extra fields, an empty name", "A\nA,B,C,1:00,x\n,B\nA,B\n", {ab}, {1, 2, 3}},
        {"an unclosed quote, text after a quote", "A,B\n\"A\"x,B\n\"A,B\n", {ab}, {2, 3}},
        {"a header only further down is a bad line", "A,B\nhome,visitor,,t\n", {ab}, {2}},
        {"blank lines and a quoted title line before a semicolon list",
            "\n\r\n\"Day 1, mat 2\"\nA;B\nKim;Lee;Final;4:00\n",
            {ab, {QStringLiteral("Kim"), QStringLiteral("Lee"), QStringLiteral("Final"), 240}}, {3}},
        {"a name too long is cut, and said", QByteArray(300, 'x') + ",B\n",
            {{QString(MatchList::MaxTextLength, u'x'), QStringLiteral("B"), QString(), 0}}, {1}},
        {"nothing", "", {}, {}},
    };
    for (const Case &c : cases) {
        const MatchList::Read read = MatchList::read(c.data);
        EXPECT_EQ(read.contests, c.contests) << c.name;
        EXPECT_EQ(linesOf(read.messages), c.skippedLines)
            << c.name << ": " << read.messages.join(u'|').toStdString();
    }
}

TEST(MatchList, ReadsTenThousandContestsAndNamesTheBadLineAmongThem)
{
    QByteArray data = "home;visitor;title;time\n";
    for (int i = 0; i < 10000; ++i)
        data += i == 5000 ? QByteArray("broken\n") : "H" + QByteArray::number(i) + ";V;Pool;2:00\n";
    const MatchList::Read read = MatchList::read(data);
    EXPECT_EQ(read.contests.size(), 9999);
    EXPECT_EQ(read.contests.last().home, QStringLiteral("H9999"));
    EXPECT_EQ(read.messages,
        QStringList {
            QStringLiteral("Line 5002 of the match list was skipped: it needs a home and a visitor name.")});
}
