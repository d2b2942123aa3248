#pragma once

#include "modules/ContestResult.h"
#include "modules/VbTypes.h"

#include <QString>

// What the board shows beyond the design when the operator and the audience
// each have a screen: the selection frame the operator can see, and the
// result a spectator reads from across the hall.
namespace AudienceCues {

struct Frame
{
    qint16 width = 0; // pixels around the selected object
    OleColor color = 0;
    bool operator==(const Frame &) const = default;
};

// The narrowest frame the operator is shown while the audience has its own window.
inline constexpr qint16 OperatorFrameWidth = 3;

// The selection frame as drawn: the stored one when the board is the
// audience's too; at least OperatorFrameWidth in a colour that stands out
// from the form's background when the board faces the operator alone.
Frame selectionFrame(qint16 storedWidth, OleColor stored, OleColor formBack, bool operatorOnly);

// Yellow on a dark background, black on a light one.
OleColor contrasting(OleColor background);

// How the contest was won and by whom, "IPPON — TANAKA", with
// " (golden score)" after a win in golden score; "END OF CONTEST" while
// nobody has won.
QString banner(const ContestResult::Ended &contest);

} // namespace AudienceCues
