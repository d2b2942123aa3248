#include "modules/RtfReader.h"

#include <QHash>
#include <QStringView>

#include <algorithm>
#include <limits>
#include <array>
#include <vector>

namespace RtfReader {

QString Paragraph::text() const
{
    QString result;
    for (const Run &run : Runs)
        result += run.Text;
    return result;
}

QString Document::plainText() const
{
    QStringList lines;
    lines.reserve(Paragraphs.size());
    for (const Paragraph &paragraph : Paragraphs)
        lines << paragraph.text();
    return lines.join(QLatin1Char('\n'));
}

namespace {

// Code page 1252 differs from Latin-1 only in 0x80 to 0x9F; its five unused
// codes map to the replacement character.
constexpr std::array<char16_t, 32> cp1252High = {0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020,
    0x2021, 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD, 0xFFFD, 0x2018, 0x2019, 0x201C,
    0x201D, 0x2022, 0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178};

char16_t fromCp1252(unsigned char byte)
{
    if (byte >= 0x80 && byte <= 0x9F)
        return cp1252High[byte - 0x80];
    return char16_t(byte);
}

// Parameters are read to any length but held within this bound, so that a
// run of digits cannot overflow.
constexpr int ParameterBound = 1'000'000'000;
// Twips of indent or spacing beyond which a value is taken as a mistake.
constexpr int TwipsBound = 31680; // 22 inches
// Longest control word kept; longer ones are unknown words.
constexpr int MaxWordLength = 32;

enum class Destination { Text, Skip, FontTable, ColorTable };

// Everything a group carries and restores when it closes.
struct GroupState
{
    Destination Dest = Destination::Text;
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    int HalfPoints = 24;
    int Font = -1;
    int ForeColor = 0;
    int HighlightColor = 0;
    int SkipCount = 1; // \uc
    ParagraphFormat Para;
};

// Destinations whose content the help viewer never shows.
bool isSkippedDestination(QStringView word)
{
    static const QSet<QString> skipped = {QStringLiteral("pict"), QStringLiteral("info"),
        QStringLiteral("stylesheet"), QStringLiteral("header"), QStringLiteral("headerl"),
        QStringLiteral("headerr"), QStringLiteral("headerf"), QStringLiteral("footer"),
        QStringLiteral("footerl"), QStringLiteral("footerr"), QStringLiteral("footerf"),
        QStringLiteral("footnote"), QStringLiteral("object"), QStringLiteral("fldinst"),
        QStringLiteral("listtable"), QStringLiteral("listoverridetable"), QStringLiteral("rsidtbl"),
        QStringLiteral("revtbl"), QStringLiteral("filetbl"), QStringLiteral("generator"),
        QStringLiteral("themedata"), QStringLiteral("colorschememapping"), QStringLiteral("datastore"),
        QStringLiteral("latentstyles"), QStringLiteral("xmlnstbl"), QStringLiteral("nonshppict"),
        QStringLiteral("bkmkstart"), QStringLiteral("bkmkend"), QStringLiteral("pgdsctbl"),
        QStringLiteral("author"), QStringLiteral("operator"), QStringLiteral("title"),
        QStringLiteral("subject"), QStringLiteral("keywords"), QStringLiteral("comment"),
        QStringLiteral("doccomm"), QStringLiteral("company"), QStringLiteral("template")};
    return skipped.contains(word.toString());
}

// Words that are understood and deliberately have no effect on the view
// (page set-up, language, font families and the like).
bool isHarmlessWord(QStringView word)
{
    static const QSet<QString> harmless = {QStringLiteral("rtf"), QStringLiteral("ansi"),
        QStringLiteral("ansicpg"), QStringLiteral("deff"), QStringLiteral("deflang"),
        QStringLiteral("deflangfe"), QStringLiteral("lang"), QStringLiteral("langfe"),
        QStringLiteral("langnp"), QStringLiteral("viewkind"), QStringLiteral("fnil"),
        QStringLiteral("froman"), QStringLiteral("fswiss"), QStringLiteral("fmodern"),
        QStringLiteral("fscript"), QStringLiteral("fdecor"), QStringLiteral("ftech"), QStringLiteral("fbidi"),
        QStringLiteral("fcharset"), QStringLiteral("fprq"), QStringLiteral("margl"), QStringLiteral("margr"),
        QStringLiteral("margt"), QStringLiteral("margb"), QStringLiteral("paperw"), QStringLiteral("paperh"),
        QStringLiteral("widowctrl"), QStringLiteral("nowidctlpar"), QStringLiteral("sl"),
        QStringLiteral("slmult"), QStringLiteral("s"), QStringLiteral("cs"), QStringLiteral("kerning"),
        QStringLiteral("nouicompat"), QStringLiteral("mac"), QStringLiteral("pc"), QStringLiteral("pca"),
        QStringLiteral("fldrslt"), QStringLiteral("field"), QStringLiteral("sectd"), QStringLiteral("keep"),
        QStringLiteral("keepn")};
    return harmless.contains(word.toString());
}

class Parser
{
public:
    Parser(QByteArrayView input, qsizetype maxSize)
        : m_in(input)
        , m_maxSize(maxSize)
    {
        m_stack.reserve(64);
        m_stack.push_back(GroupState {});
    }

    Document run();

private:
    GroupState &state() { return m_stack.back(); }
    bool atEnd() const { return m_pos >= m_in.size(); }
    unsigned char peek() const { return static_cast<unsigned char>(m_in[m_pos]); }

    void openGroup();
    void closeGroup();
    void readControl();
    void controlWord(QStringView word, bool hasParameter, int parameter);
    void controlSymbol(unsigned char symbol);
    void hexCharacter();
    void skipBinary(int count);

    // Takes one character of text (or a symbol standing for one).
    void character(char16_t ch);
    void flushText();
    void endParagraph();
    bool grow(qsizetype amount);

    CharFormat resolvedFormat();
    Color colorAt(int index) const;

    QByteArrayView m_in;
    qsizetype m_maxSize;
    qsizetype m_pos = 0;
    std::vector<GroupState> m_stack;
    int m_excessDepth = 0;
    bool m_groupStart = false; // the last token opened a group
    bool m_ignorableNext = false; // \* seen at the group's start
    int m_pendingSkip = 0; // characters still to drop after \u
    bool m_stopped = false;

    QHash<int, QString> m_fonts;
    int m_tableFont = 0;
    QString m_fontName;
    int m_defaultFont = -1;

    QList<Color> m_colors;
    Color m_tableColor;

    QString m_pending;
    Paragraph m_paragraph;
    qsizetype m_size = 0;
    Document m_doc;
};

Document Parser::run()
{
    while (!atEnd() && !m_stopped) {
        const unsigned char c = peek();
        if (c == '{') {
            ++m_pos;
            openGroup();
        } else if (c == '}') {
            ++m_pos;
            closeGroup();
        } else if (c == '\\') {
            ++m_pos;
            readControl();
        } else {
            ++m_pos;
            m_groupStart = false;
            if (c == '\r' || c == '\n')
                continue;
            if (c == '\t')
                character(u'\t');
            else if (c >= 0x20)
                character(fromCp1252(c));
        }
    }
    // The text read before the limit stopped the reading is kept: its
    // characters are already counted, only its run and paragraph are not.
    m_maxSize = std::numeric_limits<qsizetype>::max();
    flushText();
    if (!m_paragraph.Runs.isEmpty())
        endParagraph();
    return std::move(m_doc);
}

void Parser::openGroup()
{
    flushText();
    m_pendingSkip = 0;
    m_ignorableNext = false;
    m_groupStart = true;
    if (int(m_stack.size()) >= MaxDepth) {
        ++m_excessDepth;
        return;
    }
    m_stack.push_back(m_stack.back());
}

void Parser::closeGroup()
{
    flushText();
    m_pendingSkip = 0;
    m_groupStart = false;
    m_ignorableNext = false;
    if (m_excessDepth > 0) {
        --m_excessDepth;
        return;
    }
    // A stray closing brace at the outermost level is ignored.
    if (m_stack.size() > 1)
        m_stack.pop_back();
}

void Parser::readControl()
{
    if (atEnd())
        return;
    const unsigned char first = peek();
    const bool isLetter = (first >= 'a' && first <= 'z') || (first >= 'A' && first <= 'Z');
    if (!isLetter) {
        ++m_pos;
        controlSymbol(first);
        return;
    }

    char word[MaxWordLength];
    int length = 0;
    bool tooLong = false;
    while (!atEnd()) {
        const unsigned char c = peek();
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')))
            break;
        if (length < MaxWordLength)
            word[length++] = char(c);
        else
            tooLong = true;
        ++m_pos;
    }

    bool negative = false;
    bool hasParameter = false;
    int parameter = 0;
    if (!atEnd() && peek() == '-') {
        negative = true;
        ++m_pos;
    }
    while (!atEnd() && peek() >= '0' && peek() <= '9') {
        hasParameter = true;
        const int digit = peek() - '0';
        parameter = parameter <= (ParameterBound - digit) / 10 ? parameter * 10 + digit : ParameterBound;
        ++m_pos;
    }
    if (negative)
        parameter = -parameter;
    // One space ends a control word and belongs to it.
    if (!atEnd() && peek() == ' ')
        ++m_pos;

    const QString name = QString::fromLatin1(word, length);
    if (tooLong) {
        m_groupStart = false;
        if (state().Dest == Destination::Text)
            m_doc.UnknownWords.insert(name + QStringLiteral("..."));
        return;
    }
    controlWord(name, hasParameter, parameter);
}

void Parser::controlSymbol(unsigned char symbol)
{
    const bool groupStart = m_groupStart;
    m_groupStart = false;
    switch (symbol) {
    case '*':
        if (groupStart)
            m_ignorableNext = true;
        m_groupStart = groupStart; // the destination word still opens the group
        return;
    case '\'': hexCharacter(); return;
    case '\\':
    case '{':
    case '}': character(char16_t(symbol)); return;
    case '~': character(u'\u00A0'); return;
    case '_': character(u'\u2011'); return;
    case '-': character(u'\u00AD'); return;
    case '\r':
    case '\n':
        // A backslash before a line end is a paragraph mark.
        controlWord(u"par", false, 0);
        return;
    case '\t': character(u'\t'); return;
    default: return; // \| \: and the like have no visible effect
    }
}

void Parser::hexCharacter()
{
    int value = 0;
    int digits = 0;
    while (digits < 2 && !atEnd()) {
        const unsigned char c = peek();
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            break;
        value = value * 16 + digit;
        ++digits;
        ++m_pos;
    }
    if (digits < 2)
        return; // truncated: nothing to show
    if (value == '\t')
        character(u'\t');
    else if (value >= 0x20)
        character(fromCp1252(static_cast<unsigned char>(value)));
    else if (m_pendingSkip > 0)
        --m_pendingSkip;
}

void Parser::skipBinary(int count)
{
    m_pos += std::clamp<qsizetype>(count, 0, m_in.size() - m_pos);
}

void Parser::controlWord(QStringView word, bool hasParameter, int parameter)
{
    const bool groupStart = m_groupStart;
    const bool ignorable = m_ignorableNext;
    m_groupStart = false;
    m_ignorableNext = false;
    GroupState &s = state();

    if (word == u"bin") {
        flushText();
        skipBinary(hasParameter ? parameter : 0);
        return;
    }
    if (s.Dest == Destination::Skip)
        return;
    // The characters that stand in for a Unicode character are dropped,
    // control words among them counting as one each.
    if (m_pendingSkip > 0 && word != u"u") {
        --m_pendingSkip;
        return;
    }
    flushText();

    // Destinations.
    if (groupStart) {
        if (word == u"fonttbl") {
            s.Dest = Destination::FontTable;
            m_fontName.clear();
            return;
        }
        if (word == u"colortbl") {
            s.Dest = Destination::ColorTable;
            m_colors.clear();
            m_tableColor = Color {};
            return;
        }
        if (isSkippedDestination(word) || (ignorable && !isHarmlessWord(word))) {
            s.Dest = Destination::Skip;
            return;
        }
    }

    if (s.Dest == Destination::FontTable) {
        if (word == u"f") {
            m_tableFont = parameter;
            m_fontName.clear();
        }
        return;
    }
    if (s.Dest == Destination::ColorTable) {
        const auto channel = quint8(std::clamp(parameter, 0, 255));
        if (word == u"red")
            m_tableColor.Red = channel;
        else if (word == u"green")
            m_tableColor.Green = channel;
        else if (word == u"blue")
            m_tableColor.Blue = channel;
        else
            return;
        m_tableColor.Auto = false;
        return;
    }

    const bool on = !hasParameter || parameter != 0;
    const int twips = std::clamp(parameter, -TwipsBound, TwipsBound);

    if (word == u"par" || word == u"page" || word == u"sect" || word == u"row") {
        endParagraph();
    } else if (word == u"line") {
        character(u'\u2028');
    } else if (word == u"tab" || word == u"cell") {
        character(u'\t');
    } else if (word == u"u") {
        if (m_pendingSkip > 0)
            --m_pendingSkip; // a \u inside another's fallback is part of it
        else {
            const int code = parameter < 0 ? parameter + 65536 : parameter;
            character(code >= 0 && code <= 0xFFFF ? char16_t(code) : u'\uFFFD');
            m_pendingSkip = s.SkipCount;
        }
    } else if (word == u"uc") {
        s.SkipCount = std::clamp(parameter, 0, 8);
    } else if (word == u"b") {
        s.Bold = on;
    } else if (word == u"i") {
        s.Italic = on;
    } else if (word == u"ul") {
        s.Underline = on;
    } else if (word == u"ulnone") {
        s.Underline = false;
    } else if (word == u"fs") {
        s.HalfPoints = parameter > 0 ? std::min(parameter, 1000) : 24;
    } else if (word == u"f") {
        s.Font = parameter;
    } else if (word == u"deff") {
        m_defaultFont = parameter;
    } else if (word == u"cf") {
        s.ForeColor = parameter;
    } else if (word == u"highlight" || word == u"cb") {
        s.HighlightColor = parameter;
    } else if (word == u"plain") {
        s.Bold = s.Italic = s.Underline = false;
        s.HalfPoints = 24;
        s.Font = -1;
        s.ForeColor = s.HighlightColor = 0;
    } else if (word == u"pard") {
        s.Para = ParagraphFormat {};
    } else if (word == u"ql") {
        s.Para.Align = Alignment::Left;
    } else if (word == u"qc") {
        s.Para.Align = Alignment::Center;
    } else if (word == u"qr") {
        s.Para.Align = Alignment::Right;
    } else if (word == u"qj") {
        s.Para.Align = Alignment::Justify;
    } else if (word == u"li") {
        s.Para.LeftIndent = twips;
    } else if (word == u"ri") {
        s.Para.RightIndent = twips;
    } else if (word == u"fi") {
        s.Para.FirstIndent = twips;
    } else if (word == u"sb") {
        s.Para.SpaceBefore = std::max(twips, 0);
    } else if (word == u"sa") {
        s.Para.SpaceAfter = std::max(twips, 0);
    } else if (word == u"emdash") {
        character(u'\u2014');
    } else if (word == u"endash") {
        character(u'\u2013');
    } else if (word == u"bullet") {
        character(u'\u2022');
    } else if (word == u"lquote") {
        character(u'\u2018');
    } else if (word == u"rquote") {
        character(u'\u2019');
    } else if (word == u"ldblquote") {
        character(u'\u201C');
    } else if (word == u"rdblquote") {
        character(u'\u201D');
    } else if (word == u"emspace") {
        character(u'\u2003');
    } else if (word == u"enspace") {
        character(u'\u2002');
    } else if (!isHarmlessWord(word)) {
        m_doc.UnknownWords.insert(word.toString());
    }
}

void Parser::character(char16_t ch)
{
    m_groupStart = false;
    if (m_pendingSkip > 0) {
        --m_pendingSkip;
        return;
    }
    switch (state().Dest) {
    case Destination::Skip: return;
    case Destination::FontTable:
        if (ch == u';') {
            m_fonts.insert(m_tableFont, m_fontName.trimmed());
            m_fontName.clear();
        } else if (m_fontName.size() < 256) {
            m_fontName += QChar(ch);
        }
        return;
    case Destination::ColorTable:
        if (ch == u';' && m_colors.size() < 4096) {
            m_colors << m_tableColor;
            m_tableColor = Color {};
        }
        return;
    case Destination::Text:
        if (grow(1))
            m_pending += QChar(ch);
        return;
    }
}

bool Parser::grow(qsizetype amount)
{
    if (m_size + amount > m_maxSize) {
        m_doc.Truncated = true;
        m_stopped = true;
        return false;
    }
    m_size += amount;
    return true;
}

Color Parser::colorAt(int index) const
{
    return index > 0 && index < m_colors.size() ? m_colors[index] : Color {};
}

CharFormat Parser::resolvedFormat()
{
    const GroupState &s = state();
    CharFormat format;
    format.Bold = s.Bold;
    format.Italic = s.Italic;
    format.Underline = s.Underline;
    format.HalfPoints = s.HalfPoints;
    format.FontFamily = m_fonts.value(s.Font < 0 ? m_defaultFont : s.Font);
    format.Foreground = colorAt(s.ForeColor);
    format.Highlight = colorAt(s.HighlightColor);
    return format;
}

void Parser::flushText()
{
    if (m_pending.isEmpty())
        return;
    CharFormat format = resolvedFormat();
    if (!m_paragraph.Runs.isEmpty() && m_paragraph.Runs.last().Format == format)
        m_paragraph.Runs.last().Text += m_pending;
    else if (grow(BlockCost))
        m_paragraph.Runs.append(Run {m_pending, std::move(format)});
    m_pending.clear();
}

void Parser::endParagraph()
{
    if (state().Dest != Destination::Text || !grow(BlockCost))
        return;
    flushText();
    static_cast<ParagraphFormat &>(m_paragraph) = state().Para;
    m_doc.Paragraphs.append(std::move(m_paragraph));
    m_paragraph = Paragraph {};
}

} // namespace

Document parse(QByteArrayView rtf, qsizetype maxSize)
{
    return Parser(rtf, std::min(maxSize, MaxDocumentSize)).run();
}

} // namespace RtfReader
