#pragma once

#include <QByteArray>
#include <QList>
#include <QtEndian>

#include <cmath>
#include <numbers>

// WAV files built byte by byte, so that the tests know exactly what each
// holds without trusting the reader under test to write them.
namespace WavBytes {

constexpr quint16 Pcm = 1;
constexpr quint16 Float = 3;
constexpr quint16 Extensible = 0xFFFE;

inline QByteArray le16(quint16 value)
{
    QByteArray bytes(2, '\0');
    qToLittleEndian(value, bytes.data());
    return bytes;
}

inline QByteArray le32(quint32 value)
{
    QByteArray bytes(4, '\0');
    qToLittleEndian(value, bytes.data());
    return bytes;
}

inline QByteArray chunk(const char *id, const QByteArray &body, quint32 claimedSize = 0)
{
    QByteArray bytes = QByteArray(id) + le32(claimedSize ? claimedSize : quint32(body.size())) + body;
    if (body.size() % 2)
        bytes += '\0';
    return bytes;
}

// A "fmt " body; the extensible form names its sample format in the GUID.
inline QByteArray formatBody(
    quint16 tag, quint16 channels, quint32 rate, quint16 bits, quint16 subFormat = Pcm)
{
    const quint16 block = quint16(channels * bits / 8);
    QByteArray body = le16(tag) + le16(channels) + le32(rate) + le32(rate * block) + le16(block) + le16(bits);
    if (tag == Extensible) {
        body += le16(22) + le16(bits) + le32(0) + le16(subFormat) +
                QByteArray::fromHex("000000001000800000aa00389b71");
    }
    return body;
}

inline QByteArray riff(const QByteArray &chunks)
{
    return "RIFF" + le32(quint32(4 + chunks.size())) + "WAVE" + chunks;
}

// One sample, full scale 1, in the file's own encoding.
inline QByteArray encode(double value, quint16 tag, quint16 bits)
{
    if (tag == Float && bits == 32) {
        QByteArray bytes(4, '\0');
        qToLittleEndian(float(value), bytes.data());
        return bytes;
    }
    if (tag == Float) {
        QByteArray bytes(8, '\0');
        qToLittleEndian(value, bytes.data());
        return bytes;
    }
    if (bits == 8)
        return QByteArray(1, char(quint8(std::lround(value * 127) + 128)));
    const qint64 scaled = std::llround(value * double((qint64(1) << (bits - 1)) - 1));
    QByteArray bytes(8, '\0');
    qToLittleEndian(scaled, bytes.data());
    return bytes.left(bits / 8);
}

// A 440 Hz tone at half scale; channel c is shifted by c quarter periods.
inline double tone(qint64 frame, int channel, quint32 rate)
{
    return 0.5 * std::sin(2 * std::numbers::pi * 440 * double(frame) / rate + channel * std::numbers::pi / 2);
}

inline QByteArray toneWav(
    quint16 tag, quint16 channels, quint32 rate, quint16 bits, qint64 frames, quint16 subFormat = Pcm)
{
    const quint16 sampleFormat = tag == Extensible ? subFormat : tag;
    QByteArray data;
    data.reserve(frames * channels * bits / 8);
    for (qint64 frame = 0; frame < frames; ++frame)
        for (int c = 0; c < channels; ++c)
            data += encode(tone(frame, c, rate), sampleFormat, bits);
    return riff(chunk("fmt ", formatBody(tag, channels, rate, bits, sampleFormat)) + chunk("data", data));
}

} // namespace WavBytes
