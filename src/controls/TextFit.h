#pragma once

#include <QFont>
#include <QString>

class QLabel;
class QSize;

// Fitting a text to the box that shows it: the text keeps its designed size
// where it fits, and is set smaller only where it would otherwise be cut.
namespace TextFit {

// Whether the text, set in font, fits room: on one line (its letters' em
// within the height), or wrapped at word boundaries where wrap is asked for.
bool fits(const QFont &font, const QString &text, const QSize &room, bool wrap);

// The font at its own size where the text fits room; otherwise the largest
// smaller size that fits, in whole pixels for a font sized in pixels and in
// quarter points for one sized in points, but never below smallest (in the
// font's own unit).
QFont shrunkToFit(QFont font, const QString &text, const QSize &room, bool wrap, qreal smallest);

// Sets a word-wrapped label's font to family (the label's own where empty)
// at points, or smaller where its text would not fit the label at that size.
void setLabelFont(QLabel *label, const QString &family, double points);

} // namespace TextFit
