#pragma once

#include "modules/VbTypes.h"

#include <QString>

// The program-wide settings variables, one per stored key, named after it.
// They hold the defaults until LoadSettings fills them from the store; only
// LoadSettings and the options dialog's OK assign them.
namespace Settings {

extern OleColor TimeColor;
extern OleColor LEDBack;
extern OleColor HoldColor;
extern OleColor ScoreColor;
extern OleColor FormBack;
extern OleColor LEDSelected;
extern OleColor BorderColor;
extern qint16 LEDSelectedWidth;
extern qint16 StartStopPeriodClockKey;
extern qint16 ResetPeriodClockKey;
extern qint16 ClearKey;
extern qint16 BuzzerKey;
extern QString BuzzerFile;
extern qint32 NumLockForce;
extern QString TitleText;
extern QString HomeText;
extern QString VisitorText;
extern QString HomePic;
extern QString VisitorPic;
extern qint16 LEDType;

// Puts every variable back to its default, as an empty store would load it.
void resetToDefaults();

// The default buzzer sound: buzzer.wav in the program's own folder.
QString defaultBuzzerFile();

} // namespace Settings
