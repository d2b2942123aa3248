#include "scoreboard/BoardDesign.h"

#include "controls/ClockDisplay.h"
#include "controls/ControlArray.h"
#include "controls/DigitDisplay.h"
#include "controls/Image.h"
#include "controls/Label.h"
#include "controls/Line.h"
#include "controls/MatchTimer.h"
#include "controls/PictureBox.h"
#include "controls/Shape.h"
#include "controls/Timer.h"
#include "platform/MMControl.h"
#include "platform/SoundEffectBackend.h"
#include "platform/TracedMediaBackend.h"

namespace {

constexpr OleColor White = rgbColor(255, 255, 255);
constexpr OleColor Black = rgbColor(0, 0, 0);
constexpr OleColor Red = rgbColor(255, 0, 0);
constexpr OleColor Green = rgbColor(0, 192, 0);
constexpr OleColor Blue = rgbColor(0, 153, 255);

struct Box
{
    double left, top, width, height;
};

template<typename T>
T *place(T *control, const char *name, Box box)
{
    control->setObjectName(QLatin1String(name));
    control->setTwipsGeometry(box.left, box.top, box.width, box.height);
    return control;
}

// Board lettering: Arial bold, centred, transparent unless a back colour is given.
Label *lettering(QWidget *parent, const char *name, Box box, const QString &caption, double points,
    OleColor fore = White, int index = -1)
{
    auto *label = place(new Label(parent, index), name, box);
    label->setCaption(caption);
    label->setFontSize(points);
    label->setFontBold(true);
    label->setForeColor(fore);
    label->setBackStyle(0);
    return label;
}

Label *panel(QWidget *parent, const char *name, Box box, const QString &caption, double points, OleColor back,
    OleColor fore, int index = -1)
{
    auto *label = lettering(parent, name, box, caption, points, fore, index);
    label->setBackStyle(1);
    label->setBackColor(back);
    return label;
}

PictureBox *box(QWidget *parent, const char *name, Box geometry, bool tabStop)
{
    auto *picture = place(new PictureBox(parent), name, geometry);
    picture->setTabStop(tabStop);
    return picture;
}

Shape *lamp(QWidget *parent, const char *name, Box geometry, OleColor fill, int shape = Shape::Oval)
{
    auto *s = place(new Shape(parent), name, geometry);
    s->setShapeKind(shape);
    s->setFillStyle(Shape::Solid);
    s->setFillColor(fill);
    s->setBorderWidth(2);
    return s;
}

Line *rule(QWidget *parent, const char *name, double x1, double y1, double x2, double y2)
{
    auto *line = new Line(parent);
    line->setObjectName(QLatin1String(name));
    line->setEnds(x1, y1, x2, y2);
    line->setBorderWidth(7);
    line->setBorderColor(White);
    return line;
}

DigitDisplay *scoreDisplay(QWidget *parent, const char *name, double left, double top)
{
    auto *display = new DigitDisplay(parent);
    display->setObjectName(QLatin1String(name));
    display->setLeft(left);
    display->setTop(top);
    display->setPaddingH(100);
    display->setPaddingV(75);
    display->setPaddingI(50);
    display->setSize(65);
    display->setLitColor(Green);
    display->setFocusable(true);
    display->setTabStop(true);
    return display;
}

DigitDisplay *holdDisplay(QWidget *parent, const char *name)
{
    auto *display = new DigitDisplay(parent);
    display->setObjectName(QLatin1String(name));
    display->setLeft(360);
    display->setTop(120);
    display->setMax(99);
    display->setCaption(99);
    display->setPaddingI(140);
    display->setSize(65);
    display->setLitColor(Red);
    return display;
}

} // namespace

QList<QObject *> BoardDesign::setupUi(QWidget *form)
{
    const QString plus = QStringLiteral("+");
    const QString noText;

    // The highlight lies beneath every focusable object; created first, it
    // stays at the bottom of the stacking order.
    shpObjectSelected = place(new Shape(form), "shpObjectSelected", {4680, 3240, 255, 255});
    shpObjectSelected->setShapeKind(Shape::Rectangle);
    shpObjectSelected->setFillStyle(Shape::Solid);
    shpObjectSelected->setFillColor(Red);
    shpObjectSelected->setBorderStyle(0);
    shpObjectSelected->setVisible_(false);

    // Title band.
    lblTitle = lettering(form, "lblTitle", {113, 0, 9255, 855}, noText, 36);
    Line2 = rule(form, "Line2", 53, 945, 9413, 945);

    // Names and contest clock.
    lblHomeName = panel(form, "lblHomeName", {0, 1115, 2600, 495}, noText, 21.75, White, Black);
    lblVisitorName = panel(form, "lblVisitorName", {6900, 1115, 2600, 495}, noText, 21.75, Blue, White);
    shpContestTime = place(new Shape(form), "shpContestTime", {2745, 960, 3990, 2055});
    shpContestTime->setShapeKind(Shape::RoundedRectangle);
    shpContestTime->setBorderWidth(7);
    shpContestTime->setBorderColor(White);
    Label25 = lettering(form, "Label25", {2873, 1020, 3735, 495}, QStringLiteral("CONTEST TIME"), 21.75);
    tledPeriod = new ClockDisplay(form);
    tledPeriod->setObjectName(QStringLiteral("tledPeriod"));
    tledPeriod->setLeft(3398);
    tledPeriod->setTop(1500);
    tledPeriod->setPaddingH(180);
    tledPeriod->setPaddingV(80);
    tledPeriod->setPaddingI(180);
    tledPeriod->setPaddingD(180);
    tledPeriod->setSize(65);
    tledPeriod->setCaption(120);
    tledPeriod->setGroupLengths(QStringLiteral("1,2"));
    tledPeriod->setFocusable(true);
    tledPeriod->setTabStop(true);
    lblCreatedBy = lettering(
        form, "lblCreatedBy", {2873, 2630, 3735, 495}, QStringLiteral("Zembrak judo scoreboard"), 12.75);

    // Osaekomi boxes: they take the focus for the hold area but are no tab stops.
    picContainerHoldHome = box(form, "picContainerHoldHome", {720, 1680, 1695, 1215}, false);
    nledHoldHome = holdDisplay(picContainerHoldHome, "nledHoldHome");
    shpHoldHome = lamp(picContainerHoldHome, "shpHoldHome", {120, 840, 165, 165}, White);
    shpHoldHome->setBorderStyle(0);
    picContainerHoldVisitor = box(form, "picContainerHoldVisitor", {7080, 1680, 1695, 1215}, false);
    nledHoldVisitor = holdDisplay(picContainerHoldVisitor, "nledHoldVisitor");
    shpHoldVisitor = lamp(picContainerHoldVisitor, "shpHoldVisitor", {120, 840, 165, 165}, White);
    shpHoldVisitor->setBorderStyle(0);

    Line1 = rule(form, "Line1", 4733, 3020, 4733, 6790);

    // Home half.
    picMedHome = box(form, "picMedHome", {480, 3120, 1215, 615}, true);
    auto *medHome1 = panel(picMedHome, "lblMedHome", {0, 0, 615, 615}, plus, 24, Black, Red, 1);
    auto *medHome0 = panel(picMedHome, "lblMedHome", {600, 0, 615, 615}, plus, 24, Black, Red, 0);
    lblMedHome = new ControlArray(QStringLiteral("lblMedHome"), form);
    lblMedHome->add(0, medHome0);
    lblMedHome->add(1, medHome1);
    Label18 = lettering(form, "Label18", {1680, 3120, 2175, 615}, QStringLiteral("WINNER"), 24);
    picWinnerHome = box(form, "picWinnerHome", {3960, 3240, 495, 375}, true);
    shpWinnerHome = lamp(picWinnerHome, "shpWinnerHome", {120, 0, 255, 375}, Green);
    picIpponHome = box(form, "picIpponHome", {480, 4200, 495, 495}, true);
    lblIpponHome = panel(picIpponHome, "lblIpponHome", {0, 0, 495, 495}, QStringLiteral("<"), 24, Black, Red);
    Label15 = lettering(form, "Label15", {480, 4800, 495, 495}, QStringLiteral("I"), 24);
    nledWHome = scoreDisplay(form, "nledWHome", 1440, 3840);
    nledYHome = scoreDisplay(form, "nledYHome", 2520, 3840);
    nledKHome = scoreDisplay(form, "nledKHome", 3600, 3840);
    Label3 = lettering(form, "Label3", {1440, 5040, 735, 615}, QStringLiteral("W"), 24);
    Label5 = lettering(form, "Label5", {2520, 5040, 735, 615}, QStringLiteral("Y"), 24);
    Label6 = lettering(form, "Label6", {3600, 5040, 735, 615}, QStringLiteral("K"), 24);
    picHomePicContainer = box(form, "picHomePicContainer", {120, 5400, 1215, 1335}, false);
    picHomePicContainer->setFocusable(false);
    imgHomePic = place(new Image(picHomePicContainer), "imgHomePic", {0, 0, 975, 855});
    picKHome = box(form, "picKHome", {1560, 5700, 495, 375}, true);
    shpKHome = lamp(picKHome, "shpKHome", {120, 0, 255, 375}, Red);
    picCHome = box(form, "picCHome", {2640, 5700, 495, 375}, true);
    shpCHome = lamp(picCHome, "shpCHome", {120, 0, 255, 375}, Red);
    picSHome = box(form, "picSHome", {3720, 5700, 495, 375}, true);
    shpSHome = lamp(picSHome, "shpSHome", {120, 0, 255, 375}, Red);
    Label9 = lettering(form, "Label9", {1440, 6120, 735, 615}, QStringLiteral("K"), 24);
    Label11 = lettering(form, "Label11", {2520, 6120, 735, 615}, QStringLiteral("C"), 24);
    Label12 = lettering(form, "Label12", {3600, 6120, 735, 615}, QStringLiteral("S"), 24);

    // Visitor half.
    picMedVisitor = box(form, "picMedVisitor", {5400, 3120, 1215, 615}, true);
    auto *medVisitor1 = panel(picMedVisitor, "lblMedVisitor", {0, 0, 615, 615}, plus, 24, Black, Red, 1);
    auto *medVisitor0 = panel(picMedVisitor, "lblMedVisitor", {600, 0, 615, 615}, plus, 24, Black, Red, 0);
    lblMedVisitor = new ControlArray(QStringLiteral("lblMedVisitor"), form);
    lblMedVisitor->add(0, medVisitor0);
    lblMedVisitor->add(1, medVisitor1);
    Label17 = lettering(form, "Label17", {6720, 3120, 2055, 615}, QStringLiteral("WINNER"), 24);
    picWinnerVisitor = box(form, "picWinnerVisitor", {8760, 3240, 495, 375}, true);
    shpWinnerVisitor = lamp(picWinnerVisitor, "shpWinnerVisitor", {120, 0, 255, 375}, Green);
    picIpponVisitor = box(form, "picIpponVisitor", {5400, 4200, 495, 495}, true);
    lblIpponVisitor =
        panel(picIpponVisitor, "lblIpponVisitor", {0, 0, 495, 495}, QStringLiteral(">"), 24, Black, Red);
    Label16 = lettering(form, "Label16", {5400, 4800, 495, 495}, QStringLiteral("I"), 24);
    nledWVisitor = scoreDisplay(form, "nledWVisitor", 6240, 3840);
    nledYVisitor = scoreDisplay(form, "nledYVisitor", 7320, 3840);
    nledKVisitor = scoreDisplay(form, "nledKVisitor", 8400, 3840);
    Label4 = lettering(form, "Label4", {6240, 5040, 735, 615}, QStringLiteral("W"), 24);
    Label8 = lettering(form, "Label8", {7320, 5040, 735, 615}, QStringLiteral("Y"), 24);
    Label7 = lettering(form, "Label7", {8400, 5040, 735, 615}, QStringLiteral("K"), 24);
    picVisitorPicContainer = box(form, "picVisitorPicContainer", {4920, 5400, 1215, 1335}, false);
    picVisitorPicContainer->setFocusable(false);
    imgVisitorPic = place(new Image(picVisitorPicContainer), "imgVisitorPic", {0, 0, 975, 855});
    picKVisitor = box(form, "picKVisitor", {6360, 5700, 495, 375}, true);
    shpKVisitor = lamp(picKVisitor, "shpKVisitor", {120, 0, 255, 375}, Red);
    picCVisitor = box(form, "picCVisitor", {7440, 5700, 495, 375}, true);
    shpCVisitor = lamp(picCVisitor, "shpCVisitor", {120, 0, 255, 375}, Red);
    picSVisitor = box(form, "picSVisitor", {8520, 5700, 495, 375}, true);
    shpSVisitor = lamp(picSVisitor, "shpSVisitor", {120, 0, 255, 375}, Red);
    Label10 = lettering(form, "Label10", {6240, 6120, 735, 615}, QStringLiteral("K"), 24);
    Label14 = lettering(form, "Label14", {7320, 6120, 735, 615}, QStringLiteral("C"), 24);
    Label13 = lettering(form, "Label13", {8400, 6120, 735, 615}, QStringLiteral("S"), 24);

    // Controls without a visible part.
    tmrClock1 = new Timer(form);
    tmrClock1->setObjectName(QStringLiteral("tmrClock1"));
    tmrClock1->setInterval(50);
    tkPeriod = new MatchTimer(form);
    tkPeriod->setObjectName(QStringLiteral("tkPeriod"));
    tkHoldHome = new MatchTimer(form);
    tkHoldHome->setObjectName(QStringLiteral("tkHoldHome"));
    tkHoldHome->setCountDirection(MatchTimer::Up);
    tkHoldVisitor = new MatchTimer(form);
    tkHoldVisitor->setObjectName(QStringLiteral("tkHoldVisitor"));
    tkHoldVisitor->setCountDirection(MatchTimer::Up);
    mmcBuzzer = new MMControl(form);
    mmcBuzzer->setObjectName(QStringLiteral("mmcBuzzer"));
    mmcBuzzer->setBackend(TracedMediaBackend::tracedIfAsked(std::make_unique<SoundEffectBackend>()));

    // The focus chain, then the window's own control order, as designed.
    chainFocus();
    return {lblTitle, Line2, lblHomeName, lblVisitorName, shpContestTime, Label25, tledPeriod,
        lblCreatedBy, picContainerHoldHome, nledHoldHome, shpHoldHome, picContainerHoldVisitor,
        nledHoldVisitor, shpHoldVisitor, Line1, picMedHome, medHome1, medHome0, Label18, picWinnerHome,
        shpWinnerHome, picIpponHome, lblIpponHome, Label15, nledWHome, nledYHome, nledKHome, Label3, Label5,
        Label6, picHomePicContainer, imgHomePic, picKHome, shpKHome, picCHome, shpCHome, picSHome, shpSHome,
        Label9, Label11, Label12, picMedVisitor, medVisitor1, medVisitor0, Label17, picWinnerVisitor,
        shpWinnerVisitor, picIpponVisitor, lblIpponVisitor, Label16, nledWVisitor, nledYVisitor, nledKVisitor,
        Label4, Label8, Label7, picVisitorPicContainer, imgVisitorPic, picKVisitor, shpKVisitor, picCVisitor,
        shpCVisitor, picSVisitor, shpSVisitor, Label10, Label14, Label13, shpObjectSelected, tmrClock1,
        tkPeriod, tkHoldHome, tkHoldVisitor, mmcBuzzer};
}

void BoardDesign::chainFocus()
{
    const QList<QWidget *> order = {picContainerHoldHome, tledPeriod, picContainerHoldVisitor, picMedHome,
        picWinnerHome, picMedVisitor, picWinnerVisitor, picIpponHome, nledWHome, nledYHome, nledKHome,
        picIpponVisitor, nledWVisitor, nledYVisitor, nledKVisitor, picKHome, picCHome, picSHome, picKVisitor,
        picCVisitor, picSVisitor};
    for (qsizetype i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}
