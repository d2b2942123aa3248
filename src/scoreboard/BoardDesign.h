#pragma once

#include <QList>

class ClockDisplay;
class ControlArray;
class DigitDisplay;
class Image;
class Label;
class Line;
class MatchTimer;
class MMControl;
class PictureBox;
class QObject;
class QWidget;
class Shape;
class Timer;

// The board's controls as designed, named as on the design: each at its
// place, size, font and colour for a 9480 x 6795 twip client area. Like a
// form drawn in a designer it holds no behaviour; the board derives from it.
struct BoardDesign
{
    // Creates every control on `form` and chains the focus through them.
    // Returns them in the window's control order.
    QList<QObject *> setupUi(QWidget *form);
    // The osaekomi boxes hold their design places in the chain, though Tab
    // passes them by: they take the focus only by a click.
    void chainFocus();

    Label *lblTitle = nullptr;
    Line *Line2 = nullptr;
    Label *lblHomeName = nullptr;
    Label *lblVisitorName = nullptr;
    Shape *shpContestTime = nullptr;
    Label *Label25 = nullptr;
    ClockDisplay *tledPeriod = nullptr;
    Label *lblCreatedBy = nullptr;
    PictureBox *picContainerHoldHome = nullptr;
    DigitDisplay *nledHoldHome = nullptr;
    Shape *shpHoldHome = nullptr;
    PictureBox *picContainerHoldVisitor = nullptr;
    DigitDisplay *nledHoldVisitor = nullptr;
    Shape *shpHoldVisitor = nullptr;
    Line *Line1 = nullptr;
    PictureBox *picMedHome = nullptr;
    ControlArray *lblMedHome = nullptr;
    Label *Label18 = nullptr;
    PictureBox *picWinnerHome = nullptr;
    Shape *shpWinnerHome = nullptr;
    PictureBox *picIpponHome = nullptr;
    Label *lblIpponHome = nullptr;
    Label *Label15 = nullptr;
    DigitDisplay *nledWHome = nullptr;
    DigitDisplay *nledYHome = nullptr;
    DigitDisplay *nledKHome = nullptr;
    Label *Label3 = nullptr;
    Label *Label5 = nullptr;
    Label *Label6 = nullptr;
    PictureBox *picHomePicContainer = nullptr;
    Image *imgHomePic = nullptr;
    PictureBox *picKHome = nullptr;
    Shape *shpKHome = nullptr;
    PictureBox *picCHome = nullptr;
    Shape *shpCHome = nullptr;
    PictureBox *picSHome = nullptr;
    Shape *shpSHome = nullptr;
    Label *Label9 = nullptr;
    Label *Label11 = nullptr;
    Label *Label12 = nullptr;
    PictureBox *picMedVisitor = nullptr;
    ControlArray *lblMedVisitor = nullptr;
    Label *Label17 = nullptr;
    PictureBox *picWinnerVisitor = nullptr;
    Shape *shpWinnerVisitor = nullptr;
    PictureBox *picIpponVisitor = nullptr;
    Label *lblIpponVisitor = nullptr;
    Label *Label16 = nullptr;
    DigitDisplay *nledWVisitor = nullptr;
    DigitDisplay *nledYVisitor = nullptr;
    DigitDisplay *nledKVisitor = nullptr;
    Label *Label4 = nullptr;
    Label *Label8 = nullptr;
    Label *Label7 = nullptr;
    PictureBox *picVisitorPicContainer = nullptr;
    Image *imgVisitorPic = nullptr;
    PictureBox *picKVisitor = nullptr;
    Shape *shpKVisitor = nullptr;
    PictureBox *picCVisitor = nullptr;
    Shape *shpCVisitor = nullptr;
    PictureBox *picSVisitor = nullptr;
    Shape *shpSVisitor = nullptr;
    Label *Label10 = nullptr;
    Label *Label14 = nullptr;
    Label *Label13 = nullptr;
    Shape *shpObjectSelected = nullptr;
    Timer *tmrClock1 = nullptr;
    MatchTimer *tkPeriod = nullptr;
    MatchTimer *tkHoldHome = nullptr;
    MatchTimer *tkHoldVisitor = nullptr;
    MMControl *mmcBuzzer = nullptr;
};
