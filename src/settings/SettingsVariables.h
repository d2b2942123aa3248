#pragma once

#include "modules/RuleSet.h"
#include "modules/VbTypes.h"

#include <QString>

// The program-wide settings variables, one per stored key, named after it.
// They hold the defaults until LoadSettings fills them from the store; only
// LoadSettings and the options dialog's OK assign them, but for the names
// and title, which a contest of the match list or a restored contest puts
// on the board, and the list's position.
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
extern qint16 NextMatchKey;
extern QString BuzzerFile;
extern qint32 NumLockForce;
extern QString TitleText;
extern QString HomeText;
extern QString VisitorText;
extern QString HomePic;
extern QString VisitorPic;
extern qint16 LEDType;

// The rule set: its id ("design", "classic", "ijf2018" or "custom"), and the
// values of the Custom set, which the operator edits.
extern QString RuleSet;
extern QString CustomScores; // the letters of the score displays used, of "WYK"
extern qint16 CustomKokaHold;
extern qint16 CustomYukoHold;
extern qint16 CustomWazaAriHold;
extern qint16 CustomIpponHold;
extern qint16 CustomWazaAriForIppon;
extern qint16 CustomShidoLimit;
extern qint16 CustomGoldenScore; // 0 off, 1 on
extern qint16 CustomHoldEndsGoldenScore; // 0: a golden-score hold runs to its end; 1: its first score ends it
extern qint32 CustomContestTime; // seconds

// The day's match list, as the CSV text it was loaded from (empty for
// none; kept in a file of its own in the data folder, not in the store),
// and the contest of it on the board, from 1 (0: none yet).
extern QString MatchList;
extern qint32 MatchIndex;

// The set the board runs under, when the command line chose it over the
// stored one (its id; empty: the stored set). Never saved.
extern QString RuleSetInForce;

// JudoShiai, the tournament program: its "HOST[:PORT]" or "auto", the
// tatami this board times (1 to 20), and whether to connect (0 or 1).
extern QString JudoShiaiServer;
extern qint16 JudoShiaiTatami;
extern qint16 JudoShiaiConnect;

// The set the variables name, its values kept in bounds; an unknown id is
// the Design set.
Rules::RuleSet rules();
// The Custom set's values from a set, and back.
void setCustomRules(const Rules::RuleSet &set);
Rules::RuleSet customRules();

// Puts every variable back to its default, as an empty store would load it.
void resetToDefaults();

// The default buzzer sound: buzzer.wav in the program's own folder.
QString defaultBuzzerFile();

} // namespace Settings
