// JudoShiai's protocol: byte-exact messages built by hand from the field
// tables, round trips, the escaping of FF and the stream's hostile cases.

#include "modules/JudoShiaiCodec.h"

#include <gtest/gtest.h>

using namespace JudoShiai;

namespace {

QByteArray hex(const char *text)
{
    return QByteArray::fromHex(text);
}

NextMatchMessage matchOne()
{
    NextMatchMessage next;
    next.sender = 12345;
    next.tatami = 1;
    next.category = 10000;
    next.match = 1;
    next.minutes = timesKnown | blueRests;
    next.matchTime = 300;
    next.gsTime = 300;
    next.repTime = 120;
    next.restTime = 0;
    next.pinTimes = {20, 10, 0, 0};
    next.category1 = QStringLiteral("M-73");
    next.blue1 = {QStringLiteral("PERSSON"), QStringLiteral("Elias"), QStringLiteral("SWE"),
        QStringLiteral("Borlänge JC")};
    next.white1 = {QStringLiteral("JENSEN"), QStringLiteral("Aleksander"), QStringLiteral("NOR"),
        QStringLiteral("Judo Klubb Stord")};
    next.category2 = QStringLiteral("M-73");
    next.blue2 = {QStringLiteral("PERSSON"), QStringLiteral("Elias"), QStringLiteral("SWE"), QString()};
    next.white2 = {QStringLiteral("HÄMÄLÄINEN"), QStringLiteral("Veeti"), QStringLiteral("FIN"),
        QStringLiteral("Nummelan Judo")};
    next.flags = 0;
    next.round = 0x0101;
    next.layout = QByteArray(layoutSize, '\0');
    return next;
}

} // namespace

TEST(JudoShiaiCodec, TimerMessagesAreByteExact)
{
    // version 4, type 7, length 16, sender = tatami 3; application 2, tatami 3.
    EXPECT_EQ(encodeDummy(3), hex("04070010"
                                  "00000003"
                                  "00000002"
                                  "00000003"));

    ResultMessage result;
    result.tatami = 1;
    result.category = 10000;
    result.match = 2;
    result.time = 185;
    result.blueScore = packScore(1, 1, 0, 2);
    result.whiteScore = packScore(0, 0, 3, 1);
    result.blueVote = 1;
    result.whiteHansokumake = 1;
    result.legend = legendGoldenScore;
    EXPECT_EQ(encodeResult(result), hex("04020028"
                                        "00000001"
                                        "00000001"
                                        "00002710"
                                        "00000002"
                                        "000000b9"
                                        "00011002"
                                        "00000301"
                                        "01000001"
                                        "00000100"));

    EXPECT_EQ(encodeCancelRestTime(2, 10001, 5, 7, 8), hex("040c0018"
                                                           "00000002"
                                                           "00002711"
                                                           "00000005"
                                                           "00000007"
                                                           "00000008"));
    EXPECT_EQ(encodeAck(99, 4), hex("0403000c"
                                    "00000063"
                                    "00000004"));
}

TEST(JudoShiaiCodec, ScoresPackIntoTheirFieldsAndAreHeldThere)
{
    EXPECT_EQ(packScore(0, 0, 0, 0), 0);
    EXPECT_EQ(packScore(1, 2, 3, 4), 0x12304);
    EXPECT_EQ(packScore(0, 20, -1, 300), 0xf0ff); // a hostile count cannot spill into the next field
}

TEST(JudoShiaiCodec, NextMatchDecodesFieldByFieldAndRoundTrips)
{
    const NextMatchMessage next = matchOne();
    const QByteArray bytes = encodeNextMatch(next);
    ASSERT_EQ(bytes.size(), headerSize + nextMatchBody);
    EXPECT_EQ(bytes.left(8), hex("0401017c00003039"));
    // tatami, category, match, minutes at their offsets; the pin times; the
    // first name field with its tabs, NUL-padded.
    EXPECT_EQ(bytes.mid(8, 16), hex("00000001"
                                    "00002710"
                                    "00000001"
                                    "00100008"));
    EXPECT_EQ(bytes.mid(40, 4), hex("140a0000"));
    EXPECT_EQ(bytes.mid(44, 32), QByteArray("M-73").leftJustified(32, '\0'));
    EXPECT_EQ(
        bytes.mid(76, 64), QByteArray("PERSSON\tElias\tSWE\tBorl\xc3\xa4nge JC").leftJustified(64, '\0'));
    EXPECT_EQ(bytes.mid(8 + 356, 8), hex("00000000"
                                         "00000101"));

    const std::optional<Message> decoded = decode(bytes);
    ASSERT_TRUE(decoded && decoded->nextMatch);
    EXPECT_EQ(decoded->type, NextMatch);
    EXPECT_EQ(*decoded->nextMatch, next);
    EXPECT_EQ(decoded->nextMatch->white1.displayName(), QStringLiteral("JENSEN Aleksander"));

    const std::optional<Message> ack = decode(encodeAck(12345, 1));
    ASSERT_TRUE(ack && ack->ackTatami);
    EXPECT_EQ(*ack->ackTatami, 1);
    EXPECT_EQ(ack->sender, 12345);
}

TEST(JudoShiaiCodec, ShortForeignAndUnknownMessagesAreNotActedOn)
{
    QByteArray next = encodeNextMatch(matchOne());
    EXPECT_FALSE(decode(next.left(next.size() - 1)));
    EXPECT_FALSE(decode(encodeAck(12345, 1).left(11)));
    EXPECT_FALSE(decode(hex("0403")));
    next[0] = 3; // another protocol version
    EXPECT_FALSE(decode(next));
    const std::optional<Message> label = decode(hex("040d000c"
                                                    "00003039"
                                                    "41424300"));
    ASSERT_TRUE(label);
    EXPECT_EQ(label->type, 13);
    EXPECT_FALSE(label->nextMatch || label->ackTatami);
}

TEST(JudoShiaiCodec, TextIsCutAtACharacterAndCleaned)
{
    // "ÄÄ" cut after the first byte of the second Ä, as a full field can be.
    const QByteArray cut("\xc3\x84\xc3", 3);
    EXPECT_EQ(readText(cut.constData(), cut.size()), QStringLiteral("Ä"));
    const QByteArray dirty("A\x1b[2Jb\x07\r\xe2\x80\xae"
                           "c\0junk",
        17);
    EXPECT_EQ(readText(dirty.constData(), dirty.size()), QStringLiteral("A[2Jbc"));
    const QByteArray invalid("\xff\xfeok\xc0\xaf", 6);
    EXPECT_EQ(readText(invalid.constData(), invalid.size()), QStringLiteral("ok"));

    // Written: NUL-terminated within the field, never half a character.
    const QByteArray written = writeText(QString(20, QChar(0x00c4)), 32);
    ASSERT_EQ(written.size(), 32);
    EXPECT_EQ(written.indexOf('\0'), 30);
    EXPECT_EQ(readText(written.constData(), written.size()), QString(15, QChar(0x00c4)));

    const QByteArray partial("ONLY\tOne\n", 9);
    const Competitor competitor = readCompetitor(partial.constData(), partial.size());
    EXPECT_EQ(competitor.displayName(), QStringLiteral("ONLY One"));
    EXPECT_TRUE(competitor.country.isEmpty() && competitor.club.isEmpty());
}

TEST(JudoShiaiCodec, TitlesNameTheCategoryAndTheRound)
{
    EXPECT_EQ(matchTitle(QStringLiteral("M-73"), 0x0101), QStringLiteral("M-73 · Pool, round 1"));
    EXPECT_EQ(matchTitle(QStringLiteral("W-57"), 0x0600), QStringLiteral("W-57 · Final"));
    EXPECT_EQ(matchTitle(QStringLiteral("W-57"), 0x0003), QStringLiteral("W-57 · Round 3"));
    EXPECT_EQ(matchTitle(QStringLiteral("W-57"), 0x0f00), QStringLiteral("W-57"));
}

TEST(JudoShiaiCodec, FramingEscapesFfAndSurvivesAnySplit)
{
    const QByteArray message = hex("04030010ff00ffff00000001fffcfffd");
    const QByteArray framed = frame(message);
    EXPECT_EQ(framed, hex("fffd"
                          "04030010fffe00fffefffe00000001fffefcfffefd"
                          "fffc"));
    for (qsizetype split = 0; split <= framed.size(); ++split) {
        Deframer deframer;
        QList<QByteArray> got = deframer.feed(framed.left(split));
        got += deframer.feed(framed.mid(split));
        ASSERT_EQ(got, QList<QByteArray> {message}) << "split at " << split;
    }
}

TEST(JudoShiaiCodec, BrokenAndOversizedFramesAreSkippedToTheNextStart)
{
    const QByteArray good = encodeAck(12345, 1);
    Deframer deframer;
    QByteArray stream = "garbage before any frame";
    stream += hex("fffd0102") + hex("ff41") + "tail of the broken frame"; // a stray FF breaks the frame
    stream += frame(good);
    stream += hex("fffd") + QByteArray(maxMessage + 1, 'x') + hex("fffc"); // too large
    stream += hex("fffd0a0b"); // cut short by the next start
    stream += frame(good);
    stream += hex("fffc"); // an end with no start
    EXPECT_EQ(deframer.feed(stream), (QList<QByteArray> {good, good}));
    EXPECT_EQ(deframer.dropped(), 3);

    const QByteArray largest(maxMessage, 'y');
    EXPECT_EQ(Deframer().feed(frame(largest)), QList<QByteArray> {largest});
}
