#pragma once

#include <QList>
#include <QMargins>
#include <QObject>
#include <QPointer>

class Form;

// Proportional scaling of a window: a snapshot of every control's geometry
// against the window's size, written back scaled on every resize. Positions
// and widths follow the width ratio; heights, fonts, border widths and the
// LED metrics follow the height ratio.
namespace modStretch {

// One control's recorded geometry. A field of 0 was not recorded and is left
// alone when stretching. The fields are 32-bit so that a board re-recorded
// on a screen wider than 32767 twips (about 2184 pixels) still fits.
struct ControlLayout
{
    QPointer<QObject> Ctl;
    qint32 Left = 0;
    qint32 Top = 0;
    qint32 Height = 0;
    qint32 Width = 0;
    qint32 FontSize = 0;
    qint32 BorderWidth = 0;
    qint32 Size = 0;
    qint32 PaddingD = 0;
    qint32 PaddingI = 0;
    qint32 PaddingH = 0;
    qint32 PaddingV = 0;
    qint32 X1 = 0;
    qint32 X2 = 0;
    qint32 Y1 = 0;
    qint32 Y2 = 0;
};

// One entry more than the window has controls; filled from index 0 upward.
extern QList<ControlLayout> LayoutRecord;
// The window's outer size at recording, twips.
extern qint32 DesignFormWidth;
extern qint32 DesignFormHeight;

void RecordLayout(Form &window);
void StretchLayout(Form &window);
double AtLeastOne(double x);

// The window frame, in pixels, that counts in a window's outer size: each side
// of the frame the platform reports held to 0 to LargestFrame, as no real
// frame is negative or that wide.
constexpr int LargestFrame = 200;
QMargins PlausibleFrame(const QMargins &reported);

} // namespace modStretch
