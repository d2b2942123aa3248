#include "settings/SettingsStore.h"

#include "files/SafeFile.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsVariables.h"

#include <QDebug>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QStringList>
#include <QVariant>

#include <algorithm>
#include <iterator>
#include <limits>
#include <memory>
#include <optional>
#include <utility>
#include <variant>

namespace {

// The variable that holds a key at run time. Its pointer type is the key's
// type: 32-bit numbers (colours and the NumLock mode), 16-bit numbers (the
// selection width, key codes and the digit style), or text.
using Variable = std::variant<qint32 *, qint16 *, QString *>;

struct SettingKey
{
    const char *section;
    const char *key;
    Variable variable;
    // The text handed to the store as the default; a function because two
    // defaults are only known at run time (LEDSelected follows FormBack,
    // BuzzerFile lives beside the program).
    QString (*defaultText)();
};

// Every stored key, in the order LoadSettings reads them.
const SettingKey settingKeys[] = {
    {"ColorSettings", "TimeColor", &Settings::TimeColor, [] { return QStringLiteral("33023"); }},
    {"ColorSettings", "LEDBack", &Settings::LEDBack, [] { return QStringLiteral("0"); }},
    {"ColorSettings", "HoldColor", &Settings::HoldColor, [] { return QStringLiteral("255"); }},
    {"ColorSettings", "ScoreColor", &Settings::ScoreColor, [] { return QStringLiteral("49152"); }},
    {"ColorSettings", "FormBack", &Settings::FormBack, [] { return QStringLiteral("4210752"); }},
    {"ColorSettings", "LEDSelected", &Settings::LEDSelected,
        [] { return QString::number(Settings::FormBack); }},
    {"ColorSettings", "BorderColor", &Settings::BorderColor, [] { return QStringLiteral("16777215"); }},
    {"ColorSettings", "LEDSelectedWidth", &Settings::LEDSelectedWidth, [] { return QStringLiteral("0"); }},
    {"KeySettings", "StartStopPeriodClockKey", &Settings::StartStopPeriodClockKey,
        [] { return QStringLiteral("83"); }},
    {"KeySettings", "ResetPeriodClockKey", &Settings::ResetPeriodClockKey,
        [] { return QStringLiteral("82"); }},
    {"KeySettings", "ClearKey", &Settings::ClearKey, [] { return QStringLiteral("46"); }},
    {"KeySettings", "BuzzerKey", &Settings::BuzzerKey, [] { return QStringLiteral("66"); }},
    {"KeySettings", "NextMatchKey", &Settings::NextMatchKey, [] { return QStringLiteral("78"); }},
    {"KeySettings", "BuzzerFile", &Settings::BuzzerFile, &Settings::defaultBuzzerFile},
    {"KeySettings", "NumLockForce", &Settings::NumLockForce, [] { return QStringLiteral("0"); }},
    {"TextSettings", "TitleText", &Settings::TitleText, [] { return QStringLiteral("Home"); }},
    {"TextSettings", "HomeText", &Settings::HomeText, [] { return QStringLiteral("Home"); }},
    {"TextSettings", "VisitorText", &Settings::VisitorText, [] { return QStringLiteral("Visitor"); }},
    {"PicSettings", "HomePic", &Settings::HomePic, [] { return QString(); }},
    {"PicSettings", "VisitorPic", &Settings::VisitorPic, [] { return QString(); }},
    {"PicSettings", "LEDType", &Settings::LEDType, [] { return QStringLiteral("0"); }},
    {"RuleSettings", "RuleSet", &Settings::RuleSet, [] { return QStringLiteral("design"); }},
    {"RuleSettings", "CustomScores", &Settings::CustomScores, [] { return QStringLiteral("W"); }},
    {"RuleSettings", "CustomKokaHold", &Settings::CustomKokaHold, [] { return QStringLiteral("0"); }},
    {"RuleSettings", "CustomYukoHold", &Settings::CustomYukoHold, [] { return QStringLiteral("0"); }},
    {"RuleSettings", "CustomWazaAriHold", &Settings::CustomWazaAriHold, [] { return QStringLiteral("10"); }},
    {"RuleSettings", "CustomIpponHold", &Settings::CustomIpponHold, [] { return QStringLiteral("20"); }},
    {"RuleSettings", "CustomWazaAriForIppon", &Settings::CustomWazaAriForIppon,
        [] { return QStringLiteral("2"); }},
    {"RuleSettings", "CustomShidoLimit", &Settings::CustomShidoLimit, [] { return QStringLiteral("3"); }},
    {"RuleSettings", "CustomGoldenScore", &Settings::CustomGoldenScore, [] { return QStringLiteral("1"); }},
    {"RuleSettings", "CustomHoldEndsGoldenScore", &Settings::CustomHoldEndsGoldenScore,
        [] { return QStringLiteral("0"); }},
    {"RuleSettings", "CustomContestTime", &Settings::CustomContestTime, [] { return QStringLiteral("240"); }},
    {"MatchSettings", "MatchIndex", &Settings::MatchIndex, [] { return QStringLiteral("0"); }},
    {"TournamentSettings", "JudoShiaiServer", &Settings::JudoShiaiServer, [] { return QString(); }},
    {"TournamentSettings", "JudoShiaiTatami", &Settings::JudoShiaiTatami, [] { return QStringLiteral("1"); }},
    {"TournamentSettings", "JudoShiaiConnect", &Settings::JudoShiaiConnect,
        [] { return QStringLiteral("0"); }},
};

// The rule set's group is written only once it says something: a store
// that never left the Design set stays as it was before rule sets.
constexpr const char *rulesSection = "RuleSettings";
// Likewise the match list's group, until a list is loaded.
constexpr const char *matchSection = "MatchSettings";
// And the tournament program's link, until one is set.
constexpr const char *tournamentSection = "TournamentSettings";

// The options dialog's OK writes the keys in this order, section by section.
const char *const writeOrder[] = {
    "TimeColor",
    "LEDBack",
    "LEDSelected",
    "ScoreColor",
    "HoldColor",
    "FormBack",
    "BorderColor",
    "LEDSelectedWidth",
    "StartStopPeriodClockKey",
    "ResetPeriodClockKey",
    "ClearKey",
    "BuzzerKey",
    "NextMatchKey",
    "BuzzerFile",
    "NumLockForce",
    "TitleText",
    "HomeText",
    "VisitorText",
    "HomePic",
    "VisitorPic",
    "LEDType",
    "RuleSet",
    "CustomScores",
    "CustomKokaHold",
    "CustomYukoHold",
    "CustomWazaAriHold",
    "CustomIpponHold",
    "CustomWazaAriForIppon",
    "CustomShidoLimit",
    "CustomGoldenScore",
    "CustomHoldEndsGoldenScore",
    "CustomContestTime",
    "MatchIndex",
    "JudoShiaiServer",
    "JudoShiaiTatami",
    "JudoShiaiConnect",
};

static_assert(std::size(writeOrder) == std::size(settingKeys));

// Marks the key entries as virtual-key codes; written on every save, never read.
constexpr const char *markerSection = "KeySettings";
constexpr const char *markerKey = "IsKeyCode";

QString &storeFile()
{
    static QString path;
    return path;
}

// Every file the store reads: the user's own and the system-wide fallbacks,
// each under the application's and the organization's name (both
// "Zembrak"), where QSettings keeps them on this platform.
QStringList storeFiles(const QString &file = storeFile())
{
    if (!file.isEmpty())
        return {file};
    const QString name = QStringLiteral("Zembrak");
    QStringList files;
    for (const QString &folder : {QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation),
             QLibraryInfo::path(QLibraryInfo::SettingsPath)}) {
        files << folder + QLatin1Char('/') + name + QLatin1Char('/') + name + QStringLiteral(".conf");
        files << folder + QLatin1Char('/') + name + QStringLiteral(".conf");
    }
    return files;
}

// A store file that exists but is no regular file (a FIFO, socket, device or
// folder) is never opened: reading a FIFO blocks for good, and writing to a
// device could do anything. The same goes for the lock file QSettings takes
// beside the user's file when it writes: it reads a lock it finds there, so
// a FIFO would hold every save. The path of the first one, or "" when all
// are usable.
QString unusableStoreFile(const QString &file = storeFile())
{
    QStringList files = storeFiles(file);
    files << files.first() + QStringLiteral(".lock");
    // A link its owner made is followed, but only to a regular file: a link
    // to nothing would have its target made by the first save.
    for (const QString &candidate : std::as_const(files)) {
        if (!SafeFile::operatorFileProblem(candidate).isEmpty())
            return candidate;
    }
    return QString();
}

void reportUnusableStore(const QString &file, const char *consequence)
{
    qWarning().noquote() << QStringLiteral("Zembrak: the settings store %1 is not a regular file (%2); %3.")
                                .arg(file, SafeFile::operatorFileProblem(file), QLatin1String(consequence));
}

std::unique_ptr<QSettings> openStore(const QString &file = storeFile())
{
    if (!file.isEmpty())
        return std::make_unique<QSettings>(file, SettingsFile::format());
    // Named here rather than through QCoreApplication, so that the start
    // screen, the tests and any tool all reach the same per-user file.
    return std::make_unique<QSettings>(
        SettingsFile::format(), QSettings::UserScope, QStringLiteral("Zembrak"), QStringLiteral("Zembrak"));
}

QString settingPath(const QString &section, const QString &key)
{
    return section + QLatin1Char('/') + key;
}

QString readText(QSettings &store, const QString &section, const QString &key, const QString &defaultText)
{
    const QVariant value = store.value(settingPath(section, key), defaultText);
    // A hand-edited value with unquoted commas comes back as a list.
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QStringLiteral(", "));
    return value.toString();
}

// The stored numbers are only ever written by the program as decimal text
// in range. Anything else (a hand-edited or damaged file) used to turn into
// 0 or a wrapped-around value; it now yields the key's default instead.
// Blanks around the digits are ignored; fractions, exponents, hexadecimal
// and values too wide for the variable do not convert.
template<typename Int>
std::optional<Int> toNumber(const QString &text)
{
    bool ok = false;
    const qlonglong value = text.trimmed().toLongLong(&ok, 10);
    if (!ok || value < std::numeric_limits<Int>::min() || value > std::numeric_limits<Int>::max())
        return std::nullopt;
    return static_cast<Int>(value);
}

template<typename Int>
void loadNumber(Int *variable, const QString &text, const QString &defaultText)
{
    if (const std::optional<Int> value = toNumber<Int>(text))
        *variable = *value;
    else
        *variable = toNumber<Int>(defaultText).value_or(0);
}

void load(QSettings &store, const SettingKey &setting)
{
    const QString section = QLatin1String(setting.section);
    const QString key = QLatin1String(setting.key);
    const QString defaultText = setting.defaultText();
    const QString text = readText(store, section, key, defaultText);
    if (QString *const *string = std::get_if<QString *>(&setting.variable))
        **string = text;
    else if (qint32 *const *wide = std::get_if<qint32 *>(&setting.variable))
        loadNumber(*wide, text, defaultText);
    else if (qint16 *const *narrow = std::get_if<qint16 *>(&setting.variable))
        loadNumber(*narrow, text, defaultText);
}

QString textOf(const Variable &variable)
{
    if (QString *const *string = std::get_if<QString *>(&variable))
        return **string;
    if (qint32 *const *wide = std::get_if<qint32 *>(&variable))
        return QString::number(**wide);
    return QString::number(*std::get<qint16 *>(variable));
}

const SettingKey &settingNamed(const char *key)
{
    for (const SettingKey &setting : settingKeys)
        if (qstrcmp(setting.key, key) == 0)
            return setting;
    Q_UNREACHABLE();
}

// Whether every key of a group holds its default.
bool atDefaults(const char *section)
{
    for (const SettingKey &setting : settingKeys) {
        if (qstrcmp(setting.section, section) == 0 && textOf(setting.variable) != setting.defaultText())
            return false;
    }
    return true;
}

} // namespace

namespace SettingsStore {

QString GetSetting(const QString &Section, const QString &Key, const QString &Default)
{
    if (!unusableStoreFile().isEmpty())
        return Default;
    const std::unique_ptr<QSettings> store = openStore();
    return readText(*store, Section, Key, Default);
}

void SaveSetting(const QString &Section, const QString &Key, const QString &Value)
{
    if (!unusableStoreFile().isEmpty())
        return;
    const std::unique_ptr<QSettings> store = openStore();
    store->setValue(settingPath(Section, Key), Value);
}

void useFile(const QString &path)
{
    storeFile() = path;
}

QString fileName()
{
    // Only named, never opened: QSettings reads its file as it is built,
    // and this is asked just when that file is in doubt.
    return storeFiles().first();
}

} // namespace SettingsStore

void LoadSettings()
{
    if (const QString unusable = unusableStoreFile(); !unusable.isEmpty()) {
        reportUnusableStore(unusable, "using the default settings");
        Settings::resetToDefaults();
        return;
    }
    const std::unique_ptr<QSettings> store = openStore();
    for (const SettingKey &setting : settingKeys)
        load(*store, setting);
    // A set the program does not know (a damaged value, or one from a later
    // version) is the Design set, which decides nothing.
    if (!Rules::idFromText(Settings::RuleSet))
        Settings::RuleSet = Rules::idText(Rules::SetId::Design);
    // The Custom values are kept in bounds, and stored so at the next OK.
    Settings::setCustomRules(Settings::customRules());
    Settings::JudoShiaiTatami = qint16(std::clamp<int>(Settings::JudoShiaiTatami, 1, 20));
}

std::function<bool(QString *error)> SaveSettingsLater()
{
    // The values and which sections are at their defaults are taken now, on
    // the caller's thread; the store is read and written when the job runs.
    struct Value
    {
        const char *section;
        QString path;
        QString text;
    };
    QList<Value> values;
    for (const char *key : writeOrder) {
        const SettingKey &setting = settingNamed(key);
        values.append({setting.section, settingPath(QLatin1String(setting.section), QLatin1String(setting.key)),
            textOf(setting.variable)});
    }
    QList<const char *> changed;
    for (const char *section : {rulesSection, matchSection, tournamentSection}) {
        if (!atDefaults(section))
            changed.append(section);
    }
    return [values, changed, file = storeFile()](QString *error) {
        if (const QString unusable = unusableStoreFile(file); !unusable.isEmpty()) {
            *error = QStringLiteral("the settings store %1 is not a regular file (%2)")
                         .arg(unusable, SafeFile::operatorFileProblem(unusable));
            return false;
        }
        const std::unique_ptr<QSettings> store = openStore(file);
        const QStringList groups = store->childGroups();
        // A group of its own is written only once it says something, or
        // once the store has it.
        const auto writes = [&groups, &changed](const char *section) {
            for (const char *own : {rulesSection, matchSection, tournamentSection}) {
                if (qstrcmp(section, own) == 0)
                    return groups.contains(QLatin1String(section)) || changed.contains(own);
            }
            return true;
        };
        for (const Value &value : values) {
            if (writes(value.section))
                store->setValue(value.path, value.text);
        }
        store->setValue(
            settingPath(QLatin1String(markerSection), QLatin1String(markerKey)), QStringLiteral("Yes"));
        // QSettings replaces the file whole on sync, so a failed write leaves
        // the old one intact; the failure itself must reach the operator.
        store->sync();
        if (store->status() == QSettings::NoError)
            return true;
        *error = QStringLiteral("the settings store %1 could not be written").arg(store->fileName());
        return false;
    };
}

bool SaveSettings()
{
    if (const QString unusable = unusableStoreFile(); !unusable.isEmpty()) {
        reportUnusableStore(unusable, "the settings cannot be saved");
        return false;
    }
    QString error;
    return SaveSettingsLater()(&error);
}

namespace {

SettingsStore::Writer &storeWriter()
{
    static SettingsStore::Writer writer;
    return writer;
}

} // namespace

void SettingsStore::setWriter(Writer writer)
{
    storeWriter() = std::move(writer);
}

bool SaveSettingsOffThread()
{
    // A store that is no regular file is refused at once, as before, so
    // that the options can say so; looking costs no wait on the disk.
    if (!storeWriter() || !unusableStoreFile().isEmpty())
        return SaveSettings();
    storeWriter()(QStringLiteral("saving the settings"), SaveSettingsLater());
    return true;
}

bool SaveMatchSettings()
{
    if (!unusableStoreFile().isEmpty())
        return false;
    const std::unique_ptr<QSettings> store = openStore();
    for (const SettingKey &setting : settingKeys) {
        if (qstrcmp(setting.section, matchSection) == 0)
            store->setValue(settingPath(QLatin1String(setting.section), QLatin1String(setting.key)),
                textOf(setting.variable));
    }
    store->sync();
    return store->status() == QSettings::NoError;
}

std::function<bool(QString *error)> SaveMatchSettingsLater()
{
    QList<std::pair<QString, QString>> values;
    for (const SettingKey &setting : settingKeys) {
        if (qstrcmp(setting.section, matchSection) == 0)
            values.append({settingPath(QLatin1String(setting.section), QLatin1String(setting.key)),
                textOf(setting.variable)});
    }
    // The store's file as it is now: a test's throwaway store stays its own.
    return [values, file = storeFile()](QString *error) {
        if (const QString unusable = unusableStoreFile(file); !unusable.isEmpty()) {
            *error = QStringLiteral("the settings store %1 is not a regular file (%2)")
                         .arg(unusable, SafeFile::operatorFileProblem(unusable));
            return false;
        }
        const std::unique_ptr<QSettings> store = openStore(file);
        for (const auto &[key, value] : values)
            store->setValue(key, value);
        store->sync();
        if (store->status() == QSettings::NoError)
            return true;
        *error = QStringLiteral("the settings store %1 could not be written").arg(store->fileName());
        return false;
    };
}
