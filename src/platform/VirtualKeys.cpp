#include "platform/VirtualKeys.h"

namespace VirtualKeys {

// Shifted symbols of a US keyboard report the code of their unshifted key.
static qint16 fromSymbol(int key)
{
    switch (key) {
    case Qt::Key_Exclam: return 49;
    case Qt::Key_At: return 50;
    case Qt::Key_NumberSign: return 51;
    case Qt::Key_Dollar: return 52;
    case Qt::Key_Percent: return 53;
    case Qt::Key_AsciiCircum: return 54;
    case Qt::Key_Ampersand: return 55;
    case Qt::Key_Asterisk: return 56;
    case Qt::Key_ParenLeft: return 57;
    case Qt::Key_ParenRight: return 48;
    case Qt::Key_Semicolon:
    case Qt::Key_Colon: return 186;
    case Qt::Key_Equal:
    case Qt::Key_Plus: return 187;
    case Qt::Key_Comma:
    case Qt::Key_Less: return 188;
    case Qt::Key_Minus:
    case Qt::Key_Underscore: return 189;
    case Qt::Key_Period:
    case Qt::Key_Greater: return 190;
    case Qt::Key_Slash:
    case Qt::Key_Question: return 191;
    case Qt::Key_QuoteLeft:
    case Qt::Key_AsciiTilde: return 192;
    case Qt::Key_BracketLeft:
    case Qt::Key_BraceLeft: return 219;
    case Qt::Key_Backslash:
    case Qt::Key_Bar: return 220;
    case Qt::Key_BracketRight:
    case Qt::Key_BraceRight: return 221;
    case Qt::Key_Apostrophe:
    case Qt::Key_QuoteDbl: return 222;
    default: return 0;
    }
}

static qint16 fromKeypad(int key)
{
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return qint16(Numpad0 + (key - Qt::Key_0));
    switch (key) {
    case Qt::Key_Asterisk: return Multiply;
    case Qt::Key_Plus: return Add;
    case Qt::Key_Minus: return Subtract;
    case Qt::Key_Period:
    case Qt::Key_Comma: return Decimal; // some layouts put a comma there
    case Qt::Key_Slash: return Divide;
    default: return 0; // navigation keys fall through to their own codes
    }
}

qint16 fromQtKey(int key, Qt::KeyboardModifiers modifiers)
{
    if (modifiers & Qt::KeypadModifier) {
        if (const qint16 code = fromKeypad(key))
            return code;
    }
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        return qint16(key); // Qt uses the upper-case letter for both cases
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return qint16(key);
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24)
        return qint16(F1 + (key - Qt::Key_F1));

    switch (key) {
    case Qt::Key_Backspace: return Back;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return Tab;
    case Qt::Key_Clear: return Clear; // keypad 5 with NumLock off
    case Qt::Key_Return:
    case Qt::Key_Enter: return Return;
    case Qt::Key_Shift: return Shift;
    case Qt::Key_Control: return Control;
    case Qt::Key_Alt:
    case Qt::Key_AltGr: return Menu;
    case Qt::Key_Pause: return Pause;
    case Qt::Key_Escape: return Escape;
    case Qt::Key_Space: return Space;
    case Qt::Key_PageUp: return Prior;
    case Qt::Key_PageDown: return Next;
    case Qt::Key_End: return End;
    case Qt::Key_Home: return Home;
    case Qt::Key_Left: return Left;
    case Qt::Key_Up: return Up;
    case Qt::Key_Right: return Right;
    case Qt::Key_Down: return Down;
    case Qt::Key_Insert: return Insert;
    case Qt::Key_Delete: return Delete;
    case Qt::Key_NumLock: return NumLock;
    case Qt::Key_CapsLock: return Capital;
    case Qt::Key_ScrollLock: return Scroll;
    case Qt::Key_Print:
    case Qt::Key_SysReq: return Snapshot; // Alt+Print reports SysReq
    case Qt::Key_Super_L:
    case Qt::Key_Meta: return LWin; // X11 servers name the Windows key either way
    case Qt::Key_Super_R: return RWin;
    case Qt::Key_Menu: return Apps;
    default: return fromSymbol(key);
    }
}

qint16 fromX11DigitRow(quint32 keycode)
{
    // X key codes 10 to 18 are the keys 1 to 9, 19 is 0.
    if (keycode >= 10 && keycode <= 18)
        return qint16(49 + (keycode - 10));
    if (keycode == 19)
        return 48;
    return 0;
}

qint16 fromX11Punctuation(quint32 keycode)
{
    switch (keycode) {
    case 20: return 189; // minus
    case 21: return 187; // equals
    case 34: return 219; // left bracket
    case 35: return 221; // right bracket
    case 47: return 186; // semicolon
    case 48: return 222; // apostrophe
    case 49: return 192; // grave
    case 51: return 220; // backslash
    case 59: return 188; // comma
    case 60: return 190; // full stop
    case 61: return 191; // slash
    default: return 0;
    }
}

bool scanCodesAreX11(const QString &platformName)
{
    return platformName == QLatin1String("xcb") || platformName == QLatin1String("wayland") ||
           platformName.startsWith(QLatin1String("wayland-"));
}

qint16 shiftMask(Qt::KeyboardModifiers modifiers)
{
    qint16 mask = 0;
    if (modifiers & Qt::ShiftModifier)
        mask |= 1;
    if (modifiers & Qt::ControlModifier)
        mask |= 2;
    if (modifiers & Qt::AltModifier)
        mask |= 4;
    return mask;
}

} // namespace VirtualKeys
