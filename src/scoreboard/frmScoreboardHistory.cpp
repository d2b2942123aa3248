// The contest's marks as one value, and the keys that take them back
// (Ctrl+Z) and give them again (Ctrl+Shift+Z) through the day's history.

#include "scoreboard/frmScoreboard.h"

#include "controls/DigitDisplay.h"
#include "day/MatchDay.h"
#include "platform/KeyEvents.h"
#include "settings/SettingsVariables.h"

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
    m_referee.marksPutBack(m);
    UpdateOtherColors();
}

// Ctrl+Z reaches the history before any control or the dispatcher sees it,
// so a command key bound to Z still works without Ctrl. So does Shift with
// the next-match key, which goes back a contest.
bool frmScoreboard::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        const Qt::KeyboardModifiers mods = key->modifiers() & ~Qt::KeypadModifier;
        if (mods == Qt::ShiftModifier && m_day->matchCount() > 0 &&
            VirtualKeys::fromKeyEvent(key) == Settings::NextMatchKey) {
            m_day->previousMatch();
            return true;
        }
        if (key->key() == Qt::Key_Z &&
            (mods == Qt::ControlModifier || mods == (Qt::ControlModifier | Qt::ShiftModifier))) {
            if (mods & Qt::ShiftModifier)
                m_day->redoMarks();
            else
                m_day->undoMarks();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
