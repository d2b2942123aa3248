// What is saved can always be read back: long names are cut, and times the
// board cannot show are damage.

#include "modules/SavedContest.h"

#include <gtest/gtest.h>

TEST(SavedContest, AHugeNameIsCutSoThatTheFileReadsBack)
{
    SavedContest c;
    c.home = QString(700'000, u'Ö');
    c.title = QStringLiteral("Final");
    const QByteArray json = c.toJson();
    EXPECT_LT(json.size(), SavedContest::MaxFileBytes);
    const std::optional<SavedContest> back = SavedContest::fromJson(json);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(back->home, QString(SavedContest::MaxTextLength, u'Ö'));
    EXPECT_EQ(back->title, QStringLiteral("Final"));

    // A file written by hand with such a name loads, cut, and says so.
    QByteArray edited = SavedContest().toJson();
    edited.replace("\"visitor\":\"\"", "\"visitor\":\"" + QByteArray(5000, 'v') + '"');
    QStringList warnings;
    const std::optional<SavedContest> cut = SavedContest::fromJson(edited, &warnings);
    ASSERT_TRUE(cut.has_value());
    EXPECT_EQ(cut->visitor.size(), SavedContest::MaxTextLength);
    EXPECT_EQ(warnings.size(), 1);
}

TEST(SavedContest, ATimeTheBoardCannotShowIsDamage)
{
    const auto withPeriod = [](double ticks, bool golden) {
        SavedContest c;
        c.goldenScore = golden;
        QByteArray json = c.toJson();
        json.replace("\"period\":{\"running\":false,\"ticks\":0}",
            "\"period\":{\"running\":false,\"ticks\":" + QByteArray::number(ticks, 'g', 15) + '}');
        return SavedContest::fromJson(json);
    };
    EXPECT_TRUE(withPeriod(600 * 10000.0, false).has_value());
    EXPECT_FALSE(withPeriod(600 * 10000.0 + 1, false).has_value());
    EXPECT_FALSE(withPeriod(1e12, false).has_value());
    EXPECT_TRUE(withPeriod(3000 * 10000.0, true).has_value()) << "golden score counts up a while";
    EXPECT_FALSE(withPeriod(1e12, true).has_value());
    EXPECT_FALSE(withPeriod(-1, false).has_value());
}
