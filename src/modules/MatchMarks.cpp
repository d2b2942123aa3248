#include "modules/MatchMarks.h"

#include <algorithm>

namespace MatchMarksRules {

MatchMarks cleared(const Rules::RuleSet &rules)
{
    MatchMarks marks;
    const std::array<bool, 3> used = {rules.useW, rules.useY, rules.useK};
    for (int i = 0; i < 6; ++i)
        marks.scores[i] = used[i % 3] ? 0 : -1;
    return marks;
}

} // namespace MatchMarksRules

MatchHistory::MatchHistory(int capacity)
    : m_capacity(std::max(capacity, 1))
{ }

void MatchHistory::record(const MatchMarks &before)
{
    m_undo.push_back(before);
    if (int(m_undo.size()) > m_capacity)
        m_undo.pop_front();
    m_redo.clear();
}

std::optional<MatchMarks> MatchHistory::undo(const MatchMarks &current)
{
    if (m_undo.empty())
        return std::nullopt;
    const MatchMarks earlier = m_undo.back();
    m_undo.pop_back();
    m_redo.push_back(current);
    return earlier;
}

std::optional<MatchMarks> MatchHistory::redo(const MatchMarks &current)
{
    if (m_redo.empty())
        return std::nullopt;
    const MatchMarks later = m_redo.back();
    m_redo.pop_back();
    m_undo.push_back(current);
    return later;
}

void MatchHistory::clear()
{
    m_undo.clear();
    m_redo.clear();
}
