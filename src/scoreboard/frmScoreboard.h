#pragma once

#include "controls/MatchTimer.h"
#include "modules/ContestResult.h"
#include "modules/Form.h"
#include "modules/MatchList.h"
#include "modules/MatchMarks.h"
#include "modules/RuleSet.h"
#include "modules/SavedContest.h"
#include "scoreboard/MatchState.h"

#include <QTimer>

#include <QWidget>
#include <memory>

class ClockDisplay;
class ControlArray;
class DigitDisplay;
class FormControl;
class Image;
class Label;
class Line;
class MMControl;
class PictureBox;
class Shape;
class Timer;
class JudoShiaiLink;
namespace JudoShiai {
struct NextMatchMessage;
}

// The scoreboard that faces the mat: it holds the match state, times the
// contest and the osaekomi, takes every operator key and click, and draws
// the board at any window size. Closing it ends the program.
class frmScoreboard : public QWidget, public MatchState, public Form
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
    const Rules::RuleSet &rules() const { return m_rules; }
    bool hansokuMake(qint16 side) const;

    // The contest's marks and scores as one value, and putting one back.
    MatchMarks marks() const;
    void setMarks(const MatchMarks &marks);
    // Ctrl+Z and Ctrl+Shift+Z: the last change to the marks taken back or
    // given again; the clock is left as it runs. False when there is none.
    bool undoMarks();
    bool redoMarks();
    // A new contest: what went before cannot be taken back into it.
    void clearHistory();
    const MatchHistory &history() const { return m_history; }

    // The day's match list (frmScoreboardMatches.cpp). Loading one puts its
    // first contest on the board and keeps the list in the store; the
    // messages of the lines it skipped are returned.
    QStringList loadMatchList(const QByteArray &csv);
    // Goes on with the stored list where it stood, as at a restart.
    void resumeMatchList();
    // The next-match key: the next contest of the list, every mark cleared.
    void NextMatch();
    int matchIndex() const { return m_matchIndex; } // from 1; 0 for none
    int matchCount() const { return int(m_matches.size()); }

    // Results: every contest that ends (at the next match or a clean quit)
    // appends a line to this file, if anything was scored or the clock ran.
    // Empty: none is written.
    void setResultsFile(const QString &path) { m_resultsFile = path; }
    ContestResult::Ended endedContest() const;
    // Writes the contest's line when it is worth one; one warning to the
    // operator the first time the file cannot be written.
    void writeResult();

    // Recovery after an unclean end (frmScoreboardRecovery.cpp): from the
    // time a file is given, the contest is saved to it within a second of
    // every change, and so every second or so while a timer runs; a clean
    // quit writes the result line and removes it.
    void setRecoveryFile(const QString &path);
    SavedContest savedContest() const;
    // Puts a saved contest back with every timer stopped at its time.
    void restoreContest(const SavedContest &saved);
    bool saveContestNow();
    bool savePending() const { return m_saveTimer.isActive(); }
    void contestEndsAtQuit();

    // Hands every match timer and the tick the same clock; tests drive time
    // with it.
    void setClock(const MatchTimer::Clock &clock);

    // JudoShiai, the tournament program, gives the contests in place of the
    // match list and takes their results. An empty host ends the link.
    void linkTournament(const QString &host, quint16 port, int tatami);
    JudoShiaiLink *tournamentLink() const { return m_link; }
    // The JudoShiai match on the board: category and number, 0 for none.
    qint32 tournamentCategory() const;
    qint32 tournamentMatch() const;
    // "COUNTRY, Club" of a side (1 Home, 2 Visitor) of that match.
    QString tournamentDetails(qint16 side) const;

    // Design client area in pixels.
    static constexpr int DesignClientWidth = 632;
    static constexpr int DesignClientHeight = 453;

    // Controls, named as on the design.
    Label *lblTitle;
    Line *Line2;
    Label *lblHomeName;
    Label *lblVisitorName;
    Shape *shpContestTime;
    Label *Label25;
    ClockDisplay *tledPeriod;
    Label *lblCreatedBy;
    PictureBox *picContainerHoldHome;
    DigitDisplay *nledHoldHome;
    Shape *shpHoldHome;
    PictureBox *picContainerHoldVisitor;
    DigitDisplay *nledHoldVisitor;
    Shape *shpHoldVisitor;
    Line *Line1;
    PictureBox *picMedHome;
    ControlArray *lblMedHome;
    Label *Label18;
    PictureBox *picWinnerHome;
    Shape *shpWinnerHome;
    PictureBox *picIpponHome;
    Label *lblIpponHome;
    Label *Label15;
    DigitDisplay *nledWHome;
    DigitDisplay *nledYHome;
    DigitDisplay *nledKHome;
    Label *Label3;
    Label *Label5;
    Label *Label6;
    PictureBox *picHomePicContainer;
    Image *imgHomePic;
    PictureBox *picKHome;
    Shape *shpKHome;
    PictureBox *picCHome;
    Shape *shpCHome;
    PictureBox *picSHome;
    Shape *shpSHome;
    Label *Label9;
    Label *Label11;
    Label *Label12;
    PictureBox *picMedVisitor;
    ControlArray *lblMedVisitor;
    Label *Label17;
    PictureBox *picWinnerVisitor;
    Shape *shpWinnerVisitor;
    PictureBox *picIpponVisitor;
    Label *lblIpponVisitor;
    Label *Label16;
    DigitDisplay *nledWVisitor;
    DigitDisplay *nledYVisitor;
    DigitDisplay *nledKVisitor;
    Label *Label4;
    Label *Label8;
    Label *Label7;
    PictureBox *picVisitorPicContainer;
    Image *imgVisitorPic;
    PictureBox *picKVisitor;
    Shape *shpKVisitor;
    PictureBox *picCVisitor;
    Shape *shpCVisitor;
    PictureBox *picSVisitor;
    Shape *shpSVisitor;
    Label *Label10;
    Label *Label14;
    Label *Label13;
    Shape *shpObjectSelected;
    Timer *tmrClock1;
    MatchTimer *tkPeriod;
    MatchTimer *tkHoldHome;
    MatchTimer *tkHoldVisitor;
    MMControl *mmcBuzzer;

    // Set once the end-of-time buzzer has sounded; cleared whenever a
    // refresh sees time left.
    VbBoolean TimeUpBuzzed = VbFalse;

    // Under a shido count: the shidos given to each side, up to the set's
    // hansoku-make.
    qint16 ShidoHome = 0;
    qint16 ShidoVisitor = 0;
    // Level at the end of the time under a set with golden score: the
    // clock counts up and the first score ends the contest.
    bool GoldenScore = false;

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
    void createControls();
    void setFocusOrder();
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
    void shidoKeyDown(qint16 side, qint16 KeyCode, bool takeBack);

    // The rule set applied (frmScoreboardRules.cpp).
    bool scoreUsed(const DigitDisplay *display) const;
    Rules::Match matchForRules() const;
    void applyRules(Rules::Event event, qint16 side);
    void endContest(const Rules::Outcome &outcome, bool buzz);
    void enterGoldenScore();
    void leaveGoldenScore();
    void awardHold();
    DigitDisplay *awardDisplay(qint16 side, Rules::Award award) const;
    bool holdGoesOnPastTime();
    void endOfHold();
    void showShidos();
    void showContest(const MatchList::Next &next);
    void updateWindowTitle();
    QString tournamentTitle() const;
    void tournamentNextMatch();
    void takeTournamentMatch();
    bool contestStarted() const;
    void saveTournament(SavedContest &contest) const;
    QStringList tournamentSettings() const;
    void applyTournamentSettings();
    void restoreTournament(const SavedContest &saved);
    qint64 ticksUntilHoldAward(qint64 stepTicks, qint64 limit) const;

    // The tick refreshes, then sleeps while no match timer runs: refreshing
    // then could change nothing until a timer is written, which wakes it.
    // While timers run it skips the ticks that would show nothing new.
    void tmrClock1_Timer();
    void wakeClock();

    // Every change to the marks, as the board tells of it, goes on the history.
    void noteMarks();
    void scheduleSave();

    QList<QObject *> m_controls;
    MatchHistory m_history;
    QList<MatchList::Contest> m_matches;
    int m_matchIndex = 0;
    QString m_resultsFile;
    bool m_resultsWarned = false;
    bool m_clockRan = false; // in this contest
    QString m_recoveryFile;
    QTimer m_saveTimer;
    bool m_pastLastMatch = false; // the next-match key found no contest left
    MatchMarks m_marksSeen; // the marks as the history last knew them
    JudoShiaiLink *m_link = nullptr;
    std::shared_ptr<JudoShiai::NextMatchMessage> m_tournamentContest; // the linked match on the board
    bool m_tournamentEnded = false; // its result is sent
    bool m_holdTimesSaid = false;
    bool m_linkLostSaid = false;
    Rules::RuleSet m_rules;
    Rules::Award m_holdAward = Rules::NoAward; // what the running hold has earned so far
    bool m_contestEnded = false; // ended by the rules; cleared when the clock starts again
    bool m_holdPastTime = false; // the time ran out during a hold that goes on
    qint16 m_holdSide = 0; // the side of the hold last seen running, until it ends
    qint16 m_penaltyButton = 1; // the mouse button of the last press on a penalty lamp
    OleColor m_backColor = rgbColor(192, 192, 192);

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
