#pragma once

#include <QString>

class QObject;

// Typing a score on a number display: a digit sets it, a sign and a digit
// add or subtract, the clear key blanks it (-1). The display is any object
// with an objectName and a "Caption" property holding the number.
namespace modShowDigits {

// Characters typed but not applied yet, and the name of the display they
// belong to; one pair for the whole program.
extern QString DigitBuffer;
extern QString DigitTarget;

// Code is a character code from KeyCodeToAsci (48-57 digits, 43 "+",
// 45 "-", 46 ".", 32 Space, 13 Enter, 0 clear, -1 anything else).
void EnterDigitKey(QObject *Display, qint16 Code, qint16 Lowest, qint16 Highest);

// Applies an entered text to the display, within Lowest..Highest.
void SetDigitValue(QObject *Display, const QString &Text, qint16 Lowest, qint16 Highest);

} // namespace modShowDigits
