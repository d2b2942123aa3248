#pragma once

#include "modules/RuleSet.h"
#include "settings/CommonDialog.h"

#include <QDialog>
#include <QList>
#include <QPair>
#include <QRect>

class DigitSample;
class Image;
class PictureBox;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QBoxLayout;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QSpinBox;
class QTabWidget;

// The options dialog: every setting on five tabs. Edits go to working
// copies; OK copies them into the settings variables, applies a NumLock keep
// mode at once and saves everything; Cancel and the close box keep nothing.
// Open it with frmOptions dialog(parent); dialog.exec();
class frmOptions : public QDialog
{
    Q_OBJECT

public:
    explicit frmOptions(QWidget *parent = nullptr);
    ~frmOptions() override;

    // The name a key is shown by, or an empty text for a key that cannot
    // be bound.
    static QString KeyCodeToStr(qint16 keyCode);
    // Shows BuzzTemp in lblBFile, shortened when long, and enables the
    // buzzer controls only when there is a sound.
    void UpdateBuzzerCaption();
    // What lblBFile shows for a buzzer path.
    static QString buzzerCaption(const QString &path);

    // Working copies; the key chooser reads the four keys to refuse keys
    // already bound, unconfirmed changes included.
    qint16 StartStopPeriodClockKeyTemp = 0;
    qint16 ResetPeriodClockKeyTemp = 0;
    qint16 ClearKeyTemp = 0;
    qint16 BuzzerKeyTemp = 0;
    qint16 NextMatchKeyTemp = 0;
    QString BuzzTemp;
    QString HomePicTemp;
    QString VisitorPicTemp;

    CommonDialog cdColors;

    QTabWidget *SSTab1;
    QPushButton *cmdOk;
    QPushButton *cmdCancel;

    // Key Controls
    QPushButton *cmdStartStopPeriodClock;
    QLabel *lblStartStopPeriodClock;
    QPushButton *cmdResetPeriodClock;
    QLabel *lblResetPeriodClock;
    QPushButton *cmdClearKey;
    QLabel *lblClear;
    QPushButton *cmdNextMatchKey;
    QLabel *lblNextMatchKey;
    QGroupBox *fraNumLock;
    QRadioButton *optNormal;
    QRadioButton *optKeepOn;
    QRadioButton *optKeepOff;
    QLabel *lblNumLockNote; // shown only where the lock cannot be set
    QPushButton *cmdResetKeys;

    // Color Controls
    PictureBox *picBackC;
    PictureBox *picLEDB;
    PictureBox *picBorderC;
    PictureBox *picScoreC;
    PictureBox *picHoldC;
    PictureBox *picTimeC;
    PictureBox *picLedSelected;
    QPushButton *cmdBackC;
    QPushButton *cmdLEDB;
    QPushButton *cmdBorderC;
    QPushButton *cmdScoreC;
    QPushButton *cmdHoldC;
    QPushButton *cmdTimeC;
    QPushButton *cmdLedSelected;
    QLabel *lblLEDSelectedWidth;
    QLabel *lblLEDSelectedWidthValue;
    QScrollBar *scrLEDSelectedWidth;
    QPushButton *cmdResetColors;

    // Text Controls
    QLineEdit *txtTitleText;
    QLineEdit *txtHomeText;
    QLineEdit *txtVisitorText;

    // Pictures
    PictureBox *picHomePicPreviewCon;
    Image *imgHomePicPreview;
    QPushButton *cmdChangeHomePic;
    QPushButton *cmdClearHomePic;
    PictureBox *picVisitorPicPreviewCon;
    Image *imgVisitorPicPreview;
    QPushButton *cmdChangeVisitorPic;
    QPushButton *cmdClearVisitorPic;
    QComboBox *cmbLedType;
    DigitSample *pledPreview;

    // Additional Settings
    QLabel *lblBFile;
    // Says so when the chosen buzzer file cannot be played.
    QLabel *lblBFileWarning;
    QPushButton *cmdBuzzerSoundChange;
    QPushButton *cmdBuzzerSoundNone;
    QPushButton *cmdBuzzerKey;
    QLabel *lblBuzzerKey;

    // Closes the dialog and gives the keyboard back to the window beneath.
    void done(int result) override;

    // Rules: the set list, and the values of the set shown, which only the
    // Custom set lets the operator edit.
    QComboBox *cmbRuleSet;
    QPushButton *cmdCopyToCustom;
    QGroupBox *fraRuleValues;
    QCheckBox *chkUseW;
    QCheckBox *chkUseY;
    QCheckBox *chkUseK;
    QSpinBox *spnKokaHold;
    QSpinBox *spnYukoHold;
    QSpinBox *spnWazaAriHold;
    QSpinBox *spnIpponHold;
    QSpinBox *spnWazaAriForIppon;
    QSpinBox *spnShidoLimit;
    QCheckBox *chkGoldenScore;
    QCheckBox *chkHoldEndsGoldenScore;
    QSpinBox *spnContestTime;
    Rules::RuleSet CustomRulesTemp;
    // The match list: chosen here, loaded by the board at OK.
    QPushButton *cmdLoadMatchList;
    QLabel *lblMatchList;
    QString MatchListTemp;
    bool MatchListPicked = false;
    // JudoShiai, the tournament program: its server, this board's tatami,
    // and whether to connect.
    QLineEdit *txtJudoShiaiServer;
    QSpinBox *spnTatami;
    QCheckBox *chkJudoShiaiConnect;

protected:
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void createKeyTab();
    void createColorTab();
    void createTextTab();
    void createPictureTab();
    void createAdditionalTab();
    void createRulesTab();
    void loadRules();
    void showRuleSet();
    void ruleValueEdited();
    void copyToCustom();
    void saveRules();
    void loadMatchListFile();
    void createTournamentFields(QWidget *page, QBoxLayout *column);
    void loadTournament();
    void saveTournament();
    void Form_Load();

    QWidget *addTab(const QString &title);
    // Places a control of a tab page where the design puts it, measured
    // from the tab control's own corner (tab strip included).
    template<typename T>
    T *onTab(QWidget *page, T *control, int left, int top, int width, int height);
    void placeTabControls();

    void chooseColor(PictureBox *swatch);
    void chooseKey(const QString &purpose, qint16 &workingCopy, QLabel *label);
    void choosePicture(QString &workingCopy, Image *preview, PictureBox *container);
    void clearPicture(QString &workingCopy, Image *preview);
    void resetColors();
    void resetKeys();
    void changeSound();
    void noSound();
    void cmdOk_Click();

    QList<QPair<QWidget *, QRect>> m_tabControls;
};
