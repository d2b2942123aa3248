#pragma once

#include <QString>
#include <QtGlobal>

// What the buzzer can play. A WAV file declares its own sample rate, and a
// header may declare anything: audio services divide by the rate and by
// buffer sizes taken from it, so a rate of a few hertz kills the program
// inside them. Rates a device refuses are converted to one it takes; rates
// too far from any sound are refused.
namespace SoundCheck {

// Below this a file holds no buzzer anyone would hear.
constexpr int MinimumRate = 1000;
// Above this no audio device plays it.
constexpr int MaximumRate = 768000;
// Every audio device plays this rate and above, whatever its minimum says.
constexpr int SafeRate = 8000;

// The rate to play a file of fileRate at on a device that reports the given
// range and preferred rate: the file's own where the device takes it, the
// device's preferred one otherwise (the sound is then converted), 0 when the
// file cannot be played at all.
int playbackRate(int fileRate, int deviceMinimum, int deviceMaximum, int devicePreferred);

// Whether a play has been heard to its end, so that stopping the audio
// output drops nothing of the sound. Audio outputs report their end when
// they have taken the last byte, before it is heard, and stopping them then
// drops what they still hold: the play is over only once the sound has been
// handed out whole and the output's own clock of what it has played covers
// the sound and a margin for what the device behind it still holds.
struct PlayProgress
{
    bool soundHandedOut = false;
    qint64 soundUs = 0; // length of the sound handed out
    qint64 playedUs = 0; // what the output reports as played
};
constexpr qint64 PlayedMarginUs = 150000;
bool playedOut(const PlayProgress &progress);

// Why the buzzer file cannot be played, as words for the operator, or ""
// when it can: missing, not a WAV sound, or a rate outside the playable
// range. An empty path is no problem: the operator chose no sound.
QString problemWith(const QString &path);

// problemWith, and one line on stderr the first time a path is found
// unplayable in this run.
QString reportProblem(const QString &path);

// The operator's warning for a problem, "" for none.
QString warningText(const QString &problem);

} // namespace SoundCheck
