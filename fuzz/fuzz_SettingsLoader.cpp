// The settings loader on any store contents: nothing crashes, and whatever
// was loaded is saved and loaded back unchanged, so that an OK in the
// options dialog never alters a setting the operator did not touch.

#include "settings/SettingsStore.h"
#include "settings/SettingsVariables.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <tuple>

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

auto variables()
{
    using namespace Settings;
    return std::make_tuple(TimeColor, LEDBack, HoldColor, ScoreColor, FormBack, LEDSelected, BorderColor,
        LEDSelectedWidth, StartStopPeriodClockKey, ResetPeriodClockKey, ClearKey, BuzzerKey, BuzzerFile,
        NumLockForce, TitleText, HomeText, VisitorText, HomePic, VisitorPic, LEDType);
}

QString nextPath(const QTemporaryDir &dir)
{
    // QSettings keeps files it has read in a cache keyed by path and
    // modification time; a fresh name each time reads the new contents.
    static quint64 count = 0;
    return dir.filePath(QStringLiteral("store%1.conf").arg(++count));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static QTemporaryDir dir;
    const QString stored = nextPath(dir);
    {
        QFile file(stored);
        if (!file.open(QIODevice::WriteOnly))
            std::abort();
        file.write(reinterpret_cast<const char *>(data), qint64(size));
    }
    SettingsStore::useFile(stored);
    LoadSettings();
    const auto loaded = variables();

    const QString saved = nextPath(dir);
    SettingsStore::useFile(saved);
    check(SaveSettings());
    Settings::resetToDefaults();
    LoadSettings();
    check(variables() == loaded);

    SettingsStore::useFile(QString());
    QFile::remove(stored);
    QFile::remove(saved);
    return 0;
}
