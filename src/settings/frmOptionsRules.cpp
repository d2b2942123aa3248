// The options dialog's "Rules" tab: which rule set the board runs under, and
// the values of the Custom set.

#include "settings/frmOptions.h"

#include "controls/CommandButton.h"
#include "day/MatchDay.h"
#include "modules/MatchList.h"
#include "settings/DialogAnswers.h"
#include "settings/SettingsVariables.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>

#include <algorithm>
#include <iterator>

namespace {

const Rules::SetId setOrder[] = {Rules::SetId::Design, Rules::SetId::Ijf2025, Rules::SetId::Classic,
    Rules::SetId::Ijf2018, Rules::SetId::Custom};

QSpinBox *seconds(QWidget *parent, const char *name, int most, const QString &none)
{
    auto *box = new QSpinBox(parent);
    box->setObjectName(QLatin1String(name));
    box->setRange(0, most);
    // 0 is "never": the special text says so instead of a bare nought.
    box->setSpecialValueText(none);
    return box;
}

} // namespace

void frmOptions::createRulesTab()
{
    QWidget *page = addTab(QStringLiteral("Rules"));
    // Six tabs share the strip the design gave five: narrower margins let
    // every caption show whole.
    SSTab1->tabBar()->setStyleSheet(QStringLiteral("QTabBar::tab { padding: 3px 2px; }"));
    auto *column = new QVBoxLayout(page);

    auto *choice = new QHBoxLayout;
    auto *caption = new QLabel(QStringLiteral("Rule set:"), page);
    cmbRuleSet = new QComboBox(page);
    cmbRuleSet->setObjectName(QStringLiteral("cmbRuleSet"));
    for (Rules::SetId id : setOrder)
        cmbRuleSet->addItem(Rules::displayName(id));
    caption->setBuddy(cmbRuleSet);
    cmdCopyToCustom = new CommandButton(QStringLiteral("Copy to Custom"), page);
    cmdCopyToCustom->setObjectName(QStringLiteral("cmdCopyToCustom"));
    choice->addWidget(caption);
    choice->addWidget(cmbRuleSet, 1);
    choice->addWidget(cmdCopyToCustom);
    column->addLayout(choice);

    fraRuleValues = new QGroupBox(QStringLiteral("Values:"), page);
    fraRuleValues->setObjectName(QStringLiteral("fraRuleValues"));
    // Two columns of values, so that the tab keeps room below them.
    auto *grid = new QGridLayout(fraRuleValues);
    const auto row = [grid, this](int line, int column, const QString &caption, QWidget *value) {
        grid->addWidget(new QLabel(caption, fraRuleValues), line, column * 2);
        grid->addWidget(value, line, column * 2 + 1);
    };
    auto *scores = new QWidget(fraRuleValues);
    auto *scoreBoxes = new QHBoxLayout(scores);
    scoreBoxes->setContentsMargins(0, 0, 0, 0);
    chkUseW = new QCheckBox(QStringLiteral("W"), scores);
    chkUseY = new QCheckBox(QStringLiteral("Y"), scores);
    chkUseK = new QCheckBox(QStringLiteral("K"), scores);
    for (QCheckBox *box : {chkUseW, chkUseY, chkUseK})
        scoreBoxes->addWidget(box);
    grid->addWidget(new QLabel(QStringLiteral("Scores shown:"), fraRuleValues), 0, 0);
    grid->addWidget(scores, 0, 1, 1, 2);
    chkGoldenScore = new QCheckBox(QStringLiteral("Golden score"), fraRuleValues);
    grid->addWidget(chkGoldenScore, 0, 3);
    const QString never = QStringLiteral("off");
    spnKokaHold = seconds(fraRuleValues, "spnKokaHold", Rules::MaxHoldSeconds, never);
    spnYukoHold = seconds(fraRuleValues, "spnYukoHold", Rules::MaxHoldSeconds, never);
    spnWazaAriHold = seconds(fraRuleValues, "spnWazaAriHold", Rules::MaxHoldSeconds, never);
    spnIpponHold = seconds(fraRuleValues, "spnIpponHold", Rules::MaxHoldSeconds, never);
    row(1, 0, QStringLiteral("Koka hold:"), spnKokaHold);
    row(1, 1, QStringLiteral("Yuko hold:"), spnYukoHold);
    row(2, 0, QStringLiteral("Waza-ari hold:"), spnWazaAriHold);
    row(2, 1, QStringLiteral("Ippon hold:"), spnIpponHold);
    for (QSpinBox *box : {spnKokaHold, spnYukoHold, spnWazaAriHold, spnIpponHold})
        box->setSuffix(QStringLiteral(" s"));
    spnWazaAriForIppon = seconds(fraRuleValues, "spnWazaAriForIppon", Rules::MaxWazaAriForIppon, never);
    row(3, 0, QStringLiteral("Waza-ari to ippon:"), spnWazaAriForIppon);
    spnShidoLimit = seconds(fraRuleValues, "spnShidoLimit", Rules::MaxShidoLimit, QStringLiteral("lamps"));
    row(3, 1, QStringLiteral("Hansoku-make at:"), spnShidoLimit);
    spnContestTime = new QSpinBox(fraRuleValues);
    spnContestTime->setObjectName(QStringLiteral("spnContestTime"));
    spnContestTime->setRange(Rules::MinContestSeconds, Rules::MaxContestSeconds);
    spnContestTime->setSuffix(QStringLiteral(" s"));
    row(4, 0, QStringLiteral("Contest time:"), spnContestTime);
    chkHoldEndsGoldenScore =
        new QCheckBox(QStringLiteral("Hold in golden score ends at first score"), fraRuleValues);
    chkHoldEndsGoldenScore->setObjectName(QStringLiteral("chkHoldEndsGoldenScore"));
    grid->addWidget(chkHoldEndsGoldenScore, 5, 0, 1, 4);
    column->addWidget(fraRuleValues);
    auto *list = new QHBoxLayout;
    cmdLoadMatchList = new CommandButton(QStringLiteral("Load match list ..."), page);
    cmdLoadMatchList->setObjectName(QStringLiteral("cmdLoadMatchList"));
    lblMatchList = new QLabel(page);
    lblMatchList->setObjectName(QStringLiteral("lblMatchList"));
    lblMatchList->setWordWrap(true);
    list->addWidget(cmdLoadMatchList);
    list->addWidget(lblMatchList, 1);
    column->addLayout(list);
    createTournamentFields(page, column);
    column->addStretch(1);
    connect(cmdLoadMatchList, &QPushButton::clicked, this, &frmOptions::loadMatchListFile);

    connect(cmbRuleSet, &QComboBox::currentIndexChanged, this, &frmOptions::showRuleSet);
    connect(cmdCopyToCustom, &QPushButton::clicked, this, &frmOptions::copyToCustom);
    for (QCheckBox *box : {chkUseW, chkUseY, chkUseK, chkGoldenScore, chkHoldEndsGoldenScore})
        connect(box, &QCheckBox::toggled, this, &frmOptions::ruleValueEdited);
    for (QSpinBox *box : {spnKokaHold, spnYukoHold, spnWazaAriHold, spnIpponHold, spnWazaAriForIppon,
             spnShidoLimit, spnContestTime})
        connect(box, &QSpinBox::valueChanged, this, &frmOptions::ruleValueEdited);
}

void frmOptions::loadRules()
{
    loadTournament();
    MatchListTemp = Settings::MatchList;
    const qsizetype count = MatchList::read(MatchListTemp.toUtf8()).contests.size();
    lblMatchList->setText(MatchListTemp.isEmpty() ? QStringLiteral("No match list.")
                                                  : QStringLiteral("A list of %1 contests.").arg(count));
    CustomRulesTemp = Settings::customRules();
    // The set in force, which the command line may have chosen over the
    // stored one; OK stores what is shown.
    const Rules::SetId id =
        Rules::idFromText(Settings::RuleSetInForce)
            .value_or(Rules::idFromText(Settings::RuleSet).value_or(Rules::SetId::Design));
    const auto index = int(std::find(std::begin(setOrder), std::end(setOrder), id) - std::begin(setOrder));
    cmbRuleSet->setCurrentIndex(index);
    showRuleSet();
}

// Shows the values of the set selected: a built-in set's as they are, not
// to be edited; the Custom set's working copy, to be edited.
void frmOptions::showRuleSet()
{
    const int index = std::clamp(cmbRuleSet->currentIndex(), 0, int(std::size(setOrder)) - 1);
    const Rules::SetId id = setOrder[index];
    const bool custom = id == Rules::SetId::Custom;
    const Rules::RuleSet set = custom ? CustomRulesTemp : Rules::preset(id);
    // Showing is no edit: the working copy stays as it is.
    const QList<QWidget *> values = {chkUseW, chkUseY, chkUseK, chkGoldenScore, chkHoldEndsGoldenScore,
        spnKokaHold, spnYukoHold, spnWazaAriHold, spnIpponHold, spnWazaAriForIppon, spnShidoLimit,
        spnContestTime};
    for (QWidget *value : values)
        value->blockSignals(true);
    {
        chkUseW->setChecked(set.useW);
        chkUseY->setChecked(set.useY);
        chkUseK->setChecked(set.useK);
        spnKokaHold->setValue(set.kokaAt);
        spnYukoHold->setValue(set.yukoAt);
        spnWazaAriHold->setValue(set.wazaAriAt);
        spnIpponHold->setValue(set.ipponAt);
        spnWazaAriForIppon->setValue(set.wazaAriForIppon);
        spnShidoLimit->setValue(set.shidoLimit);
        chkGoldenScore->setChecked(set.goldenScore);
        chkHoldEndsGoldenScore->setChecked(set.holdEndsGoldenScore);
        spnContestTime->setValue(set.contestSeconds);
    }
    for (QWidget *value : values)
        value->blockSignals(false);
    fraRuleValues->setEnabled(custom);
    cmdCopyToCustom->setEnabled(!custom);
}

void frmOptions::ruleValueEdited()
{
    if (cmbRuleSet->currentIndex() != int(std::size(setOrder)) - 1)
        return;
    Rules::RuleSet set;
    set.id = Rules::SetId::Custom;
    set.useW = chkUseW->isChecked();
    set.useY = chkUseY->isChecked();
    set.useK = chkUseK->isChecked();
    set.kokaAt = qint16(spnKokaHold->value());
    set.yukoAt = qint16(spnYukoHold->value());
    set.wazaAriAt = qint16(spnWazaAriHold->value());
    set.ipponAt = qint16(spnIpponHold->value());
    set.wazaAriForIppon = qint16(spnWazaAriForIppon->value());
    set.shidoLimit = qint16(spnShidoLimit->value());
    set.goldenScore = chkGoldenScore->isChecked();
    set.holdEndsGoldenScore = chkHoldEndsGoldenScore->isChecked();
    set.contestSeconds = spnContestTime->value();
    CustomRulesTemp = set;
}

void frmOptions::copyToCustom()
{
    const int index = std::clamp(cmbRuleSet->currentIndex(), 0, int(std::size(setOrder)) - 1);
    CustomRulesTemp = Rules::preset(setOrder[index]);
    CustomRulesTemp.id = Rules::SetId::Custom;
    cmbRuleSet->setCurrentIndex(int(std::size(setOrder)) - 1);
}

void frmOptions::saveRules()
{
    const int index = std::clamp(cmbRuleSet->currentIndex(), 0, int(std::size(setOrder)) - 1);
    Settings::RuleSet = Rules::idText(setOrder[index]);
    Settings::setCustomRules(Rules::bounded(CustomRulesTemp));
    saveTournament();
    // A list picked here starts again from its first contest, even the
    // same list: the board loads it once the dialog has closed.
    if (MatchListPicked) {
        Settings::MatchList = MatchListTemp;
        Settings::MatchIndex = 0;
    }
}

// The file is read now, so that the operator learns of skipped lines while
// the dialog is still open; the board starts the list at OK.
void frmOptions::loadMatchListFile()
{
    const QString name = DialogAnswers::getOpenFileName(
        this, QString(), QStringLiteral("Match lists (*.csv *.txt);;All files (*)"), true);
    if (name.isEmpty())
        return;
    QFile file(name);
    if (!QFileInfo(file).isFile() || !file.open(QIODevice::ReadOnly)) {
        DialogAnswers::warn(this, QStringLiteral("Load match list"),
            QStringLiteral("%1 could not be read.").arg(QDir::toNativeSeparators(name)));
        return;
    }
    const QByteArray data = file.readAll();
    const MatchList::Read read = MatchList::read(data);
    MatchListTemp = QString::fromUtf8(data);
    MatchListPicked = true;
    lblMatchList->setText(QStringLiteral("%1: %2 contests, loaded at OK.")
                              .arg(QFileInfo(name).fileName())
                              .arg(read.contests.size()));
    // A few reasons, not a box taller than the screen.
    if (!read.messages.isEmpty())
        DialogAnswers::warn(this, QStringLiteral("Load match list"),
            MatchDay::loadSummary(int(read.contests.size()), read.messages));
}

// JudoShiai's link, beside the match list it replaces while it is on.
void frmOptions::createTournamentFields(QWidget *page, QBoxLayout *column)
{
    auto *frame = new QGroupBox(QStringLiteral("JudoShiai:"), page);
    auto *row = new QHBoxLayout(frame);
    txtJudoShiaiServer = new QLineEdit(frame);
    txtJudoShiaiServer->setObjectName(QStringLiteral("txtJudoShiaiServer"));
    txtJudoShiaiServer->setPlaceholderText(QStringLiteral("host[:port] or auto"));
    spnTatami = new QSpinBox(frame);
    spnTatami->setObjectName(QStringLiteral("spnTatami"));
    spnTatami->setRange(1, 20);
    chkJudoShiaiConnect = new QCheckBox(QStringLiteral("Connect"), frame);
    chkJudoShiaiConnect->setObjectName(QStringLiteral("chkJudoShiaiConnect"));
    auto *server = new QLabel(QStringLiteral("Server:"), frame);
    server->setBuddy(txtJudoShiaiServer);
    auto *tatami = new QLabel(QStringLiteral("Tatami:"), frame);
    tatami->setBuddy(spnTatami);
    row->addWidget(server);
    row->addWidget(txtJudoShiaiServer, 1);
    row->addWidget(tatami);
    row->addWidget(spnTatami);
    row->addWidget(chkJudoShiaiConnect);
    column->addWidget(frame);
}

void frmOptions::loadTournament()
{
    txtJudoShiaiServer->setText(Settings::JudoShiaiServer);
    spnTatami->setValue(Settings::JudoShiaiTatami);
    chkJudoShiaiConnect->setChecked(Settings::JudoShiaiConnect != 0);
}

void frmOptions::saveTournament()
{
    Settings::JudoShiaiServer = txtJudoShiaiServer->text().trimmed();
    Settings::JudoShiaiTatami = qint16(spnTatami->value());
    Settings::JudoShiaiConnect = chkJudoShiaiConnect->isChecked() ? 1 : 0;
}
