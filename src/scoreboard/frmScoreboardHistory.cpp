// The contest's marks as one value: taken back and given again with Ctrl+Z
// and Ctrl+Shift+Z, cleared for a new contest.

#include "scoreboard/frmScoreboard.h"

#include "controls/DigitDisplay.h"

#include <QKeyEvent>

MatchMarks frmScoreboard::marks() const
{
    MatchMarks m;
    m.penalties = {PenaltyHK != VbFalse, PenaltyHC != VbFalse, PenaltyHS != VbFalse, PenaltyVK != VbFalse,
        PenaltyVC != VbFalse, PenaltyVS != VbFalse};
    m.ippon = Ippon;
    m.medHome = MedHome;
    m.medVisitor = MedVisitor;
    m.winner = Winner;
    const DigitDisplay *scores[] = {
        nledWHome, nledYHome, nledKHome, nledWVisitor, nledYVisitor, nledKVisitor};
    for (int i = 0; i < 6; ++i)
        m.scores[i] = qint16(scores[i]->Caption());
    m.shidoHome = shidos(1);
    m.shidoVisitor = shidos(2);
    return m;
}

void frmScoreboard::setMarks(const MatchMarks &m)
{
    // Known to the history first, so that putting marks back is no new step.
    m_marksSeen = m;
    VbBoolean *flags[] = {&PenaltyHK, &PenaltyHC, &PenaltyHS, &PenaltyVK, &PenaltyVC, &PenaltyVS};
    for (int i = 0; i < 6; ++i)
        *flags[i] = m.penalties[i] ? VbTrue : VbFalse;
    Ippon = m.ippon;
    MedHome = m.medHome;
    MedVisitor = m.medVisitor;
    Winner = m.winner;
    DigitDisplay *scores[] = {nledWHome, nledYHome, nledKHome, nledWVisitor, nledYVisitor, nledKVisitor};
    for (int i = 0; i < 6; ++i)
        scores[i]->setCaption(m.scores[i]);
    // A direct hansoku-make is its lamp lit short of the count.
    const qint16 limit = rules().shidoLimit;
    const auto direct = [&m, limit](int first, qint16 count) {
        return limit > 0 && m.penalties[first + limit - 1] && count < limit;
    };
    m_referee.marksPutBack(m.shidoHome, m.shidoVisitor, direct(0, m.shidoHome), direct(3, m.shidoVisitor),
        Winner != 0 || Ippon != 0);
    UpdateOtherColors();
}

void frmScoreboard::noteMarks()
{
    const MatchMarks now = marks();
    if (now == m_marksSeen)
        return;
    m_history.record(m_marksSeen);
    m_marksSeen = now;
}

bool frmScoreboard::undoMarks()
{
    noteMarks();
    const std::optional<MatchMarks> earlier = m_history.undo(m_marksSeen);
    if (earlier)
        setMarks(*earlier);
    return earlier.has_value();
}

bool frmScoreboard::redoMarks()
{
    noteMarks();
    const std::optional<MatchMarks> later = m_history.redo(m_marksSeen);
    if (later)
        setMarks(*later);
    return later.has_value();
}

void frmScoreboard::clearHistory()
{
    m_history.clear();
    m_marksSeen = marks();
}

// Ctrl+Z reaches the history before any control or the dispatcher sees it,
// so a command key bound to Z still works without Ctrl.
bool frmScoreboard::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        const Qt::KeyboardModifiers mods = key->modifiers() & ~Qt::KeypadModifier;
        if (key->key() == Qt::Key_Z &&
            (mods == Qt::ControlModifier || mods == (Qt::ControlModifier | Qt::ShiftModifier))) {
            if (mods & Qt::ShiftModifier)
                redoMarks();
            else
                undoMarks();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
