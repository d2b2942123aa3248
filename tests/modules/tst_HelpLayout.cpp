// What of a help file the view lays out: the manual whole, a file of huge
// text cut to a budget with a note, and nothing in between lost or garbled.

#include "modules/HelpLayout.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using namespace HelpLayout;

namespace {

QByteArray words(int halfPoints, int count, const QByteArray &between = " ")
{
    QByteArray rtf = "{\\rtf1\\ansi\\fs" + QByteArray::number(halfPoints) + ' ';
    for (int i = 0; i < count; ++i)
        rtf += (i % 2 ? "b" : "a") + between;
    return rtf + '}';
}

// The layout cost of what is kept, counted as the budget counts it, and the
// height it could take with every character on a line of its own (a line
// is at most about 1.6 pixels per point).
struct Spent
{
    qint64 cost = 0;
    qint64 worstHeight = 0;
};

Spent spent(const RtfReader::Document &document)
{
    Spent total;
    for (const RtfReader::Paragraph &paragraph : document.Paragraphs) {
        const qint64 spacing = (paragraph.SpaceBefore + paragraph.SpaceAfter) / 20;
        total.cost += RtfReader::BlockCost * MinCostPoints + spacing;
        total.worstHeight += 2 * (spacing + MinCostPoints);
        for (const RtfReader::Run &run : paragraph.Runs) {
            const qint64 points = std::max(MinCostPoints, run.Format.HalfPoints / 2);
            total.cost += RtfReader::BlockCost * MinCostPoints + run.Text.size() * points;
            total.worstHeight += 2 * run.Text.size() * points;
        }
    }
    return total;
}

} // namespace

TEST(HelpLayout, TheShippedManualIsShownWholeAndUnchanged)
{
    QFile file(QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("zembrakhelpfile.rtf")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const RtfReader::Document manual = RtfReader::parse(file.readAll());
    const RtfReader::Document shown = fitted(manual);
    EXPECT_FALSE(shown.Truncated);
    EXPECT_EQ(shown.plainText(), manual.plainText());
    ASSERT_EQ(shown.Paragraphs.size(), manual.Paragraphs.size());
    for (qsizetype i = 0; i < manual.Paragraphs.size(); ++i) {
        ASSERT_EQ(shown.Paragraphs[i].Runs.size(), manual.Paragraphs[i].Runs.size());
        for (qsizetype j = 0; j < manual.Paragraphs[i].Runs.size(); ++j)
            EXPECT_EQ(shown.Paragraphs[i].Runs[j].Format, manual.Paragraphs[i].Runs[j].Format);
    }
    // Room to spare for a manual many times as long.
    EXPECT_LT(spent(shown).cost * 8, MaxLayoutCost);
}

TEST(HelpLayout, FontsAbove72PointsAreShownAt72)
{
    const RtfReader::Document shown =
        fitted(RtfReader::parse("{\\rtf1 {\\fs1000 huge}{\\fs144 heading}{\\fs20 body}\\par}"));
    ASSERT_EQ(shown.Paragraphs.size(), 1);
    ASSERT_EQ(shown.Paragraphs[0].Runs.size(), 3);
    EXPECT_EQ(shown.Paragraphs[0].Runs[0].Format.HalfPoints, 144);
    EXPECT_EQ(shown.Paragraphs[0].Runs[1].Format.HalfPoints, 144);
    EXPECT_EQ(shown.Paragraphs[0].Runs[2].Format.HalfPoints, 20);
    EXPECT_EQ(shown.plainText(), "hugeheadingbody");
}

TEST(HelpLayout, HugeTextIsCutToTheBudgetWithANote)
{
    // One paragraph of huge type, one of large type and many words, many
    // small paragraphs, and paragraphs of nothing but spacing.
    const QByteArray files[] = {words(1000, 40000), words(100, 200000), words(24, 300000, " \\par "),
        "{\\rtf1 " + QByteArray("\\sb31680\\sa31680 \\par ").repeated(50000) + "}"};
    for (const QByteArray &rtf : files) {
        SCOPED_TRACE(rtf.left(30).toStdString());
        const RtfReader::Document read = RtfReader::parse(rtf);
        const RtfReader::Document shown = fitted(read);
        EXPECT_TRUE(shown.Truncated);
        ASSERT_FALSE(shown.Paragraphs.isEmpty());
        EXPECT_EQ(shown.Paragraphs.last().text(), CutNote);

        RtfReader::Document kept = shown;
        kept.Paragraphs.removeLast();
        const Spent total = spent(kept);
        EXPECT_LE(total.cost, MaxLayoutCost);
        // Qt's text layout stops ending past about 8.4 million pixels.
        EXPECT_LT(total.worstHeight, 8'388'607 / 2);
        // Not cut far short of the budget either: most of it is shown.
        EXPECT_GT(total.cost, MaxLayoutCost * 9 / 10);
        // What is shown is the file's beginning, as it was.
        EXPECT_TRUE(read.plainText().startsWith(kept.plainText()));
    }
}

TEST(HelpLayout, ACutKeepsSurrogatePairsWhole)
{
    // Each run of 12 pt text costs its characters times 12; pick the pair's
    // place so that the budget ends between its halves.
    const qint64 perRun = RtfReader::BlockCost * MinCostPoints;
    const qint64 characters = (MaxLayoutCost - 2 * perRun) / MinCostPoints;
    RtfReader::Document document;
    RtfReader::Paragraph paragraph;
    QString text(characters - 1, u'x');
    text += QString::fromUcs4(U"\U0001F94B") + QStringLiteral("after");
    paragraph.Runs << RtfReader::Run {text, {}};
    document.Paragraphs << paragraph;
    const RtfReader::Document shown = fitted(document);
    ASSERT_EQ(shown.Paragraphs.size(), 2);
    const QString kept = shown.Paragraphs[0].text();
    EXPECT_EQ(kept, QString(characters - 1, u'x'));
    EXPECT_EQ(shown.Paragraphs[1].text(), CutNote);
}

TEST(HelpLayout, AFileTheReaderCutGetsTheNoteToo)
{
    RtfReader::Document document;
    RtfReader::Paragraph paragraph;
    paragraph.Runs << RtfReader::Run {QStringLiteral("start"), {}};
    document.Paragraphs << paragraph;
    document.Truncated = true;
    const RtfReader::Document shown = fitted(document);
    EXPECT_EQ(shown.plainText(), QStringLiteral("start\n") + CutNote);
}
