// JudoShiai's stream on any bytes: the deframer never yields more than a
// message's bound, the decoder never crashes, names hold no control
// characters, and what it decodes encodes back to a message it decodes the
// same, names at most cut.

#include "modules/JudoShiaiCodec.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

void checkText(const QString &text)
{
    for (const QChar c : text)
        if (c.category() == QChar::Other_Control)
            std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    JudoShiai::Deframer deframer;
    // Fed in two pieces, as a socket may hand it over.
    QList<QByteArray> messages = deframer.feed(bytes.left(bytes.size() / 2));
    messages += deframer.feed(bytes.mid(bytes.size() / 2));
    messages.append(bytes); // the decoder on the raw bytes too
    for (const QByteArray &message : messages) {
        if (message.size() > JudoShiai::maxMessage && message.constData() != bytes.constData())
            std::abort();
        const std::optional<JudoShiai::Message> decoded = JudoShiai::decode(message);
        if (!decoded || !decoded->nextMatch)
            continue;
        const JudoShiai::NextMatchMessage &next = *decoded->nextMatch;
        for (const JudoShiai::Competitor *c : {&next.blue1, &next.white1, &next.blue2, &next.white2})
            for (const QString *text : {&c->last, &c->first, &c->country, &c->club})
                checkText(*text);
        checkText(next.category1);
        const std::optional<JudoShiai::Message> again = JudoShiai::decode(JudoShiai::encodeNextMatch(next));
        // A field read full to its end is written back one byte shorter, so
        // that a NUL ends it: at most cut, never changed.
        if (!again || !again->nextMatch || again->nextMatch->tatami != next.tatami ||
            !next.white1.last.startsWith(again->nextMatch->white1.last))
            std::abort();
        if (JudoShiai::Deframer().feed(JudoShiai::frame(message)) != QList<QByteArray> {message})
            std::abort();
    }
    return 0;
}
