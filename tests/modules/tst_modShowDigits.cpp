#include "modules/Val.h"
#include "modules/modShowDigits.h"

#include <QObject>
#include <QVariant>

#include <gtest/gtest.h>

using namespace modShowDigits;

namespace {

// A stand-in score display: a name and a numeric Caption.
class Display
{
public:
    explicit Display(const char *name, qint32 caption)
    {
        object.setObjectName(QString::fromLatin1(name));
        object.setProperty("Caption", caption);
    }
    qint32 caption() const { return object.property("Caption").toInt(); }

    QObject object;
};

// Keys as KeyCodeToAsci hands them over: '\n' Enter, 'C' the clear key,
// '?' a key without a character.
qint16 codeFor(char key)
{
    switch (key) {
    case '\n': return 13;
    case 'C': return 0;
    case '?': return -1;
    default: return qint16(key);
    }
}

void type(Display &display, const char *keys, qint16 lowest = -1, qint16 highest = 9)
{
    for (const char *key = keys; *key; ++key)
        EnterDigitKey(&display.object, codeFor(*key), lowest, highest);
}

class DigitEntry : public ::testing::Test
{
protected:
    void SetUp() override
    {
        DigitBuffer.clear();
        DigitTarget.clear();
    }
};

} // namespace

TEST(Val, ReadsTheLeadingNumber)
{
    const struct
    {
        const char *text;
        double value;
    } cases[] = {
        {"", 0},
        {"-", 0},
        {"+", 0},
        {"abc", 0},
        {".", 0},
        {"+2", 2},
        {"12ab", 12},
        {"1.5.3", 1.5},
        {"  7", 7},
        {"\t-4x", -4},
        {"-3.5", -3.5},
        {".5", 0.5},
        {"5.", 5},
        {"007", 7},
        {"1e3", 1000},
        {"1D2", 100},
        {"2e-1", 0.2},
        {"1e", 1},
        {"1e+", 1},
        {"3E+2x", 300},
        {"- 5", 0},
        {"1,5", 1},
        {"\u0663", 0},
    };
    for (const auto &c : cases)
        EXPECT_DOUBLE_EQ(Val(QString::fromUtf8(c.text)), c.value) << '"' << c.text << '"';
}

TEST_F(DigitEntry, TypingOnOneDisplay)
{
    const struct
    {
        qint32 start;
        const char *keys;
        qint32 shown;
    } cases[] = {
        {3, "5", 5}, // a digit takes effect at once
        {7, "12", 2}, // and each one replaces the last
        {3, "+4", 7}, {3, "+8", 3}, {6, "-2", 4}, {9, "+1", 9}, // above the highest: dropped
        {0, "-2", 0}, // below the lowest: dropped
        {0, "-1", -1}, // down to the cleared display
        {-1, "-1", -1}, // the cleared display counts as 0
        {-1, "+1", 1}, {-1, "+\n", 0}, {6, "-\n", 6}, {2, "+ 4", 4}, // Space cancels the pending sign
        {5, "C", -1}, {5, "+C", -1}, {5, "+C3", 3}, // the clear key leaves a pending sign pending
        {3, ".", 3}, {3, "?", 3}, {3, "\n", 3}, {4, "+", 4}, // a sign alone waits
    };
    for (const auto &c : cases) {
        SetUp();
        Display display("nledWHome", c.start);
        type(display, c.keys);
        EXPECT_EQ(display.caption(), c.shown) << c.start << " then \"" << c.keys << '"';
    }
}

TEST_F(DigitEntry, RejectedResultDropsThePendingText)
{
    Display display("nledWHome", 9);
    type(display, "+1");
    EXPECT_EQ(display.caption(), 9);
    EXPECT_TRUE(DigitBuffer.isEmpty());
    type(display, "3");
    EXPECT_EQ(display.caption(), 3);
}

TEST_F(DigitEntry, AnotherDisplayDropsThePendingSign)
{
    Display wazaari("nledWHome", 4);
    Display yuko("nledYHome", 1);
    type(wazaari, "+");
    type(yuko, "2");
    EXPECT_EQ(yuko.caption(), 2);
    EXPECT_EQ(wazaari.caption(), 4);
    type(wazaari, "3");
    EXPECT_EQ(wazaari.caption(), 3); // set, not added: the sign was dropped
}

TEST_F(DigitEntry, PendingSignSurvivesUntilTheSameDisplayIsTypedOn)
{
    // Keys on objects other than score displays never reach the entry.
    Display display("nledKHome", 2);
    type(display, "-");
    EXPECT_EQ(DigitBuffer, QStringLiteral("-"));
    type(display, "1");
    EXPECT_EQ(display.caption(), 1);
}

TEST_F(DigitEntry, WideDisplayCollectsDigitsUntilEnter)
{
    Display display("nledHoldHome", 5);
    type(display, "12", -1, 99);
    EXPECT_EQ(display.caption(), 5);
    type(display, "\n", -1, 99);
    EXPECT_EQ(display.caption(), 12);

    type(display, "+3", -1, 99); // a sign and one digit still apply at once
    EXPECT_EQ(display.caption(), 15);

    type(display, "123\n", -1, 99);
    EXPECT_EQ(display.caption(), 15);
    EXPECT_TRUE(DigitBuffer.isEmpty());
}

TEST_F(DigitEntry, SetDigitValueReadsTheWholeText)
{
    const struct
    {
        qint32 start;
        const char *text;
        qint32 shown;
    } cases[] = {
        {3, "7.9", 7},
        {3, "+1.9", 4},
        {3, "-0.5", 3},
        {3, "-1e0", 2},
        {3, "x5", 3},
        {3, "", 3},
    };
    for (const auto &c : cases) {
        Display display("nledWHome", c.start);
        SetDigitValue(&display.object, QString::fromLatin1(c.text), -1, 9);
        EXPECT_EQ(display.caption(), c.shown) << '"' << c.text << '"';
    }
}
