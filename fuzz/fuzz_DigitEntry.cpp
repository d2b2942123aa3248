// Scores typed on two number displays, modelled without widgets as objects
// with a Caption: any run of digits, signs, clears and other keys leaves
// each display at a score the board allows (-1 cleared, 0 to 9).

#include "modules/modShowDigits.h"

#include <QObject>
#include <QVariant>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

// The character codes the board hands to digit entry.
constexpr qint16 codes[] = {48, 49, 50, 51, 52, 53, 54, 55, 56, 57, 43, 45, 46, 32, 13, 0, -1};

void check(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QObject home;
    home.setObjectName(QStringLiteral("nledWHome"));
    QObject visitor;
    visitor.setObjectName(QStringLiteral("nledWVisitor"));
    for (QObject *display : {&home, &visitor})
        display->setProperty("Caption", QVariant::fromValue(qint32(0)));
    modShowDigits::DigitBuffer.clear();
    modShowDigits::DigitTarget.clear();

    for (size_t i = 0; i < size; ++i) {
        // The top bit picks the display, the rest the key; a few bytes
        // carry a raw code, as an odd key would.
        QObject *display = data[i] & 0x80 ? &visitor : &home;
        const int pick = data[i] & 0x7F;
        const qint16 code = pick < 2 * int(std::size(codes)) ? codes[pick % std::size(codes)] : qint16(pick);
        modShowDigits::EnterDigitKey(display, code, -1, 9);
        for (const QObject *shown : {&home, &visitor}) {
            const qint32 caption = shown->property("Caption").toInt();
            check(caption >= -1 && caption <= 9);
        }
    }
    return 0;
}
