#pragma once

#include "modules/RtfReader.h"

// What of a read help file the help view lays out. Laying out rich text
// runs on the board's own thread, so a file of huge text would hold the
// clock and the feed while it is laid out; past a height or a line width of
// about 8 million pixels Qt's text layout no longer ends in any useful time
// at all. The manual is therefore bounded before it reaches the view: font
// sizes are capped, and the text is cut, with a note saying so, where its
// layout cost passes a budget many times what a real manual needs.
namespace HelpLayout {

// Largest font size shown: 72 pt.
inline constexpr int MaxHalfPoints = 144;

// The budget, in point-characters: each character costs its font size in
// points, at least 12, and each paragraph and run BlockCost characters at
// 12 pt; vertical spacing costs its points. About 80 000 characters of
// 12 pt text, some 9 times the shipped manual, laid out in tens of
// milliseconds; even with every character on a line of its own the
// document stays far below the sizes Qt cannot lay out.
inline constexpr qint64 MaxLayoutCost = 1'000'000;
inline constexpr int MinCostPoints = 12;

// The paragraph that ends a cut document.
extern const QString CutNote;

// The document as the view should lay it out.
RtfReader::Document fitted(RtfReader::Document document);

} // namespace HelpLayout
