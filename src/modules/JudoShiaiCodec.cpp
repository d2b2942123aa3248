#include "modules/JudoShiaiCodec.h"

#include <QStringList>

#include <algorithm>

namespace JudoShiai {

namespace {

constexpr char marker = char(0xff);
constexpr char frameStart = char(0xfd);
constexpr char frameEnd = char(0xfc);
constexpr char escaped = char(0xfe);

void putInt(QByteArray &out, qint32 value)
{
    const auto bits = quint32(value);
    out.append(char(bits >> 24));
    out.append(char((bits >> 16) & 0xff));
    out.append(char((bits >> 8) & 0xff));
    out.append(char(bits & 0xff));
}

qint32 getInt(const char *at)
{
    const auto *bytes = reinterpret_cast<const unsigned char *>(at);
    return qint32(
        quint32(bytes[0]) << 24 | quint32(bytes[1]) << 16 | quint32(bytes[2]) << 8 | quint32(bytes[3]));
}

QByteArray withHeader(int type, qint32 sender, const QByteArray &body)
{
    QByteArray out;
    const auto length = quint16(headerSize + body.size());
    out.append(char(protocolVersion));
    out.append(char(type));
    out.append(char(length >> 8));
    out.append(char(length & 0xff));
    putInt(out, sender);
    out.append(body);
    return out;
}

// Bytes of a UTF-8 character that a lead byte announces; 0 for a byte that
// cannot lead one.
int sequenceLength(unsigned char lead)
{
    if (lead < 0x80)
        return 1;
    if (lead >= 0xc2 && lead <= 0xdf)
        return 2;
    if (lead >= 0xe0 && lead <= 0xef)
        return 3;
    if (lead >= 0xf0 && lead <= 0xf4)
        return 4;
    return 0;
}

// The length of text's valid prefix that fits in limit bytes without
// splitting a character.
qsizetype characterBoundary(const QByteArray &utf8, qsizetype limit)
{
    qsizetype end = std::min(limit, utf8.size());
    qsizetype start = end;
    while (start > 0 && (static_cast<unsigned char>(utf8[start - 1]) & 0xc0) == 0x80)
        --start;
    if (start == 0)
        return end;
    const int wanted = sequenceLength(static_cast<unsigned char>(utf8[start - 1]));
    if (wanted > 1 && (start - 1) + wanted > end)
        return start - 1;
    return end;
}

QString clean(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        const QChar::Category category = c.category();
        if (category == QChar::Other_Control || category == QChar::Other_Format ||
            c == QChar::ReplacementCharacter)
            continue;
        out.append(c);
    }
    return out.trimmed();
}

QString decodeUtf8(const char *field, qsizetype size)
{
    const qsizetype length = qsizetype(std::find(field, field + size, '\0') - field);
    const QByteArray bytes(field, length);
    return QString::fromUtf8(bytes.left(characterBoundary(bytes, bytes.size())));
}

QByteArray writeCompetitor(const Competitor &competitor)
{
    return writeText(
        QStringList {competitor.last, competitor.first, competitor.country, competitor.club}.join(
            QLatin1Char('\t')),
        nameSize);
}

} // namespace

QByteArray frame(const QByteArray &message)
{
    QByteArray out;
    out.reserve(message.size() + 4);
    out.append(marker).append(frameStart);
    for (const char byte : message) {
        out.append(byte);
        if (byte == marker)
            out.append(escaped);
    }
    out.append(marker).append(frameEnd);
    return out;
}

void Deframer::drop()
{
    ++m_dropped;
    m_message.clear();
    m_inFrame = false;
}

QList<QByteArray> Deframer::feed(const QByteArray &bytes)
{
    QList<QByteArray> messages;
    for (const char byte : bytes) {
        if (m_escape) {
            m_escape = false;
            if (byte == frameStart) {
                if (m_inFrame)
                    drop();
                m_message.clear();
                m_inFrame = true;
                continue;
            }
            if (!m_inFrame)
                continue;
            if (byte == frameEnd) {
                messages.append(m_message);
                m_message.clear();
                m_inFrame = false;
            } else if (byte == escaped) {
                m_message.append(marker);
            } else {
                drop();
            }
        } else if (byte == marker) {
            m_escape = true;
            continue;
        } else if (m_inFrame) {
            m_message.append(byte);
        }
        if (m_inFrame && m_message.size() > maxMessage)
            drop();
    }
    return messages;
}

QString Competitor::displayName() const
{
    if (first.isEmpty())
        return last;
    if (last.isEmpty())
        return first;
    return last + QLatin1Char(' ') + first;
}

QByteArray encodeDummy(qint32 tatami)
{
    QByteArray body;
    putInt(body, applicationTimer);
    putInt(body, tatami);
    return withHeader(Dummy, tatami, body);
}

QByteArray encodeResult(const ResultMessage &result)
{
    QByteArray body;
    for (const qint32 value :
        {result.tatami, result.category, result.match, result.time, result.blueScore, result.whiteScore})
        putInt(body, value);
    body.append(char(result.blueVote));
    body.append(char(result.whiteVote));
    body.append(char(result.blueHansokumake));
    body.append(char(result.whiteHansokumake));
    putInt(body, result.legend);
    return withHeader(Result, result.tatami, body);
}

QByteArray encodeCancelRestTime(qint32 tatami, qint32 category, qint32 match, qint32 blue, qint32 white)
{
    QByteArray body;
    for (const qint32 value : {category, match, blue, white})
        putInt(body, value);
    return withHeader(CancelRestTime, tatami, body);
}

QByteArray encodeNextMatch(const NextMatchMessage &next)
{
    QByteArray body;
    for (const qint32 value : {next.tatami, next.category, next.match, next.minutes, next.matchTime,
             next.gsTime, next.repTime, next.restTime})
        putInt(body, value);
    for (const qint8 pin : next.pinTimes)
        body.append(char(pin));
    body.append(writeText(next.category1, categorySize));
    body.append(writeCompetitor(next.blue1));
    body.append(writeCompetitor(next.white1));
    body.append(writeText(next.category2, categorySize));
    body.append(writeCompetitor(next.blue2));
    body.append(writeCompetitor(next.white2));
    putInt(body, next.flags);
    putInt(body, next.round);
    body.append(next.layout.left(layoutSize).leftJustified(layoutSize, '\0'));
    return withHeader(NextMatch, next.sender, body);
}

QByteArray encodeAck(qint32 sender, qint32 tatami)
{
    QByteArray body;
    putInt(body, tatami);
    return withHeader(Ack, sender, body);
}

std::optional<Message> decode(const QByteArray &message)
{
    if (message.size() < headerSize || message.size() > maxMessage ||
        int(quint8(message[0])) != protocolVersion)
        return std::nullopt;
    Message out;
    out.type = int(quint8(message[1]));
    out.sender = getInt(message.constData() + 4);
    const char *body = message.constData() + headerSize;
    const qsizetype bodySize = message.size() - headerSize;
    if (out.type == Ack) {
        if (bodySize < 4)
            return std::nullopt;
        out.ackTatami = getInt(body);
    } else if (out.type == NextMatch) {
        if (bodySize < nextMatchBody)
            return std::nullopt;
        NextMatchMessage next;
        next.sender = out.sender;
        qint32 *ints[] = {&next.tatami, &next.category, &next.match, &next.minutes, &next.matchTime,
            &next.gsTime, &next.repTime, &next.restTime};
        const char *at = body;
        for (qint32 *field : ints) {
            *field = getInt(at);
            at += 4;
        }
        for (qint8 &pin : next.pinTimes)
            pin = qint8(*at++);
        next.category1 = readText(at, categorySize);
        at += categorySize;
        next.blue1 = readCompetitor(at, nameSize);
        at += nameSize;
        next.white1 = readCompetitor(at, nameSize);
        at += nameSize;
        next.category2 = readText(at, categorySize);
        at += categorySize;
        next.blue2 = readCompetitor(at, nameSize);
        at += nameSize;
        next.white2 = readCompetitor(at, nameSize);
        at += nameSize;
        next.flags = getInt(at);
        next.round = getInt(at + 4);
        next.layout = QByteArray(at + 8, layoutSize);
        out.nextMatch = next;
    }
    return out;
}

std::optional<ResultMessage> decodeResult(const QByteArray &message)
{
    if (message.size() != headerSize + resultBody || int(quint8(message[0])) != protocolVersion ||
        int(quint8(message[1])) != Result)
        return std::nullopt;
    const char *at = message.constData() + headerSize;
    ResultMessage result;
    for (qint32 *field : {&result.tatami, &result.category, &result.match, &result.time, &result.blueScore,
             &result.whiteScore}) {
        *field = getInt(at);
        at += 4;
    }
    result.blueVote = qint8(at[0]);
    result.whiteVote = qint8(at[1]);
    result.blueHansokumake = qint8(at[2]);
    result.whiteHansokumake = qint8(at[3]);
    result.legend = getInt(at + 4);
    return result;
}

qint32 packScore(int ippon, int wazaari, int yuko, int shido)
{
    return std::clamp(ippon, 0, 15) << 16 | std::clamp(wazaari, 0, 15) << 12 | std::clamp(yuko, 0, 15) << 8 |
           std::clamp(shido, 0, 255);
}

QString readText(const char *field, qsizetype size)
{
    return clean(decodeUtf8(field, size));
}

Competitor readCompetitor(const char *field, qsizetype size)
{
    const QStringList parts = decodeUtf8(field, size).split(QLatin1Char('\t'));
    Competitor competitor;
    competitor.last = clean(parts.value(0));
    competitor.first = clean(parts.value(1));
    competitor.country = clean(parts.value(2));
    competitor.club = clean(parts.value(3));
    return competitor;
}

QByteArray writeText(const QString &text, qsizetype size)
{
    // One byte stays NUL, as a C reader of the field expects.
    const QByteArray utf8 = text.toUtf8();
    return utf8.left(characterBoundary(utf8, size - 1)).leftJustified(size, '\0');
}

bool parseServer(const QString &text, QString &host, quint16 &port)
{
    QString name = text.trimmed();
    quint16 number = defaultPort;
    const qsizetype colon = name.lastIndexOf(QLatin1Char(':'));
    // A bare IPv6 address has colons of its own; with a port it goes in brackets.
    const bool bareIpv6 = name.count(QLatin1Char(':')) > 1 && !name.startsWith(QLatin1Char('['));
    if (colon >= 0 && !bareIpv6) {
        bool ok = false;
        const uint value = name.mid(colon + 1).toUInt(&ok);
        if (!ok || value == 0 || value > 65535)
            return false;
        number = quint16(value);
        name = name.left(colon);
    }
    if (name.startsWith(QLatin1Char('[')) && name.endsWith(QLatin1Char(']')))
        name = name.mid(1, name.size() - 2);
    if (name.isEmpty() || name.contains(QLatin1Char(' ')) || name.contains(QLatin1Char('/')))
        return false;
    host = name;
    port = number;
    return true;
}

QString matchTitle(const QString &category, qint32 round)
{
    static const char *const kinds[] = {
        nullptr, "Pool", "Repechage", "Semi-final", "Bronze", "Silver", "Final"};
    const int number = round & 0xff;
    const int kind = (round & 0x0f00) >> 8;
    QString stage =
        kind < int(std::size(kinds)) && kinds[kind] ? QString::fromLatin1(kinds[kind]) : QString();
    if (number > 0)
        stage = stage.isEmpty() ? QStringLiteral("Round %1").arg(number)
                                : QStringLiteral("%1, round %2").arg(stage).arg(number);
    if (stage.isEmpty())
        return category;
    if (category.isEmpty())
        return stage;
    return category + QStringLiteral(" · ") + stage;
}

} // namespace JudoShiai
