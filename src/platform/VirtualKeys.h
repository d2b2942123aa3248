#pragma once

#include <QString>
#include <QtGlobal>
#include <qnamespace.h>

// Virtual-key codes as the board and its settings know them (13 Enter,
// 37-40 arrows, 65-90 letters, 96-105 keypad digits, 112 F1 ...), made from
// Qt's key events. A release yields the same code as its press.
namespace VirtualKeys {

enum : qint16 {
    Back = 8,
    Tab = 9,
    Clear = 12,
    Return = 13,
    Shift = 16,
    Control = 17,
    Menu = 18,
    Pause = 19,
    Capital = 20,
    Escape = 27,
    Space = 32,
    Prior = 33,
    Next = 34,
    End = 35,
    Home = 36,
    Left = 37,
    Up = 38,
    Right = 39,
    Down = 40,
    Snapshot = 44,
    Insert = 45,
    Delete = 46,
    LWin = 91,
    RWin = 92,
    Apps = 93,
    Numpad0 = 96,
    Multiply = 106,
    Add = 107,
    Subtract = 109,
    Decimal = 110,
    Divide = 111,
    F1 = 112,
    F2 = 113,
    F24 = 135,
    NumLock = 144,
    Scroll = 145,
    OemPlus = 187,
    OemMinus = 189,
    OemPeriod = 190,
};

// The code for a Qt key and its modifiers (only the keypad flag matters),
// or 0 when the key has none.
qint16 fromQtKey(int key, Qt::KeyboardModifiers modifiers);

// The code of an X11 key code when it is one of the main digit row, whose
// codes do not depend on the keyboard layout (on AZERTY the unshifted row
// types symbols, yet "1" is still 49); 0 for any other key.
qint16 fromX11DigitRow(quint32 keycode);

// The code of an X11 key code when it is one of the punctuation keys, read
// by where the key sits as on a US keyboard (the German ü key, where US has
// "[", is 219), so that such a key can be bound on any layout; 0 otherwise.
qint16 fromX11Punctuation(quint32 keycode);

// Whether the native scan codes of a Qt platform plugin are X11 key codes
// (the kernel's key number + 8), which the two tables above read: so on X11
// and under Qt's native Wayland plugins; not on offscreen or others.
bool scanCodesAreX11(const QString &platformName);

// The shift mask of a key or mouse event: 1 Shift, 2 Ctrl, 4 Alt.
qint16 shiftMask(Qt::KeyboardModifiers modifiers);

} // namespace VirtualKeys
