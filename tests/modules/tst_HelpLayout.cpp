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
    const qint64 block = RtfReader::BlockCost * CostScale;
    for (const RtfReader::Paragraph &paragraph : document.Paragraphs) {
        const qint64 spacing = (paragraph.SpaceBefore + paragraph.SpaceAfter) / 20;
        total.cost += block + spacing * CostScale / 12;
        total.worstHeight += 2 * (spacing + 12);
        for (const RtfReader::Run &run : paragraph.Runs) {
            total.cost += block + run.Text.size() * characterCost(run.Format.HalfPoints);
            total.worstHeight += 2 * run.Text.size() * std::max(12, run.Format.HalfPoints / 2);
        }
    }
    return total;
}

QString joined(const RtfReader::Document &document)
{
    return document.plainText().remove(u'\n');
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
    // Room to spare for a manual several times as long.
    EXPECT_LT(spent(shown).cost * 4, MaxLayoutCost * CostScale);
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
        // Long paragraphs, shown in pieces, add a few paragraphs' cost.
        EXPECT_LE(total.cost, MaxLayoutCost * CostScale * 101 / 100);
        // Qt's text layout stops ending past about 8.4 million pixels.
        EXPECT_LT(total.worstHeight, 8'388'607 / 2);
        // Not cut far short of the budget either: most of it is shown.
        EXPECT_GT(total.cost, MaxLayoutCost * CostScale * 9 / 10);
        // What is shown is the file's beginning, as it was, in paragraphs
        // Qt can lay out one at a time.
        EXPECT_TRUE(joined(read).startsWith(joined(kept)));
        for (const RtfReader::Paragraph &paragraph : std::as_const(kept.Paragraphs))
            EXPECT_LE(paragraph.text().size(), MaxParagraphLength);
        // Reading no further than the budget can reach shows the same.
        EXPECT_EQ(fitted(RtfReader::parse(rtf, MaxReadSize)).plainText(), shown.plainText());
    }
}

TEST(HelpLayout, ALongParagraphGoesOnInPiecesAfterABlank)
{
    RtfReader::Paragraph paragraph;
    paragraph.FirstIndent = 360;
    paragraph.SpaceBefore = 120;
    paragraph.SpaceAfter = 240;
    RtfReader::CharFormat bold;
    bold.Bold = true;
    // 1990 characters, then a bold run of words, then a word of nearly 2500 letters
    // with a surrogate pair where the limit falls.
    paragraph.Runs << RtfReader::Run {QString(1990, u'x'), {}}
                   << RtfReader::Run {QStringLiteral(" judo kata nage"), bold}
                   << RtfReader::Run {QString(1990, u'y') + QString::fromUcs4(U"\U0001F94B") + QString(500, u'z'), {}};
    RtfReader::Document document;
    document.Paragraphs << paragraph;
    const RtfReader::Document shown = fitted(document);
    EXPECT_FALSE(shown.Truncated);
    EXPECT_EQ(joined(shown), joined(document));
    ASSERT_EQ(shown.Paragraphs.size(), 3);
    // Broken after the blank nearest the limit, the format kept on both sides.
    EXPECT_EQ(shown.Paragraphs[0].text(), QString(1990, u'x') + QStringLiteral(" judo "));
    EXPECT_TRUE(shown.Paragraphs[0].Runs.last().Format.Bold);
    EXPECT_TRUE(shown.Paragraphs[1].Runs.first().Format.Bold);
    EXPECT_TRUE(shown.Paragraphs[1].text().startsWith(QStringLiteral("kata nage")));
    // No blank near the limit: cut there, but not between a pair's halves.
    EXPECT_TRUE(shown.Paragraphs[1].text().endsWith(QString(1, u'y')));
    EXPECT_TRUE(shown.Paragraphs[2].text().startsWith(QString::fromUcs4(U"\U0001F94B")));
    // One paragraph to the reader: indent and space before on the first
    // piece only, space after on the last.
    EXPECT_EQ(shown.Paragraphs[0].FirstIndent, 360);
    EXPECT_EQ(shown.Paragraphs[1].FirstIndent, 0);
    EXPECT_EQ(shown.Paragraphs[0].SpaceBefore, 120);
    EXPECT_EQ(shown.Paragraphs[2].SpaceBefore, 0);
    EXPECT_EQ(shown.Paragraphs[0].SpaceAfter, 0);
    EXPECT_EQ(shown.Paragraphs[2].SpaceAfter, 240);
}

TEST(HelpLayout, ACutKeepsSurrogatePairsWhole)
{
    // One run of 12 pt text; the budget ends between the pair's halves.
    const qsizetype characters = MaxLayoutCost - 2 * RtfReader::BlockCost;
    RtfReader::Document document;
    RtfReader::Paragraph paragraph;
    QString text(characters - 1, u'x');
    text += QString::fromUcs4(U"\U0001F94B") + QStringLiteral("after");
    paragraph.Runs << RtfReader::Run {text, {}};
    document.Paragraphs << paragraph;
    const RtfReader::Document shown = fitted(document);
    ASSERT_GE(shown.Paragraphs.size(), 2);
    EXPECT_EQ(shown.Paragraphs.last().text(), CutNote);
    RtfReader::Document kept = shown;
    kept.Paragraphs.removeLast();
    EXPECT_EQ(joined(kept), QString(characters - 1, u'x'));
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
