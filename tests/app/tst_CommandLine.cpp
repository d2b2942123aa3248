// Reading the venue flags: what is understood, what is refused and why.

#include "app/CommandLine.h"

#include <gtest/gtest.h>

namespace {

CommandLine::Result parse(QStringList arguments)
{
    arguments.prepend(QStringLiteral("zembrak"));
    return CommandLine::parse(arguments);
}

} // namespace

TEST(CommandLine, NoArgumentsOpenTheBoardAsBefore)
{
    const CommandLine::Result result = parse({});
    EXPECT_TRUE(result.error.isEmpty());
    EXPECT_FALSE(result.options.board);
    EXPECT_FALSE(result.options.fullScreen);
    EXPECT_EQ(result.options.screen, -1);
    EXPECT_EQ(result.options.audience, -1);
    EXPECT_EQ(result.options.feedPort, 0);
}

TEST(CommandLine, VenueFlagsInEitherSpelling)
{
    const CommandLine::Result result =
        parse({"--fullscreen", "--screen", "1", "--audience=2", "--feed", "8080", "-board"});
    ASSERT_TRUE(result.error.isEmpty()) << result.error.toStdString();
    EXPECT_TRUE(result.options.board);
    EXPECT_TRUE(result.options.fullScreen);
    EXPECT_EQ(result.options.screen, 1);
    EXPECT_EQ(result.options.audience, 2);
    EXPECT_EQ(result.options.feedPort, 8080);
    // Without an address the feed stays on this machine.
    EXPECT_EQ(result.options.feedAddress, QHostAddress(QHostAddress::LocalHost));
}

TEST(CommandLine, FeedAddressForms)
{
    QHostAddress address;
    quint16 port = 0;
    ASSERT_TRUE(CommandLine::parseFeed(QStringLiteral("0.0.0.0:9000"), address, port));
    EXPECT_EQ(address, QHostAddress(QStringLiteral("0.0.0.0")));
    EXPECT_EQ(port, 9000);
    ASSERT_TRUE(CommandLine::parseFeed(QStringLiteral("[::1]:65535"), address, port));
    EXPECT_EQ(address, QHostAddress(QHostAddress::LocalHostIPv6));
    EXPECT_EQ(port, 65535);
    ASSERT_TRUE(CommandLine::parseFeed(QStringLiteral("localhost:80"), address, port));
    EXPECT_EQ(address, QHostAddress(QHostAddress::LocalHost));

    for (const char *bad : {"0", "65536", "-1", "http", ":8080", "1.2.3.4.5:80", "10.0.0.1:", "8080x", ""})
        EXPECT_FALSE(CommandLine::parseFeed(QString::fromLatin1(bad), address, port)) << bad;
}

TEST(CommandLine, BadValuesAreRefusedWithTheirFlagNamed)
{
    EXPECT_TRUE(parse({"--screen", "-1"}).error.contains(QLatin1String("--screen")));
    EXPECT_TRUE(parse({"--audience", "two"}).error.contains(QLatin1String("--audience")));
    EXPECT_TRUE(parse({"--feed", "99999"}).error.contains(QLatin1String("--feed")));
    EXPECT_FALSE(parse({"--screen"}).error.isEmpty()); // value missing
    EXPECT_FALSE(parse({"--frobnicate"}).error.isEmpty());
    EXPECT_FALSE(parse({"match.txt"}).error.isEmpty());
}

TEST(CommandLine, HelpAndVersionAreAskedForAndHelpNamesEveryFlag)
{
    EXPECT_TRUE(parse({"--help"}).helpRequested);
    EXPECT_TRUE(parse({"-h"}).helpRequested);
    EXPECT_TRUE(parse({"--version"}).versionRequested);
    const QString help = parse({}).helpText;
    for (const char *flag : {"--board", "--fullscreen", "--screen <N>", "--audience <N>",
             "--feed <[ADDRESS:]PORT>", "--help", "--version", "/events"})
        EXPECT_TRUE(help.contains(QLatin1String(flag))) << flag << "\n" << help.toStdString();
}

TEST(CommandLine, RulesNameASetForThisRunOrAreRefused)
{
    EXPECT_EQ(parse({}).options.rules, QString()) << "the stored set";
    for (const char *set : {"design", "classic", "ijf2018", "ijf2025", "custom"}) {
        const CommandLine::Result result = parse({"--rules", set});
        EXPECT_TRUE(result.error.isEmpty()) << set;
        EXPECT_EQ(result.options.rules, QLatin1String(set));
    }
    for (const char *bad : {"IJF2018", "ijf", ""})
        EXPECT_TRUE(parse({"--rules", bad}).error.contains(QLatin1String("--rules"))) << bad;
    EXPECT_TRUE(parse({}).helpText.contains(QLatin1String("--rules")));
}

TEST(CommandLine, AMatNameIsOneThatCanNameFiles)
{
    EXPECT_EQ(parse({"--mat", "Tatami 2"}).options.mat, QStringLiteral("Tatami 2"));
    EXPECT_EQ(parse({}).options.mat, QString());
    for (const char *bad :
        {"", "   ", "../x", "a/b", ".hidden", "x\\y", "1234567890123456789012345678901234567890X"})
        EXPECT_TRUE(parse({"--mat", bad}).error.contains(QLatin1String("--mat"))) << bad;
}

TEST(CommandLine, TheResultsSeparatorIsACommaOrASemicolon)
{
    EXPECT_EQ(parse({}).options.resultsSeparator, QLatin1Char(','));
    EXPECT_EQ(parse({"--results-separator", ";"}).options.resultsSeparator, QLatin1Char(';'));
    EXPECT_EQ(parse({"--results-separator=,"}).options.resultsSeparator, QLatin1Char(','));
    for (const char *bad : {"\t", ";;", "", "x"})
        EXPECT_TRUE(parse({"--results-separator", bad}).error.contains(QLatin1String("--results-separator")))
            << bad;
}

TEST(CommandLine, JudoShiaiServerAndTatami)
{
    const CommandLine::Result none = parse({});
    EXPECT_TRUE(none.options.judoShiaiHost.isEmpty()) << "the stored choice";
    EXPECT_EQ(none.options.tatami, 0);

    const struct
    {
        const char *text, *host;
        quint16 port;
    } good[] = {{"127.0.0.1", "127.0.0.1", 2310}, {"office.local:2400", "office.local", 2400},
        {"auto", "auto", 2310}, {"[::1]:2311", "::1", 2311}, {"fe80::1", "fe80::1", 2310}};
    for (const auto &form : good) {
        const CommandLine::Result result = parse({"--judoshiai", form.text, "--tatami", "20"});
        ASSERT_TRUE(result.error.isEmpty()) << form.text << result.error.toStdString();
        EXPECT_EQ(result.options.judoShiaiHost, QLatin1String(form.host));
        EXPECT_EQ(result.options.judoShiaiPort, form.port);
        EXPECT_EQ(result.options.tatami, 20);
    }
    for (const char *bad : {"", "host:0", "host:70000", "host:", "a b", ":2310"})
        EXPECT_TRUE(parse({"--judoshiai", bad}).error.contains(QLatin1String("--judoshiai"))) << bad;
    for (const char *bad : {"0", "21", "-1", "one"})
        EXPECT_TRUE(parse({"--tatami", bad}).error.contains(QLatin1String("--tatami"))) << bad;
}
