// The day's files against what may stand in their place: links to a FIFO,
// to a device, to nothing, a folder; and an append that fails half way.

#include "files/SafeFile.h"
#include "modules/SavedContest.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <sys/resource.h>
#include <sys/stat.h>

namespace {

class SafeFileTest : public ::testing::Test
{
protected:
    QString path(const char *name) const { return dir.filePath(QLatin1String(name)); }
    QByteArray read(const QString &file) const
    {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
    }
    bool isFifo(const QString &file) const
    {
        struct stat st = {};
        return ::lstat(QFile::encodeName(file).constData(), &st) == 0 && S_ISFIFO(st.st_mode);
    }
    void makeFifo(const char *name)
    {
        ASSERT_EQ(::mkfifo(QFile::encodeName(path(name)).constData(), 0600), 0);
    }
    void link(const QString &target, const char *name) { ASSERT_TRUE(QFile::link(target, path(name))); }

    QTemporaryDir dir;
};

} // namespace

TEST_F(SafeFileTest, AnOwnFileReplacesALinkAndNeverTouchesItsTarget)
{
    makeFifo("fifo");
    QFile regular(path("regular"));
    ASSERT_TRUE(regular.open(QIODevice::WriteOnly));
    regular.write("theirs");
    regular.close();
    link(path("fifo"), "to-fifo");
    link(QStringLiteral("/dev/null"), "to-device");
    link(path("regular"), "to-regular");
    link(path("missing"), "dangling");

    QString error;
    for (const char *name : {"to-fifo", "to-device", "to-regular", "dangling"}) {
        ASSERT_TRUE(SafeFile::writeOwn(path(name), "ours", &error)) << name << ": " << error.toStdString();
        const QFileInfo info(path(name));
        EXPECT_FALSE(info.isSymLink()) << name;
        EXPECT_EQ(read(path(name)), "ours") << name;
    }
    EXPECT_TRUE(isFifo(path("fifo")));
    EXPECT_TRUE(QFileInfo(QStringLiteral("/dev/null")).exists());
    EXPECT_EQ(read(path("regular")), "theirs");
    EXPECT_FALSE(QFile::exists(path("missing")));

    // The saved contest goes the same way.
    link(path("fifo"), "contest.json");
    ASSERT_TRUE(SavedContest().save(path("contest.json")));
    EXPECT_TRUE(isFifo(path("fifo")));
    EXPECT_TRUE(SavedContest::fromJson(read(path("contest.json"))).has_value());
    const QStringList left =
        QDir(dir.path()).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
    EXPECT_TRUE(left.filter(QRegularExpression(QStringLiteral("\\.[A-Za-z0-9]{6}$"))).isEmpty())
        << "no temporary file is left: " << left.join(u' ').toStdString();
}

TEST_F(SafeFileTest, AnOwnFileRefusesAFifoOrAFolderInItsPlaceAndLeavesIt)
{
    makeFifo("fifo");
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("folder")));
    QString error;
    EXPECT_FALSE(SafeFile::writeOwn(path("fifo"), "ours", &error));
    EXPECT_TRUE(error.contains(QLatin1String("FIFO"))) << error.toStdString();
    EXPECT_TRUE(isFifo(path("fifo")));
    EXPECT_FALSE(SafeFile::writeOwn(path("folder"), "ours", &error));
    EXPECT_TRUE(QFileInfo(path("folder")).isDir());

    // Reading never follows a link nor waits on a FIFO.
    link(path("fifo"), "to-fifo");
    for (const char *name : {"fifo", "to-fifo", "folder"}) {
        error.clear();
        EXPECT_FALSE(SafeFile::readOwn(path(name), 1 << 20, &error).has_value()) << name;
        EXPECT_FALSE(error.isEmpty()) << name;
    }
    error.clear();
    EXPECT_FALSE(SafeFile::readOwn(path("absent"), 1 << 20, &error).has_value());
    EXPECT_TRUE(error.isEmpty()) << "an absent file is no fault";

    // The lock's path: a link goes, a FIFO refuses.
    link(path("fifo"), "lock");
    EXPECT_TRUE(SafeFile::clearOwnPath(path("lock"), &error));
    EXPECT_FALSE(QFileInfo::exists(path("lock")) || QFileInfo(path("lock")).isSymLink());
    EXPECT_FALSE(SafeFile::clearOwnPath(path("fifo"), &error));
    EXPECT_TRUE(isFifo(path("fifo")));
}

TEST_F(SafeFileTest, AnOperatorsLinkIsFollowedOnlyToARegularFile)
{
    makeFifo("fifo");
    QFile target(path("target.csv"));
    ASSERT_TRUE(target.open(QIODevice::WriteOnly));
    target.close();
    link(path("target.csv"), "results.csv");
    link(path("fifo"), "to-fifo.csv");
    link(QStringLiteral("/dev/null"), "to-device.csv");
    link(path("missing.csv"), "dangling.csv");
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("folder.csv")));

    QString error;
    ASSERT_TRUE(SafeFile::appendToOperatorFile(path("results.csv"), "head\n", "line\n", &error))
        << error.toStdString();
    EXPECT_TRUE(QFileInfo(path("results.csv")).isSymLink()) << "the owner's link stays";
    EXPECT_EQ(read(path("target.csv")), "head\nline\n");

    for (const char *name : {"fifo", "to-fifo.csv", "to-device.csv", "dangling.csv", "folder.csv"}) {
        error.clear();
        EXPECT_FALSE(SafeFile::appendToOperatorFile(path(name), "head\n", "line\n", &error)) << name;
        EXPECT_FALSE(error.isEmpty()) << name;
        EXPECT_FALSE(SafeFile::operatorFileProblem(path(name)).isEmpty()) << name;
    }
    EXPECT_TRUE(isFifo(path("fifo")));
    EXPECT_FALSE(QFileInfo::exists(path("missing.csv"))) << "a link to nothing never makes its target";
}

// A file size limit makes the write stop part way, as a full disk does.
TEST_F(SafeFileTest, AFailedAppendLeavesTheFileAsItWasAndSaysWhy)
{
    const QString file = path("results.csv");
    QString error;
    ASSERT_TRUE(SafeFile::appendToOperatorFile(file, "head\n", "first\n", &error));
    const QByteArray before = read(file);

    struct rlimit old = {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = old;
    small.rlim_cur = rlim_t(before.size() + 4);
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool written = SafeFile::appendToOperatorFile(file, "head\n", "a line too long to fit\n", &error);
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, previous);

    EXPECT_FALSE(written);
    EXPECT_EQ(read(file), before) << "no half line stays";
    EXPECT_EQ(error, QString::fromLocal8Bit(std::strerror(EFBIG)));
    ASSERT_TRUE(SafeFile::appendToOperatorFile(file, "head\n", "second\n", &error));
    EXPECT_EQ(read(file), "head\nfirst\nsecond\n");
}
