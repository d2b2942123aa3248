#include "app/Venue.h"

#include "app/MatchFeed.h"
#include "day/MatchDay.h"
#include "modules/JudoShiaiCodec.h"
#include "platform/KeepAwake.h"
#include "scoreboard/AudienceWindow.h"
#include "scoreboard/frmScoreboard.h"
#include "settings/DialogAnswers.h"
#include "settings/SettingsVariables.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QTcpServer>
#include <QStandardPaths>
#include <QTimer>

#include <cstdio>
#include <unistd.h>

namespace {

void warn(const QString &text)
{
    std::fprintf(stderr, "zembrak: %s\n", qPrintable(text));
    std::fflush(stderr);
}

// Screen N, or the primary screen with a word on stderr when there is none.
QScreen *screenNumber(int index, const char *option)
{
    const QList<QScreen *> screens = QGuiApplication::screens();
    if (index >= 0 && index < screens.size())
        return screens.at(index);
    warn(QStringLiteral("%1 %2: there is no such screen (screens 0 to %3); using the primary screen.")
             .arg(QLatin1String(option))
             .arg(index)
             .arg(screens.size() - 1));
    return QGuiApplication::primaryScreen();
}

QString hostAndPort(const QHostAddress &address, quint16 port)
{
    const QString host = address.protocol() == QAbstractSocket::IPv6Protocol
                             ? QStringLiteral("[%1]").arg(address.toString())
                             : address.toString();
    return QStringLiteral("%1:%2").arg(host).arg(port);
}

// The feed's socket, bound at start-up, until the board's feed takes it.
QPointer<QTcpServer> boundFeed;

// A contest left on disk by an unclean end is offered back once, over the
// board; a damaged one is dropped with a line on stderr. Saving starts only
// once this is settled, so that the new board never overwrites it first.
void offerSavedContest(frmScoreboard &board, const QString &path)
{
    QFile file(path);
    if (QFileInfo(file).isFile() && file.open(QIODevice::ReadOnly)) {
        const std::optional<SavedContest> saved = SavedContest::fromJson(file.read(1 << 20));
        file.close();
        // No, or damage, discards it: the board's own contest is saved over it.
        if (!saved) {
            warn(QStringLiteral("the saved contest %1 is damaged and was discarded.").arg(path));
            QFile::remove(path);
        } else if (DialogAnswers::askYesNo(&board, QStringLiteral("Zembrak"),
                       QStringLiteral("Restore the contest that was on the board when Zembrak stopped?"))) {
            board.day().restoreContest(*saved);
        }
    }
    board.day().setRecoveryFile(path);
}

} // namespace

bool bindVenueFeed(const VenueOptions &options)
{
    if (options.feedPort == 0)
        return true;
    auto *server = new QTcpServer(QCoreApplication::instance());
    if (!server->listen(options.feedAddress, options.feedPort)) {
        warn(QStringLiteral("--feed: cannot serve on %1: %2")
                 .arg(hostAndPort(options.feedAddress, options.feedPort), server->errorString()));
        delete server;
        return false;
    }
    delete boundFeed;
    boundFeed = server;
    return true;
}

void applyVenueOptions(frmScoreboard &board, const VenueOptions &options)
{
    new KeepAwake(board);

    if (const std::optional<Rules::SetId> rules = Rules::idFromText(options.rules)) {
        board.setRules(*rules == Rules::SetId::Custom ? Settings::customRules() : Rules::preset(*rules));
    }

    board.day().setResultsFile(options.results.isEmpty()
                             ? QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) +
                                   QStringLiteral("/results.csv")
                             : options.results);

    // After the rule set, whose contest time a contest without its own takes.
    // Only a regular file is read: a FIFO would hold the start for good.
    if (!options.matches.isEmpty()) {
        QFile list(options.matches);
        if (!QFileInfo(list).isFile())
            warn(QStringLiteral("--matches %1: no such file; the stored list, if any, goes on.")
                     .arg(options.matches));
        else if (list.open(QIODevice::ReadOnly)) {
            for (const QString &message : board.day().loadMatchList(list.readAll()))
                warn(message);
        } else {
            warn(QStringLiteral("--matches %1: %2; the stored list, if any, goes on.")
                     .arg(options.matches, list.errorString()));
        }
    }

    // JudoShiai's match replaces the list's once it comes.
    QString host = options.judoShiaiHost;
    quint16 port = options.judoShiaiPort;
    if (host.isEmpty() && Settings::JudoShiaiConnect != 0 &&
        !JudoShiai::parseServer(Settings::JudoShiaiServer, host, port))
        warn(QStringLiteral("the stored JudoShiai server '%1' is no HOST[:PORT]; no link.")
                 .arg(Settings::JudoShiaiServer));
    if (!host.isEmpty())
        board.linkTournament(host, port, options.tatami > 0 ? options.tatami : Settings::JudoShiaiTatami);

    QScreen *screen = options.screen >= 0 ? screenNumber(options.screen, "--screen") : nullptr;
    if (screen) {
        // Centred on that screen; full screen, if asked, follows there.
        board.setScreen(screen);
        QRect frame = board.frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        board.move(frame.topLeft());
    }
    if (options.fullScreen) {
        if (!screen)
            screen = board.screen();
        // Without a window manager to do it, the board covers the screen
        // itself; first, as a new geometry ends the full-screen state.
        if (screen)
            board.setGeometry(screen->geometry());
        board.setWindowState(board.windowState() | Qt::WindowFullScreen);
    }

    if (options.audience >= 0) {
        auto *audience = new AudienceWindow(board);
        audience->placeOn(screenNumber(options.audience, "--audience"));
    }

    if (options.feedPort != 0) {
        auto *feed = new MatchFeed(board, &board);
        bool serving = false;
        if (boundFeed) {
            // The socket bound at start-up, passed on without closing it.
            const int descriptor = ::dup(int(boundFeed->socketDescriptor()));
            delete boundFeed;
            serving = descriptor >= 0 && feed->listen(descriptor);
            if (!serving && descriptor >= 0)
                ::close(descriptor);
        } else {
            serving = feed->listen(options.feedAddress, options.feedPort);
        }
        if (!serving) {
            warn(QStringLiteral("--feed: cannot serve on %1: %2")
                     .arg(hostAndPort(options.feedAddress, options.feedPort), feed->errorString()));
            delete feed;
        }
    }

    // Asked once the board is up, after the start screen.
    const QString saved = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) +
                          QStringLiteral("/contest.json");
    QTimer::singleShot(0, &board, [&board, saved] { offerSavedContest(board, saved); });
}
