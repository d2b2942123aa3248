#include "settings/SettingsFile.h"
#include "settings/SettingsStore.h"
#include "settings/SettingsVariables.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>

#include <atomic>
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

namespace {

class SettingsStoreTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        SettingsStore::useFile(storePath());
        Settings::resetToDefaults();
    }

    void TearDown() override
    {
        SettingsStore::useFile(QString());
        Settings::resetToDefaults();
    }

    QString storePath() const { return m_dir.filePath(QStringLiteral("Zembrak.conf")); }

    QString storeText() const
    {
        QFile file(storePath());
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        return QString::fromUtf8(file.readAll());
    }

    // Values no key defaults to, so that a key LoadSettings skips shows up.
    static void scribbleOverVariables()
    {
        using namespace Settings;
        TimeColor = LEDBack = HoldColor = ScoreColor = FormBack = LEDSelected = BorderColor = 12345;
        LEDSelectedWidth = StartStopPeriodClockKey = ResetPeriodClockKey = ClearKey = BuzzerKey = LEDType =
            99;
        NumLockForce = 99;
        BuzzerFile = TitleText = HomeText = VisitorText = HomePic = VisitorPic = QStringLiteral("scribble");
    }

    static void save(const char *section, const char *key, const QString &value)
    {
        SettingsStore::SaveSetting(QLatin1String(section), QLatin1String(key), value);
    }

    QTemporaryDir m_dir;
};

TEST_F(SettingsStoreTest, EmptyStoreLoadsTheDefaults)
{
    scribbleOverVariables();
    LoadSettings();

    EXPECT_EQ(Settings::TimeColor, 33023);
    EXPECT_EQ(Settings::LEDBack, 0);
    EXPECT_EQ(Settings::HoldColor, 255);
    EXPECT_EQ(Settings::ScoreColor, 49152);
    EXPECT_EQ(Settings::FormBack, 0x404040);
    EXPECT_EQ(Settings::LEDSelected, 0x404040);
    EXPECT_EQ(Settings::BorderColor, 16777215);
    EXPECT_EQ(Settings::LEDSelectedWidth, 0);
    EXPECT_EQ(Settings::StartStopPeriodClockKey, 83);
    EXPECT_EQ(Settings::ResetPeriodClockKey, 82);
    EXPECT_EQ(Settings::ClearKey, 46);
    EXPECT_EQ(Settings::BuzzerKey, 66);
    EXPECT_EQ(Settings::BuzzerFile, QCoreApplication::applicationDirPath() + QStringLiteral("/buzzer.wav"));
    EXPECT_EQ(Settings::NumLockForce, 0);
    EXPECT_EQ(Settings::TitleText, QStringLiteral("Home"));
    EXPECT_EQ(Settings::HomeText, QStringLiteral("Home"));
    EXPECT_EQ(Settings::VisitorText, QStringLiteral("Visitor"));
    EXPECT_EQ(Settings::HomePic, QString());
    EXPECT_EQ(Settings::VisitorPic, QString());
    EXPECT_EQ(Settings::LEDType, 0);
    // Loading writes nothing.
    EXPECT_FALSE(QFile::exists(storePath()));
}

TEST_F(SettingsStoreTest, SavedVariablesLoadBackUnchanged)
{
    using namespace Settings;
    // Out-of-range numbers and awkward texts included: nothing is checked
    // or reshaped on the way through.
    TimeColor = -1;
    LEDBack = 16777216;
    HoldColor = 0x123456;
    ScoreColor = 1;
    FormBack = 255;
    LEDSelected = 0x00FF00;
    BorderColor = 0;
    LEDSelectedWidth = 7;
    StartStopPeriodClockKey = 32767;
    ResetPeriodClockKey = -32768;
    ClearKey = 13;
    BuzzerKey = 32;
    BuzzerFile = QString();
    NumLockForce = 2;
    TitleText = QStringLiteral("  Judo, \"open\" = 100% ; #1 [a/b] \\ Ürümqi 柔道 ");
    HomeText = QString();
    VisitorText = QStringLiteral("@Invalid()");
    HomePic = QStringLiteral("/pictures/a, b.jpg");
    VisitorPic = QStringLiteral("C:\\pictures\\visitor.bmp");
    LEDType = 1;
    SaveSettings();

    scribbleOverVariables();
    LoadSettings();

    EXPECT_EQ(TimeColor, -1);
    EXPECT_EQ(LEDBack, 16777216);
    EXPECT_EQ(HoldColor, 0x123456);
    EXPECT_EQ(ScoreColor, 1);
    EXPECT_EQ(FormBack, 255);
    EXPECT_EQ(LEDSelected, 0x00FF00);
    EXPECT_EQ(BorderColor, 0);
    EXPECT_EQ(LEDSelectedWidth, 7);
    EXPECT_EQ(StartStopPeriodClockKey, 32767);
    EXPECT_EQ(ResetPeriodClockKey, -32768);
    EXPECT_EQ(ClearKey, 13);
    EXPECT_EQ(BuzzerKey, 32);
    // "No Sound" must stay no sound, not fall back to the default file.
    EXPECT_EQ(BuzzerFile, QString());
    EXPECT_EQ(NumLockForce, 2);
    EXPECT_EQ(TitleText, QStringLiteral("  Judo, \"open\" = 100% ; #1 [a/b] \\ Ürümqi 柔道 "));
    EXPECT_EQ(HomeText, QString());
    EXPECT_EQ(VisitorText, QStringLiteral("@Invalid()"));
    EXPECT_EQ(HomePic, QStringLiteral("/pictures/a, b.jpg"));
    EXPECT_EQ(VisitorPic, QStringLiteral("C:\\pictures\\visitor.bmp"));
    EXPECT_EQ(LEDType, 1);
}

TEST_F(SettingsStoreTest, LEDSelectedDefaultsToTheLoadedFormBack)
{
    save("ColorSettings", "FormBack", QStringLiteral("255"));
    LoadSettings();
    EXPECT_EQ(Settings::FormBack, 255);
    EXPECT_EQ(Settings::LEDSelected, 255);

    // Also when the stored LEDSelected is unreadable.
    save("ColorSettings", "LEDSelected", QStringLiteral("red"));
    LoadSettings();
    EXPECT_EQ(Settings::LEDSelected, 255);

    // A FormBack that falls back to its default takes LEDSelected with it.
    save("ColorSettings", "FormBack", QStringLiteral("grey"));
    LoadSettings();
    EXPECT_EQ(Settings::FormBack, 0x404040);
    EXPECT_EQ(Settings::LEDSelected, 0x404040);
}

TEST_F(SettingsStoreTest, NumbersLoadWhenTheyFitTheVariableElseTheDefault)
{
    using Read = qint64 (*)();
    struct Case
    {
        const char *section;
        const char *key;
        QString text;
        qint64 expected;
        Read variable;
    };
    const Read timeColor = [] { return qint64(Settings::TimeColor); };
    const Read numLock = [] { return qint64(Settings::NumLockForce); };
    const Read width = [] { return qint64(Settings::LEDSelectedWidth); };
    const Read buzzerKey = [] { return qint64(Settings::BuzzerKey); };
    const Read ledType = [] { return qint64(Settings::LEDType); };
    const Case cases[] = {
        // Convertible, however meaningless: loaded unchanged.
        {"ColorSettings", "TimeColor", QStringLiteral("-1"), -1, timeColor},
        {"ColorSettings", "TimeColor", QStringLiteral("-2147483648"), -2147483647 - 1, timeColor},
        {"ColorSettings", "LEDSelectedWidth", QStringLiteral("-5"), -5, width},
        {"KeySettings", "BuzzerKey", QStringLiteral("32767"), 32767, buzzerKey},
        {"KeySettings", "NumLockForce", QStringLiteral("70000"), 70000, numLock},
        {"PicSettings", "LEDType", QStringLiteral("-32768"), -32768, ledType},
        // Blanks around the digits and a plus sign are read past.
        {"KeySettings", "BuzzerKey", QStringLiteral(" 83\t"), 83, buzzerKey},
        {"ColorSettings", "TimeColor", QStringLiteral("+255"), 255, timeColor},
        // Too wide for the variable: the default, never a wrapped value.
        {"ColorSettings", "TimeColor", QStringLiteral("2147483648"), 33023, timeColor},
        {"ColorSettings", "TimeColor", QStringLiteral("99999999999999999999999"), 33023, timeColor},
        {"KeySettings", "BuzzerKey", QStringLiteral("32768"), 66, buzzerKey},
        {"PicSettings", "LEDType", QStringLiteral("-32769"), 0, ledType},
        // Not a whole decimal number: the default.
        {"KeySettings", "BuzzerKey", QString(), 66, buzzerKey},
        {"KeySettings", "NumLockForce", QStringLiteral("1.0"), 0, numLock},
        {"ColorSettings", "LEDSelectedWidth", QStringLiteral("2.7"), 0, width},
        {"ColorSettings", "TimeColor", QStringLiteral("1e3"), 33023, timeColor},
        {"ColorSettings", "TimeColor", QStringLiteral("0xFF"), 33023, timeColor},
        {"ColorSettings", "TimeColor", QStringLiteral("255abc"), 33023, timeColor},
    };
    for (const Case &test : cases) {
        SCOPED_TRACE(QStringLiteral("%1 = \"%2\"").arg(QLatin1String(test.key), test.text).toStdString());
        QFile::remove(storePath());
        save(test.section, test.key, test.text);
        scribbleOverVariables();
        LoadSettings();
        EXPECT_EQ(test.variable(), test.expected);
    }
}

TEST_F(SettingsStoreTest, StoreFileHoldsPlainDecimalTextAndTheMarker)
{
    Settings::BuzzerKey = 32;
    Settings::LEDBack = -1;
    SaveSettings();

    const QString text = storeText();
    for (const char *line :
        {"[ColorSettings]", "TimeColor=33023", "BorderColor=16777215", "LEDBack=-1", "FormBack=4210752",
            "LEDSelected=4210752", "[KeySettings]", "BuzzerKey=32", "IsKeyCode=Yes", "NumLockForce=0",
            "[PicSettings]", "LEDType=0", "HomePic=", "[TextSettings]", "TitleText=Home"}) {
        EXPECT_TRUE(text.contains(
            QRegularExpression(QStringLiteral("^%1$").arg(QRegularExpression::escape(QLatin1String(line))),
                QRegularExpression::MultilineOption)))
            << line << " missing from\n"
            << text.toStdString();
    }

    // Every key of the table is written, and the marker stays "Yes".
    SaveSettings();
    EXPECT_EQ(
        SettingsStore::GetSetting(QStringLiteral("KeySettings"), QStringLiteral("IsKeyCode"), QString()),
        QStringLiteral("Yes"));
    QSettings raw(storePath(), QSettings::NativeFormat);
    EXPECT_EQ(raw.allKeys().size(), 22); // the rule set's and match list's groups stay out at defaults
}

TEST_F(SettingsStoreTest, UserStoreIsZembrakUnderTheUserConfigFolder)
{
    QTemporaryDir config;
    ASSERT_TRUE(config.isValid());
    QSettings::setPath(SettingsFile::format(), QSettings::UserScope, config.path());
    SettingsStore::useFile(QString());
    SaveSettings();
    QSettings::setPath(SettingsFile::format(), QSettings::UserScope,
        QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation));

    // Not under the test program's own application name.
    QFile file(config.filePath(QStringLiteral("Zembrak/Zembrak.conf")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().contains("IsKeyCode=Yes"));
}

TEST_F(SettingsStoreTest, TypedValuesInTheFileAreJustText)
{
    // Found by fuzzing: QSettings' own reader decodes "@Variant(" values,
    // here one whose length field asks for 60 GB.
    QFile file(storePath());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[PicSettings]\nHomePic=@Variant(\\0\\0\\0\\tx7f)\nVisitorPic=@ByteArray(abc)\n"
               "[KeySettings]\nBuzzerKey=@Variant(\\0\\0\\0\\x2\\0\\0\\0\\x42)\n"
               "[TextSettings]\nTitleText=@@Open\n");
    file.close();
    LoadSettings();
    // The escapes are undone as for any text; nothing is decoded from it.
    EXPECT_EQ(
        Settings::HomePic, QStringLiteral("@Variant(") + QString(3, QChar(0)) + QStringLiteral("\tx7f)"));
    EXPECT_EQ(Settings::VisitorPic, QStringLiteral("@ByteArray(abc)"));
    EXPECT_EQ(Settings::BuzzerKey, 66);
    EXPECT_EQ(Settings::TitleText, QStringLiteral("@Open"));
}

TEST_F(SettingsStoreTest, ReadsWhatQtsOwnWriterWroteAndKeepsAwkwardTextsIntact)
{
    const QStringList texts = {QStringLiteral("@at the start"), QStringLiteral("Tokyo, Japan; finals"),
        QStringLiteral("  blanks  "), QStringLiteral("quote \" and back\\slash"),
        QStringLiteral("line\nbreak\ttab\x01\x7f"), QStringLiteral("Jérôme Ælfgifu 柔道 🥋"),
        QString(QChar(0xD800)) + QStringLiteral("lone"), QStringLiteral("=[x]#"), QString()};
    for (const QString &text : texts) {
        SCOPED_TRACE(text.toStdString());
        // Written by QSettings' INI writer, as earlier versions kept the store.
        {
            QSettings qt(storePath(), QSettings::NativeFormat);
            qt.setValue(QStringLiteral("TextSettings/TitleText"), text);
            qt.setValue(QStringLiteral("ColorSettings/TimeColor"), QStringLiteral("255"));
        }
        LoadSettings();
        if (!text.contains(QChar(0xD800))) { // Qt writes a lone surrogate as U+FFFD
            EXPECT_EQ(Settings::TitleText, text);
        }
        EXPECT_EQ(Settings::TimeColor, 255);

        // And through our own writer, back unchanged.
        Settings::TitleText = text;
        ASSERT_TRUE(SaveSettings());
        Settings::TitleText.clear();
        LoadSettings();
        EXPECT_EQ(Settings::TitleText, text);
        QFile::remove(storePath());
    }
}

// Collects what the program says on stderr through Qt's messages.
class StderrLines
{
public:
    StderrLines()
    {
        lines().clear();
        m_previous = qInstallMessageHandler(
            [](QtMsgType, const QMessageLogContext &, const QString &text) { lines() << text; });
    }
    ~StderrLines() { qInstallMessageHandler(m_previous); }
    static QStringList &lines()
    {
        static QStringList all;
        return all;
    }

private:
    QtMessageHandler m_previous;
};

TEST_F(SettingsStoreTest, SpecialFilesAtTheStorePathAreNeverOpened)
{
    // A FIFO: whoever opens it for reading waits for a writer. A writer that
    // only ever tries without waiting finds out whether anyone did, and lets
    // such a reader go, so that a faulty load fails rather than hangs.
    // The lock file QSettings takes beside a store it writes is read when
    // found, so a FIFO there is held off the same way.
    const QString fifo = m_dir.filePath(QStringLiteral("fifo.conf"));
    const QString lockedStore = m_dir.filePath(QStringLiteral("locked.conf"));
    const QString fifoLock = lockedStore + QStringLiteral(".lock");
    for (const QString &path : {fifo, fifoLock})
        ASSERT_EQ(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    std::atomic<bool> opened = false;
    std::atomic<bool> done = false;
    std::thread writer([&] {
        for (int i = 0; i < 300 && !done; ++i) {
            for (const QString &path : {fifo, fifoLock}) {
                const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_NONBLOCK);
                if (fd >= 0) {
                    opened = true;
                    ::close(fd);
                }
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    });

    const QString socketPath = m_dir.filePath(QStringLiteral("socket.conf"));
    const int socketFd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address {};
    address.sun_family = AF_UNIX;
    qstrncpy(address.sun_path, QFile::encodeName(socketPath).constData(), sizeof address.sun_path);
    ASSERT_EQ(::bind(socketFd, reinterpret_cast<const sockaddr *>(&address), sizeof address), 0);

    const QString folder = m_dir.filePath(QStringLiteral("folder.conf"));
    ASSERT_TRUE(QDir().mkdir(folder));

    for (const QString &path : {fifo, socketPath, folder, QStringLiteral("/dev/null")}) {
        SCOPED_TRACE(path.toStdString());
        SettingsStore::useFile(path);
        StderrLines said;
        scribbleOverVariables();
        QElapsedTimer took;
        took.start();
        LoadSettings();
        EXPECT_LT(took.elapsed(), 1000);
        EXPECT_EQ(Settings::TimeColor, 33023);
        EXPECT_EQ(Settings::TitleText, QStringLiteral("Home"));
        EXPECT_EQ(Settings::BuzzerKey, 66);
        ASSERT_EQ(said.lines().size(), 1);
        EXPECT_TRUE(said.lines().first().contains(path)) << said.lines().first().toStdString();

        EXPECT_FALSE(SaveSettings());
        SettingsStore::SaveSetting(QStringLiteral("TextSettings"), QStringLiteral("TitleText"), "x");
        EXPECT_EQ(SettingsStore::GetSetting(QStringLiteral("TextSettings"), QStringLiteral("TitleText"), "d"),
            QStringLiteral("d"));
        // What the options dialog names when a save fails.
        EXPECT_EQ(SettingsStore::fileName(), path);
    }
    SettingsStore::useFile(lockedStore);
    {
        StderrLines said;
        EXPECT_FALSE(SaveSettings());
        ASSERT_EQ(said.lines().size(), 1);
        EXPECT_TRUE(said.lines().first().contains(fifoLock)) << said.lines().first().toStdString();
        EXPECT_FALSE(QFile::exists(lockedStore));
    }
    done = true;
    writer.join();
    ::close(socketFd);
    EXPECT_FALSE(opened) << "the FIFO was opened";
    EXPECT_TRUE(QFileInfo(folder).isDir());
    EXPECT_TRUE(QDir(folder).isEmpty());
}

TEST_F(SettingsStoreTest, AnOwnersLinkIsFollowedOnlyToARegularFile)
{
    const QString target = m_dir.filePath(QStringLiteral("dotfiles/zembrak.conf"));
    ASSERT_TRUE(QDir().mkpath(QFileInfo(target).absolutePath()));
    const QString linked = m_dir.filePath(QStringLiteral("linked.conf"));
    const QString dangling = m_dir.filePath(QStringLiteral("dangling.conf"));
    const QString toFifo = m_dir.filePath(QStringLiteral("to-fifo.conf"));
    const QString fifo = m_dir.filePath(QStringLiteral("fifo"));
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    QFile(target).open(QIODevice::WriteOnly);
    ASSERT_TRUE(QFile::link(target, linked));
    ASSERT_TRUE(QFile::link(m_dir.filePath(QStringLiteral("nowhere.conf")), dangling));
    ASSERT_TRUE(QFile::link(fifo, toFifo));

    SettingsStore::useFile(linked);
    Settings::TitleText = QStringLiteral("Through the link");
    EXPECT_TRUE(SaveSettings());
    EXPECT_TRUE(QFileInfo(linked).isSymLink()) << "the owner's link stays";
    QFile written(target);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_TRUE(written.readAll().contains("Through the link"));

    for (const QString &path : {dangling, toFifo}) {
        SettingsStore::useFile(path);
        StderrLines said;
        EXPECT_FALSE(SaveSettings()) << path.toStdString();
        QString error;
        EXPECT_FALSE(SaveMatchSettingsLater()(&error)) << path.toStdString();
        EXPECT_TRUE(error.contains(path)) << error.toStdString();
    }
    EXPECT_FALSE(QFileInfo::exists(m_dir.filePath(QStringLiteral("nowhere.conf"))))
        << "a link to nothing never makes its target";
    struct stat st = {};
    ASSERT_EQ(::lstat(QFile::encodeName(fifo).constData(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
}

// The options' OK with the board running: the values as they were at OK go
// to the writer, which writes them on its own thread; nothing is written
// before it runs the job.
TEST_F(SettingsStoreTest, SavingOffTheThreadWritesTheValuesOfTheMomentWhenTheWriterRuns)
{
    std::function<bool(QString *)> handed;
    QString named;
    SettingsStore::setWriter([&](const QString &what, std::function<bool(QString *)> job) {
        named = what;
        handed = std::move(job);
    });
    Settings::TitleText = QStringLiteral("Final");
    Settings::RuleSet = QStringLiteral("ijf2025");
    EXPECT_TRUE(SaveSettingsOffThread());
    SettingsStore::setWriter({});
    ASSERT_TRUE(handed);
    EXPECT_FALSE(named.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(SettingsStore::fileName())) << "nothing written on the caller's thread";

    Settings::TitleText = QStringLiteral("changed after OK");
    bool written = false;
    QString error;
    std::thread writer([&] { written = handed(&error); });
    writer.join();
    ASSERT_TRUE(written) << error.toStdString();
    LoadSettings();
    EXPECT_EQ(Settings::TitleText, QStringLiteral("Final"));
    EXPECT_EQ(Settings::RuleSet, QStringLiteral("ijf2025")) << "the rule set's group, changed, is written";

    // A store that is no regular file is refused at once, for the options to say so.
    const QString fifo = m_dir.filePath(QStringLiteral("fifo.conf"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    SettingsStore::useFile(fifo);
    handed = {};
    SettingsStore::setWriter([&](const QString &, std::function<bool(QString *)> job) { handed = std::move(job); });
    EXPECT_FALSE(SaveSettingsOffThread());
    SettingsStore::setWriter({});
    EXPECT_FALSE(handed) << "nothing handed to the writer";
}

TEST_F(SettingsStoreTest, SaveReportsAStoreThatCannotBeWritten)
{
    EXPECT_TRUE(SaveSettings());
    // Its folder is a file, which not even root can write into.
    QFile blocker(m_dir.filePath(QStringLiteral("blocker")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    SettingsStore::useFile(blocker.fileName() + QStringLiteral("/Zembrak.conf"));
    EXPECT_FALSE(SaveSettings());
}

} // namespace

// The rule set's group: absent until a set other than Design is chosen, then
// written with the rest; an unknown set loads as Design and wild Custom
// values load within bounds.
TEST_F(SettingsStoreTest, RuleSetIsStoredOnceChosenAndLoadsSafely)
{
    SaveSettings();
    EXPECT_FALSE(storeText().contains(QLatin1String("RuleSettings"))) << "a Design store stays as it was";
    EXPECT_FALSE(storeText().contains(QLatin1String("MatchSettings"))) << "so does one without a match list";

    Settings::RuleSet = QStringLiteral("ijf2018");
    Settings::CustomIpponHold = 15;
    SaveSettings();
    Settings::resetToDefaults();
    LoadSettings();
    EXPECT_EQ(Settings::rules(), Rules::preset(Rules::SetId::Ijf2018));
    EXPECT_EQ(Settings::customRules().ipponAt, 15);

    // Back to Design is stored too, not left at the last set.
    Settings::RuleSet = QStringLiteral("design");
    SaveSettings();
    EXPECT_TRUE(storeText().contains(QLatin1String("RuleSet=design")));

    for (const char *damaged : {"IJF 2018", "", "classic;rm", "7"}) {
        save("RuleSettings", "RuleSet", QLatin1String(damaged));
        LoadSettings();
        EXPECT_EQ(Settings::RuleSet, QStringLiteral("design")) << damaged;
        EXPECT_FALSE(Settings::rules().automatic()) << damaged;
    }

    save("RuleSettings", "RuleSet", QStringLiteral("custom"));
    save("RuleSettings", "CustomIpponHold", QStringLiteral("-5"));
    save("RuleSettings", "CustomShidoLimit", QStringLiteral("40"));
    save("RuleSettings", "CustomContestTime", QStringLiteral("lots"));
    save("RuleSettings", "CustomScores", QStringLiteral("?"));
    LoadSettings();
    const Rules::RuleSet custom = Settings::rules();
    EXPECT_EQ(custom.id, Rules::SetId::Custom);
    EXPECT_EQ(custom.ipponAt, 0);
    EXPECT_EQ(custom.shidoLimit, Rules::MaxShidoLimit);
    EXPECT_EQ(custom.contestSeconds, 240) << "an unreadable number loads as its default";
    EXPECT_TRUE(custom.useW) << "a set shows at least the waza-ari";
}

// JudoShiai's link: absent from a store that never set one, then kept
// whole; a tatami out of range loads within 1 to 20.
TEST_F(SettingsStoreTest, JudoShiaiLinkIsStoredOnceSetAndLoadsInRange)
{
    SaveSettings();
    EXPECT_FALSE(storeText().contains(QLatin1String("TournamentSettings")));

    Settings::JudoShiaiServer = QStringLiteral("192.168.1.10:2400");
    Settings::JudoShiaiTatami = 7;
    Settings::JudoShiaiConnect = 1;
    SaveSettings();
    Settings::resetToDefaults();
    LoadSettings();
    EXPECT_EQ(Settings::JudoShiaiServer, QStringLiteral("192.168.1.10:2400"));
    EXPECT_EQ(Settings::JudoShiaiTatami, 7);
    EXPECT_EQ(Settings::JudoShiaiConnect, 1);

    for (const char *tatami : {"0", "21", "-3"}) {
        save("TournamentSettings", "JudoShiaiTatami", QLatin1String(tatami));
        LoadSettings();
        EXPECT_GE(Settings::JudoShiaiTatami, 1) << tatami;
        EXPECT_LE(Settings::JudoShiaiTatami, 20) << tatami;
    }
}
