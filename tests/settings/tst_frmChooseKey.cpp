// The key chooser's accept and refuse rules, the key-name table, and keys
// pressed on the real window.

#include "support/OptionsFixture.h"

#include "settings/frmChooseKey.h"
#include "settings/frmOptions.h"

#include <QLabel>
#include <QTest>

class ChooseKey : public OptionsFixture
{
};

TEST_F(ChooseKey, KeyCodeToStrNamesExactlyTheBindableKeys)
{
    QMap<int, QString> names = {{8, "Backspace"}, {13, "Enter"}, {17, "Ctrl"}, {19, "Pause/Break"},
        {33, "Page Up"}, {34, "Page Down"}, {35, "End"}, {36, "Home"}, {45, "Insert"}, {46, "Delete"},
        {106, "Numpad *"}, {111, "Numpad /"}, {186, ";"}, {188, ","}, {190, "."}, {191, "/"}, {192, "`"},
        {219, "["}, {220, "\\"}, {221, "]"}, {222, "\""}};
    for (int letter = 65; letter <= 90; ++letter)
        names[letter] = QString(QChar(letter));
    for (int f = 3; f <= 12; ++f)
        names[111 + f] = QStringLiteral("F%1").arg(f);
    for (int code = -5; code < 300; ++code)
        EXPECT_EQ(frmOptions::KeyCodeToStr(qint16(code)), names.value(code)) << "key " << code;
}

TEST_F(ChooseKey, RefusesUnnamedBoundAndBoardKeys)
{
    frmOptions options;
    ChooseKeyCurrent = options.StartStopPeriodClockKeyTemp; // S
    frmChooseKey chooser(&options);
    EXPECT_TRUE(chooser.accepts(83)) << "the key the command has now";
    EXPECT_FALSE(chooser.accepts(82)) << "R is the reset key";
    EXPECT_FALSE(chooser.accepts(78)) << "N is the next-match key";
    EXPECT_TRUE(chooser.accepts(84));
    EXPECT_TRUE(chooser.accepts(17)) << "Ctrl";
    EXPECT_TRUE(chooser.accepts(123)) << "F12";
    for (qint16 refused : {112, 113, 48, 57, 32, 37, 38, 39, 40, 27, 16, 18, 9, 96, 107, 187, 189, 0})
        EXPECT_FALSE(chooser.accepts(refused)) << "key " << refused;

    // A binding made in this opening, not yet confirmed, already counts.
    options.ClearKeyTemp = 84;
    EXPECT_FALSE(chooser.accepts(84));

    // With no sound the buzzer key is the space bar, which it may keep.
    options.BuzzerKeyTemp = 32;
    ChooseKeyCurrent = 32;
    EXPECT_TRUE(chooser.accepts(32));
}

TEST_F(ChooseKey, KeysPressedOnTheWindow)
{
    frmOptions options;
    ChooseKeyPurpose = QStringLiteral("sound the buzzer");
    ChooseKeyCurrent = options.BuzzerKeyTemp;
    frmChooseKey chooser(&options);
    EXPECT_EQ(chooser.windowTitle(), QStringLiteral("Choose Key"));
    EXPECT_EQ(chooser.lblChoose->text(), QStringLiteral("Press the key you would like to sound the buzzer."));
    chooser.show();
    QApplication::processEvents();

    for (Qt::Key key : {Qt::Key_R, Qt::Key_Escape, Qt::Key_Tab, Qt::Key_F2, Qt::Key_5}) {
        QTest::keyClick(&chooser, key);
        EXPECT_TRUE(chooser.isVisible()) << "key " << key;
        EXPECT_FALSE(chooser.lblUsed->isHidden());
        EXPECT_EQ(ChosenKey, QStringLiteral("0"));
    }
    QTest::keyClick(&chooser, Qt::Key_T, Qt::ShiftModifier);
    EXPECT_EQ(ChosenKey, QStringLiteral("84")) << "Shift with a letter binds the plain letter";
    EXPECT_TRUE(chooser.lblUsed->isHidden());
    EXPECT_FALSE(chooser.isVisible());
    EXPECT_EQ(chooser.result(), QDialog::Accepted);

    // A new opening starts over; closing it without a key chooses nothing.
    frmChooseKey again(&options);
    EXPECT_EQ(ChosenKey, QStringLiteral("0"));
    EXPECT_TRUE(again.lblUsed->isHidden());
}

TEST_F(ChooseKey, PromptAndMessageFitTheirBoxes)
{
    frmOptions options;
    for (const char *purpose :
        {"start / stop the contest clock", "reset the contest clock", "clear a number", "sound the buzzer"}) {
        ChooseKeyPurpose = QLatin1String(purpose);
        const frmChooseKey chooser(&options);
        for (const QLabel *label : {chooser.lblChoose, chooser.lblUsed}) {
            const QRect needed =
                label->fontMetrics().boundingRect(label->rect(), Qt::TextWordWrap, label->text());
            EXPECT_LE(needed.height(), label->height()) << purpose << ": " << label->text().toStdString();
            EXPECT_LE(needed.width(), label->width()) << purpose;
            // Smaller than designed only where the designed size would cut it.
            QFont designed = label->font();
            designed.setPointSizeF(18);
            const bool fitsDesigned = QFontMetrics(designed)
                                          .boundingRect(label->rect(), Qt::TextWordWrap, label->text())
                                          .height() <= label->height();
            EXPECT_EQ(label->font().pointSizeF() == 18, fitsDesigned) << purpose;
        }
    }
}
