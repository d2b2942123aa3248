#include "settings/SettingsFile.h"

#include <QIODevice>
#include <QStringList>

#include <vector>

namespace SettingsFile {

namespace {

const QString general = QStringLiteral("General");

int hexValue(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    return -1;
}

// One escape after a backslash at text[i]; i is left on its last character.
QChar unescapeOne(const QString &text, qsizetype &i)
{
    const QChar c = text.at(i);
    switch (c.unicode()) {
    case u'a': return QChar(u'\a');
    case u'b': return QChar(u'\b');
    case u'f': return QChar(u'\f');
    case u'n': return QChar(u'\n');
    case u'r': return QChar(u'\r');
    case u't': return QChar(u'\t');
    case u'v': return QChar(u'\v');
    case u'x': {
        char16_t value = 0;
        for (int digits = 0; digits < 4 && i + 1 < text.size() && hexValue(text.at(i + 1)) >= 0; ++digits)
            value = char16_t(value * 16 + hexValue(text.at(++i)));
        return QChar(value);
    }
    default: break;
    }
    if (c >= u'0' && c <= u'7') {
        char16_t value = char16_t(c.unicode() - u'0');
        for (int digits = 1;
             digits < 3 && i + 1 < text.size() && text.at(i + 1) >= u'0' && text.at(i + 1) <= u'7'; ++digits)
            value = char16_t(value * 8 + (text.at(++i).unicode() - u'0'));
        return QChar(value);
    }
    return c; // \\, \", \', \? and anything unknown stand for themselves
}

// A value as QSettings' INI writer escapes it: quotes keep blanks, commas
// and semicolons; unquoted commas separate a list; a semicolon outside
// quotes starts a comment. Only "@@" at the start is undone ("@" doubled);
// any other "@" is text.
QVariant unescapeValue(const QString &text)
{
    QStringList pieces;
    QString piece;
    std::vector<bool> quoted; // per character of piece: kept as it stands
    bool inQuotes = false;
    const auto finishPiece = [&] {
        qsizetype from = 0;
        qsizetype to = piece.size();
        while (from < to && !quoted[std::size_t(from)] && piece.at(from).isSpace())
            ++from;
        while (to > from && !quoted[std::size_t(to - 1)] && piece.at(to - 1).isSpace())
            --to;
        pieces << piece.mid(from, to - from);
        piece.clear();
        quoted.clear();
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'"') {
            inQuotes = !inQuotes;
        } else if (c == u'\\' && i + 1 < text.size()) {
            piece += unescapeOne(text, ++i);
            quoted.push_back(true);
        } else if (!inQuotes && c == u';') {
            break;
        } else if (!inQuotes && c == u',') {
            finishPiece();
        } else {
            piece += c;
            quoted.push_back(inQuotes);
        }
    }
    finishPiece();
    if (pieces.size() > 1)
        return pieces;
    QString value = pieces.first();
    if (value.startsWith(QLatin1String("@@")))
        value.remove(0, 1);
    return value;
}

QString escapeValue(const QString &value)
{
    QString text = value.startsWith(u'@') ? QStringLiteral("@") + value : value;
    QString out;
    bool hexFollows = false; // a hex digit right after \x must be escaped too
    bool needsQuotes = !text.isEmpty() && (text.front().isSpace() || text.back().isSpace());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        const bool pairedSurrogate =
            (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) ||
            (c.isLowSurrogate() && i > 0 && text.at(i - 1).isHighSurrogate());
        const bool control =
            c.unicode() < 0x20 || c.unicode() == 0x7F || (c.isSurrogate() && !pairedSurrogate);
        if (c == u'\\' || c == u'"') {
            out += u'\\';
            out += c;
        } else if (c == u'\n') {
            out += QLatin1String("\\n");
        } else if (c == u'\r') {
            out += QLatin1String("\\r");
        } else if (c == u'\t') {
            out += QLatin1String("\\t");
        } else if (control || (hexFollows && hexValue(c) >= 0)) {
            out += QStringLiteral("\\x%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
            hexFollows = true;
            continue;
        } else {
            if (c == u',' || c == u';')
                needsQuotes = true;
            out += c;
        }
        hexFollows = false;
    }
    return needsQuotes ? u'"' + out + u'"' : out;
}

QString escapeList(const QVariant &value)
{
    if (value.typeId() != QMetaType::QStringList)
        return escapeValue(value.toString());
    QStringList escaped;
    for (const QString &piece : value.toStringList())
        escaped << escapeValue(piece);
    return escaped.join(QLatin1String(", "));
}

} // namespace

bool read(QIODevice &device, QSettings::SettingsMap &map)
{
    const QString text = QString::fromUtf8(device.readAll());
    QString section;
    for (const QStringView rawLine : QStringView(text).split(u'\n')) {
        const QString line = rawLine.trimmed().toString();
        if (line.isEmpty() || line.startsWith(u';') || line.startsWith(u'#'))
            continue;
        if (line.startsWith(u'[')) {
            const qsizetype end = line.lastIndexOf(u']');
            section = line.mid(1, end > 0 ? end - 1 : -1).trimmed();
            if (section == general)
                section.clear();
            else if (section == QLatin1String("%General"))
                section = general;
            continue;
        }
        const qsizetype equals = line.indexOf(u'=');
        if (equals <= 0)
            continue;
        const QString key = line.left(equals).trimmed();
        map.insert(section.isEmpty() ? key : section + u'/' + key, unescapeValue(line.mid(equals + 1)));
    }
    return true;
}

bool write(QIODevice &device, const QSettings::SettingsMap &map)
{
    QString text;
    QString section = QStringLiteral("\n"); // matches no real section
    for (auto it = map.cbegin(); it != map.cend(); ++it) {
        const qsizetype slash = it.key().indexOf(u'/');
        QString keySection = slash < 0 ? QString() : it.key().left(slash);
        if (keySection == general)
            keySection = QStringLiteral("%General");
        if (keySection != section) {
            if (!text.isEmpty())
                text += u'\n';
            text += u'[' + (keySection.isEmpty() ? general : keySection) + QLatin1String("]\n");
            section = keySection;
        }
        text += it.key().mid(slash + 1) + u'=' + escapeList(it.value()) + u'\n';
    }
    const QByteArray bytes = text.toUtf8();
    return device.write(bytes) == bytes.size();
}

QSettings::Format format()
{
    static const QSettings::Format registered =
        QSettings::registerFormat(QStringLiteral("conf"), read, write);
    return registered;
}

} // namespace SettingsFile
