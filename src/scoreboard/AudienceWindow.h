#pragma once

#include <QPointer>
#include <QWidget>

class frmScoreboard;
class QScreen;

// The board as the audience sees it on a screen of its own: a frameless,
// read-only mirror that draws the board at the window's size, keeping the
// board's proportions and filling the margins with the form's background
// colour. It draws the board's own controls and nothing else: no dialog
// or message box of the operator's, and not the selection frame, which is
// the operator's cursor. Under a rule set with automatics it adds what a
// spectator reads from afar: the result across the board once the contest
// has ended, the clock dimmed while it stands, and "OSAEKOMI" over a
// running hold.
// It shows and hides with the board, goes when the board goes, moves to the
// primary screen when its own is unplugged, and a double-click toggles full
// screen on whatever monitor it is on.
class AudienceWindow : public QWidget
{
    Q_OBJECT

public:
    explicit AudienceWindow(frmScoreboard &board);
    ~AudienceWindow() override;

    // Full screen on this screen.
    void placeOn(QScreen *screen);
    // Full screen on the current screen, or back to its normal place.
    void setFullScreen(bool fullScreen);
    // Where the board is drawn inside the window.
    QRect boardRect() const;

    // The cues drawn over the board, as they stand.
    struct Cues
    {
        QString banner; // empty: none
        bool clockStopped = false;
        qint16 hold = 0; // the side whose hold runs: 1 Home, 2 Visitor
        bool operator==(const Cues &) const = default;
    };
    Cues cues() const;

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    // Keys and clicks are for nobody here.
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void screenRemoved(QScreen *screen);
    void boardChanged();
    // A rectangle of the board, in board pixels, where this window shows it.
    QRect shownRect(const QRect &boardRect) const;
    // In board pixels.
    void paintCues(QPainter &painter, const Cues &cues) const;
    QRect bannerRect() const;
    QRect osaekomiRect(qint16 side) const;

    // The board as a plain widget: the event filter still hears from it while
    // its QWidget destructor runs, when it is no longer a frmScoreboard.
    QPointer<QWidget> m_board;
    frmScoreboard *board() const;
    bool m_rendering = false;
    QRect m_normalGeometry;
    qint32 m_paintedBack = -1; // the form colour of the margins as last drawn
    Cues m_cues; // as last drawn
};
