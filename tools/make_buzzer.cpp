// Writes the default buzzer sound: a contest horn of about 1.4 seconds as a
// 16-bit PCM mono WAV file at 44100 Hz. The sound is computed, not sampled,
// so that the repository carries no binary and every build makes the same file.
//
// The horn is two slightly detuned buzzing tones (a square and a sawtooth,
// built from their harmonics up to the Nyquist limit so that nothing
// aliases), an octave below for body, a 50 Hz rattle, and a gentle
// saturation, as an electromechanical horn sounds.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <numbers>
#include <string>
#include <vector>

namespace {

constexpr int sampleRate = 44100;
constexpr double lengthSeconds = 1.4;
constexpr double fadeInSeconds = 0.015;
constexpr double fadeOutSeconds = 0.06;
// Peak level relative to full scale: loud, but well clear of clipping.
constexpr double peakLevel = 0.7;

constexpr double twoPi = 2.0 * std::numbers::pi;

// Band-limited square wave: odd harmonics falling as 1/k.
double square(double phase, double frequency)
{
    double sum = 0.0;
    for (int k = 1; k * frequency < sampleRate / 2.0; k += 2)
        sum += std::sin(k * phase) / k;
    return sum * 4.0 / std::numbers::pi;
}

// Band-limited sawtooth: every harmonic falling as 1/k.
double sawtooth(double phase, double frequency)
{
    double sum = 0.0;
    for (int k = 1; k * frequency < sampleRate / 2.0; ++k)
        sum += std::sin(k * phase) / k;
    return sum * 2.0 / std::numbers::pi;
}

std::vector<double> horn()
{
    const int count = static_cast<int>(lengthSeconds * sampleRate);
    std::vector<double> samples(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        const double t = static_cast<double>(i) / sampleRate;
        double value = 0.50 * square(twoPi * 370.0 * t, 370.0) + 0.40 * sawtooth(twoPi * 373.5 * t, 373.5) +
                       0.25 * square(twoPi * 185.0 * t, 185.0);
        value *= 1.0 - 0.2 * (0.5 + 0.5 * std::sin(twoPi * 50.0 * t));
        value = std::tanh(1.5 * value);
        const double fade = std::min({1.0, t / fadeInSeconds, (lengthSeconds - t) / fadeOutSeconds});
        samples[static_cast<std::size_t>(i)] = value * std::max(0.0, fade);
    }
    const double peak = std::max(1e-9, std::abs(*std::max_element(samples.begin(), samples.end(),
                                           [](double a, double b) { return std::abs(a) < std::abs(b); })));
    for (double &sample : samples)
        sample *= peakLevel / peak;
    return samples;
}

void put16(std::string &out, std::uint16_t value)
{
    out += static_cast<char>(value & 0xff);
    out += static_cast<char>(value >> 8);
}

void put32(std::string &out, std::uint32_t value)
{
    put16(out, static_cast<std::uint16_t>(value & 0xffff));
    put16(out, static_cast<std::uint16_t>(value >> 16));
}

std::string wavFile(const std::vector<double> &samples)
{
    constexpr std::uint16_t channels = 1;
    constexpr std::uint16_t bits = 16;
    constexpr std::uint16_t blockAlign = channels * bits / 8;
    const auto dataBytes = static_cast<std::uint32_t>(samples.size() * blockAlign);

    std::string out;
    out += "RIFF";
    put32(out, 36 + dataBytes);
    out += "WAVE";
    out += "fmt ";
    put32(out, 16);
    put16(out, 1); // integer PCM
    put16(out, channels);
    put32(out, sampleRate);
    put32(out, sampleRate * blockAlign);
    put16(out, blockAlign);
    put16(out, bits);
    out += "data";
    put32(out, dataBytes);
    for (double sample : samples) {
        const auto value = static_cast<std::int16_t>(std::lround(std::clamp(sample, -1.0, 1.0) * 32767.0));
        put16(out, static_cast<std::uint16_t>(value));
    }
    return out;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.wav\n", argc > 0 ? argv[0] : "make_buzzer");
        return 2;
    }
    const std::string data = wavFile(horn());
    std::ofstream file(argv[1], std::ios::binary | std::ios::trunc);
    file.write(data.data(), static_cast<std::streamsize>(data.size()));
    file.close();
    if (!file) {
        std::fprintf(stderr, "make_buzzer: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
