#pragma once

#include "modules/RuleSet.h"

#include <QtGlobal>

#include <array>
#include <deque>
#include <optional>

// Everything of a contest the operator marks or scores, apart from the
// clock: what undo takes back, what a next match clears, what a result
// line and a saved contest tell.
struct MatchMarks
{
    // Keikoku, chui and shido lamps: Home's three, then Visitor's.
    std::array<bool, 6> penalties {};
    qint16 ippon = 0; // 0 none, 1 Home, 2 Visitor
    qint16 medHome = 0;
    qint16 medVisitor = 0;
    qint16 winner = 0; // 0 none, 1 Home, 2 Visitor
    // Waza-ari, yuko and koka: Home's three, then Visitor's; -1 is blank.
    std::array<qint16, 6> scores {};
    qint16 shidoHome = 0;
    qint16 shidoVisitor = 0;

    bool operator==(const MatchMarks &) const = default;
};

namespace MatchMarksRules {

// What a new contest starts from under a rule set: every mark dark, every
// used score at 0 and every unused one blank.
MatchMarks cleared(const Rules::RuleSet &rules);

} // namespace MatchMarksRules

// The operator's history of a contest: the marks as they were before each
// change, to be taken back and given again. Bounded: the oldest steps go
// once `capacity` is reached.
class MatchHistory
{
public:
    explicit MatchHistory(int capacity = 200);

    // A change left `before` behind; what could be redone is gone.
    void record(const MatchMarks &before);
    // The marks to go back to from `current`, which becomes redoable;
    // nothing when there is no earlier step.
    std::optional<MatchMarks> undo(const MatchMarks &current);
    // The marks undo last left, `current` becoming undoable again.
    std::optional<MatchMarks> redo(const MatchMarks &current);
    void clear();

    int undoSteps() const { return int(m_undo.size()); }
    int redoSteps() const { return int(m_redo.size()); }

private:
    int m_capacity;
    std::deque<MatchMarks> m_undo;
    std::deque<MatchMarks> m_redo;
};
