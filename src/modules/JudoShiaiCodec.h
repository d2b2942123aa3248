#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <array>
#include <optional>

// JudoShiai's timer protocol (version 4): the framing of its TCP stream and
// the messages a timer sends and reads. Pure: bytes in, values out.
namespace JudoShiai {

constexpr int protocolVersion = 4;
constexpr quint16 defaultPort = 2310;
constexpr qsizetype headerSize = 8;
// JudoShiai's messages are all smaller; anything larger is not one of them.
constexpr qsizetype maxMessage = 512;
constexpr int applicationTimer = 2;

enum Type : int {
    NextMatch = 1,
    Result = 2,
    Ack = 3,
    Dummy = 7,
    CancelRestTime = 12,
};

// Field sizes of NEXT_MATCH.
constexpr qsizetype categorySize = 32;
constexpr qsizetype nameSize = 64;
constexpr qsizetype layoutSize = 8;
constexpr qsizetype nextMatchBody = 372;
constexpr qsizetype resultBody = 32;

// "minutes": the times are known; blue / white needs rest.
constexpr qint32 timesKnown = 1 << 20;
constexpr qint32 blueRests = 0x08;
constexpr qint32 whiteRests = 0x10;
constexpr qint32 legendGoldenScore = 0x100;
constexpr qint32 noMatch = 1000;
constexpr qint32 firstCategory = 10000;
constexpr qint32 lowestServerSender = 10;

// Wraps one message: FF FD, the bytes with FF sent as FF FE, FF FC.
QByteArray frame(const QByteArray &message);

// Cuts a byte stream into messages. Bytes outside a frame are skipped, and a
// frame that breaks (a stray FF, a new start marker, more than maxMessage
// bytes) is dropped up to the next start marker.
class Deframer
{
public:
    QList<QByteArray> feed(const QByteArray &bytes);
    int dropped() const { return m_dropped; }

private:
    void drop();

    QByteArray m_message;
    bool m_inFrame = false;
    bool m_escape = false;
    int m_dropped = 0;
};

struct Competitor
{
    QString last, first, country, club;

    QString displayName() const; // "LAST First"
    bool operator==(const Competitor &) const = default;
};

struct NextMatchMessage
{
    qint32 sender = 0;
    qint32 tatami = 0;
    qint32 category = 0;
    qint32 match = 0;
    qint32 minutes = 0;
    qint32 matchTime = 0;
    qint32 gsTime = 0;
    qint32 repTime = 0;
    qint32 restTime = 0;
    std::array<qint8, 4> pinTimes {}; // ippon, waza-ari, yuko, koka
    QString category1;
    Competitor blue1, white1;
    QString category2;
    Competitor blue2, white2;
    qint32 flags = 0;
    qint32 round = 0;
    QByteArray layout;

    bool operator==(const NextMatchMessage &) const = default;
};

struct ResultMessage
{
    qint32 tatami = 0;
    qint32 category = 0;
    qint32 match = 0;
    qint32 time = 0;
    qint32 blueScore = 0;
    qint32 whiteScore = 0;
    qint8 blueVote = 0;
    qint8 whiteVote = 0;
    qint8 blueHansokumake = 0;
    qint8 whiteHansokumake = 0;
    qint32 legend = 0;

    bool operator==(const ResultMessage &) const = default;
};

// One decoded message: its type and sender, and the fields of the types a
// timer reads. Other types come back with neither.
struct Message
{
    int type = 0;
    qint32 sender = 0;
    std::optional<NextMatchMessage> nextMatch;
    std::optional<qint32> ackTatami;
};

// Unframed messages, header included; a timer's sender is its tatami.
QByteArray encodeDummy(qint32 tatami);
QByteArray encodeResult(const ResultMessage &result);
QByteArray encodeCancelRestTime(qint32 tatami, qint32 category, qint32 match, qint32 blue, qint32 white);
// What JudoShiai sends; here for tests and tools that play the server.
QByteArray encodeNextMatch(const NextMatchMessage &next);
QByteArray encodeAck(qint32 sender, qint32 tatami);

// Nothing for a message too short for its header or its type's body, or of
// another protocol version.
std::optional<Message> decode(const QByteArray &message);
// A RESULT message as encodeResult writes it; nothing for anything else.
std::optional<ResultMessage> decodeResult(const QByteArray &message);

// ippon<<16 | waza-ari<<12 | yuko<<8 | shido, each held to its field.
qint32 packScore(int ippon, int wazaari, int yuko, int shido);

// A NUL-padded UTF-8 field: cut at a character boundary, without control
// characters. "LAST\tFirst\tCOUNTRY\tClub" for a competitor.
QString readText(const char *field, qsizetype size);
Competitor readCompetitor(const char *field, qsizetype size);
QByteArray writeText(const QString &text, qsizetype size);

// "HOST[:PORT]" or "auto", the port 2310 unless given; false when it is
// not one.
bool parseServer(const QString &text, QString &host, quint16 &port);

// "M-73 · Pool, round 1" from the category and the round field.
QString matchTitle(const QString &category, qint32 round);

} // namespace JudoShiai
