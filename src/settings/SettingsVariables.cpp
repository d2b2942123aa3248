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
QString BuzzerFile;
qint32 NumLockForce;
QString TitleText;
QString HomeText;
QString VisitorText;
QString HomePic;
QString VisitorPic;
qint16 LEDType;

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
    BuzzerFile = defaultBuzzerFile();
    NumLockForce = 0;
    TitleText = QStringLiteral("Home");
    HomeText = QStringLiteral("Home");
    VisitorText = QStringLiteral("Visitor");
    HomePic.clear();
    VisitorPic.clear();
    LEDType = 0;
}

} // namespace Settings

namespace {
// Defaults from the start, so that nothing ever reads an unset variable.
const bool initialised = (Settings::resetToDefaults(), true);
} // namespace
