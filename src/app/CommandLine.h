#pragma once

#include <QHostAddress>
#include <QString>
#include <QStringList>

// What the operator asked for on the command line for the venue: where the
// board opens (at once, for a kiosk), an audience window on another screen, and the live feed.
struct VenueOptions
{
    bool board = false; // straight to the board, with no start screen to click
    bool fullScreen = false;
    int screen = -1; // index into QGuiApplication::screens(); -1 keeps the default
    int audience = -1; // screen of the audience window; -1 for none
    QHostAddress feedAddress = QHostAddress(QHostAddress::LocalHost);
    quint16 feedPort = 0; // 0: no feed
    QString rules; // a rule set for this run, by id; empty for the stored one
    QString matches; // a match list to load; empty to go on with the stored one
    QString results; // where result lines go; empty for the usual results.csv
    QString mat; // the mat this board runs, with its own store and files; empty for none
    QChar resultsSeparator = QLatin1Char(','); // between the fields of a result line
    // JudoShiai, the tournament program, to take matches from and give
    // results to: a host, or "auto" to look for it; empty for the stored choice.
    QString judoShiaiHost;
    quint16 judoShiaiPort = 2310;
    int tatami = 0; // 1 to 20; 0 for the stored one
};

namespace CommandLine {

// The outcome of reading the arguments. Help and version are asked for
// rather than printed here, so that reading stays testable.
struct Result
{
    VenueOptions options;
    bool helpRequested = false;
    bool versionRequested = false;
    QString error; // empty when the arguments were understood
    QString helpText;
};

Result parse(const QStringList &arguments);

// Reads the application's arguments; prints help, the version or an error
// and ends the program where the arguments ask for it.
VenueOptions process(int argc, char **argv);

// A mat's name as given to --mat: letters, digits, spaces, '-', '_' and
// '.', 1 to 40 of them, not beginning with a dot, as it names files.
bool validMatName(const QString &name);

// "[ADDRESS:]PORT" as given to --feed; false when it is not one.
bool parseFeed(const QString &text, QHostAddress &address, quint16 &port);

} // namespace CommandLine
