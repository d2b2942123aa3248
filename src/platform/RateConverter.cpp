#include "platform/RateConverter.h"

#include <algorithm>

namespace {
// Input frames pulled at once.
constexpr qint64 inputBlock = 1024;
} // namespace

void RateConverter::reset(int inRate, int outRate, int channels)
{
    m_inRate = std::max(inRate, 1);
    m_outRate = std::max(outRate, 1);
    m_channels = std::clamp(channels, 1, 2);
    m_phase = 0;
    m_sourceEnded = false;
    m_ended = false;
    m_started = false;
    m_input.assign(std::size_t(inputBlock * m_channels), 0);
    m_inputFrames = 0;
    m_inputAt = 0;
}

bool RateConverter::fetch(qint16 *frame, const Source &source)
{
    if (m_inputAt == m_inputFrames) {
        m_inputFrames = std::max<qint64>(source(m_input.data(), inputBlock), 0);
        m_inputAt = 0;
        if (m_inputFrames == 0)
            return false;
    }
    std::copy_n(m_input.data() + m_inputAt * m_channels, m_channels, frame);
    ++m_inputAt;
    return true;
}

// Moves one input frame on; past the last frame of the source comes silence,
// and past that the end.
void RateConverter::advance(const Source &source)
{
    if (m_sourceEnded) {
        m_ended = true;
        return;
    }
    std::copy_n(m_next, m_channels, m_previous);
    if (!fetch(m_next, source)) {
        std::fill_n(m_next, m_channels, qint16(0));
        m_sourceEnded = true;
    }
}

qint64 RateConverter::read(qint16 *samples, qint64 maxFrames, const Source &source)
{
    if (!m_started) {
        m_started = true;
        // The first frame goes to m_next and moves on into m_previous.
        m_ended = !fetch(m_next, source);
        if (!m_ended)
            advance(source);
    }
    qint64 done = 0;
    while (done < maxFrames && !m_ended) {
        for (int c = 0; c < m_channels; ++c) {
            const qint64 from = m_previous[c];
            const qint64 to = m_next[c];
            samples[done * m_channels + c] = qint16(from + (to - from) * m_phase / m_outRate);
        }
        ++done;
        m_phase += m_inRate;
        while (m_phase >= m_outRate && !m_ended) {
            m_phase -= m_outRate;
            advance(source);
        }
    }
    return done;
}
