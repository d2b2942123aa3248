#pragma once

#include "modules/SavedContest.h"

#include <optional>

// When the contest on the board is written to disk: at once when anything
// but a running time changed (a mark, a score, a name, the list position,
// a timer started, stopped or set), and otherwise every few seconds while a
// timer runs. A running time is known from its start, so a tick alone never
// needs a write.
namespace SavePlan {

constexpr qint64 RunningIntervalMs = 5000;

bool due(const std::optional<SavedContest> &written, const SavedContest &now, qint64 msSinceWritten);

} // namespace SavePlan
