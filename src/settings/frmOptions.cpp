#include "settings/frmOptions.h"

#include "controls/CommandButton.h"
#include "controls/DigitSample.h"
#include "controls/Image.h"
#include "controls/OleColorConvert.h"
#include "controls/PictureBox.h"
#include "modules/Val.h"
#include "modules/modGrabKeys.h"
#include "platform/KeyboardLock.h"
#include "platform/SoundCheck.h"
#include "settings/DialogAnswers.h"
#include "settings/SettingsStore.h"
#include "settings/SettingsVariables.h"
#include "settings/frmChooseKey.h"

#include <QComboBox>
#include <QEvent>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTabBar>
#include <QTabWidget>

#include <algorithm>

namespace {

int px(int twips)
{
    return qRound(twips / double(TwipsPerPixel));
}

QRect twipsRect(int left, int top, int width, int height)
{
    return QRect(px(left), px(top), px(width), px(height));
}

template<typename T>
T *named(T *control, const char *name)
{
    control->setObjectName(QLatin1String(name));
    return control;
}

template<typename T>
T *at(T *control, int left, int top, int width, int height)
{
    control->setGeometry(twipsRect(left, top, width, height));
    return control;
}

QPushButton *button(QWidget *parent, const char *name, const QString &caption)
{
    return named(new CommandButton(caption, parent), name);
}

QGroupBox *frame(QWidget *parent, const char *name, const QString &caption)
{
    return named(new QGroupBox(caption, parent), name);
}

// A framed, centred label that shows a key name.
QLabel *keyLabel(QWidget *parent, const char *name)
{
    auto *label = named(new QLabel(parent), name);
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setAlignment(Qt::AlignCenter);
    return label;
}

// Fills a text box with a stored text whole, even one longer than the box
// lets the operator type: OK without an edit stores it as it was.
void showWhole(QLineEdit *box, const QString &text)
{
    box->setMaxLength(std::max(box->maxLength(), int(text.size())));
    box->setText(text);
}

QFont arial(double points)
{
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(points);
    return font;
}

const QString NoFileCaption = QStringLiteral("[No File Selected]");
constexpr qsizetype LongestWholePath = 50;
constexpr qsizetype ShortenedPrefix = 25;

} // namespace

frmOptions::frmOptions(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmOptions"));
    setWindowTitle(QStringLiteral("Options"));
    setModal(true);
    setFixedSize(px(6270), px(6000));
    // The design's captions were laid out for a small 8-point dialog font.
    QFont small = font();
    small.setPointSizeF(7.5);
    setFont(small);

    SSTab1 = at(named(new QTabWidget(this), "SSTab1"), 120, 120, 6015, 5295);
    // All five tabs show at once, sharing the strip, rather than scrolling.
    SSTab1->setUsesScrollButtons(false);
    SSTab1->tabBar()->setExpanding(true);
    SSTab1->tabBar()->setStyleSheet(QStringLiteral("QTabBar::tab { padding: 3px 4px; }"));
    cmdOk = at(button(this, "cmdOk", QStringLiteral("&Ok")), 1935, 5520, 1080, 375);
    cmdOk->setDefault(true);
    cmdCancel = at(button(this, "cmdCancel", QStringLiteral("&Cancel")), 3255, 5520, 1080, 375);

    createKeyTab();
    createColorTab();
    createTextTab();
    createPictureTab();
    createAdditionalTab();
    createRulesTab();

    connect(cmdOk, &QPushButton::clicked, this, &frmOptions::cmdOk_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);

    Form_Load();
}

frmOptions::~frmOptions() = default;

QWidget *frmOptions::addTab(const QString &title)
{
    auto *page = new QWidget;
    SSTab1->addTab(page, title);
    return page;
}

template<typename T>
T *frmOptions::onTab(QWidget *page, T *control, int left, int top, int width, int height)
{
    control->setParent(page);
    m_tabControls.append({control, twipsRect(left, top, width, height)});
    return control;
}

void frmOptions::placeTabControls()
{
    // A QTabWidget page starts below its tab strip; the design measures from
    // the tab control's corner, so the page's own offset is taken off.
    QWidget *page = SSTab1->currentWidget();
    const QPoint offset = page ? page->mapTo(SSTab1, QPoint(0, 0)) : QPoint();
    for (const auto &[control, rect] : std::as_const(m_tabControls))
        control->setGeometry(rect.translated(-offset));
}

void frmOptions::createKeyTab()
{
    QWidget *page = addTab(QStringLiteral("Key Controls"));
    cmdStartStopPeriodClock =
        onTab(page, button(page, "cmdStartStopPeriodClock", QStringLiteral("Start / Stop Contest Clock")),
            360, 600, 1695, 495);
    lblStartStopPeriodClock = onTab(page, keyLabel(page, "lblStartStopPeriodClock"), 2040, 660, 1335, 375);
    cmdResetPeriodClock = onTab(page,
        button(page, "cmdResetPeriodClock", QStringLiteral("Reset Contest Clock")), 360, 1320, 1695, 495);
    lblResetPeriodClock = onTab(page, keyLabel(page, "lblResetPeriodClock"), 2040, 1380, 1335, 375);
    cmdClearKey =
        onTab(page, button(page, "cmdClearKey", QStringLiteral("# Clear Key")), 360, 2040, 1695, 495);
    lblClear = onTab(page, keyLabel(page, "lblClear"), 2040, 2100, 1335, 375);
    cmdNextMatchKey = onTab(
        page, button(page, "cmdNextMatchKey", QStringLiteral("Next Match")), 360, 2760, 1695, 495);
    lblNextMatchKey = onTab(page, keyLabel(page, "lblNextMatchKey"), 2040, 2820, 1335, 375);

    fraNumLock =
        onTab(page, frame(page, "fraNumLock", QStringLiteral("Numlock Options:")), 3720, 720, 1935, 1455);
    optNormal = at(
        named(new QRadioButton(QStringLiteral("Normal Mode"), fraNumLock), "optNormal"), 120, 240, 1695, 375);
    optKeepOn = at(named(new QRadioButton(QStringLiteral("Keep Numlock On"), fraNumLock), "optKeepOn"), 120,
        600, 1695, 375);
    optKeepOff = at(named(new QRadioButton(QStringLiteral("Keep Numlock Off"), fraNumLock), "optKeepOff"),
        120, 960, 1695, 375);
    // Off X11 (a Wayland session) no program may set the lock.
    lblNumLockNote = onTab(page,
        named(new QLabel(QStringLiteral("This session is not X11: NumLock cannot be set from here, so "
                                        "these modes do nothing."),
                  page),
            "lblNumLockNote"),
        3720, 2280, 1935, 855);
    lblNumLockNote->setWordWrap(true);
    lblNumLockNote->setVisible(!KeyboardLock::canSetNumLock());
    cmdResetKeys =
        onTab(page, button(page, "cmdResetKeys", QStringLiteral("Reset Keys")), 4440, 4320, 1215, 375);

    connect(cmdStartStopPeriodClock, &QPushButton::clicked, this, [this] {
        chooseKey(QStringLiteral("start / stop the contest clock"), StartStopPeriodClockKeyTemp,
            lblStartStopPeriodClock);
    });
    connect(cmdResetPeriodClock, &QPushButton::clicked, this, [this] {
        chooseKey(QStringLiteral("reset the contest clock"), ResetPeriodClockKeyTemp, lblResetPeriodClock);
    });
    connect(cmdClearKey, &QPushButton::clicked, this,
        [this] { chooseKey(QStringLiteral("clear a number"), ClearKeyTemp, lblClear); });
    connect(cmdNextMatchKey, &QPushButton::clicked, this,
        [this] { chooseKey(QStringLiteral("load the next match"), NextMatchKeyTemp, lblNextMatchKey); });
    connect(cmdResetKeys, &QPushButton::clicked, this, &frmOptions::resetKeys);
}

void frmOptions::createColorTab()
{
    QWidget *page = addTab(QStringLiteral("Color Controls"));
    struct Row
    {
        const char *frameName;
        QString caption;
        int left, top, height;
        const char *buttonName;
        const char *swatchName;
        QPushButton *&button;
        PictureBox *&swatch;
    };
    const Row rows[] = {
        {"frmBackColor", QStringLiteral("Back Color:"), 360, 720, 735, "cmdBackC", "picBackC", cmdBackC,
            picBackC},
        {"fraLedBack", QStringLiteral("LED Background:"), 2160, 720, 735, "cmdLEDB", "picLEDB", cmdLEDB,
            picLEDB},
        {"frmBorderColor", QStringLiteral("Border Color:"), 3960, 720, 735, "cmdBorderC", "picBorderC",
            cmdBorderC, picBorderC},
        {"frmScoreColor", QStringLiteral("Score Color:"), 360, 1920, 735, "cmdScoreC", "picScoreC", cmdScoreC,
            picScoreC},
        {"frmHoldColor", QStringLiteral("Hold Color:"), 2160, 1920, 735, "cmdHoldC", "picHoldC", cmdHoldC,
            picHoldC},
        {"fraTimeFore", QStringLiteral("Time Color:"), 3960, 1920, 735, "cmdTimeC", "picTimeC", cmdTimeC,
            picTimeC},
        {"fraLedSelected", QStringLiteral("LED Selected"), 2160, 3000, 1095, "cmdLedSelected",
            "picLedSelected", cmdLedSelected, picLedSelected},
    };
    QGroupBox *selectedFrame = nullptr;
    for (const Row &row : rows) {
        QGroupBox *box =
            onTab(page, frame(page, row.frameName, row.caption), row.left, row.top, 1695, row.height);
        row.swatch = named(new PictureBox(box), row.swatchName);
        row.swatch->setFocusable(false);
        row.swatch->setTwipsGeometry(120, 240, 615, 375);
        row.button = at(button(box, row.buttonName, QStringLiteral("Change")), 840, 240, 735, 375);
        PictureBox *swatch = row.swatch;
        connect(row.button, &QPushButton::clicked, this, [this, swatch] { chooseColor(swatch); });
        selectedFrame = box;
    }

    lblLEDSelectedWidth =
        at(named(new QLabel(QStringLiteral("Width:"), selectedFrame), "lblLEDSelectedWidth"), 120, 720, 615,
            255);
    lblLEDSelectedWidth->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lblLEDSelectedWidthValue =
        at(named(new QLabel(QStringLiteral("0"), selectedFrame), "lblLEDSelectedWidthValue"), 840, 720, 375,
            255);
    lblLEDSelectedWidthValue->setFrameStyle(QFrame::Box | QFrame::Plain);
    lblLEDSelectedWidthValue->setAlignment(Qt::AlignCenter);
    lblLEDSelectedWidthValue->setStyleSheet(QStringLiteral("background-color: white; color: black"));
    scrLEDSelectedWidth =
        at(named(new QScrollBar(Qt::Vertical, selectedFrame), "scrLEDSelectedWidth"), 1200, 720, 255, 255);
    scrLEDSelectedWidth->setRange(0, 5);
    scrLEDSelectedWidth->setPageStep(1);
    connect(scrLEDSelectedWidth, &QScrollBar::valueChanged, this,
        [this](int value) { lblLEDSelectedWidthValue->setText(QString::number(value)); });

    cmdResetColors =
        onTab(page, button(page, "cmdResetColors", QStringLiteral("Reset Colors")), 4440, 4320, 1215, 375);
    connect(cmdResetColors, &QPushButton::clicked, this, &frmOptions::resetColors);
}

void frmOptions::createTextTab()
{
    QWidget *page = addTab(QStringLiteral("Text Controls"));
    struct Row
    {
        QString caption;
        int top;
        const char *name;
        QString designText;
        int maxLength;
        QLineEdit *&box;
    };
    const Row rows[] = {
        {QStringLiteral("Board Name:"), 660, "txtTitleText", QStringLiteral("Home"), 25, txtTitleText},
        {QStringLiteral("Home Name:"), 1800, "txtHomeText", QStringLiteral("Home"), 20, txtHomeText},
        {QStringLiteral("Visitor Name:"), 3000, "txtVisitorText", QStringLiteral("Visitor"), 20,
            txtVisitorText},
    };
    for (const Row &row : rows) {
        QGroupBox *box = onTab(page, new QGroupBox(row.caption, page), 645, row.top, 4815, 975);
        box->setFont(arial(12));
        row.box = at(named(new QLineEdit(row.designText, box), row.name), 120, 360, 4575, 435);
        row.box->setFont(arial(15.75));
        row.box->setAlignment(Qt::AlignCenter);
        row.box->setMaxLength(row.maxLength);
        // The limit is on typing: a longer loaded text may be shortened but
        // not lengthened, and is kept whole until then.
        QLineEdit *edit = row.box;
        const int limit = row.maxLength;
        connect(edit, &QLineEdit::textEdited, edit,
            [edit, limit] { edit->setMaxLength(std::max(limit, int(edit->text().size()))); });
    }
}

void frmOptions::createPictureTab()
{
    QWidget *page = addTab(QStringLiteral("Pictures"));
    struct Side
    {
        QString caption;
        int left;
        const char *containerName, *imageName, *changeName, *clearName;
        PictureBox *&container;
        Image *&image;
        QPushButton *&change;
        QPushButton *&clear;
        QString &workingCopy;
    };
    const Side sides[] = {
        {QStringLiteral("Home Picture"), 360, "picHomePicPreviewCon", "imgHomePicPreview", "cmdChangeHomePic",
            "cmdClearHomePic", picHomePicPreviewCon, imgHomePicPreview, cmdChangeHomePic, cmdClearHomePic,
            HomePicTemp},
        {QStringLiteral("Visitor Picture"), 3120, "picVisitorPicPreviewCon", "imgVisitorPicPreview",
            "cmdChangeVisitorPic", "cmdClearVisitorPic", picVisitorPicPreviewCon, imgVisitorPicPreview,
            cmdChangeVisitorPic, cmdClearVisitorPic, VisitorPicTemp},
    };
    for (const Side &side : sides) {
        QGroupBox *box = onTab(page, new QGroupBox(side.caption, page), side.left, 660, 2415, 1575);
        side.container = named(new PictureBox(box), side.containerName);
        side.container->setFocusable(false);
        side.container->setTwipsGeometry(120, 240, 1215, 1215);
        side.image = named(new Image(side.container), side.imageName);
        side.image->setTwipsGeometry(0, 0, 900, 900);
        side.change = at(button(box, side.changeName, QStringLiteral("Change")), 1440, 360, 855, 375);
        side.clear = at(button(box, side.clearName, QStringLiteral("Clear")), 1440, 840, 855, 375);
        QString *copy = &side.workingCopy;
        Image *image = side.image;
        PictureBox *container = side.container;
        connect(side.change, &QPushButton::clicked, this,
            [this, copy, image, container] { choosePicture(*copy, image, container); });
        connect(side.clear, &QPushButton::clicked, this, [this, copy, image] { clearPicture(*copy, image); });
    }

    QGroupBox *digitFrame =
        onTab(page, new QGroupBox(QStringLiteral("Digit Type:"), page), 1928, 2640, 2415, 1575);
    cmbLedType = at(named(new QComboBox(digitFrame), "cmbLedType"), 120, 600, 1335, 315);
    cmbLedType->addItems({QStringLiteral("Lines"), QStringLiteral("Dots")});
    auto *preview = at(new QLabel(QStringLiteral("Preview:"), digitFrame), 1440, 240, 855, 255);
    preview->setAlignment(Qt::AlignCenter);
    pledPreview = named(new DigitSample(digitFrame), "pledPreview");
    // 540 x 975 twips: a 57-pixel digit with its padding.
    pledPreview->setSize(57);
    pledPreview->setPaddingH(35);
    pledPreview->setPaddingV(60);
    pledPreview->setLeft(1560);
    pledPreview->setTop(480);
    pledPreview->setLitColor(Settings::ScoreColor);
    pledPreview->setBackColor(Settings::LEDBack);
    connect(cmbLedType, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0)
            pledPreview->setLedType(index);
    });
}

void frmOptions::createAdditionalTab()
{
    QWidget *page = addTab(QStringLiteral("&Additional Settings"));
    QGroupBox *box = onTab(page, new QGroupBox(QStringLiteral("Buzzer sound:"), page), 240, 600, 5535, 1335);
    lblBFile = at(named(new QLabel(QStringLiteral("buzzer.wav"), box), "lblBFile"), 120, 360, 5295, 375);
    lblBFile->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    lblBFileWarning = onTab(page, named(new QLabel(page), "lblBFileWarning"), 240, 2040, 5535, 495);
    lblBFileWarning->setWordWrap(true);
    lblBFileWarning->setStyleSheet(QStringLiteral("color: #c00000"));
    lblBFile->setFont(arial(9.75));
    cmdBuzzerSoundChange =
        at(button(box, "cmdBuzzerSoundChange", QStringLiteral("Change Sound ...")), 120, 720, 1455, 495);
    cmdBuzzerSoundNone =
        at(button(box, "cmdBuzzerSoundNone", QStringLiteral("No Sound")), 1680, 720, 975, 495);
    cmdBuzzerKey = at(button(box, "cmdBuzzerKey", QStringLiteral("Select Sound Key")), 2760, 720, 1335, 495);
    lblBuzzerKey = at(keyLabel(box, "lblBuzzerKey"), 4080, 780, 1335, 375);

    connect(cmdBuzzerSoundChange, &QPushButton::clicked, this, &frmOptions::changeSound);
    connect(cmdBuzzerSoundNone, &QPushButton::clicked, this, &frmOptions::noSound);
    connect(cmdBuzzerKey, &QPushButton::clicked, this,
        [this] { chooseKey(QStringLiteral("sound the buzzer"), BuzzerKeyTemp, lblBuzzerKey); });
}

void frmOptions::Form_Load()
{
    using namespace Settings;
    SSTab1->setCurrentIndex(0);

    picBackC->setBackColor(FormBack);
    picTimeC->setBackColor(TimeColor);
    picHoldC->setBackColor(HoldColor);
    picScoreC->setBackColor(ScoreColor);
    picLEDB->setBackColor(LEDBack);
    picLedSelected->setBackColor(LEDSelected);
    picBorderC->setBackColor(BorderColor);

    scrLEDSelectedWidth->setValue(LEDSelectedWidth);
    // A stored width outside the bar's range is shown, and kept, as it is.
    lblLEDSelectedWidthValue->setText(QString::number(LEDSelectedWidth));

    StartStopPeriodClockKeyTemp = StartStopPeriodClockKey;
    lblStartStopPeriodClock->setText(KeyCodeToStr(StartStopPeriodClockKeyTemp));
    ResetPeriodClockKeyTemp = ResetPeriodClockKey;
    lblResetPeriodClock->setText(KeyCodeToStr(ResetPeriodClockKeyTemp));
    ClearKeyTemp = ClearKey;
    lblClear->setText(KeyCodeToStr(ClearKeyTemp));
    BuzzerKeyTemp = BuzzerKey;
    lblBuzzerKey->setText(KeyCodeToStr(BuzzerKeyTemp));
    NextMatchKeyTemp = NextMatchKey;
    lblNextMatchKey->setText(KeyCodeToStr(NextMatchKeyTemp));

    if (NumLockForce == 0)
        optNormal->setChecked(true);
    else if (NumLockForce == 1)
        optKeepOn->setChecked(true);
    else if (NumLockForce == 2)
        optKeepOff->setChecked(true);

    BuzzTemp = BuzzerFile;
    UpdateBuzzerCaption();

    HomePicTemp = HomePic;
    VisitorPicTemp = VisitorPic;
    modGrabKeys::FitPicture(imgHomePicPreview, picHomePicPreviewCon, HomePicTemp);
    modGrabKeys::FitPicture(imgVisitorPicPreview, picVisitorPicPreviewCon, VisitorPicTemp);

    // A stored style other than Lines or Dots selects no entry and is kept.
    cmbLedType->setCurrentIndex(LEDType == 0 || LEDType == 1 ? LEDType : -1);

    showWhole(txtTitleText, TitleText);
    showWhole(txtHomeText, HomeText);
    showWhole(txtVisitorText, VisitorText);
    loadRules();
}

void frmOptions::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    placeTabControls();
}

void frmOptions::done(int result)
{
    QDialog::done(result);
    // A window manager would activate the board or start screen beneath; in a
    // bare X session nothing does, and the keys would go nowhere.
    if (QWidget *owner = parentWidget())
        owner->window()->activateWindow();
}

void frmOptions::changeEvent(QEvent *event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        cmdOk->setFocus(Qt::ActiveWindowFocusReason);
}

QString frmOptions::KeyCodeToStr(qint16 keyCode)
{
    if (keyCode >= 65 && keyCode <= 90)
        return QString(QChar(keyCode));
    if (keyCode >= 114 && keyCode <= 123)
        return QStringLiteral("F") + QString::number(keyCode - 111);
    switch (keyCode) {
    case 8: return QStringLiteral("Backspace");
    case 13: return QStringLiteral("Enter");
    case 17: return QStringLiteral("Ctrl");
    case 19: return QStringLiteral("Pause/Break");
    case 33: return QStringLiteral("Page Up");
    case 34: return QStringLiteral("Page Down");
    case 35: return QStringLiteral("End");
    case 36: return QStringLiteral("Home");
    case 45: return QStringLiteral("Insert");
    case 46: return QStringLiteral("Delete");
    case 106: return QStringLiteral("Numpad *");
    case 111: return QStringLiteral("Numpad /");
    case 186: return QStringLiteral(";");
    case 188: return QStringLiteral(",");
    case 190: return QStringLiteral(".");
    case 191: return QStringLiteral("/");
    case 192: return QStringLiteral("`");
    case 219: return QStringLiteral("[");
    case 220: return QStringLiteral("\\");
    case 221: return QStringLiteral("]");
    case 222: return QString(QChar(34));
    default: return QString();
    }
}

QString frmOptions::buzzerCaption(const QString &path)
{
    if (path.size() <= LongestWholePath)
        return path.isEmpty() ? NoFileCaption : path;
    const QFileInfo file(path);
    return path.left(ShortenedPrefix) + QStringLiteral(" ...\\") +
           (file.exists() ? file.fileName() : QString());
}

void frmOptions::UpdateBuzzerCaption()
{
    lblBFileWarning->setText(SoundCheck::warningText(SoundCheck::problemWith(BuzzTemp)));
    const QString caption = buzzerCaption(BuzzTemp);
    if (lblBFile->text() == caption)
        return;
    lblBFile->setText(caption);
    const bool sound = !BuzzTemp.isEmpty();
    cmdBuzzerSoundNone->setEnabled(sound);
    cmdBuzzerKey->setEnabled(sound);
    lblBuzzerKey->setEnabled(sound);
}

void frmOptions::chooseColor(PictureBox *swatch)
{
    // A cancelled chooser leaves the swatch as it was: its colour is only
    // ever one the operator confirmed for this swatch or loaded.
    if (cdColors.ShowColor(this))
        swatch->setBackColor(cdColors.Color);
}

void frmOptions::chooseKey(const QString &purpose, qint16 &workingCopy, QLabel *label)
{
    ChooseKeyPurpose = purpose;
    ChooseKeyCurrent = workingCopy;
    {
        frmChooseKey chooser(this);
        DialogAnswers::chooseKey(chooser);
    }
    const auto chosen = qint16(Val(ChosenKey));
    if (chosen == 0)
        return;
    workingCopy = chosen;
    label->setText(KeyCodeToStr(chosen));
}

void frmOptions::choosePicture(QString &workingCopy, Image *preview, PictureBox *container)
{
    cdColors.Filter = QStringLiteral("Pictures (*.bmp;*.gif;*.jpg)|*.bmp;*.gif;*.jpg");
    cdColors.FileMustExist = true;
    cdColors.ShowOpen(this);
    if (cdColors.FileName.isEmpty() || !QFileInfo(cdColors.FileName).isFile())
        return;
    workingCopy = cdColors.FileName;
    modGrabKeys::FitPicture(preview, container, workingCopy);
}

void frmOptions::clearPicture(QString &workingCopy, Image *preview)
{
    preview->setPicture(QImage());
    workingCopy.clear();
}

void frmOptions::changeSound()
{
    // The must-exist option of an earlier picture choice stays as it was.
    cdColors.Filter = QStringLiteral("Sounds *.wav|*.wav");
    cdColors.ShowOpen(this);
    if (cdColors.FileName.isEmpty() || !QFileInfo(cdColors.FileName).isFile())
        return;
    BuzzTemp = cdColors.FileName;
    UpdateBuzzerCaption();
    if (BuzzerKeyTemp == 32) {
        BuzzerKeyTemp = 66;
        lblBuzzerKey->setText(KeyCodeToStr(66));
    }
}

void frmOptions::noSound()
{
    BuzzTemp.clear();
    UpdateBuzzerCaption();
    BuzzerKeyTemp = 32;
    lblBuzzerKey->clear();
}

void frmOptions::resetColors()
{
    if (!DialogAnswers::askYesNo(this, QStringLiteral("Reset Colors"),
            QStringLiteral("Are you sure you want to reset the colors?")))
        return;
    picLedSelected->setBackColor(0x404040);
    lblLEDSelectedWidthValue->setText(QStringLiteral("0"));
    picTimeC->setBackColor(0x0080FF);
    picLEDB->setBackColor(0);
    picScoreC->setBackColor(0x00C000);
    picHoldC->setBackColor(0x0000FF);
    picBackC->setBackColor(0x404040);
    picBorderC->setBackColor(0xFFFFFF);
}

void frmOptions::resetKeys()
{
    if (!DialogAnswers::askYesNo(
            this, QStringLiteral("Reset Keys"), QStringLiteral("Are you sure you want to reset the keys?")))
        return;
    StartStopPeriodClockKeyTemp = 83;
    lblStartStopPeriodClock->setText(KeyCodeToStr(83));
    ResetPeriodClockKeyTemp = 82;
    lblResetPeriodClock->setText(KeyCodeToStr(82));
    BuzzerKeyTemp = 66;
    lblBuzzerKey->setText(KeyCodeToStr(66));
    ClearKeyTemp = 46;
    lblClear->setText(KeyCodeToStr(46));
    NextMatchKeyTemp = 78;
    lblNextMatchKey->setText(KeyCodeToStr(78));
    optNormal->setChecked(true);
}

void frmOptions::cmdOk_Click()
{
    using namespace Settings;
    TimeColor = picTimeC->BackColor();
    LEDBack = picLEDB->BackColor();
    LEDSelected = picLedSelected->BackColor();
    ScoreColor = picScoreC->BackColor();
    HoldColor = picHoldC->BackColor();
    FormBack = picBackC->BackColor();
    BorderColor = picBorderC->BackColor();
    LEDSelectedWidth = qint16(Val(lblLEDSelectedWidthValue->text()));

    StartStopPeriodClockKey = StartStopPeriodClockKeyTemp;
    ResetPeriodClockKey = ResetPeriodClockKeyTemp;
    ClearKey = ClearKeyTemp;
    BuzzerKey = BuzzerKeyTemp;
    NextMatchKey = NextMatchKeyTemp;
    BuzzerFile = BuzzTemp;

    if (optNormal->isChecked()) {
        NumLockForce = 0;
    } else if (optKeepOn->isChecked()) {
        NumLockForce = 1;
        modGrabKeys::SetNumLock(true);
    } else if (optKeepOff->isChecked()) {
        NumLockForce = 2;
        modGrabKeys::SetNumLock(false);
    }

    TitleText = txtTitleText->text();
    HomeText = txtHomeText->text();
    VisitorText = txtVisitorText->text();

    HomePic = HomePicTemp;
    VisitorPic = VisitorPicTemp;
    if (cmbLedType->currentIndex() >= 0)
        LEDType = qint16(cmbLedType->currentIndex());

    saveRules();

    // Every key is written in the fixed order, IsKeyCode last, and the
    // store is replaced whole or not at all; with the board running, off its
    // thread.
    if (!SaveSettingsOffThread()) {
        DialogAnswers::warn(this, QStringLiteral("Options"),
            QStringLiteral("The settings could not be saved to %1. They apply until Zembrak is closed.")
                .arg(SettingsStore::fileName()));
    }
    accept();
}
