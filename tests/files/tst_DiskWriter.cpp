// The disk writer: result lines in the order given, only the newest pending
// save written, failures raised, and a quit that waits only so long and
// names what it could not finish.

#include "files/DiskWriter.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {

QByteArray read(const QString &file)
{
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A job that holds the writer until released, as a stuck disk would.
struct Gate
{
    std::atomic<bool> open = false;
    std::atomic<bool> entered = false;
    std::function<bool(QString *)> job()
    {
        return [this](QString *) {
            entered = true;
            while (!open)
                std::this_thread::yield();
            return true;
        };
    }
    void waitEntered() const
    {
        while (!entered)
            std::this_thread::yield();
    }
};

} // namespace

TEST(DiskWriter, ResultLinesComeInOrderAndOnlyTheNewestSaveIsWritten)
{
    QTemporaryDir dir;
    const QString results = dir.filePath(QStringLiteral("results.csv"));
    const QString saved = dir.filePath(QStringLiteral("contest.json"));
    DiskWriter writer;
    Gate gate;
    writer.run(QStringLiteral("a stuck disk"), gate.job());
    gate.waitEntered();
    QByteArray expected = "head\n";
    for (int i = 0; i < 40; ++i) {
        const QByteArray line = QByteArray::number(i) + '\n';
        writer.appendResult(results, "head\n", line);
        expected += line;
        writer.saveContest(saved, "save " + QByteArray::number(i));
    }
    writer.removeContest(saved);
    writer.saveContest(saved, "after the removal");
    writer.saveContest(saved, "newest");

    // What waits: every line in order, one save before the removal and one after.
    const QStringList pending = writer.finish(0);
    gate.open = true;
    ASSERT_TRUE(writer.waitIdle(10000));
    ASSERT_EQ(pending.size(), 1 + 40 + 3) << pending.join(u'\n').toStdString();
    EXPECT_EQ(pending.first(), QStringLiteral("a stuck disk"));
    EXPECT_TRUE(pending.at(1).contains(QLatin1String("results.csv: 0")));
    EXPECT_TRUE(pending.at(40).contains(QLatin1String("results.csv: 39")));
    EXPECT_TRUE(pending.at(41).startsWith(QLatin1String("saving the contest")));
    EXPECT_TRUE(pending.at(42).startsWith(QLatin1String("removing the saved contest")));
    EXPECT_TRUE(pending.at(43).startsWith(QLatin1String("saving the contest")));

    // Left to run, the same queue writes the file in order.
    DiskWriter second;
    for (int i = 0; i < 40; ++i)
        second.appendResult(results, "head\n", QByteArray::number(i) + '\n');
    second.saveContest(saved, "one");
    second.saveContest(saved, "two");
    EXPECT_TRUE(second.finish(10000).isEmpty());
    EXPECT_EQ(read(results), expected);
    EXPECT_EQ(read(saved), "two");
}

TEST(DiskWriter, AFailureIsRaisedAndASaveFailingTheSameWayOnlyOnce)
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("folder"));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("folder")));
    DiskWriter writer;
    QSignalSpy failed(&writer, &DiskWriter::failed);
    for (int i = 0; i < 3; ++i) {
        writer.saveContest(folder, "x");
        ASSERT_TRUE(writer.waitIdle(10000));
    }
    writer.appendResult(folder, "head\n", "one\n");
    writer.appendResult(folder, "head\n", "two\n");
    ASSERT_TRUE(writer.waitIdle(10000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return failed.size() >= 3; }, 5000));
    QTest::qWait(50);
    ASSERT_EQ(failed.size(), 3);
    EXPECT_EQ(failed.at(0).at(0).value<DiskWriter::Work>(), DiskWriter::Work::Contest);
    EXPECT_EQ(failed.at(1).at(0).value<DiskWriter::Work>(), DiskWriter::Work::Result);
    EXPECT_TRUE(failed.at(2).at(1).toString().contains(QLatin1String("two")))
        << "the line is named, so that it is not lost";
}
