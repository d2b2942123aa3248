#include "app/CommandLine.h"

#include "modules/JudoShiaiCodec.h"
#include "modules/RuleSet.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

// A screen number: a whole number from 0 up.
bool parseScreen(const QString &text, int &screen)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok || value < 0)
        return false;
    screen = value;
    return true;
}

void print(FILE *stream, const QString &text)
{
    std::fputs(qPrintable(text), stream);
    std::fflush(stream);
}

} // namespace

namespace CommandLine {

bool validMatName(const QString &name)
{
    const QString trimmed = name.trimmed();
    if (trimmed.isEmpty() || trimmed.size() > 40 || trimmed.startsWith(QLatin1Char('.')))
        return false;
    return std::all_of(trimmed.cbegin(), trimmed.cend(),
        [](QChar c) { return c.isLetterOrNumber() || c == u' ' || c == u'-' || c == u'_' || c == u'.'; });
}

bool parseFeed(const QString &text, QHostAddress &address, quint16 &port)
{
    QString host;
    QString portText = text;
    const qsizetype colon = text.lastIndexOf(QLatin1Char(':'));
    if (colon >= 0) {
        host = text.left(colon);
        portText = text.mid(colon + 1);
        // An IPv6 address is written in brackets, as in a URL: [::1]:8080.
        if (host.startsWith(QLatin1Char('[')) && host.endsWith(QLatin1Char(']')))
            host = host.mid(1, host.size() - 2);
        if (host.isEmpty())
            return false;
    }
    bool ok = false;
    const uint value = portText.toUInt(&ok);
    if (!ok || value == 0 || value > 65535)
        return false;
    QHostAddress parsed(QHostAddress::LocalHost);
    if (!host.isEmpty()) {
        if (host == QLatin1String("localhost"))
            parsed = QHostAddress(QHostAddress::LocalHost);
        else if (!parsed.setAddress(host))
            return false;
    }
    address = parsed;
    port = quint16(value);
    return true;
}

Result parse(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Zembrak, a scoreboard for judo contests."));
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help(
        {QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Show this help and quit."));
    const QCommandLineOption version(
        {QStringLiteral("v"), QStringLiteral("version")}, QStringLiteral("Show the version and quit."));
    const QCommandLineOption board(QStringLiteral("board"),
        QStringLiteral("Open the board at once, without the start screen (for a venue PC that starts "
                       "Zembrak by itself)."));
    const QCommandLineOption fullScreen(
        QStringLiteral("fullscreen"), QStringLiteral("Open the board full screen."));
    const QCommandLineOption screen(QStringLiteral("screen"),
        QStringLiteral("Open the board on screen N (0 is the first). A screen that does not exist "
                       "falls back to the primary one."),
        QStringLiteral("N"));
    const QCommandLineOption audience(QStringLiteral("audience"),
        QStringLiteral("Also show the board, read-only and full screen, on screen N for the audience. "
                       "A double-click on it toggles full screen."),
        QStringLiteral("N"));
    const QCommandLineOption feed(QStringLiteral("feed"),
        QStringLiteral("Serve the match live over HTTP on PORT, at 127.0.0.1 unless an ADDRESS is "
                       "given: /state (JSON), /events (Server-Sent Events) and / (an overlay page "
                       "for a 1920x1080 browser source)."),
        QStringLiteral("[ADDRESS:]PORT"));
    const QCommandLineOption rules(QStringLiteral("rules"),
        QStringLiteral(
            "Run this time under the rule set SET: design (the default: nothing automatic), "
            "ijf2025, classic, ijf2018 or custom (as set in the options). The stored choice is kept."),
        QStringLiteral("SET"));
    const QCommandLineOption matches(QStringLiteral("matches"),
        QStringLiteral("Load the day's match list from the CSV file FILE (home, visitor, and optionally "
                       "title and m:ss contest time) and put its first contest on the board."),
        QStringLiteral("FILE"));
    const QCommandLineOption results(QStringLiteral("results"),
        QStringLiteral("Append a line for every contest that ends to FILE rather than to results.csv "
                       "in Zembrak's data folder."),
        QStringLiteral("FILE"));
    const QCommandLineOption resultsSeparator(QStringLiteral("results-separator"),
        QStringLiteral("Separate the fields of the results file with SEP: , (the default) or ; for "
                       "spreadsheets set up that way."),
        QStringLiteral("SEP"));
    const QCommandLineOption mat(QStringLiteral("mat"),
        QStringLiteral("Run the board of mat NAME, with its own settings, match list, results file and "
                       "saved contest, and its name in the title and on every result line. One board per "
                       "mat runs at a time."),
        QStringLiteral("NAME"));
    const QCommandLineOption judoShiai(QStringLiteral("judoshiai"),
        QStringLiteral("Take each contest from JudoShiai, the tournament program, at HOST (port 2310 unless "
                       "given) and send it the results; auto looks for it on the local network."),
        QStringLiteral("HOST[:PORT]|auto"));
    const QCommandLineOption tatami(QStringLiteral("tatami"),
        QStringLiteral("The tatami this board times, 1 to 20, for JudoShiai (default 1)."),
        QStringLiteral("N"));
    parser.addOptions({help, version, board, fullScreen, screen, audience, feed, rules, matches, results,
        resultsSeparator, mat, judoShiai, tatami});

    Result result;
    // Read before the application object exists, the parser cannot know
    // the program's name by itself.
    const QString program = QFileInfo(arguments.value(0, QStringLiteral("zembrak"))).fileName();
    result.helpText = parser.helpText().replace(QLatin1String("<executable_name>"), program);
    if (!parser.parse(arguments)) {
        result.error = parser.errorText();
        return result;
    }
    result.helpRequested = parser.isSet(help);
    result.versionRequested = parser.isSet(version);
    if (!parser.positionalArguments().isEmpty()) {
        result.error =
            QStringLiteral("Unexpected argument '%1'.").arg(parser.positionalArguments().constFirst());
        return result;
    }

    VenueOptions &options = result.options;
    options.board = parser.isSet(board);
    options.fullScreen = parser.isSet(fullScreen);
    if (parser.isSet(screen) && !parseScreen(parser.value(screen), options.screen))
        result.error = QStringLiteral("--screen wants a screen number, not '%1'.").arg(parser.value(screen));
    else if (parser.isSet(audience) && !parseScreen(parser.value(audience), options.audience))
        result.error =
            QStringLiteral("--audience wants a screen number, not '%1'.").arg(parser.value(audience));
    else if (parser.isSet(feed) && !parseFeed(parser.value(feed), options.feedAddress, options.feedPort))
        result.error = QStringLiteral("--feed wants [ADDRESS:]PORT with a port from 1 to 65535, not '%1'.")
                           .arg(parser.value(feed));
    else if (parser.isSet(rules) && !Rules::idFromText(parser.value(rules)))
        result.error = QStringLiteral("--rules wants design, ijf2025, classic, ijf2018 or custom, not '%1'.")
                           .arg(parser.value(rules));
    else if (parser.isSet(mat) && !validMatName(parser.value(mat)))
        result.error =
            QStringLiteral("--mat wants a name of 1 to 40 letters, digits, spaces, '-', '_' or '.', "
                           "not beginning with a dot, not '%1'.")
                .arg(parser.value(mat).left(60));
    else if (parser.isSet(resultsSeparator) && parser.value(resultsSeparator) != QLatin1String(",") &&
             parser.value(resultsSeparator) != QLatin1String(";"))
        result.error =
            QStringLiteral("--results-separator wants , or ;, not '%1'.").arg(parser.value(resultsSeparator));
    else if (parser.isSet(judoShiai) &&
             !JudoShiai::parseServer(parser.value(judoShiai), options.judoShiaiHost, options.judoShiaiPort))
        result.error =
            QStringLiteral("--judoshiai wants HOST[:PORT] or auto, not '%1'.").arg(parser.value(judoShiai));
    else if (parser.isSet(tatami) && !(parseScreen(parser.value(tatami), options.tatami) &&
                                         options.tatami >= 1 && options.tatami <= 20))
        result.error =
            QStringLiteral("--tatami wants a number from 1 to 20, not '%1'.").arg(parser.value(tatami));
    if (result.error.isEmpty() && parser.isSet(rules))
        options.rules = parser.value(rules);
    options.mat = parser.value(mat).trimmed();
    if (parser.isSet(resultsSeparator) && result.error.isEmpty())
        options.resultsSeparator = parser.value(resultsSeparator).front();
    options.matches = parser.value(matches);
    options.results = parser.value(results);
    return result;
}

VenueOptions process(int argc, char **argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    const Result result = parse(arguments);
    if (result.helpRequested) {
        print(stdout, result.helpText);
        std::exit(EXIT_SUCCESS);
    }
    if (result.versionRequested) {
        print(stdout, QStringLiteral("%1 %2\n").arg(
                          QCoreApplication::applicationName(), QCoreApplication::applicationVersion()));
        std::exit(EXIT_SUCCESS);
    }
    if (!result.error.isEmpty()) {
        print(stderr, QStringLiteral("zembrak: %1\nTry 'zembrak --help'.\n").arg(result.error));
        std::exit(2);
    }
    return result.options;
}

} // namespace CommandLine
