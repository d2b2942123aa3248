#include "modules/modShowDigits.h"

#include "modules/Val.h"

#include <QObject>
#include <QVariant>

#include <cmath>

namespace modShowDigits {

QString DigitBuffer;
QString DigitTarget;

namespace {

bool isSign(QChar c)
{
    return c == u'+' || c == u'-';
}

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

void applyBuffer(QObject *Display, qint16 Lowest, qint16 Highest)
{
    // Emptied before applying, so that the buffer is clean whatever the
    // display does with its new value.
    const QString text = DigitBuffer;
    DigitBuffer.clear();
    SetDigitValue(Display, text, Lowest, Highest);
}

} // namespace

void EnterDigitKey(QObject *Display, qint16 Code, qint16 Lowest, qint16 Highest)
{
    const QString name = Display ? Display->objectName() : QString();
    if (name != DigitTarget) {
        DigitBuffer.clear();
        DigitTarget = name;
    }

    if (Code >= 48 && Code <= 57)
        DigitBuffer += QChar(Code);
    if (Code == 43 || Code == 45)
        DigitBuffer += QChar(Code);
    if (Code == 32)
        DigitBuffer.clear();
    if (Code == 0)
        SetDigitValue(Display, QString(QChar(0)), Lowest, Highest);

    // A one-digit display takes each digit at once; a sign waits for its digit.
    if (QString::number(Highest).size() == 1 && !(DigitBuffer.size() > 0 && isSign(DigitBuffer.at(0))))
        applyBuffer(Display, Lowest, Highest);
    if (DigitBuffer.size() >= 2 && isSign(DigitBuffer.at(0)) && isDigit(DigitBuffer.at(1)))
        applyBuffer(Display, Lowest, Highest);
    if (Code == 13)
        applyBuffer(Display, Lowest, Highest);
}

void SetDigitValue(QObject *Display, const QString &Text, qint16 Lowest, qint16 Highest)
{
    if (!Display || Text.isEmpty())
        return;

    // The cleared display (-1) counts as 0 when something is added to it.
    double current = Val(Display->property("Caption").toString());
    if (current == -1)
        current = 0;

    const QChar first = Text.at(0);
    double value = 0;
    if (first == QChar(0))
        value = -1;
    else if (isDigit(first))
        value = std::floor(Val(Text));
    else if (first == u'+')
        value = current + std::floor(Val(Text.mid(1)));
    else if (first == u'-')
        value = current - std::floor(Val(Text.mid(1)));
    else
        return;

    if (value < Lowest || value > Highest)
        return;
    Display->setProperty("Caption", QVariant::fromValue(qint32(value)));
}

} // namespace modShowDigits
