#include "modules/RtfReader.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>

#include <gtest/gtest.h>

using namespace RtfReader;

namespace {

Document read(const char *rtf)
{
    return parse(QByteArrayView(rtf));
}

QString text(const char *rtf)
{
    return read(rtf).plainText();
}

} // namespace

TEST(RtfReader, GroupsScopeBoldItalicAndUnderline)
{
    const Document doc = read(R"({\rtf1 a{\b b\i c}d\ul e\ul0 f\ulnone\b g\b0 h\par})");
    ASSERT_EQ(doc.Paragraphs.size(), 1);
    const QList<RtfReader::Run> &runs = doc.Paragraphs[0].Runs;
    ASSERT_EQ(runs.size(), 8);
    EXPECT_EQ(runs[0].Text, "a");
    EXPECT_FALSE(runs[0].Format.Bold);
    EXPECT_EQ(runs[1].Text, "b");
    EXPECT_TRUE(runs[1].Format.Bold);
    EXPECT_FALSE(runs[1].Format.Italic);
    EXPECT_EQ(runs[2].Text, "c");
    EXPECT_TRUE(runs[2].Format.Bold && runs[2].Format.Italic);
    EXPECT_EQ(runs[3].Text, "d"); // the group's end restored plain text
    EXPECT_FALSE(runs[3].Format.Bold || runs[3].Format.Italic);
    EXPECT_EQ(runs[4].Text, "e");
    EXPECT_TRUE(runs[4].Format.Underline);
    EXPECT_EQ(runs[5].Text, "f");
    EXPECT_FALSE(runs[5].Format.Underline);
    EXPECT_TRUE(runs[6].Format.Bold);
    EXPECT_FALSE(runs[7].Format.Bold);
    EXPECT_EQ(doc.Paragraphs[0].text(), "abcdefgh");
}

TEST(RtfReader, FontAndColourTablesSizesAndPlain)
{
    const Document doc =
        read(R"({\rtf1\deff1{\fonttbl{\f0\froman{\*\panose 0203}Times New Roman;}{\f1\fswiss Arial;}})"
             R"({\colortbl;\red255\green0\blue0;\red0\green0\blue255;})"
             R"(x\f0\fs40\cf1\highlight2 y\plain z\par})");
    ASSERT_EQ(doc.Paragraphs.size(), 1);
    const QList<RtfReader::Run> &runs = doc.Paragraphs[0].Runs;
    ASSERT_EQ(runs.size(), 3);
    EXPECT_EQ(runs[0].Format.FontFamily, "Arial"); // \deff1
    EXPECT_EQ(runs[0].Format.HalfPoints, 24);
    EXPECT_TRUE(runs[0].Format.Foreground.Auto);
    EXPECT_EQ(runs[1].Format.FontFamily, "Times New Roman");
    EXPECT_EQ(runs[1].Format.HalfPoints, 40);
    EXPECT_EQ(runs[1].Format.Foreground, (Color {false, 255, 0, 0}));
    EXPECT_EQ(runs[1].Format.Highlight, (Color {false, 0, 0, 255}));
    EXPECT_EQ(runs[2].Format, runs[0].Format); // \plain is the default again
    EXPECT_EQ(doc.plainText(), "xyz"); // no table content leaks into the text
    EXPECT_TRUE(doc.UnknownWords.isEmpty());
}

TEST(RtfReader, ParagraphAlignmentIndentsAndSpacing)
{
    const Document doc = read(R"({\rtf1\pard\qc\li720\ri360\fi-240\sb120\sa60 one\par two\par)"
                              R"(\pard\qr r\par\pard\qj j\par\pard\ql\li99999999 l\par\pard last})");
    ASSERT_EQ(doc.Paragraphs.size(), 6);
    const Paragraph &one = doc.Paragraphs[0];
    EXPECT_EQ(one.Align, Alignment::Center);
    EXPECT_EQ(one.LeftIndent, 720);
    EXPECT_EQ(one.RightIndent, 360);
    EXPECT_EQ(one.FirstIndent, -240);
    EXPECT_EQ(one.SpaceBefore, 120);
    EXPECT_EQ(one.SpaceAfter, 60);
    EXPECT_EQ(doc.Paragraphs[1].Align, Alignment::Center); // kept until \pard
    EXPECT_EQ(doc.Paragraphs[2].Align, Alignment::Right);
    EXPECT_EQ(doc.Paragraphs[2].LeftIndent, 0);
    EXPECT_EQ(doc.Paragraphs[3].Align, Alignment::Justify);
    EXPECT_LE(doc.Paragraphs[4].LeftIndent, 31680); // an absurd indent is bounded
    EXPECT_EQ(doc.Paragraphs[5].text(), "last"); // text after the last \par is kept
}

TEST(RtfReader, CodePageUnicodeAndSymbols)
{
    // \'hh in code page 1252, including the range where it differs from Latin-1.
    EXPECT_EQ(text(R"({\rtf1 caf\'e9 \'80\'96\'9f})"), QString::fromUtf8("café €–Ÿ"));
    // \u is followed by \uc fallback characters, which are dropped.
    EXPECT_EQ(text(R"({\rtf1 a\u8212?b\u8212\'97c})"), QString::fromUtf8("a—b—c"));
    EXPECT_EQ(
        text(R"({\rtf1\uc2 \u26085\'93\'fa!{\uc0\u26412}x\u-3913??})"), QString::fromUtf8("日!本x\uF0B7"));
    EXPECT_EQ(text(R"({\rtf1\uc3\u65 ab})"), "A"); // a group end or the text's end stops the skip
    // The symbols and the special characters.
    EXPECT_EQ(text(R"({\rtf1\emdash\endash\bullet\lquote\rquote\ldblquote\rdblquote\~\_\-\{\}\\})"),
        QString::fromUtf8("—–•‘’“”\u00A0\u2011\u00AD{}\\"));
    EXPECT_EQ(text(R"({\rtf1 a\tab b\line c\par d})"), QString::fromUtf8("a\tb\u2028c\nd"));
    // Raw line ends are no text; a backslash before one is a paragraph mark.
    EXPECT_EQ(text("{\\rtf1 a\r\nb\\\nc}"), "ab\nc");
}

TEST(RtfReader, SkipsDestinationsItDoesNotShow)
{
    const Document doc =
        read(R"({\rtf1{\info{\title T}{\author A}}{\stylesheet{\s0 Normal;}})"
             R"({\header H}{\footer F}{\*\generator G;}{\*\unknownthing U}{\pict\pngblip 89504e47})"
             R"({\*\fldinst HYPERLINK "x"}{\fldrslt shown}A\bin3 {}}B})");
    EXPECT_EQ(doc.plainText(), "shownAB");
    EXPECT_TRUE(doc.UnknownWords.isEmpty());
    // A group without \* that the reader does not know shows its text and is noted.
    const Document unknown = read(R"({\rtf1{\strange kept}})");
    EXPECT_EQ(unknown.plainText(), "kept");
    EXPECT_TRUE(unknown.UnknownWords.contains("strange"));
}

TEST(RtfReader, MalformedInputHasDefinedResults)
{
    EXPECT_EQ(text(R"(}}{\rtf1 a}}}b{{c)"), "abc"); // stray closing braces and unclosed groups
    EXPECT_EQ(text(R"({\rtf1 a\')"), "a"); // truncated hex escape
    EXPECT_EQ(text(R"({\rtf1 a\'4)"), "a");
    EXPECT_EQ(text(R"({\rtf1 a\'zzb})"), "azzb");
    EXPECT_EQ(text(R"({\rtf1 a\)"), "a"); // a lone backslash at the end
    EXPECT_EQ(text("plain text"), "plain text"); // no header at all
    EXPECT_EQ(text(""), "");

    const Document huge =
        read(R"({\rtf1\fs99999999999999999999999\li-99999999999999 a\u99999999999 b\bin999999999999})");
    ASSERT_EQ(huge.Paragraphs.size(), 1);
    EXPECT_EQ(huge.Paragraphs[0].text(), QString::fromUtf8("a\uFFFD"));
    EXPECT_LE(huge.Paragraphs[0].Runs[0].Format.HalfPoints, 1000);
    EXPECT_GE(huge.Paragraphs[0].LeftIndent, -31680);

    const QByteArray longWord = "{\\rtf1\\" + QByteArray(100000, 'x') + " after}";
    EXPECT_EQ(parse(longWord).plainText(), "after");
}

TEST(RtfReader, DeepNestingIsBoundedAndKeepsTheText)
{
    const int depth = 100000;
    QByteArray rtf = "{\\rtf1 ";
    rtf += QByteArray(depth, '{') + "\\b deep" + QByteArray(depth, '}') + " after}";
    const Document doc = parse(rtf);
    EXPECT_EQ(doc.plainText(), "deep after");
    // The groups beyond the limit belong to the deepest one kept: its end
    // still restores the formatting from before.
    ASSERT_EQ(doc.Paragraphs[0].Runs.size(), 2);
    EXPECT_TRUE(doc.Paragraphs[0].Runs[0].Format.Bold);
    EXPECT_FALSE(doc.Paragraphs[0].Runs[1].Format.Bold);
}

TEST(RtfReader, TheDocumentSizeIsCapped)
{
    QByteArray rtf = "{\\rtf1 ";
    rtf += QByteArray(MaxDocumentSize + 10, 'a');
    rtf += "\\par}";
    const Document big = parse(rtf);
    EXPECT_TRUE(big.Truncated);
    EXPECT_LE(big.plainText().size(), MaxDocumentSize);

    // Empty paragraphs count too, so they cannot pile up without bound.
    const Document pars = parse("{\\rtf1 " + QByteArray("\\par").repeated(MaxDocumentSize + 5) + "}");
    EXPECT_TRUE(pars.Truncated);
    EXPECT_LE(pars.Paragraphs.size(), MaxDocumentSize);
}

TEST(RtfReader, RunsAndParagraphsCountTowardTheCap)
{
    // Every character in a format of its own: the runs, not the text, would
    // take the memory.
    const Document doc = parse("{\\rtf1 " + QByteArray("{\\b a}b").repeated(400000) + "}");
    EXPECT_TRUE(doc.Truncated);
    qsizetype runs = 0;
    qsizetype characters = 0;
    for (const Paragraph &paragraph : doc.Paragraphs) {
        runs += paragraph.Runs.size() + 1;
        characters += paragraph.text().size();
    }
    EXPECT_LE(runs * BlockCost + characters, MaxDocumentSize);
}

TEST(RtfReader, BinaryGarbageNeverBreaksTheReader)
{
    QRandomGenerator random(20261207);
    for (int round = 0; round < 200; ++round) {
        QByteArray garbage(4096, '\0');
        for (char &byte : garbage) {
            // Mostly the characters that mean something to the reader.
            static const char special[] = "{}\\'*0123456789abu -";
            byte = random.bounded(4) == 0 ? char(random.bounded(256))
                                          : special[random.bounded(int(sizeof special) - 1)];
        }
        const Document doc = parse(garbage);
        EXPECT_LE(doc.plainText().size(), garbage.size() * 2);
    }
}

TEST(RtfReader, TheShippedManualReadsCleanly)
{
    QFile file(QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("zembrakhelpfile.rtf")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << "the manual is copied beside the programs";
    const Document doc = parse(file.readAll());
    EXPECT_FALSE(doc.Truncated);
    EXPECT_TRUE(doc.UnknownWords.isEmpty()) << doc.UnknownWords.values().join(QLatin1Char(' ')).toStdString();
    const QString all = doc.plainText();
    for (const char *topic : {"Getting started", "Keys and mouse", "Typing scores and contest times",
             "Osaekomi", "Key Controls", "Color Controls", "Text Controls", "Pictures", "Additional Settings",
             "NumLock modes", "Zembrak.conf", "second monitor"}) {
        EXPECT_TRUE(all.contains(QLatin1String(topic))) << topic;
    }
    // Nothing of the tables or of a control word shows as text.
    for (const char *leak : {"Arial", "Courier", "Roman;", "\\", "{", "}"})
        EXPECT_FALSE(all.contains(QLatin1String(leak))) << leak;
}

TEST(RtfReader, ReadingStoppedAtALimitKeepsWhatItRead)
{
    // "first" and its run and paragraph, then "second" fills the limit.
    const Document read = parse("{\\rtf1 first\\par second part}", 5 + 2 * BlockCost + 6);
    EXPECT_TRUE(read.Truncated);
    EXPECT_EQ(read.plainText(), "first\nsecond");
}
