// Rounding to whole numbers, halves to even.

#include "modules/Rounding.h"

#include <QList>

#include <cmath>

#include <gtest/gtest.h>

TEST(Rounding, HalfEvenOnDoublesAndTimes)
{
    const QList<QPair<double, double>> doubles = {{0.5, 0}, {1.5, 2}, {2.5, 2}, {-0.5, 0}, {-1.5, -2},
        {8.25, 8}, {8.5, 8}, {9.5, 10}, {21.75, 22}, {12.75, 13}};
    for (const auto &[value, rounded] : doubles)
        EXPECT_EQ(Rounding::halfEven(value), rounded) << value;

    const QList<QPair<qint64, qint64>> times = {
        {4999, 0}, {5000, 0}, {15000, 2}, {25000, 2}, {25001, 3}, {-5000, 0}, {-15000, -2}, {-4999, 0}};
    for (const auto &[ticks, whole] : times)
        EXPECT_EQ(Rounding::halfEvenSeconds(TimeValue::fromTicks(ticks)), whole) << ticks;
}

TEST(Rounding, IntegerConversionsSaturate)
{
    EXPECT_EQ(Rounding::toInt16(32767.4), 32767);
    EXPECT_EQ(Rounding::toInt16(1e9), 32767);
    EXPECT_EQ(Rounding::toInt16(-1e9), -32768);
    EXPECT_EQ(Rounding::toInt16(std::nan("")), 0);
    EXPECT_EQ(Rounding::toInt32(2.5), 2);
    EXPECT_EQ(Rounding::toInt32(1e12), 2147483647);
}
