#include "platform/SoundCheck.h"

#include "platform/WavDecoder.h"

#include <QFileInfo>
#include <QSet>

#include <cstdio>

#include <algorithm>

namespace SoundCheck {

int playbackRate(int fileRate, int deviceMinimum, int deviceMaximum, int devicePreferred)
{
    if (fileRate < MinimumRate || fileRate > MaximumRate)
        return 0;
    const int low = std::max(deviceMinimum, SafeRate);
    const int high = deviceMaximum > 0 ? std::min(deviceMaximum, MaximumRate) : 48000;
    if (low > high)
        return 0;
    if (fileRate >= low && fileRate <= high)
        return fileRate;
    return std::clamp(devicePreferred > 0 ? devicePreferred : 48000, low, high);
}

bool playedOut(const PlayProgress &progress)
{
    return progress.soundHandedOut && progress.playedUs >= progress.soundUs + PlayedMarginUs;
}

QString problemWith(const QString &path)
{
    if (path.isEmpty())
        return {};
    const QFileInfo file(path);
    if (!file.exists())
        return QStringLiteral("the file does not exist");
    if (!file.isFile())
        return QStringLiteral("it is not a file");
    WavDecoder decoder;
    if (!decoder.open(path))
        return QStringLiteral("it is not a WAV sound");
    const int rate = decoder.sampleRate();
    if (rate < MinimumRate || rate > MaximumRate)
        return QStringLiteral("its sample rate of %1 Hz cannot be played").arg(rate);
    return {};
}

QString reportProblem(const QString &path)
{
    static QSet<QString> reported;
    const QString problem = problemWith(path);
    if (!problem.isEmpty() && !reported.contains(path)) {
        reported.insert(path);
        std::fprintf(stderr, "zembrak: the buzzer file %s cannot be played: %s\n", qPrintable(path),
            qPrintable(problem));
        std::fflush(stderr);
    }
    return problem;
}

QString warningText(const QString &problem)
{
    return problem.isEmpty() ? QString() : QStringLiteral("The buzzer will be silent: %1.").arg(problem);
}

} // namespace SoundCheck
