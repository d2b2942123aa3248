// The board's colours: the settings carried onto every control, and the
// lamps lit or dark by the match state.

#include "scoreboard/frmScoreboard.h"

#include "controls/ClockDisplay.h"
#include "controls/ControlArray.h"
#include "controls/DigitDisplay.h"
#include "controls/Label.h"
#include "controls/PictureBox.h"
#include "controls/Shape.h"
#include "modules/AudienceCues.h"
#include "modules/modColor.h"
#include "settings/SettingsVariables.h"

using namespace Settings;

void frmScoreboard::UpdateFormColors()
{
    setBackColor(FormBack);

    modColor::SetLedColor(tledPeriod, TimeColor);
    modColor::SetLedColor(nledHoldHome, HoldColor);
    modColor::SetLedColor(nledHoldVisitor, HoldColor);
    for (DigitDisplay *score : {nledWHome, nledYHome, nledKHome, nledWVisitor, nledYVisitor, nledKVisitor})
        modColor::SetLedColor(score, ScoreColor);

    // The name panels keep their design colours; the marks get theirs below.
    modColor::ColorFormControls(
        *this, {lblHomeName, lblVisitorName, picContainerHoldHome, picContainerHoldVisitor,
                   lblMedHome->item(0), lblMedHome->item(1), lblMedVisitor->item(0), lblMedVisitor->item(1),
                   lblIpponHome, lblIpponVisitor, shpContestTime});

    picContainerHoldHome->setBackColor(LEDBack);
    picContainerHoldVisitor->setBackColor(LEDBack);
    for (ControlArray *lamps : {lblMedHome, lblMedVisitor}) {
        lamps->at<Label>(0)->setBackColor(LEDBack);
        lamps->at<Label>(1)->setBackColor(LEDBack);
    }
    lblIpponHome->setBackColor(LEDBack);
    lblIpponVisitor->setBackColor(LEDBack);
    shpContestTime->setBorderColor(Settings::BorderColor);
    shpHoldHome->setFillColor(Settings::BorderColor);
    shpHoldVisitor->setFillColor(Settings::BorderColor);
    shpObjectSelected->setFillColor(
        AudienceCues::selectionFrame(Settings::LEDSelectedWidth, LEDSelected, FormBack, m_audienceWindow)
            .color);
    tledPeriod->setBorderColor(Settings::BorderColor);

    UpdateOtherColors();
}

void frmScoreboard::ObjShpLight(Shape *Obj, VbBoolean Light, OleColor Color)
{
    Obj->setFillColor(Light == VbTrue ? Color : FormBack);
}

// Colours for a side's pair of lamps by a count or side number; values
// outside the table leave the lamps as they are.
static void lightPair(
    Label *first, Label *second, qint16 value, const QList<QPair<OleColor, OleColor>> &table)
{
    if (value < 0 || value >= table.size())
        return;
    first->setForeColor(table[value].first);
    second->setForeColor(table[value].second);
}

void frmScoreboard::UpdateOtherColors()
{
    ObjShpLight(shpKHome, PenaltyHK, HoldColor);
    ObjShpLight(shpCHome, PenaltyHC, HoldColor);
    ObjShpLight(shpSHome, PenaltyHS, HoldColor);
    ObjShpLight(shpKVisitor, PenaltyVK, HoldColor);
    ObjShpLight(shpCVisitor, PenaltyVC, HoldColor);
    ObjShpLight(shpSVisitor, PenaltyVS, HoldColor);

    lightPair(lblIpponHome, lblIpponVisitor, Ippon,
        {{FormBack, FormBack}, {HoldColor, FormBack}, {FormBack, HoldColor}});

    const QList<QPair<OleColor, OleColor>> medical = {
        {FormBack, FormBack}, {HoldColor, FormBack}, {HoldColor, HoldColor}};
    lightPair(lblMedHome->at<Label>(0), lblMedHome->at<Label>(1), MedHome, medical);
    lightPair(lblMedVisitor->at<Label>(0), lblMedVisitor->at<Label>(1), MedVisitor, medical);

    if (Winner >= 0 && Winner <= 2) {
        shpWinnerHome->setFillColor(Winner == 1 ? ScoreColor : FormBack);
        shpWinnerVisitor->setFillColor(Winner == 2 ? ScoreColor : FormBack);
    }
    emit contentChanged();
}
