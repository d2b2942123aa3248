// The options dialog driven as an operator would, with its modal questions
// answered in advance: placement, the buzzer, colours, keys, texts,
// pictures, OK and Cancel.

#include "support/OptionsFixture.h"
#include "support/WavBytes.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QSpinBox>

#include "controls/CommandButton.h"
#include "controls/DigitSample.h"
#include "controls/Image.h"
#include "controls/PictureBox.h"
#include "scoreboard/frmScoreboard.h"
#include "settings/frmOptions.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTest>

using namespace Settings;

class Options : public OptionsFixture
{
protected:
    QString makeFile(const QString &name)
    {
        const QString path = dir.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        return path;
    }
    void click(QPushButton *button) { QTest::mouseClick(button, Qt::LeftButton); }
};

TEST_F(Options, ControlsStandWhereTheDesignPutsThem)
{
    frmOptions dialog;
    dialog.show();
    QApplication::processEvents();
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Options"));
    EXPECT_EQ(dialog.size(), QSize(418, 400));
    EXPECT_TRUE(dialog.cmdOk->isDefault());
    dialog.activateWindow();
    QApplication::processEvents();
    EXPECT_EQ(QApplication::focusWidget(), dialog.cmdOk) << "an activated dialog puts the focus on OK";

    const QStringList tabs = {QStringLiteral("Key Controls"), QStringLiteral("Color Controls"),
        QStringLiteral("Text Controls"), QStringLiteral("Pictures"), QStringLiteral("&Additional Settings"),
        QStringLiteral("Rules")};
    ASSERT_EQ(dialog.SSTab1->count(), tabs.size());
    for (int i = 0; i < tabs.size(); ++i)
        EXPECT_EQ(dialog.SSTab1->tabText(i), tabs[i]);

    // Twips inside the tab control, from its corner at (120, 120), tab strip included.
    const auto expectAt = [&dialog](QWidget *control, int left, int top, int width, int height) {
        EXPECT_EQ(control->mapTo(&dialog, QPoint(0, 0)), QPoint((120 + left) / 15, (120 + top) / 15))
            << control->objectName().toStdString();
        EXPECT_EQ(control->size(), QSize(width / 15, height / 15)) << control->objectName().toStdString();
    };
    expectAt(dialog.cmdStartStopPeriodClock, 360, 600, 1695, 495);
    expectAt(dialog.lblClear, 2040, 2100, 1335, 375);
    expectAt(dialog.optKeepOff, 3720 + 120, 720 + 960, 1695, 375);
    expectAt(dialog.cmdResetKeys, 4440, 4320, 1215, 375);
    // Off X11 (offscreen here, Wayland at a venue) the NumLock modes do
    // nothing, and a note under them says so, whole, between its neighbours.
    const QLabel *note = dialog.lblNumLockNote;
    EXPECT_TRUE(note->isVisible());
    EXPECT_LE(note->heightForWidth(note->width()), note->height()) << "the note is cut off";
    EXPECT_FALSE(note->geometry().intersects(dialog.fraNumLock->geometry()));
    EXPECT_FALSE(note->geometry().intersects(dialog.cmdResetKeys->geometry()));
    EXPECT_EQ(dialog.cmdOk->geometry(), QRect(1935 / 15, 5520 / 15, 1080 / 15, 375 / 15));
    // The tall key buttons wrap a caption wider than themselves, as is.
    auto *startStop = qobject_cast<CommandButton *>(dialog.cmdStartStopPeriodClock);
    ASSERT_NE(startStop, nullptr);
    EXPECT_EQ(startStop->text(), QStringLiteral("Start / Stop Contest Clock"));
    if (startStop->fontMetrics().horizontalAdvance(startStop->text()) > startStop->width()) {
        EXPECT_EQ(startStop->captionLineCount(), 2);
    }

    dialog.SSTab1->setCurrentIndex(4);
    QApplication::processEvents();
    expectAt(dialog.cmdBuzzerKey, 240 + 2760, 600 + 720, 1335, 495);
    EXPECT_EQ(dialog.txtTitleText->maxLength(), 25);
}

TEST_F(Options, BuzzerCaptionShortensLongPaths)
{
    const QString folder = dir.path() + QStringLiteral("/") + QString(60, QLatin1Char('d'));
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString longPath = folder + QStringLiteral("/horn.wav");
    EXPECT_EQ(frmOptions::buzzerCaption(longPath), longPath.left(25) + QStringLiteral(" ...\\"))
        << "a missing file shows no name";
    QFile(longPath).open(QIODevice::WriteOnly);
    EXPECT_EQ(frmOptions::buzzerCaption(longPath), longPath.left(25) + QStringLiteral(" ...\\horn.wav"));

    const QString fifty = QStringLiteral("/") + QString(49, QLatin1Char('x'));
    EXPECT_EQ(frmOptions::buzzerCaption(fifty), fifty);
    EXPECT_EQ(frmOptions::buzzerCaption(fifty + QLatin1Char('y')), fifty.left(25) + QStringLiteral(" ...\\"));
    EXPECT_EQ(frmOptions::buzzerCaption(QString()), QStringLiteral("[No File Selected]"));
}

TEST_F(Options, NoSoundThenANewSoundRestoresTheBuzzerKey)
{
    BuzzerKey = 67; // C
    frmOptions dialog;
    click(dialog.cmdBuzzerSoundNone);
    EXPECT_EQ(dialog.lblBFile->text(), QStringLiteral("[No File Selected]"));
    EXPECT_FALSE(dialog.cmdBuzzerSoundNone->isEnabled());
    EXPECT_FALSE(dialog.cmdBuzzerKey->isEnabled());
    EXPECT_FALSE(dialog.lblBuzzerKey->isEnabled());
    EXPECT_EQ(dialog.BuzzerKeyTemp, 32);
    EXPECT_EQ(dialog.lblBuzzerKey->text(), QString());

    // Cancelled, then a missing file: nothing changes.
    DialogAnswers::setNextFile(QString());
    click(dialog.cmdBuzzerSoundChange);
    DialogAnswers::setNextFile(dir.filePath(QStringLiteral("gone.wav")));
    click(dialog.cmdBuzzerSoundChange);
    EXPECT_EQ(dialog.BuzzTemp, QString());

    const QString horn = makeFile(QStringLiteral("horn.wav"));
    DialogAnswers::setNextFile(horn);
    click(dialog.cmdBuzzerSoundChange);
    EXPECT_EQ(dialog.lblBFile->text(), horn);
    EXPECT_TRUE(dialog.cmdBuzzerKey->isEnabled());
    EXPECT_EQ(dialog.lblBuzzerKey->text(), QStringLiteral("B"));
    EXPECT_EQ(dialog.cdColors.Filter, QStringLiteral("Sounds *.wav|*.wav"));
    EXPECT_EQ(CommonDialog::qtFilter(dialog.cdColors.Filter), QStringLiteral("Sounds *.wav (*.wav)"));

    // A key chosen while a sound is set is kept by the next sound.
    dialog.BuzzerKeyTemp = 67;
    DialogAnswers::setNextFile(horn);
    click(dialog.cmdBuzzerSoundChange);
    EXPECT_EQ(dialog.BuzzerKeyTemp, 67);
}

TEST_F(Options, ColourChoicesAndTheirReset)
{
    LEDSelectedWidth = 3;
    frmOptions dialog;
    EXPECT_EQ(dialog.lblLEDSelectedWidthValue->text(), QStringLiteral("3"));

    DialogAnswers::setNextColor(QColor(10, 20, 30));
    click(dialog.cmdTimeC);
    EXPECT_EQ(dialog.picTimeC->BackColor(), rgbColor(10, 20, 30));
    // Cancelling another chooser leaves that swatch alone.
    DialogAnswers::setNextColor(std::nullopt);
    click(dialog.cmdHoldC);
    EXPECT_EQ(dialog.picHoldC->BackColor(), HoldColor);

    dialog.scrLEDSelectedWidth->setValue(5);
    EXPECT_EQ(dialog.lblLEDSelectedWidthValue->text(), QStringLiteral("5"));

    DialogAnswers::setNextAnswer(false);
    click(dialog.cmdResetColors);
    EXPECT_EQ(dialog.picTimeC->BackColor(), rgbColor(10, 20, 30));

    DialogAnswers::setNextAnswer(true);
    click(dialog.cmdResetColors);
    EXPECT_EQ(dialog.picTimeC->BackColor(), 0x0080FF);
    EXPECT_EQ(dialog.scrLEDSelectedWidth->value(), 5) << "the bar itself is not moved";
    click(dialog.cmdOk);
    EXPECT_EQ(stored("ColorSettings", "LEDSelectedWidth"), QStringLiteral("0"));
    EXPECT_EQ(stored("ColorSettings", "TimeColor"), QStringLiteral("33023"));
    EXPECT_EQ(LEDSelectedWidth, 0);
}

TEST_F(Options, CancelKeepsNothing)
{
    frmOptions dialog;
    DialogAnswers::setNextColor(QColor(1, 2, 3));
    click(dialog.cmdBackC);
    dialog.txtTitleText->setText(QStringLiteral("Changed"));
    dialog.optKeepOff->setChecked(true);
    click(dialog.cmdBuzzerSoundNone);
    click(dialog.cmdCancel);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_FALSE(QFile::exists(SettingsStore::fileName()));
    EXPECT_EQ(FormBack, 4210752);
    EXPECT_EQ(TitleText, QStringLiteral("Home"));
    EXPECT_EQ(NumLockForce, 0);
    EXPECT_EQ(BuzzerKey, 66);
}

TEST_F(Options, TextBoxesTakeTwentyFiveAndTwentyCharacters)
{
    frmOptions dialog;
    dialog.show();
    const QString typed = QStringLiteral("abcdefghijklmnopqrstuvwxyz0123");
    for (QLineEdit *box : {dialog.txtTitleText, dialog.txtHomeText, dialog.txtVisitorText}) {
        box->clear();
        QTest::keyClicks(box, typed);
    }
    click(dialog.cmdOk);
    EXPECT_EQ(TitleText, typed.left(25));
    EXPECT_EQ(HomeText, typed.left(20));
    EXPECT_EQ(stored("TextSettings", "VisitorText"), typed.left(20));
}

TEST_F(Options, StoredTextsLongerThanTheBoxesAreKeptWholeUnlessShortened)
{
    TitleText = QStringLiteral("European Judo Championships Open 2026"); // 37 characters
    HomeText = QStringLiteral("TANAKA Hiroshi (JPN) Jr."); // 24
    VisitorText = QStringLiteral("ARGVELASHVILI Lasha (GEO)"); // 25
    const QString visitor = VisitorText;
    frmOptions dialog;
    dialog.show();
    EXPECT_EQ(dialog.txtTitleText->text(), TitleText) << "shown whole";
    // Typing does not lengthen a loaded long text; shortening it does not
    // let it grow back past the box's own limit of 20.
    QTest::keyClick(dialog.txtVisitorText, Qt::Key_End);
    QTest::keyClicks(dialog.txtVisitorText, QStringLiteral("xy"));
    EXPECT_EQ(dialog.txtVisitorText->text(), visitor);
    QTest::keyClick(dialog.txtVisitorText, Qt::Key_Backspace);
    QTest::keyClicks(dialog.txtVisitorText, QStringLiteral("!"));
    EXPECT_EQ(dialog.txtVisitorText->text(), visitor.chopped(1));
    dialog.txtHomeText->selectAll();
    QTest::keyClicks(dialog.txtHomeText, QStringLiteral("abcdefghijklmnopqrstuvwxyz"));
    EXPECT_EQ(dialog.txtHomeText->text(), QStringLiteral("abcdefghijklmnopqrst"));

    click(dialog.cmdOk);
    EXPECT_EQ(stored("TextSettings", "TitleText"), QStringLiteral("European Judo Championships Open 2026"));
    EXPECT_EQ(HomeText, QStringLiteral("abcdefghijklmnopqrst"));
    EXPECT_EQ(stored("TextSettings", "VisitorText"), visitor.chopped(1));
}

TEST_F(Options, OkWritesEveryKeyAndKeepsValuesItCannotShow)
{
    LEDType = 7;
    NumLockForce = 5;
    BuzzerKey = 999;
    frmOptions dialog;
    EXPECT_EQ(dialog.cmbLedType->currentIndex(), -1);
    EXPECT_FALSE(
        dialog.optNormal->isChecked() || dialog.optKeepOn->isChecked() || dialog.optKeepOff->isChecked());
    click(dialog.cmdOk);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(stored("PicSettings", "LEDType"), QStringLiteral("7"));
    EXPECT_EQ(stored("KeySettings", "NumLockForce"), QStringLiteral("5"));
    EXPECT_EQ(stored("KeySettings", "BuzzerKey"), QStringLiteral("999"));
    EXPECT_EQ(stored("KeySettings", "IsKeyCode"), QStringLiteral("Yes"));
    EXPECT_EQ(stored("KeySettings", "BuzzerFile"), defaultBuzzerFile());
    EXPECT_EQ(stored("PicSettings", "HomePic"), QString());
    EXPECT_EQ(stored("ColorSettings", "LEDSelected"), QStringLiteral("4210752"));
    EXPECT_TRUE(DialogAnswers::warnings().isEmpty());

    // Dots selected, Keep Numlock Off chosen: both stored.
    frmOptions again;
    again.cmbLedType->setCurrentIndex(1);
    EXPECT_EQ(again.pledPreview->LedType(), 1);
    again.optKeepOff->setChecked(true);
    click(again.cmdOk);
    EXPECT_EQ(LEDType, 1);
    EXPECT_EQ(stored("KeySettings", "NumLockForce"), QStringLiteral("2"));
}

TEST_F(Options, AStoreThatCannotBeWrittenIsReported)
{
    // A store path beneath a plain file cannot be created, even by root.
    const QString blocker = makeFile(QStringLiteral("blocker"));
    SettingsStore::useFile(blocker + QStringLiteral("/Zembrak.conf"));
    frmOptions dialog;
    dialog.txtTitleText->setText(QStringLiteral("Final"));
    DialogAnswers::setNextAnswer(true); // the warning's OK
    click(dialog.cmdOk);
    ASSERT_EQ(DialogAnswers::warnings().size(), 1);
    EXPECT_TRUE(DialogAnswers::warnings().first().contains(blocker));
    EXPECT_EQ(TitleText, QStringLiteral("Final")) << "the board still gets the change for this run";
}

TEST_F(Options, PicturesChangeAndClear)
{
    QImage picture(40, 20, QImage::Format_RGB32);
    picture.fill(Qt::red);
    const QString photo = dir.filePath(QStringLiteral("judoka.bmp"));
    ASSERT_TRUE(picture.save(photo));

    frmOptions dialog;
    DialogAnswers::setNextFile(photo);
    click(dialog.cmdChangeHomePic);
    EXPECT_EQ(dialog.HomePicTemp, photo);
    EXPECT_FALSE(dialog.imgHomePicPreview->Picture().isNull());
    EXPECT_TRUE(dialog.cdColors.FileMustExist);

    DialogAnswers::setNextFile(QString());
    click(dialog.cmdChangeHomePic);
    EXPECT_EQ(dialog.HomePicTemp, photo) << "a cancelled chooser changes nothing";

    click(dialog.cmdClearHomePic);
    EXPECT_TRUE(dialog.HomePicTemp.isEmpty());
    EXPECT_TRUE(dialog.imgHomePicPreview->Picture().isNull());
}

TEST_F(Options, RebindingReachesTheBoardsDispatcher)
{
    frmScoreboard board;
    frmOptions dialog(&board);
    // R is refused (the reset key), then T is taken.
    DialogAnswers::setNextKeys({82, 84});
    click(dialog.cmdStartStopPeriodClock);
    EXPECT_EQ(dialog.lblStartStopPeriodClock->text(), QStringLiteral("T"));
    // A chooser closed without a key leaves the binding.
    DialogAnswers::setNextKeys({});
    click(dialog.cmdStartStopPeriodClock);
    EXPECT_EQ(dialog.StartStopPeriodClockKeyTemp, 84);

    DialogAnswers::setNextAnswer(false);
    click(dialog.cmdResetKeys);
    EXPECT_EQ(dialog.StartStopPeriodClockKeyTemp, 84);
    click(dialog.cmdOk);

    board.AllKeyCode(83);
    EXPECT_FALSE(board.tkPeriod->Running()) << "S no longer starts the clock";
    board.AllKeyCode(84);
    EXPECT_TRUE(board.tkPeriod->Running());
    EXPECT_EQ(stored("KeySettings", "StartStopPeriodClockKey"), QStringLiteral("84"));
}

// The Rules tab: a built-in set shows its values but keeps them; the Custom
// set starts from a copy and stores what the operator edits; OK stores the
// choice with the rest, Cancel nothing.
TEST_F(Options, RulesTabChoosesASetAndEditsOnlyCustom)
{
    {
        frmOptions dialog;
        EXPECT_EQ(dialog.cmbRuleSet->currentText(), QStringLiteral("Design"));
        EXPECT_EQ(dialog.cmbRuleSet->itemText(1), QStringLiteral("IJF 2025")) << "first after Design";
        dialog.cmbRuleSet->setCurrentIndex(3);
        EXPECT_EQ(dialog.cmbRuleSet->currentText(), QStringLiteral("IJF 2018"));
        EXPECT_EQ(dialog.spnIpponHold->value(), 20);
        EXPECT_FALSE(dialog.fraRuleValues->isEnabled()) << "IJF 2018 is not to be edited";
        dialog.cmdCancel->click();
    }
    EXPECT_EQ(Settings::RuleSet, QStringLiteral("design"));

    frmOptions dialog;
    dialog.cmbRuleSet->setCurrentIndex(2); // Classic
    dialog.cmdCopyToCustom->click();
    EXPECT_EQ(dialog.cmbRuleSet->currentText(), QStringLiteral("Custom"));
    EXPECT_TRUE(dialog.fraRuleValues->isEnabled());
    EXPECT_EQ(dialog.spnKokaHold->value(), 10) << "a copy of Classic";
    dialog.spnIpponHold->setValue(30);
    dialog.spnShidoLimit->setValue(2);
    dialog.cmdOk->click();

    EXPECT_EQ(Settings::RuleSet, QStringLiteral("custom"));
    const Rules::RuleSet custom = Settings::rules();
    EXPECT_EQ(custom.kokaAt, 10);
    EXPECT_EQ(custom.ipponAt, 30);
    EXPECT_EQ(custom.shidoLimit, 2);
    EXPECT_EQ(stored("RuleSettings", "RuleSet"), QStringLiteral("custom"));
    EXPECT_EQ(stored("RuleSettings", "CustomIpponHold"), QStringLiteral("30"));
}

// A set given on the command line is the one the tab shows; OK stores it,
// Cancel leaves the stored one. IJF 2025 copies to Custom with its own
// golden-score hold.
TEST_F(Options, RulesTabShowsTheSetInForceAndCopiesIjf2025)
{
    Settings::RuleSetInForce = QStringLiteral("ijf2018");
    {
        frmOptions dialog;
        EXPECT_EQ(dialog.cmbRuleSet->currentText(), QStringLiteral("IJF 2018"));
        dialog.cmdCancel->click();
    }
    EXPECT_EQ(Settings::RuleSet, QStringLiteral("design"));

    frmOptions dialog;
    dialog.cmbRuleSet->setCurrentIndex(1);
    EXPECT_EQ(dialog.spnYukoHold->value(), 5);
    EXPECT_TRUE(dialog.chkHoldEndsGoldenScore->isChecked());
    dialog.cmdCopyToCustom->click();
    EXPECT_TRUE(dialog.chkHoldEndsGoldenScore->isEnabled());
    dialog.cmdOk->click();
    EXPECT_EQ(Settings::RuleSet, QStringLiteral("custom"));
    EXPECT_TRUE(Settings::customRules().holdEndsGoldenScore);
    EXPECT_EQ(Settings::customRules().yukoAt, 5);
    EXPECT_EQ(stored("RuleSettings", "CustomHoldEndsGoldenScore"), QStringLiteral("1"));
}

TEST_F(Options, RulesTabKeepsJudoShiaisServerTatamiAndConnect)
{
    {
        frmOptions dialog;
        EXPECT_TRUE(dialog.txtJudoShiaiServer->text().isEmpty());
        EXPECT_EQ(dialog.spnTatami->value(), 1);
        EXPECT_FALSE(dialog.chkJudoShiaiConnect->isChecked());
        dialog.txtJudoShiaiServer->setText(QStringLiteral(" 10.0.0.5:2311 "));
        dialog.spnTatami->setValue(25); // held to 20
        dialog.chkJudoShiaiConnect->setChecked(true);
        dialog.cmdOk->click();
    }
    EXPECT_EQ(Settings::JudoShiaiServer, QStringLiteral("10.0.0.5:2311"));
    EXPECT_EQ(Settings::JudoShiaiTatami, 20);
    EXPECT_EQ(Settings::JudoShiaiConnect, 1);
    EXPECT_EQ(stored("TournamentSettings", "JudoShiaiServer"), QStringLiteral("10.0.0.5:2311"));

    frmOptions again;
    EXPECT_EQ(again.txtJudoShiaiServer->text(), QStringLiteral("10.0.0.5:2311"));
    EXPECT_EQ(again.spnTatami->value(), 20);
    EXPECT_TRUE(again.chkJudoShiaiConnect->isChecked());
    again.chkJudoShiaiConnect->setChecked(false);
    again.cmdCancel->click();
    EXPECT_EQ(Settings::JudoShiaiConnect, 1) << "Cancel keeps the link";
}

TEST_F(Options, AWarningNamesWhyTheChosenSoundWillBeSilent)
{
    BuzzerFile = dir.filePath(QStringLiteral("gone.wav"));
    frmOptions dialog;
    EXPECT_EQ(dialog.lblBFileWarning->text(),
        QStringLiteral("The buzzer will be silent: the file does not exist."));

    QFile slow(dir.filePath(QStringLiteral("slow.wav")));
    ASSERT_TRUE(slow.open(QIODevice::WriteOnly));
    slow.write(WavBytes::toneWav(WavBytes::Pcm, 1, 20, 16, 20));
    slow.close();
    DialogAnswers::setNextFile(slow.fileName());
    click(dialog.cmdBuzzerSoundChange);
    EXPECT_EQ(dialog.lblBFileWarning->text(),
        QStringLiteral("The buzzer will be silent: its sample rate of 20 Hz cannot be played."));

    click(dialog.cmdBuzzerSoundNone);
    EXPECT_EQ(dialog.lblBFileWarning->text(), QString()) << "no sound chosen is no fault";
    DialogAnswers::setNextFile(defaultBuzzerFile());
    click(dialog.cmdBuzzerSoundChange);
    EXPECT_EQ(dialog.lblBFileWarning->text(), QString());
}
