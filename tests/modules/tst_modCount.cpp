#include "modules/modCount.h"

#include <QObject>

#include <gtest/gtest.h>

#include <ostream>

using namespace modCount;

void PrintTo(const TimeValue &value, std::ostream *out)
{
    *out << value.ticks() << " ticks";
}

namespace {

constexpr qint32 Largest = 599;

TimeValue seconds(double value)
{
    return TimeValue::fromTicks(qint64(value * TimeValue::TicksPerSecond + 0.5));
}

// Keys as KeyCodeToAsci hands them over: '\n' Enter, '?' a key without a
// character. Returns what the last key gave.
TimeValue type(QObject &target, const char *keys, qint32 largest = Largest)
{
    TimeValue result = NoTime;
    for (const char *key = keys; *key; ++key) {
        const qint16 code = *key == '\n' ? 13 : *key == '?' ? -1 : qint16(*key);
        result = TimeEntryKey(&target, code, largest);
        if (key[1] != '\0') {
            EXPECT_EQ(result, NoTime) << "only Enter gives a time";
        }
    }
    return result;
}

class TimeEntry : public ::testing::Test
{
protected:
    void SetUp() override
    {
        TimeEntryText.clear();
        TimeEntryOwner.clear();
        clock.setObjectName(QStringLiteral("tledPeriod"));
    }
    QObject clock;
};

} // namespace

TEST_F(TimeEntry, TypedTimesConfirmedWithEnter)
{
    const struct
    {
        const char *typed;
        TimeValue result;
    } cases[] = {
        {"3", seconds(180)},
        {"4.30", seconds(270)},
        {"4.3", seconds(243)},
        {"1.305", seconds(90.5)},
        {".45", seconds(45)},
        {"5.99", seconds(399)},
        {"9.59", seconds(599)},
        {"9.599", NoTime},
        {"10", NoTime},
        {"4.3.0", NoTime},
        {"123456789", NoTime},
        {"", seconds(0)},
        {"0.001", seconds(0.1)},
        {"1.3059", seconds(90.5)},
        {"4.", seconds(240)},
    };
    for (const auto &c : cases) {
        const QByteArray keys = QByteArray(c.typed) + '\n';
        EXPECT_EQ(type(clock, keys.constData()), c.result) << '"' << c.typed << '"';
        EXPECT_TRUE(TimeEntryText.isEmpty()) << "Enter clears the text";
    }
}

TEST(ParseTimeEntry, ReadsMinutesSecondsAndTenths)
{
    const struct
    {
        const char *text;
        TimeValue result;
    } cases[] = {
        {"1.305", TimeValue::fromTicks(905000)}, // exact, no binary fraction
        {"9.599", seconds(599.9)},
        {"99.999", seconds(6039.9)},
        {"1.05", seconds(65)},
        {"1.50", seconds(110)},
        {"100", NoTime},
        {"12345678", NoTime},
        {"-1", NoTime},
        {" 3", NoTime},
        {"4:30", NoTime},
        {"\u0663", NoTime},
    };
    for (const auto &c : cases)
        EXPECT_EQ(ParseTimeEntry(QString::fromUtf8(c.text)), c.result) << '"' << c.text << '"';
}

TEST_F(TimeEntry, SpaceStartsOver)
{
    EXPECT_EQ(type(clock, "4 2\n"), seconds(120));
    EXPECT_EQ(type(clock, "4.3 \n"), seconds(0));
}

TEST_F(TimeEntry, KeysWithoutMeaningAreIgnored)
{
    EXPECT_EQ(type(clock, "+3-?\n"), seconds(180));
}

TEST_F(TimeEntry, RejectedEntryIsDiscarded)
{
    EXPECT_EQ(type(clock, "10\n"), NoTime);
    EXPECT_EQ(type(clock, "2\n"), seconds(120));
}

TEST_F(TimeEntry, LargestIsInclusive)
{
    EXPECT_EQ(type(clock, "1.30\n", 90), seconds(90));
    EXPECT_EQ(type(clock, "1.301\n", 90), NoTime);
}

TEST_F(TimeEntry, AnotherControlStartsItsOwnText)
{
    QObject other;
    other.setObjectName(QStringLiteral("tledOther"));
    type(clock, "4");
    EXPECT_EQ(type(other, "2\n"), seconds(120));
    EXPECT_EQ(TimeEntryOwner, QStringLiteral("tledOther"));
    EXPECT_EQ(type(clock, "1\n"), seconds(60)); // the 4 went with the change of owner
}

TEST_F(TimeEntry, TextSurvivesAFocusChange)
{
    // Focus moving to a lamp and back does not reach the entry at all.
    type(clock, "1");
    EXPECT_EQ(type(clock, ".30\n"), seconds(90));
}
