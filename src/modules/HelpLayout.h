#pragma once

#include "modules/RtfReader.h"

// What of a read help file the help view lays out. Laying out rich text
// runs on the board's own thread, so a file of huge text would hold the
// clock and the feed while it is laid out; past a height or a line width of
// about 8 million pixels Qt's text layout no longer ends in any useful time
// at all. The manual is therefore bounded before it reaches the view: font
// sizes are capped, long paragraphs are laid out in pieces, and the text is
// cut, with a note saying so, where its layout cost passes a budget many
// times what a real manual needs.
namespace HelpLayout {

// Largest font size shown: 72 pt.
inline constexpr int MaxHalfPoints = 144;

// Qt lays a paragraph out whole, and lays out the rest of a document in
// steps only between paragraphs; a longer paragraph goes on in a new one,
// after a blank where there is one near the limit.
inline constexpr qsizetype MaxParagraphLength = 2000;

// The budget, in 12 pt characters. Laying out a character costs about the
// square of its font size, so each costs (points / 12)^2 of them, at least
// one; each paragraph and run costs BlockCost, and vertical spacing one per
// 12 points. About 80 000 characters of 12 pt text, some 9 times the
// shipped manual, laid out in a few tens of milliseconds; even with every
// character on a line of its own the document stays far below the sizes Qt
// cannot lay out.
inline constexpr qint64 MaxLayoutCost = 80'000;

// The reader's size counts each character and each paragraph and run as
// the budget does at least, so the budget is spent before the reader stops
// at twice it: a file of megabytes of text is not read to its end for
// nothing.
inline constexpr qsizetype MaxReadSize = 2 * MaxLayoutCost;

// What one character of the given size costs, in 1/144 of the unit above.
qint64 characterCost(int halfPoints);
inline constexpr qint64 CostScale = 144;

// The paragraph that ends a cut document.
extern const QString CutNote;

// The document as the view should lay it out.
RtfReader::Document fitted(RtfReader::Document document);

} // namespace HelpLayout
