#pragma once

#include <QString>

// The numeric value of a text, read from its leading part: leading blanks
// are skipped, then an optional sign, digits, a decimal point and more
// digits, and an exponent (E or D) are taken as far as they form a number.
// A text with no number reads as 0 ("", "-", "abc"); "+2" reads as 2,
// "12ab" as 12, "1.5.3" as 1.5.
double Val(const QString &text);
