#include "modules/Val.h"

#include <QLocale>

namespace {

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n';
}

// Only ASCII digits make a number; other scripts' digits end it.
bool isDigit(const QString &text, qsizetype i)
{
    return i < text.size() && text.at(i) >= u'0' && text.at(i) <= u'9';
}

bool isSign(const QString &text, qsizetype i)
{
    return i < text.size() && (text.at(i) == u'+' || text.at(i) == u'-');
}

} // namespace

double Val(const QString &text)
{
    qsizetype i = 0;
    while (i < text.size() && isBlank(text.at(i)))
        ++i;

    // Collect the longest leading part that forms a number, in the C locale's
    // spelling, so that the conversion below never depends on the user's locale.
    QString number;
    if (isSign(text, i))
        number += text.at(i++);
    bool haveDigits = false;
    while (isDigit(text, i)) {
        number += text.at(i++);
        haveDigits = true;
    }
    if (i < text.size() && text.at(i) == u'.') {
        number += text.at(i++);
        while (isDigit(text, i)) {
            number += text.at(i++);
            haveDigits = true;
        }
    }
    if (!haveDigits)
        return 0;

    // An exponent counts only when digits follow it: "1e" and "1e+" read as 1.
    if (i < text.size() && QStringLiteral("eEdD").contains(text.at(i))) {
        qsizetype j = i + 1;
        if (isSign(text, j))
            ++j;
        if (isDigit(text, j)) {
            number += u'e';
            number += text.mid(i + 1, j - i - 1);
            while (isDigit(text, j))
                number += text.at(j++);
        }
    }

    return QLocale::c().toDouble(number);
}
