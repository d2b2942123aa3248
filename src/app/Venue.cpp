#include "app/Venue.h"

#include "app/MatchFeed.h"
#include "app/SignalQuit.h"
#include "day/MatchDay.h"
#include "files/SafeFile.h"
#include "modules/JudoShiaiCodec.h"
#include "platform/KeepAwake.h"
#include "scoreboard/AudienceWindow.h"
#include "scoreboard/frmScoreboard.h"
#include "settings/DialogAnswers.h"
#include "settings/SettingsStore.h"
#include "settings/SettingsVariables.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLockFile>
#include <QPointer>
#include <QScreen>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTimer>

#include <cstdio>
#include <memory>
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
// The command line's set and list win over the saved ones; the question
// says when they differ. A quit by signal before the answer leaves it for
// the next start.
void offerSavedContest(frmScoreboard &board, const QString &path, const QString &rules)
{
    QString error;
    const std::optional<QByteArray> bytes = SafeFile::readOwn(path, SavedContest::MaxFileBytes, &error);
    if (!error.isEmpty())
        warn(QStringLiteral("the saved contest %1 was not read: %2.").arg(path, error));
    if (bytes) {
        QStringList warnings;
        std::optional<SavedContest> saved = SavedContest::fromJson(*bytes, &warnings);
        for (const QString &warning : std::as_const(warnings))
            warn(warning);
        // No, or damage, discards it: the board's own contest is saved over it.
        if (!saved) {
            warn(QStringLiteral("the saved contest %1 is damaged and was discarded.").arg(path));
            QFile::remove(path);
        } else {
            QStringList differences;
            if (saved->listHash != board.day().listHash())
                differences << QStringLiteral("from another match list");
            if (!rules.isEmpty() && saved->rules != rules) {
                differences << QStringLiteral("under another rule set");
                saved->rules = rules;
            }
            QString question =
                QStringLiteral("Restore the contest that was on the board when Zembrak stopped");
            if (!differences.isEmpty())
                question += QStringLiteral(" (%1)").arg(differences.join(QStringLiteral(", ")));
            const bool restore =
                DialogAnswers::askYesNo(&board, QStringLiteral("Zembrak"), question + QLatin1Char('?'));
            if (SignalQuit::received())
                return;
            if (restore)
                board.day().restoreContest(*saved);
        }
    }
    board.day().setRecoveryFile(path);
}

} // namespace

bool claimVenueMat(const VenueOptions &options)
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
    if (!options.mat.isEmpty()) {
        folder += QStringLiteral("/mats/") + options.mat;
        SettingsStore::useFile(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                               QStringLiteral("/Zembrak/Zembrak-mat-%1.conf").arg(options.mat));
    }
    MatchDay::useDataFolder(folder);
    QDir().mkpath(folder);
    // Held for the whole run; released at exit.
    static std::unique_ptr<QLockFile> lock;
    const QString lockPath = folder + QStringLiteral("/zembrak.lock");
    // The lock is the program's own file: a link in its place goes, unfollowed.
    if (QString error; !SafeFile::clearOwnPath(lockPath, &error)) {
        warn(QStringLiteral("cannot lock %1: %2; a second board for this mat would not be stopped.")
                 .arg(lockPath, error));
        return true;
    }
    lock = std::make_unique<QLockFile>(lockPath);
    // Never stale by age: only a holder that no longer runs gives it up.
    lock->setStaleLockTime(0);
    if (lock->tryLock(0))
        return true;
    if (lock->error() != QLockFile::LockFailedError) {
        warn(QStringLiteral("cannot lock %1; a second board for this mat would not be stopped.")
                 .arg(lock->fileName()));
        return true;
    }
    qint64 pid = 0;
    lock->getLockInfo(&pid, nullptr, nullptr);
    const QString who = options.mat.isEmpty()
                            ? QStringLiteral("Zembrak is already running")
                            : QStringLiteral("Zembrak is already running for mat %1").arg(options.mat);
    std::fprintf(stderr, "%s (process %lld)\n", qPrintable(who), static_cast<long long>(pid));
    std::fflush(stderr);
    lock.reset();
    return false;
}

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

    // The options' OK writes the store off the board's thread, in line with
    // the day's files.
    SettingsStore::setWriter([&board](const QString &what, std::function<bool(QString *)> job) {
        board.day().runOnDisk(what, std::move(job));
    });
    QObject::connect(&board, &QObject::destroyed, [] { SettingsStore::setWriter({}); });

    board.day().setMat(options.mat);
    board.day().setResultsSeparator(options.resultsSeparator);
    board.day().setResultsFile(options.results.isEmpty()
                                   ? MatchDay::dataFolder() + QStringLiteral("/results.csv")
                                   : options.results);

    // After the rule set, whose contest time a contest without its own takes.
    // Only a regular file is read: a FIFO would hold the start for good.
    if (!options.matches.isEmpty()) {
        QFile list(options.matches);
        QString problem;
        if (!QFileInfo(list).isFile())
            problem = QStringLiteral("no such file");
        else if (list.size() > MatchDay::MaxListBytes)
            problem = QStringLiteral("larger than 4 MB");
        else if (!list.open(QIODevice::ReadOnly))
            problem = list.errorString();
        if (!problem.isEmpty()) {
            const QString text = QStringLiteral("--matches %1: %2; the stored list, if any, goes on.")
                                     .arg(options.matches, problem);
            warn(text);
            board.tellOperator(QStringLiteral("The match list could not be read"), text);
        } else {
            // A few lines on stderr, not one for every bad line of a huge file.
            const QStringList messages = board.day().useMatchList(list.readAll());
            for (const QString &message : messages.mid(0, 20))
                warn(message);
            if (messages.size() > 20)
                warn(QStringLiteral("... and %1 more lines skipped.").arg(messages.size() - 20));
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
    const QString saved = MatchDay::dataFolder() + QStringLiteral("/contest.json");
    const QString rules = options.rules;
    QTimer::singleShot(0, &board, [&board, saved, rules] { offerSavedContest(board, saved, rules); });
}
