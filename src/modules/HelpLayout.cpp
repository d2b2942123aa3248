#include "modules/HelpLayout.h"

#include <algorithm>

namespace HelpLayout {

const QString CutNote =
    QStringLiteral("[The rest of this help file is too large to be shown.]");

namespace {

qint64 pointsOf(int halfPoints)
{
    return std::max<qint64>(MinCostPoints, (halfPoints + 1) / 2);
}

qint64 blockCost()
{
    return RtfReader::BlockCost * MinCostPoints;
}

qint64 spacingCost(const RtfReader::ParagraphFormat &format)
{
    // Twips to points.
    return (std::max(0, format.SpaceBefore) + std::max(0, format.SpaceAfter)) / 20;
}

} // namespace

RtfReader::Document fitted(RtfReader::Document document)
{
    qint64 spent = 0;
    bool cut = false;
    qsizetype kept = 0;
    for (; kept < document.Paragraphs.size() && !cut; ++kept) {
        RtfReader::Paragraph &paragraph = document.Paragraphs[kept];
        spent += blockCost() + spacingCost(paragraph);
        if (spent > MaxLayoutCost) {
            cut = true;
            break;
        }
        qsizetype runs = 0;
        for (; runs < paragraph.Runs.size(); ++runs) {
            RtfReader::Run &run = paragraph.Runs[runs];
            run.Format.HalfPoints = std::min(run.Format.HalfPoints, MaxHalfPoints);
            const qint64 perCharacter = pointsOf(run.Format.HalfPoints);
            const qint64 left = MaxLayoutCost - spent - blockCost();
            if (left < qint64(run.Text.size()) * perCharacter) {
                qsizetype fits = left > 0 ? qsizetype(left / perCharacter) : 0;
                // Never half a surrogate pair.
                if (fits > 0 && run.Text.at(fits - 1).isHighSurrogate())
                    --fits;
                run.Text.truncate(fits);
                cut = true;
                if (fits > 0)
                    ++runs;
                break;
            }
            spent += blockCost() + qint64(run.Text.size()) * perCharacter;
        }
        paragraph.Runs.resize(runs);
        if (cut) {
            ++kept;
            break;
        }
    }
    document.Paragraphs.resize(kept);
    // The reader's own limit cuts a file too.
    if (cut || document.Truncated) {
        RtfReader::Paragraph note;
        note.Runs << RtfReader::Run {CutNote, {}};
        document.Paragraphs << note;
        document.Truncated = true;
    }
    return document;
}

} // namespace HelpLayout
