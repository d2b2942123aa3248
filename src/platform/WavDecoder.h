#pragma once

#include <QString>
#include <QtGlobal>

#include <memory>

class QIODevice;

// Reads the buzzer's WAV file through libsndfile, whatever its variant (8- to
// 32-bit integer or float samples, any channel count and rate, the extensible
// header, a data chunk cut short), and hands the sound out block by block as
// interleaved signed 16-bit samples. Only the block asked for is ever held in
// memory, so an hour-long file costs no more than a short one. More than two
// channels are mixed down to stereo.
class WavDecoder
{
public:
    WavDecoder();
    ~WavDecoder();
    Q_DISABLE_COPY_MOVE(WavDecoder)

    // False when the file cannot be read or is no WAV file with sound in it.
    bool open(const QString &fileName);
    // Reads from a random-access device that stays open and outlives the
    // decoder's use of it; tests and the fuzzer hand in memory buffers.
    bool open(QIODevice *device);
    void close();
    bool isOpen() const;

    // 1 or 2; 0 when nothing is open.
    int channels() const;
    int sampleRate() const;
    // Frames of sound the file holds, as far as its header and length agree.
    qint64 frames() const;
    qint64 durationMs() const;

    // Fills samples with up to maxFrames frames of channels() samples each
    // and returns the number of frames written; 0 at the end of the sound.
    qint64 read(qint16 *samples, qint64 maxFrames);
    // Back to the first frame; false when the file will not seek.
    bool rewind();

private:
    struct Source;
    bool openSource();

    std::unique_ptr<Source> m_source;
};
