#include "modules/HelpLayout.h"

#include <algorithm>
#include <utility>

namespace HelpLayout {

const QString CutNote = QStringLiteral("[The rest of this help file is too large to be shown.]");

qint64 characterCost(int halfPoints)
{
    const qint64 points = std::max<qint64>(12, (std::min(halfPoints, MaxHalfPoints) + 1) / 2);
    return points * points;
}

namespace {

// Costs below are in 1/CostScale of a 12 pt character.
constexpr qint64 Budget = MaxLayoutCost * CostScale;
constexpr qint64 BlockCost = RtfReader::BlockCost * CostScale;

qint64 spacingCost(const RtfReader::ParagraphFormat &format)
{
    // Twips to points, a 12 pt line's worth per 12 points.
    return (std::max(0, format.SpaceBefore) + std::max(0, format.SpaceAfter)) / 20 * CostScale / 12;
}

// Where to end a piece of text of at most `room` characters: after the last
// blank near the limit, else at the limit, never inside a surrogate pair.
qsizetype pieceEnd(const QString &text, qsizetype room)
{
    if (text.size() <= room)
        return text.size();
    if (room <= 0)
        return 0;
    for (qsizetype i = room; i > room - 200 && i > 0; --i) {
        if (text.at(i - 1) == u' ')
            return i;
    }
    return text.at(room - 1).isHighSurrogate() ? room - 1 : room;
}

// The paragraph in pieces of at most MaxParagraphLength characters. Only
// the first keeps its first-line indent and space before, only the last
// its space after.
QList<RtfReader::Paragraph> pieces(const RtfReader::Paragraph &paragraph)
{
    QList<RtfReader::Paragraph> all;
    RtfReader::Paragraph piece = paragraph;
    piece.Runs.clear();
    piece.SpaceAfter = 0;
    qsizetype length = 0;
    for (RtfReader::Run run : paragraph.Runs) {
        while (length + run.Text.size() > MaxParagraphLength) {
            const qsizetype end = pieceEnd(run.Text, MaxParagraphLength - length);
            if (end > 0)
                piece.Runs << RtfReader::Run {run.Text.left(end), run.Format};
            run.Text.remove(0, end);
            all << piece;
            piece.Runs.clear();
            piece.FirstIndent = 0;
            piece.SpaceBefore = 0;
            length = 0;
        }
        length += run.Text.size();
        piece.Runs << run;
    }
    piece.SpaceAfter = paragraph.SpaceAfter;
    all << piece;
    return all;
}

} // namespace

RtfReader::Document fitted(RtfReader::Document document)
{
    qint64 spent = 0;
    bool cut = false;
    qsizetype kept = 0;
    for (; kept < document.Paragraphs.size(); ++kept) {
        RtfReader::Paragraph &paragraph = document.Paragraphs[kept];
        spent += BlockCost + spacingCost(paragraph);
        if (spent > Budget) {
            cut = true;
            break;
        }
        qsizetype runs = 0;
        for (; runs < paragraph.Runs.size(); ++runs) {
            RtfReader::Run &run = paragraph.Runs[runs];
            run.Format.HalfPoints = std::min(run.Format.HalfPoints, MaxHalfPoints);
            const qint64 perCharacter = characterCost(run.Format.HalfPoints);
            const qint64 left = Budget - spent - BlockCost;
            if (left < qint64(run.Text.size()) * perCharacter) {
                qsizetype fits = left > 0 ? qsizetype(left / perCharacter) : 0;
                if (fits > 0 && run.Text.at(fits - 1).isHighSurrogate())
                    --fits;
                run.Text.truncate(fits);
                cut = true;
                if (fits > 0)
                    ++runs;
                break;
            }
            spent += BlockCost + qint64(run.Text.size()) * perCharacter;
        }
        paragraph.Runs.resize(runs);
        if (cut) {
            ++kept;
            break;
        }
    }
    document.Paragraphs.resize(kept);

    RtfReader::Document shown;
    shown.UnknownWords = document.UnknownWords;
    for (const RtfReader::Paragraph &paragraph : std::as_const(document.Paragraphs))
        shown.Paragraphs << pieces(paragraph);
    // The reader's own limit cuts a file too.
    if (cut || document.Truncated) {
        RtfReader::Paragraph note;
        note.Runs << RtfReader::Run {CutNote, {}};
        shown.Paragraphs << note;
        shown.Truncated = true;
    }
    return shown;
}

} // namespace HelpLayout
