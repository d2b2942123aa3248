// Qt keys to the board's virtual-key codes.

#include "platform/VirtualKeys.h"

#include <QList>

#include <gtest/gtest.h>

using VirtualKeys::fromQtKey;

TEST(VirtualKeys, MainKeys)
{
    const QList<QPair<int, int>> table = {{Qt::Key_A, 65}, {Qt::Key_S, 83}, {Qt::Key_Z, 90}, {Qt::Key_0, 48},
        {Qt::Key_9, 57}, {Qt::Key_Exclam, 49}, {Qt::Key_ParenRight, 48}, {Qt::Key_Asterisk, 56},
        {Qt::Key_Return, 13}, {Qt::Key_Enter, 13}, {Qt::Key_Space, 32}, {Qt::Key_Backspace, 8},
        {Qt::Key_Tab, 9}, {Qt::Key_Escape, 27}, {Qt::Key_Shift, 16}, {Qt::Key_Control, 17}, {Qt::Key_Alt, 18},
        {Qt::Key_Pause, 19}, {Qt::Key_PageUp, 33}, {Qt::Key_PageDown, 34}, {Qt::Key_End, 35},
        {Qt::Key_Home, 36}, {Qt::Key_Left, 37}, {Qt::Key_Up, 38}, {Qt::Key_Right, 39}, {Qt::Key_Down, 40},
        {Qt::Key_Insert, 45}, {Qt::Key_Delete, 46}, {Qt::Key_F1, 112}, {Qt::Key_F2, 113}, {Qt::Key_F12, 123},
        {Qt::Key_NumLock, 144}, {Qt::Key_Semicolon, 186}, {Qt::Key_Colon, 186}, {Qt::Key_Equal, 187},
        {Qt::Key_Plus, 187}, {Qt::Key_Comma, 188}, {Qt::Key_Minus, 189}, {Qt::Key_Underscore, 189},
        {Qt::Key_Period, 190}, {Qt::Key_Slash, 191}, {Qt::Key_QuoteLeft, 192}, {Qt::Key_BracketLeft, 219},
        {Qt::Key_Backslash, 220}, {Qt::Key_BracketRight, 221}, {Qt::Key_Apostrophe, 222},
        {Qt::Key_QuoteDbl, 222}, {Qt::Key_MediaPlay, 0}, {Qt::Key_CapsLock, 20}, {Qt::Key_ScrollLock, 145},
        {Qt::Key_Print, 44}, {Qt::Key_SysReq, 44}, {Qt::Key_Super_L, 91}, {Qt::Key_Meta, 91},
        {Qt::Key_Super_R, 92}, {Qt::Key_Menu, 93}, {Qt::Key_F13, 124}, {Qt::Key_F24, 135}, {Qt::Key_F25, 0}};
    for (const auto &[key, code] : table)
        EXPECT_EQ(fromQtKey(key, Qt::NoModifier), code) << "Qt key " << std::hex << key;
}

TEST(VirtualKeys, KeypadWithAndWithoutNumLock)
{
    const auto pad = Qt::KeypadModifier;
    EXPECT_EQ(fromQtKey(Qt::Key_0, pad), 96);
    EXPECT_EQ(fromQtKey(Qt::Key_7, pad), 103);
    EXPECT_EQ(fromQtKey(Qt::Key_9, pad), 105);
    EXPECT_EQ(fromQtKey(Qt::Key_Asterisk, pad), 106);
    EXPECT_EQ(fromQtKey(Qt::Key_Plus, pad), 107);
    EXPECT_EQ(fromQtKey(Qt::Key_Minus, pad), 109);
    EXPECT_EQ(fromQtKey(Qt::Key_Period, pad), 110);
    EXPECT_EQ(fromQtKey(Qt::Key_Slash, pad), 111);
    EXPECT_EQ(fromQtKey(Qt::Key_Enter, pad), 13);
    // NumLock off: the keypad reports navigation keys.
    EXPECT_EQ(fromQtKey(Qt::Key_Home, pad), 36);
    EXPECT_EQ(fromQtKey(Qt::Key_Up, pad), 38);
    EXPECT_EQ(fromQtKey(Qt::Key_Insert, pad), 45);
    EXPECT_EQ(fromQtKey(Qt::Key_Delete, pad), 46);
    EXPECT_EQ(fromQtKey(Qt::Key_Clear, pad), 12);
}

TEST(VirtualKeys, DigitRowByPhysicalKey)
{
    EXPECT_EQ(VirtualKeys::fromX11DigitRow(10), 49);
    EXPECT_EQ(VirtualKeys::fromX11DigitRow(18), 57);
    EXPECT_EQ(VirtualKeys::fromX11DigitRow(19), 48);
    EXPECT_EQ(VirtualKeys::fromX11DigitRow(9), 0); // Escape
    EXPECT_EQ(VirtualKeys::fromX11DigitRow(20), 0); // the minus key
    EXPECT_EQ(VirtualKeys::fromX11DigitRow(87), 0); // keypad 1

    // Native Wayland gives the same key codes as X11; other platforms do not.
    for (const char *platform : {"xcb", "wayland", "wayland-egl"})
        EXPECT_TRUE(VirtualKeys::scanCodesAreX11(QString::fromLatin1(platform))) << platform;
    for (const char *platform : {"offscreen", "minimal", "eglfs", "waylandish", ""})
        EXPECT_FALSE(VirtualKeys::scanCodesAreX11(QString::fromLatin1(platform))) << platform;
}

TEST(VirtualKeys, PunctuationByPhysicalKey)
{
    // X key codes of a pc105 keyboard, named by what a US layout prints on them;
    // on a German layout the same keys print ß ´ ü + ö ä ^ # , . -.
    const QList<QPair<quint32, int>> table = {{20, 189}, {21, 187}, {34, 219}, {35, 221}, {47, 186},
        {48, 222}, {49, 192}, {51, 220}, {59, 188}, {60, 190}, {61, 191}, {19, 0}, {38, 0}, {94, 0}, {82, 0}};
    for (const auto &[keycode, code] : table)
        EXPECT_EQ(VirtualKeys::fromX11Punctuation(keycode), code) << "X key code " << keycode;
}

TEST(VirtualKeys, ShiftMask)
{
    EXPECT_EQ(VirtualKeys::shiftMask(Qt::NoModifier), 0);
    EXPECT_EQ(VirtualKeys::shiftMask(Qt::ShiftModifier | Qt::AltModifier), 5);
    EXPECT_EQ(VirtualKeys::shiftMask(Qt::ControlModifier | Qt::KeypadModifier), 2);
}
