#pragma once

#include <QtGlobal>

#include <functional>
#include <vector>

// Converts interleaved 16-bit sound of one sample rate to another by linear
// interpolation, pulling its input as it goes, so that a file at a rate the
// audio device refuses still sounds. Good enough for a horn or a beep.
class RateConverter
{
public:
    // Fills samples with up to maxFrames frames, returns the frames read.
    using Source = std::function<qint64(qint16 *samples, qint64 maxFrames)>;

    // Starts over at the beginning of a sound of the given rates.
    void reset(int inRate, int outRate, int channels);

    // Up to maxFrames converted frames; fewer only at the end of the source.
    qint64 read(qint16 *samples, qint64 maxFrames, const Source &source);

private:
    bool fetch(qint16 *frame, const Source &source);
    void advance(const Source &source);

    int m_inRate = 1;
    int m_outRate = 1;
    int m_channels = 1;
    // Position between the two frames, in 1/outRate of an input frame.
    qint64 m_phase = 0;
    // The input frames either side of the position.
    qint16 m_previous[2] = {};
    qint16 m_next[2] = {};
    // The source has run dry: m_next is silence beyond its end.
    bool m_sourceEnded = false;
    // m_previous lies past the end of the sound too.
    bool m_ended = false;
    bool m_started = false;
    std::vector<qint16> m_input;
    qint64 m_inputFrames = 0;
    qint64 m_inputAt = 0;
};
