#include "app/RtfTextDocument.h"

#include "modules/VbTypes.h"

#include <QColor>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>

namespace {

double pixels(int twips)
{
    return double(twips) / TwipsPerPixel;
}

Qt::Alignment alignment(RtfReader::Alignment align)
{
    switch (align) {
    case RtfReader::Alignment::Center: return Qt::AlignHCenter;
    case RtfReader::Alignment::Right: return Qt::AlignRight;
    case RtfReader::Alignment::Justify: return Qt::AlignJustify;
    case RtfReader::Alignment::Left: break;
    }
    return Qt::AlignLeft;
}

QTextBlockFormat blockFormat(const RtfReader::Paragraph &paragraph)
{
    QTextBlockFormat format;
    format.setAlignment(alignment(paragraph.Align));
    format.setLeftMargin(pixels(paragraph.LeftIndent));
    format.setRightMargin(pixels(paragraph.RightIndent));
    format.setTextIndent(pixels(paragraph.FirstIndent));
    format.setTopMargin(pixels(paragraph.SpaceBefore));
    format.setBottomMargin(pixels(paragraph.SpaceAfter));
    // A hanging indent sets a tab stop where the text hangs, as word
    // processors do, so "bullet, tab, text" lines up.
    if (paragraph.FirstIndent < 0 && paragraph.LeftIndent > 0)
        format.setTabPositions({QTextOption::Tab(pixels(paragraph.LeftIndent), QTextOption::LeftTab)});
    return format;
}

QTextCharFormat charFormat(const RtfReader::CharFormat &run)
{
    QTextCharFormat format;
    format.setFontWeight(run.Bold ? QFont::Bold : QFont::Normal);
    format.setFontItalic(run.Italic);
    format.setFontUnderline(run.Underline);
    format.setFontPointSize(run.HalfPoints / 2.0);
    if (!run.FontFamily.isEmpty())
        format.setFontFamilies({run.FontFamily});
    if (!run.Foreground.Auto)
        format.setForeground(QColor(run.Foreground.Red, run.Foreground.Green, run.Foreground.Blue));
    if (!run.Highlight.Auto)
        format.setBackground(QColor(run.Highlight.Red, run.Highlight.Green, run.Highlight.Blue));
    return format;
}

} // namespace

void fillTextDocument(QTextDocument *document, const RtfReader::Document &rtf)
{
    document->clear();
    QTextCursor cursor(document);
    cursor.beginEditBlock();
    bool first = true;
    for (const RtfReader::Paragraph &paragraph : rtf.Paragraphs) {
        if (first)
            cursor.setBlockFormat(blockFormat(paragraph));
        else
            cursor.insertBlock(blockFormat(paragraph));
        first = false;
        for (const RtfReader::Run &run : paragraph.Runs)
            cursor.insertText(run.Text, charFormat(run.Format));
    }
    cursor.endEditBlock();
}
