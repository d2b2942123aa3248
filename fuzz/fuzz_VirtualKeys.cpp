// Qt's keys to the board's virtual-key codes: any key number, modifiers and
// X11 key code. A code is a byte, only the keypad flag among the modifiers
// changes it, and the main digit row yields digits or nothing.

#include "platform/VirtualKeys.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    for (size_t at = 0; at + 12 <= size; at += 12) {
        qint32 key = 0;
        quint32 modifierBits = 0;
        quint32 scanCode = 0;
        std::memcpy(&key, data + at, 4);
        std::memcpy(&modifierBits, data + at + 4, 4);
        std::memcpy(&scanCode, data + at + 8, 4);
        const auto modifiers = Qt::KeyboardModifiers::fromInt(int(modifierBits));

        const qint16 code = VirtualKeys::fromQtKey(key, modifiers);
        check(code >= 0 && code <= 255);
        check(code == VirtualKeys::fromQtKey(key, modifiers & Qt::KeypadModifier));
        const qint16 mask = VirtualKeys::shiftMask(modifiers);
        check(mask >= 0 && mask <= 7);

        const qint16 digit = VirtualKeys::fromX11DigitRow(scanCode);
        check(digit == 0 || (digit >= 48 && digit <= 57));
    }
    return 0;
}
