// The board's life: creation, loading, resizing, focus and closing.

#include "scoreboard/frmScoreboard.h"

#include "controls/ClockDisplay.h"
#include "controls/DigitDisplay.h"
#include "controls/Image.h"
#include "controls/Label.h"
#include "controls/PictureBox.h"
#include "controls/Shape.h"
#include "controls/Timer.h"
#include "day/MatchDay.h"
#include "modules/AudienceCues.h"
#include "modules/modGrabKeys.h"
#include "modules/modStretch.h"
#include "platform/MMControl.h"
#include "settings/SettingsVariables.h"

#include <QApplication>
#include <QCloseEvent>
#include <QPainter>
#include <QWindow>

#include <algorithm>

frmScoreboard::frmScoreboard(QWidget *parent)
    : QWidget(parent)
    , m_day(new MatchDay(*this, this))
{
    setObjectName(QStringLiteral("frmScoreboard"));
    setWindowTitle(QStringLiteral("Zembrak"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(DesignClientWidth, DesignClientHeight);

    m_controls = setupUi(this);
    connectHandlers();

    tmrClock1->setEnabled(true);
    Form_Load();
    setRules(Settings::rules());

    m_day->resumeMatchList();
    // A clean quit ends the contest on the board: closing it, or a signal.
    connect(qApp, &QCoreApplication::aboutToQuit, m_day, &MatchDay::contestEndsAtQuit);
    connect(this, &frmScoreboard::contentChanged, m_day, &MatchDay::scheduleSave);
    m_day->clearHistory();
    connect(this, &frmScoreboard::contentChanged, m_day, &MatchDay::noteMarks);
    connect(tkPeriod, &MatchTimer::Changed, this,
        [this] { m_day->clockCourse(tkPeriod->Running() && !goldenScore()); });
    installEventFilter(this);
    for (QWidget *child : findChildren<QWidget *>())
        child->installEventFilter(this);
}

frmScoreboard::~frmScoreboard()
{
    // The sound file is released however the window goes.
    mmcBuzzer->setCommand(QStringLiteral("Close"));
}

void frmScoreboard::Form_Load()
{
    // The snapshot comes first, before anything changes the controls.
    modStretch::RecordLayout(*this);
    PeriodResetTime = TimeValue::fromSeconds(120);
    tkPeriod->setSeconds(TimeValue::fromSeconds(120));
    tkHoldHome->setSeconds(TimeValue());
    tkHoldVisitor->setSeconds(TimeValue());
    RefreshTime();
    UpdateLabels();
    UpdateFormColors();
    tledPeriod->setFocus();
}

void frmScoreboard::Form_Resize()
{
    modStretch::StretchLayout(*this);
    ObjectSelected(nullptr);
    UpdateLabels();
}

void frmScoreboard::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    noteFrameMargins();
    Form_Resize();
    emit contentChanged();
}

void frmScoreboard::moveEvent(QMoveEvent *event)
{
    QWidget::moveEvent(event);
    // A new frame changes the outer size the board scales by.
    const QMargins before = m_frameAllowance;
    noteFrameMargins();
    if (m_frameAllowance != before && isVisible())
        Form_Resize();
}

// The layout is recorded before the window is framed, when the frame cannot
// be known, so the frame the platform reports later is added to the recorded
// outer size: the board then scales by its outer size as designed and keeps
// its design look at its design size. Without a window manager Qt works the
// margins out from window sizes that lag behind a burst of resizes, and has
// reported thousands of pixels, some negative; only a plausible frame is
// believed, and the recorded size is always what was recorded plus the
// frame believed now, never the sum of earlier guesses.
void frmScoreboard::noteFrameMargins()
{
    const QWindow *window = windowHandle();
    if (!window || !testAttribute(Qt::WA_WState_Created))
        return;
    const QMargins frame = modStretch::PlausibleFrame(window->frameMargins());
    if (frame == m_frameAllowance)
        return;
    const auto across = [](const QMargins &m) { return m.left() + m.right(); };
    const auto down = [](const QMargins &m) { return m.top() + m.bottom(); };
    modStretch::DesignFormWidth += (across(frame) - across(m_frameAllowance)) * TwipsPerPixel;
    modStretch::DesignFormHeight += (down(frame) - down(m_frameAllowance)) * TwipsPerPixel;
    m_frameAllowance = frame;
}

double frmScoreboard::OuterWidth() const
{
    return double(width() + m_frameAllowance.left() + m_frameAllowance.right()) * TwipsPerPixel;
}

double frmScoreboard::OuterHeight() const
{
    return double(height() + m_frameAllowance.top() + m_frameAllowance.bottom()) * TwipsPerPixel;
}

void frmScoreboard::BeginLayoutUpdate()
{
    // Rather than hide the window (which on X11 unmaps it and loses its
    // place, focus and full-screen state), painting is held back.
    setUpdatesEnabled(false);
}

void frmScoreboard::EndLayoutUpdate()
{
    setUpdatesEnabled(true);
    update();
}

void frmScoreboard::focusInEvent(QFocusEvent *event)
{
    QWidget::focusInEvent(event);
    ObjectSelected(tledPeriod);
}

void frmScoreboard::closeEvent(QCloseEvent *event)
{
    if (!mmcBuzzer->FileName().isEmpty())
        mmcBuzzer->setCommand(QStringLiteral("Close"));
    event->accept();
    // The whole program ends with the board: other windows go with it
    // without their own closing steps, and no further event is handled.
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (window != this)
            window->hide();
    }
    QApplication::exit(0);
}

void frmScoreboard::setBackColor(OleColor color)
{
    if (m_backColor == color)
        return;
    m_backColor = color;
    update();
}

void frmScoreboard::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    painter.fillRect(event->rect(), toQColor(m_backColor));
}

void frmScoreboard::setClock(const MatchTimer::Clock &clock)
{
    tkPeriod->setClock(clock);
    tkHoldHome->setClock(clock);
    tkHoldVisitor->setClock(clock);
    tmrClock1->setClock(clock);
    m_day->setClock(clock);
}

void frmScoreboard::UpdateLabels()
{
    lblTitle->setCaption(m_day->boardTitle(Settings::TitleText));
    lblHomeName->setCaption(Settings::HomeText);
    lblVisitorName->setCaption(Settings::VisitorText);
    modGrabKeys::FitPicture(imgHomePic, picHomePicContainer, Settings::HomePic);
    modGrabKeys::FitPicture(imgVisitorPic, picVisitorPicContainer, Settings::VisitorPic);
    modGrabKeys::SetLedType(*this, Settings::LEDType);
    emit contentChanged();
}

void frmScoreboard::ObjectSelected(FormControl *SelectedObject)
{
    // The margin is a 16-bit number of twips: widths beyond 2184 pixels
    // would overflow it, so the setting is held to that range.
    const AudienceCues::Frame frame = AudienceCues::selectionFrame(
        Settings::LEDSelectedWidth, Settings::LEDSelected, Settings::FormBack, m_audienceWindow);
    const qint16 width = std::clamp<qint16>(frame.width, 0, 2184);
    const qint16 Margin = qint16(width * TwipsPerPixel);

    m_selected = SelectedObject;
    shpObjectSelected->setVisible_(false);
    if (!SelectedObject)
        return;
    shpObjectSelected->setLeft(SelectedObject->Left() - Margin);
    shpObjectSelected->setTop(SelectedObject->Top() - Margin);
    shpObjectSelected->setWidth(SelectedObject->Width() + 2 * Margin + TwipsPerPixel);
    shpObjectSelected->setHeight(SelectedObject->Height() + 2 * Margin + TwipsPerPixel);
    shpObjectSelected->setVisible_(true);
}

void frmScoreboard::setAudienceWindow(bool present)
{
    if (present == m_audienceWindow)
        return;
    m_audienceWindow = present;
    shpObjectSelected->setFillColor(AudienceCues::selectionFrame(
        Settings::LEDSelectedWidth, Settings::LEDSelected, Settings::FormBack, m_audienceWindow)
                                        .color);
    ObjectSelected(m_selected);
}
