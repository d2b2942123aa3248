#include "scoreboard/AudienceWindow.h"

#include "controls/ClockDisplay.h"
#include "controls/Label.h"
#include "controls/OleColorConvert.h"
#include "controls/PictureBox.h"
#include "controls/Shape.h"
#include "modules/AudienceCues.h"
#include "scoreboard/frmScoreboard.h"
#include "settings/SettingsVariables.h"

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScreen>
#include <QWindow>

namespace {

// Takes the audience window along when the board goes. Being the board's
// child would make it the board's transient dialog, which window managers
// keep beside the board rather than on a screen of its own.
class WindowKeeper : public QObject
{
public:
    WindowKeeper(QObject *board, QWidget *window)
        : QObject(board)
        , m_window(window)
    { }
    ~WindowKeeper() override { delete m_window.data(); }

private:
    QPointer<QWidget> m_window;
};

} // namespace

AudienceWindow::AudienceWindow(frmScoreboard &board)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus)
    , m_board(&board)
{
    setObjectName(QStringLiteral("AudienceWindow"));
    setWindowTitle(QStringLiteral("Zembrak audience"));
    // The operator's keys stay with the board, even when this one appears.
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::BlankCursor);

    connect(&board, &frmScoreboard::contentChanged, this, &AudienceWindow::boardChanged);
    board.setAudienceWindow(true);
    m_cues = cues();
    new WindowKeeper(&board, this);
    connect(qApp, &QGuiApplication::screenRemoved, this, &AudienceWindow::screenRemoved);
    // What the board repaints is what changed: its controls' paints tell
    // this window which parts to redraw, so that a running clock redraws the
    // clock and not the whole screen.
    board.installEventFilter(this);
    for (QWidget *control : board.findChildren<QWidget *>())
        control->installEventFilter(this);
}

AudienceWindow::~AudienceWindow()
{
    // Gone with the board, the board is no longer one to tell.
    if (auto *board = qobject_cast<frmScoreboard *>(m_board.data()))
        board->setAudienceWindow(false);
}

AudienceWindow::Cues AudienceWindow::cues() const
{
    Cues cues;
    if (!m_board || !board()->rules().automatic())
        return cues;
    const frmScoreboard &b = *board();
    if (b.contestEnded())
        cues.banner = AudienceCues::banner(b.endedContest());
    cues.clockStopped = !b.tkPeriod->Running();
    cues.hold = b.tkHoldHome->Running() ? 1 : b.tkHoldVisitor->Running() ? 2 : 0;
    return cues;
}

void AudienceWindow::boardChanged()
{
    if (m_board) {
        const Cues now = cues();
        if (now != m_cues) {
            m_cues = now;
            update();
            return;
        }
    }
    // A board that is not on screen paints nothing to follow, and the
    // margins are not the board's to paint; redraw it all.
    const QWindow *window = m_board ? m_board->windowHandle() : nullptr;
    if (!window || !window->isExposed() || (m_board && board()->BackColor() != m_paintedBack))
        update();
}

QRect AudienceWindow::shownRect(const QRect &boardRect) const
{
    const QRect target = this->boardRect();
    if (!m_board || m_board->width() <= 0 || m_board->height() <= 0)
        return rect();
    const double sx = double(target.width()) / m_board->width();
    const double sy = double(target.height()) / m_board->height();
    const QRectF shown(target.left() + boardRect.left() * sx, target.top() + boardRect.top() * sy,
        boardRect.width() * sx, boardRect.height() * sy);
    // A pixel more on each side for the rounding of scaled edges.
    return shown.toAlignedRect().adjusted(-1, -1, 1, 1);
}

void AudienceWindow::placeOn(QScreen *screen)
{
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    // A normal size to come back to from full screen: half the screen, centred.
    const QRect available = screen->availableGeometry();
    QRect normal(QPoint(), available.size() / 2);
    normal.moveCenter(available.center());
    setScreen(screen);
    setWindowState(windowState() & ~Qt::WindowFullScreen);
    setGeometry(normal);
    setFullScreen(true);
    if (m_board && m_board->isVisible())
        show();
}

void AudienceWindow::setFullScreen(bool fullScreen)
{
    if (fullScreen) {
        if (!isFullScreen())
            m_normalGeometry = geometry();
        // Without a window manager to do it, the window covers the screen
        // itself; first, as a new geometry ends the full-screen state.
        setGeometry(screen()->geometry());
        setWindowState(windowState() | Qt::WindowFullScreen);
    } else {
        setWindowState(windowState() & ~Qt::WindowFullScreen);
        if (m_normalGeometry.isValid())
            setGeometry(m_normalGeometry);
    }
}

QRect AudienceWindow::boardRect() const
{
    if (!m_board || m_board->width() <= 0 || m_board->height() <= 0)
        return rect();
    QSize size = m_board->size().scaled(this->size(), Qt::KeepAspectRatio);
    QRect target(QPoint(), size);
    target.moveCenter(rect().center());
    return target;
}

void AudienceWindow::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    if (!m_board) {
        painter.fillRect(event->rect(), Qt::black);
        return;
    }
    painter.fillRect(event->rect(), toQColor(board()->BackColor()));
    if (event->rect() == rect())
        m_paintedBack = board()->BackColor();
    const QRect target = boardRect();
    painter.translate(target.topLeft());
    painter.scale(double(target.width()) / m_board->width(), double(target.height()) / m_board->height());
    // The board's own paint is only its background; its controls are drawn
    // one by one, bottom to top, so that the selection frame can be left out,
    // and only those within the part to redraw. Only the design's controls:
    // a dialog, message box or anything else the operator opens over the
    // board is its child too, and is none of the audience's business.
    const QRect dirty = event->rect();
    const Cues shownCues = cues();
    m_rendering = true;
    for (QObject *child : m_board->children()) {
        auto *control = qobject_cast<FormControl *>(child);
        if (!control || control->isWindow() || control->isHidden() || control == board()->shpObjectSelected ||
            !shownRect(control->geometry()).intersects(dirty))
            continue;
        control->render(&painter, control->pos(), QRegion(), QWidget::DrawChildren);
        if (control == board()->tledPeriod && shownCues.clockStopped)
            painter.fillRect(control->geometry(), QColor(0, 0, 0, 128)); // half brightness
    }
    m_rendering = false;
    paintCues(painter, shownCues);
}

QRect AudienceWindow::osaekomiRect(qint16 side) const
{
    // Above the side's hold counter, as wide as its box, over the name
    // panel there: the panel's colour still tells whose hold it is.
    const QRect hold =
        (side == 1 ? board()->picContainerHoldHome : board()->picContainerHoldVisitor)->geometry();
    const QRect name = (side == 1 ? board()->lblHomeName : board()->lblVisitorName)->geometry();
    const int top = std::min(name.top(), hold.top() - 8);
    return QRect(hold.left(), top, hold.width(), hold.top() - 1 - top);
}

QRect AudienceWindow::bannerRect() const
{
    // Across the board, over the middle of the two sides' panels.
    const int height = std::max(m_board->height() / 6, 12);
    return QRect(0, (m_board->height() - height) * 3 / 5, m_board->width(), height);
}

namespace {

// The largest bold font, up to `height`, in which `text` fits `box`.
QFont fittedFont(const QString &text, const QRect &box, double height)
{
    QFont font(QStringLiteral("Liberation Sans"));
    font.setBold(true);
    font.setPixelSize(std::max(1, int(height)));
    const double advance = QFontMetricsF(font).horizontalAdvance(text);
    if (advance > box.width() * 0.94)
        font.setPixelSize(std::max(1, int(height * box.width() * 0.94 / advance)));
    return font;
}

} // namespace

void AudienceWindow::paintCues(QPainter &painter, const Cues &cues) const
{
    if (cues.hold != 0) {
        const QRect band = osaekomiRect(cues.hold);
        const QString text = QStringLiteral("OSAEKOMI");
        painter.fillRect(band, toQColor(Settings::HoldColor));
        painter.setPen(Qt::white);
        painter.setFont(fittedFont(text, band, band.height() * 0.8));
        painter.drawText(band, Qt::AlignCenter, text);
    }
    if (!cues.banner.isEmpty()) {
        const QRect band = bannerRect();
        // Nearly black, edged in the score colour above and below.
        const int edge = std::max(2, band.height() / 20);
        painter.fillRect(band, toQColor(Settings::ScoreColor));
        painter.fillRect(band.adjusted(0, edge, 0, -edge), Qt::black);
        painter.setPen(Qt::white);
        painter.setFont(fittedFont(cues.banner, band, band.height() * 0.6));
        painter.drawText(band, Qt::AlignCenter, cues.banner);
    }
}

void AudienceWindow::mouseDoubleClickEvent(QMouseEvent *event)
{
    event->accept();
    setFullScreen(!isFullScreen());
}

void AudienceWindow::keyPressEvent(QKeyEvent *event)
{
    event->accept();
}

void AudienceWindow::keyReleaseEvent(QKeyEvent *event)
{
    event->accept();
}

void AudienceWindow::mousePressEvent(QMouseEvent *event)
{
    event->accept();
}

frmScoreboard *AudienceWindow::board() const
{
    return static_cast<frmScoreboard *>(m_board.data());
}

bool AudienceWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Paint && !m_rendering && m_board) {
        auto *widget = static_cast<QWidget *>(watched);
        const QRect painted = static_cast<QPaintEvent *>(event)->rect();
        update(shownRect(QRect(widget->mapTo(m_board, painted.topLeft()), painted.size())));
    } else if (watched == m_board && event->type() == QEvent::Resize) {
        update(); // new proportions, new margins
    }
    if (watched == m_board) {
        if (event->type() == QEvent::Show)
            show();
        else if (event->type() == QEvent::Hide && !m_board->isMinimized())
            hide();
    }
    return QWidget::eventFilter(watched, event);
}

void AudienceWindow::screenRemoved(QScreen *screen)
{
    // Qt may already have moved the window elsewhere; what matters is that
    // it stays on a screen that exists, full screen as it was.
    QWindow *window = windowHandle();
    if (screen != this->screen() && !(window && window->screen() == screen))
        return;
    const bool full = isFullScreen();
    const QSize normalSize = m_normalGeometry.size();
    QScreen *primary = QGuiApplication::primaryScreen();
    if (primary == screen) {
        const QList<QScreen *> screens = QGuiApplication::screens();
        primary = nullptr;
        for (QScreen *other : screens) {
            if (other != screen) {
                primary = other;
                break;
            }
        }
    }
    if (!primary)
        return;
    placeOn(primary);
    if (!full) {
        // Back to its own size, within the new screen.
        QRect normal(QPoint(), normalSize.boundedTo(primary->availableGeometry().size()));
        normal.moveCenter(primary->availableGeometry().center());
        m_normalGeometry = normal;
        setFullScreen(false);
    }
}
