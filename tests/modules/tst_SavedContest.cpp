// What is saved can always be read back: long names are cut, and times the
// board cannot show are damage.

#include "modules/SavedContest.h"

#include <QJsonDocument>
#include <QRandomGenerator>

#include <gtest/gtest.h>

#include <iterator>

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

// The file is written by hand; it must be the very bytes QJsonDocument
// writes for the same values, so that files of either kind read alike.
TEST(SavedContest, IsWrittenAsQJsonDocumentWritesIt)
{
    QRandomGenerator random(20261208);
    const auto text = [&random] {
        static const char16_t pieces[] = {u'a', u'Z', u' ', u'"', u'\\', u'/', u'\n', u'\t', u'\b', u'\f', u'\r',
            u'\x01', u'\x1f', u'\x7f', u'\u00e9', u'\u00fc', u'\u2014', u'\u00b7', u'\uffff'};
        QString s;
        const int length = int(random.bounded(12));
        for (int i = 0; i < length; ++i)
            s += QChar(pieces[random.bounded(int(std::size(pieces)))]);
        if (random.bounded(4) == 0)
            s += QString::fromUtf8("\xf0\x9f\xa5\x8b"); // beyond the basic plane: a surrogate pair
        return s;
    };
    for (int round = 0; round < 300; ++round) {
        SavedContest c;
        c.title = text();
        c.home = text();
        c.visitor = text();
        c.rules = text();
        c.listHash = text();
        for (int i = 0; i < 6; ++i) {
            c.marks.penalties[size_t(i)] = random.bounded(2) != 0;
            c.marks.scores[size_t(i)] = qint16(random.bounded(-1, 10));
        }
        c.marks.ippon = qint16(random.bounded(3));
        c.marks.winner = qint16(random.bounded(3));
        c.marks.medHome = qint16(random.bounded(3));
        c.marks.shidoVisitor = qint16(random.bounded(4));
        c.period = TimeValue::fromTicks(random.bounded(qint64(36'000'000)));
        c.holdHome = TimeValue::fromTicks(random.bounded(qint64(1'000'000)));
        c.resetTime = TimeValue::fromTicks(random.bounded(qint64(6'000'000)));
        c.periodRunning = random.bounded(2) != 0;
        c.goldenScore = random.bounded(2) != 0;
        c.matchIndex = int(random.bounded(1000));
        if (random.bounded(2) != 0)
            c.ruleValues = Rules::preset(Rules::SetId(random.bounded(5)));
        if (random.bounded(2) != 0) {
            c.tournamentCategory = 10000 + int(random.bounded(100));
            c.tournamentMatch = 1 + int(random.bounded(999));
            c.tournamentEnded = random.bounded(2) != 0;
            c.tournamentResult = QByteArray::number(random.generate64());
        }
        const QByteArray json = c.toJson();
        QJsonParseError error;
        const QJsonDocument parsed = QJsonDocument::fromJson(json, &error);
        ASSERT_EQ(error.error, QJsonParseError::NoError) << json.constData();
        EXPECT_EQ(json, parsed.toJson(QJsonDocument::Compact));
    }
}
