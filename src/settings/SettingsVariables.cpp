#include "settings/SettingsVariables.h"

#include <QCoreApplication>
#include <QDir>

namespace Settings {

OleColor TimeColor;
OleColor LEDBack;
OleColor HoldColor;
OleColor ScoreColor;
OleColor FormBack;
OleColor LEDSelected;
OleColor BorderColor;
qint16 LEDSelectedWidth;
qint16 StartStopPeriodClockKey;
qint16 ResetPeriodClockKey;
qint16 ClearKey;
qint16 BuzzerKey;
qint16 NextMatchKey;
QString BuzzerFile;
qint32 NumLockForce;
QString TitleText;
QString HomeText;
QString VisitorText;
QString HomePic;
QString VisitorPic;
qint16 LEDType;
QString RuleSet;
QString CustomScores;
qint16 CustomKokaHold;
qint16 CustomYukoHold;
qint16 CustomWazaAriHold;
qint16 CustomIpponHold;
qint16 CustomWazaAriForIppon;
qint16 CustomShidoLimit;
qint16 CustomGoldenScore;
qint16 CustomHoldEndsGoldenScore;
QString RuleSetInForce;
qint32 CustomContestTime;
QString MatchList;
qint32 MatchIndex;
QString JudoShiaiServer;
qint16 JudoShiaiTatami;
qint16 JudoShiaiConnect;

QString defaultBuzzerFile()
{
    const QString folder =
        QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QDir::currentPath();
    return folder + QStringLiteral("/buzzer.wav");
}

void resetToDefaults()
{
    TimeColor = 33023;
    LEDBack = 0;
    HoldColor = 255;
    ScoreColor = 49152;
    FormBack = 4210752;
    LEDSelected = FormBack;
    BorderColor = 16777215;
    LEDSelectedWidth = 0;
    StartStopPeriodClockKey = 83;
    ResetPeriodClockKey = 82;
    ClearKey = 46;
    BuzzerKey = 66;
    NextMatchKey = 78;
    BuzzerFile = defaultBuzzerFile();
    NumLockForce = 0;
    TitleText = QStringLiteral("Home");
    HomeText = QStringLiteral("Home");
    VisitorText = QStringLiteral("Visitor");
    HomePic.clear();
    VisitorPic.clear();
    LEDType = 0;
    RuleSet = Rules::idText(Rules::SetId::Design);
    RuleSetInForce.clear();
    setCustomRules(Rules::preset(Rules::SetId::Custom));
    MatchList.clear();
    MatchIndex = 0;
    JudoShiaiServer.clear();
    JudoShiaiTatami = 1;
    JudoShiaiConnect = 0;
}

Rules::RuleSet customRules()
{
    Rules::RuleSet set;
    set.id = Rules::SetId::Custom;
    set.useW = CustomScores.contains(QLatin1Char('W'));
    set.useY = CustomScores.contains(QLatin1Char('Y'));
    set.useK = CustomScores.contains(QLatin1Char('K'));
    set.kokaAt = CustomKokaHold;
    set.yukoAt = CustomYukoHold;
    set.wazaAriAt = CustomWazaAriHold;
    set.ipponAt = CustomIpponHold;
    set.wazaAriForIppon = CustomWazaAriForIppon;
    set.shidoLimit = CustomShidoLimit;
    set.goldenScore = CustomGoldenScore != 0;
    set.holdEndsGoldenScore = CustomHoldEndsGoldenScore != 0;
    set.contestSeconds = CustomContestTime;
    return Rules::bounded(set);
}

void setCustomRules(const Rules::RuleSet &set)
{
    CustomScores.clear();
    if (set.useW)
        CustomScores += QLatin1Char('W');
    if (set.useY)
        CustomScores += QLatin1Char('Y');
    if (set.useK)
        CustomScores += QLatin1Char('K');
    CustomKokaHold = set.kokaAt;
    CustomYukoHold = set.yukoAt;
    CustomWazaAriHold = set.wazaAriAt;
    CustomIpponHold = set.ipponAt;
    CustomWazaAriForIppon = set.wazaAriForIppon;
    CustomShidoLimit = set.shidoLimit;
    CustomGoldenScore = set.goldenScore ? 1 : 0;
    CustomHoldEndsGoldenScore = set.holdEndsGoldenScore ? 1 : 0;
    CustomContestTime = set.contestSeconds;
}

Rules::RuleSet rules()
{
    const Rules::SetId id = Rules::idFromText(RuleSet).value_or(Rules::SetId::Design);
    return id == Rules::SetId::Custom ? customRules() : Rules::preset(id);
}

} // namespace Settings

namespace {
// Defaults from the start, so that nothing ever reads an unset variable.
const bool initialised = (Settings::resetToDefaults(), true);
} // namespace
