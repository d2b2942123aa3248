#pragma once

#include <QByteArrayView>
#include <QList>
#include <QSet>
#include <QString>

// A small reader for the rich-text (RTF) files the help viewer shows. It
// turns the file into paragraphs of formatted runs and knows nothing of
// widgets; the view builds its own document from the result.
//
// It understands groups, paragraphs, line breaks and tabs, bold, italic and
// underline, font sizes, font and colour tables, paragraph alignment,
// indents and spacing, code page 1252, Unicode escapes and the common
// typographic symbols. Destinations it does not show (pictures, document
// information, style sheets, headers and footers) are skipped. Any input,
// however malformed, is read in one linear pass with bounded nesting and a
// bounded result.
namespace RtfReader {

// Colour of a run: Auto leaves it to the view.
struct Color
{
    bool Auto = true;
    quint8 Red = 0;
    quint8 Green = 0;
    quint8 Blue = 0;
    bool operator==(const Color &) const = default;
};

struct CharFormat
{
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    int HalfPoints = 24; // \fs: 12 pt
    QString FontFamily; // empty: the view's own
    Color Foreground;
    Color Highlight;
    bool operator==(const CharFormat &) const = default;
};

struct Run
{
    QString Text;
    CharFormat Format;
};

enum class Alignment { Left, Center, Right, Justify };

// Paragraph geometry in twips.
struct ParagraphFormat
{
    Alignment Align = Alignment::Left;
    int LeftIndent = 0;
    int RightIndent = 0;
    int FirstIndent = 0;
    int SpaceBefore = 0;
    int SpaceAfter = 0;
};

struct Paragraph : ParagraphFormat
{
    QList<Run> Runs;

    QString text() const;
};

struct Document
{
    QList<Paragraph> Paragraphs;
    // Control words met outside skipped destinations that the reader does
    // not know; their text, if any, is shown.
    QSet<QString> UnknownWords;
    // Set when the input was cut at one of the limits below.
    bool Truncated = false;

    // Paragraphs joined by newlines.
    QString plainText() const;
};

// Deeper groups are read as if their braces were not there.
inline constexpr int MaxDepth = 200;
// The size of the result, counted in characters with each run and each
// paragraph as BlockCost characters; the rest of the input is dropped.
inline constexpr qsizetype MaxDocumentSize = 2 * 1024 * 1024;
inline constexpr qsizetype BlockCost = 8;

// A caller that shows less may stop the reading sooner, at maxSize.
Document parse(QByteArrayView rtf, qsizetype maxSize = MaxDocumentSize);

} // namespace RtfReader
