// The board's design layout and its proportional scaling on the real window.

#include "support/BoardFixture.h"

#include "controls/ClockDisplay.h"
#include "controls/ControlArray.h"
#include "controls/DigitDisplay.h"
#include "controls/Label.h"
#include "controls/Line.h"
#include "controls/PictureBox.h"
#include "controls/Shape.h"
#include "modules/ControlKind.h"
#include "modules/modStretch.h"

#include <QApplication>

class BoardLayout : public BoardFixture
{
protected:
    struct Snapshot
    {
        QObject *control;
        double left, top, width, height, font;
    };
    QList<Snapshot> snapshot() const
    {
        QList<Snapshot> all;
        for (QObject *control : board->Controls()) {
            // The highlight is placed by the focus, not by the design.
            if (!qobject_cast<FormControl *>(control) || qobject_cast<Line *>(control) ||
                control == board->shpObjectSelected)
                continue;
            all.append({control, control->property("Left").toDouble(), control->property("Top").toDouble(),
                control->property("Width").toDouble(), control->property("Height").toDouble(),
                control->property("FontSize").toDouble()});
        }
        return all;
    }
};

TEST_F(BoardLayout, DesignWindowAndControls)
{
    EXPECT_EQ(board->windowTitle(), QStringLiteral("Zembrak"));
    EXPECT_EQ(board->size(), QSize(632, 453));
    EXPECT_EQ(modStretch::DesignFormWidth, 9480);
    EXPECT_EQ(modStretch::DesignFormHeight, 6795);
    EXPECT_EQ(modStretch::LayoutRecord.size(), board->Controls().size() + 1);

    // Positions in twips and on screen at 15 twips a pixel.
    EXPECT_EQ(board->picSVisitor->geometry(), QRect(568, 380, 33, 25));
    EXPECT_EQ(board->lblMedHome->item(0)->property("Left").toDouble(), 600);
    EXPECT_EQ(board->nledHoldHome->parentWidget(), board->picContainerHoldHome);
    EXPECT_EQ(board->Line1->X1(), 4733);
    EXPECT_EQ(board->Line1->Y2(), 6790);

    // The displays size themselves from their metrics, to the design extents.
    const auto near = [](double a, double b) { return std::abs(a - b) <= 15; };
    EXPECT_TRUE(near(board->nledWHome->Width(), 735) && near(board->nledWHome->Height(), 1125));
    EXPECT_TRUE(near(board->nledHoldHome->Width(), 1215) && near(board->nledHoldHome->Height(), 975));
    EXPECT_TRUE(near(board->tledPeriod->Width(), 2685) && near(board->tledPeriod->Height(), 1140));

    EXPECT_FALSE(board->shpObjectSelected->isVisibleTo(board.get()));
    EXPECT_EQ(controlTypeName(board->Label25), QStringLiteral("Label"));
    EXPECT_EQ(controlTypeName(board->tkPeriod), QStringLiteral("MatchTimer"));
}

TEST_F(BoardLayout, TransparentLettersAndOpaquePanels)
{
    EXPECT_EQ(board->Label18->BackStyle(), 0);
    EXPECT_EQ(board->lblHomeName->BackStyle(), 1);
    EXPECT_EQ(board->lblHomeName->BackColor(), rgbColor(255, 255, 255));
    // Letters let clicks through to what lies beneath; the marks' labels take them.
    EXPECT_TRUE(board->Label3->testAttribute(Qt::WA_TransparentForMouseEvents));
    EXPECT_FALSE(board->lblIpponHome->testAttribute(Qt::WA_TransparentForMouseEvents));
    EXPECT_TRUE(board->shpKHome->testAttribute(Qt::WA_TransparentForMouseEvents));
}

TEST_F(BoardLayout, FontsAreRecordedInWholePoints)
{
    board->show();
    QApplication::processEvents();
    EXPECT_EQ(board->lblHomeName->FontSize(), 22);
    EXPECT_EQ(board->lblCreatedBy->FontSize(), 13);
    EXPECT_EQ(board->Label3->FontSize(), 24);

    // At the design size every default caption fits and so keeps its size.
    for (const Label *label : board->findChildren<Label *>()) {
        EXPECT_EQ(label->shownFont().pixelSize(), std::lround(label->FontSize() * 96 / 72))
            << label->objectName().toStdString();
    }
}

TEST_F(BoardLayout, ResizingScalesEveryControlByTheRatios)
{
    board->show();
    QApplication::processEvents();
    const QList<Snapshot> design = snapshot();

    // The board scales by its outer size, frame included: double that.
    const QSize frame = board->frameGeometry().size() - board->size();
    const QSize outer = board->frameGeometry().size();
    board->resize(2 * outer - frame);
    QApplication::processEvents();
    for (const Snapshot &before : design) {
        const QString name = before.control->objectName();
        const Snapshot after = {before.control, before.control->property("Left").toDouble(),
            before.control->property("Top").toDouble(), before.control->property("Width").toDouble(),
            before.control->property("Height").toDouble(), before.control->property("FontSize").toDouble()};
        // The LED displays size themselves, to within a pixel's rounding.
        const double slack = qobject_cast<LedDisplay *>(before.control) ? 30 : 0.01;
        EXPECT_NEAR(after.left, 2 * before.left, 0.01) << name.toStdString();
        EXPECT_NEAR(after.top, 2 * before.top, 0.01) << name.toStdString();
        EXPECT_NEAR(after.width, 2 * before.width, slack) << name.toStdString();
        EXPECT_NEAR(after.height, 2 * before.height, slack) << name.toStdString();
        if (before.font > 0) {
            EXPECT_NEAR(after.font, 2 * before.font, 0.01) << name.toStdString();
        }
    }
    EXPECT_EQ(board->Line1->X1(), 2 * 4733);

    // Wider only: positions spread, letters and digits keep their size.
    board->resize(2 * outer.width() - frame.width(), frmScoreboard::DesignClientHeight);
    QApplication::processEvents();
    EXPECT_EQ(board->Label3->FontSize(), 24);
    EXPECT_EQ(board->nledWHome->Size(), 65);
    EXPECT_EQ(board->picSVisitor->Left(), 2 * 8520);
    EXPECT_EQ(board->picSVisitor->Height(), 375);
}
