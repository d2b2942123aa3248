#pragma once

#include "controls/MatchTimer.h"
#include "day/DayBoard.h"
#include "modules/ContestResult.h"
#include "modules/Form.h"
#include "modules/MatchList.h"
#include "modules/MatchMarks.h"
#include "modules/Referee.h"
#include "modules/RuleSet.h"
#include "modules/SavedContest.h"
#include "scoreboard/BoardDesign.h"
#include "scoreboard/MatchState.h"

#include <QWidget>

class FormControl;
class MatchDay;

// The scoreboard that faces the mat: it holds the match state, times the
// contest and the osaekomi, takes every operator key and click, and draws
// the board at any window size. Closing it ends the program.
class frmScoreboard : public QWidget, public BoardDesign, public MatchState, public Form, public DayBoard
{
    Q_OBJECT
    Q_CLASSINFO("TypeName", "Form")
    Q_PROPERTY(qint32 BackColor READ BackColor WRITE setBackColor)

public:
    explicit frmScoreboard(QWidget *parent = nullptr);
    ~frmScoreboard() override;

    // Key dispatch.
    void AllKeyCode(qint16 KeyCode);
    void AllKeyUp(qint16 KeyCode, qint16 Shift);
    static qint16 KeyCodeToAsci(qint16 KeyCode);

    // Contest clock and osaekomi.
    void RefreshTime();
    void UpdatePinStatus();
    void Buzzer(const QString &FileName);

    // Colours, labels, selection.
    void UpdateFormColors();
    void UpdateOtherColors();
    void ObjShpLight(Shape *Obj, VbBoolean Light, OleColor Color);
    void ObjectSelected(FormControl *SelectedObject);
    // Whether the audience has a window of its own. Then this board faces
    // the operator alone and draws its selection frame to be seen;
    // otherwise as stored.
    void setAudienceWindow(bool present);
    bool hasAudienceWindow() const { return m_audienceWindow; }
    void UpdateLabels();
    void UpdateNumLock();

    OleColor BackColor() const { return m_backColor; }
    void setBackColor(OleColor color);

    // Form
    QList<QObject *> Controls() const override { return m_controls; }
    double OuterWidth() const override;
    double OuterHeight() const override;
    bool IsMinimized() const override { return isMinimized(); }
    void BeginLayoutUpdate() override;
    void EndLayoutUpdate() override;

    // The rule set the board runs under: its letters, its contest time and
    // what it decides. The Design set decides nothing.
    void setRules(const Rules::RuleSet &rules);
    const Rules::RuleSet &rules() const override { return m_referee.rules(); }
    const Rules::Referee &referee() const { return m_referee; }
    bool hansokuMake(qint16 side) const { return m_referee.hansokuMake(side); }
    qint16 shidos(qint16 side) const { return m_referee.shidos(side); }
    // Level at the end of the time under a set with golden score: the
    // clock counts up and the first score ends the contest.
    bool goldenScore() const { return m_referee.goldenScore(); }
    // Ended by the rules, until the clock starts again or a new contest.
    bool contestEnded() const { return m_referee.ended(); }

    // The contest's marks and scores as one value, and putting one back.
    MatchMarks marks() const override;
    void setMarks(const MatchMarks &marks) override;

    // The tournament day the board runs: its list, results, saved contest
    // and the history of the marks.
    MatchDay &day() { return *m_day; }
    const MatchDay &day() const { return *m_day; }
    // JudoShiai, the tournament program, gives the contests in place of the
    // match list and takes their results. An empty host ends the link.
    void linkTournament(const QString &host, quint16 port, int tatami);

    // DayBoard: the board as the day sees it (frmScoreboardMatches.cpp,
    // frmScoreboardRecovery.cpp).
    TimeValue resetTime() const override;
    bool clockRan() const override { return m_clockRan; }
    SavedContest contestOnBoard() const override;
    void putContest(const SavedContest &saved) override;
    void startContest(const MatchList::Next &next) override;
    ContestResult::Ended endedContest() const override;
    void dayChanged() override;
    void tellOperator(const QString &title, const QString &text) override;
    bool askOperator(const QString &text) override;

    // Hands every match timer and the tick the same clock; tests drive time
    // with it.
    void setClock(const MatchTimer::Clock &clock);

    // Design client area in pixels.
    static constexpr int DesignClientWidth = 632;
    static constexpr int DesignClientHeight = 453;


    // Set once the end-of-time buzzer has sounded; cleared whenever a
    // refresh sees time left.
    VbBoolean TimeUpBuzzed = VbFalse;

signals:
    // Something the audience sees may have changed: a time shown, a lamp, a
    // score, a label, a colour or the layout. The selection frame, being the
    // operator's cursor, does not count. Raised only on change, so that
    // mirrors and feeds cost nothing while the board stands still.
    void contentChanged();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void connectHandlers();
    void Form_Load();
    void Form_Resize();
    void noteFrameMargins();

    // Handlers of the board's objects.
    void penaltyKeyDown(VbBoolean &flag, qint16 KeyCode);
    void ipponClick(qint16 side);
    void ipponKeyDown(qint16 side, qint16 KeyCode);
    void medicalKeyDown(qint16 &count, qint16 KeyCode);
    void medicalMouseDown(qint16 &count, qint16 Button);
    void winnerKeyDown(qint16 side, qint16 KeyCode);
    void scoreKeyDown(DigitDisplay *display, qint16 KeyCode);
    void tledPeriodKeyDown(qint16 KeyCode);
    void mmcBuzzer_Done(qint32 NotifyCode);
    void shidoKeyDown(qint16 side, qint16 KeyCode, qint16 Shift, bool takeBack);

    // The referee's calls applied (frmScoreboardRules.cpp).
    bool scoreUsed(const DigitDisplay *display) const;
    Rules::Match scoresForRules() const;
    qint16 runningHold() const; // 1, 2, or 0 for none
    void applyCall(const Rules::Call &call);
    // The holds as the referee says; their running state only with `runAsSaid`.
    void applyHolds(const Rules::Holds &holds, bool runAsSaid);
    void enterGoldenScore();
    void leaveGoldenScore();
    DigitDisplay *awardDisplay(qint16 side, Rules::Award award) const;
    void showShidos();
    void updateWindowTitle();
    QStringList tournamentSettings() const;
    void applyTournamentSettings();
    qint64 ticksUntilHoldAward(qint64 stepTicks, qint64 limit) const;

    // The tick refreshes, then sleeps while no match timer runs: refreshing
    // then could change nothing until a timer is written, which wakes it.
    // While timers run it skips the ticks that would show nothing new.
    void tmrClock1_Timer();
    void wakeClock();

    QList<QObject *> m_controls;
    MatchDay *m_day;
    bool m_clockRan = false; // in this contest
    Rules::Referee m_referee;
    qint16 m_penaltyButton = 1; // the mouse button of the last press on a penalty lamp
    qint16 m_penaltyShift = 0; // and the Shift state with it
    qint16 m_frozenShown = 0; // the hold shown frozen, 0 for none
    OleColor m_backColor = rgbColor(192, 192, 192);
    bool m_audienceWindow = false;
    FormControl *m_selected = nullptr; // what the selection frame surrounds

    // What RefreshTime last showed, so that it tells of changes only.
    struct Shown
    {
        float clock = -1;
        qint32 holdHome = -1;
        qint32 holdVisitor = -1;
        bool running[3] {};
        bool operator==(const Shown &) const = default;
    };
    Shown m_shown;
    // The window frame counted in the outer size, as far as it is believed.
    QMargins m_frameAllowance;
};
